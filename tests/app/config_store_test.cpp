#include "app/config_store.h"

#include <QTemporaryDir>
#include <QtTest>

#include "app/recent_files.h"

namespace qel {

class ConfigStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString ini() const { return dir_.filePath("qel.ini"); }

private slots:
    void init() { QFile::remove(ini()); }

    void firstStartWritesTheSixDefaults() {
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        const auto loaded = store.load();
        QCOMPARE(loaded.workPathIncorrect, false);
        QCOMPARE(loaded.config.language, QString("ENG"));
        QCOMPARE(loaded.config.comPort, 1);
        QCOMPARE(loaded.config.workingDir, QString("/home/user"));
        QSettings back(ini(), QSettings::IniFormat);
        QCOMPARE(back.value("Serial port/ComPort").toString(), QString("1"));
        QCOMPARE(back.value("Language/Language").toString(), QString("ENG"));
        QCOMPARE(back.value("Layout/Rememberlayout").toString(), QString("F"));
        QCOMPARE(back.value("Layout/Pagelayout").toString(), QString("00000000"));
        QCOMPARE(back.value("Layout/Littlebox").toString(), QString("0"));
        QCOMPARE(back.value("Path/Filepath").toString(), QString("/home/user"));
        QCOMPARE(back.allKeys().size(), 6);
    }

    void storedValuesWinAndKeysIgnoreCase() {
        {
            QSettings s(ini(), QSettings::IniFormat);
            s.setValue("Path/FILEPATH", dir_.path());
            s.setValue("Serial port/comport", "3");
            s.setValue("Language/language", "ITA");
            s.setValue("Layout/Pagelayout", "1234567");
        }
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        const auto loaded = store.load();
        QCOMPARE(loaded.config.workingDir, dir_.path());
        QCOMPARE(loaded.config.comPort, 3);
        QCOMPARE(loaded.config.language, QString("ITA"));
        QCOMPARE(loaded.config.pageLayout, QString("01234567"));  // 7 characters get a leading 0
        // Nothing written twice under another spelling.
        QCOMPARE(s.allKeys().size(), 6);
        store.setValue("Path", "filepath", "/tmp");
        QCOMPARE(s.value("Path/FILEPATH").toString(), QString("/tmp"));
    }

    void pageLayoutOfOtherLengthsIsKept() {
        QSettings s(ini(), QSettings::IniFormat);
        s.setValue("Layout/Pagelayout", "123456789");
        ConfigStore store(s, "/h");
        QCOMPARE(store.load().config.pageLayout, QString("123456789"));
    }

    void missingWorkingDirectoryWarnsAndFallsBack() {
        QSettings s(ini(), QSettings::IniFormat);
        s.setValue("Path/Filepath", "/no/such/folder/qel");
        ConfigStore store(s, "/home/user");
        const auto loaded = store.load();
        QVERIFY(loaded.workPathIncorrect);
        QCOMPARE(loaded.config.workingDir, QString("/home/user"));
        QCOMPARE(s.value("Path/Filepath").toString(), QString("/no/such/folder/qel"));  // unchanged
    }

    void deviceNamesAsPorts() {
        QSettings s(ini(), QSettings::IniFormat);
        s.setValue("Serial port/ComPort", "/dev/ttyUSB0");
        ConfigStore store(s, "/h");
        const auto loaded = store.load();
        QCOMPARE(loaded.config.comPort, 0);
        QCOMPARE(loaded.config.comPortText, QString("/dev/ttyUSB0"));
    }

    void recentFilesNewestFirstWithoutDuplicates() {
        QSettings s(ini(), QSettings::IniFormat);
        RecentFiles recent(s);
        for (int i = 0; i < 10; ++i)
            recent.add(QString("/f/%1.dvb").arg(i));
        recent.add("/f/5.dvb");
        const QStringList list = recent.paths();
        QCOMPARE(list.size(), RecentFiles::kMax);
        QCOMPARE(list.front(), QString("/f/5.dvb"));
        QCOMPARE(list.count("/f/5.dvb"), 1);
        QVERIFY(!list.contains("/f/0.dvb"));
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::ConfigStoreTest)
#include "config_store_test.moc"
