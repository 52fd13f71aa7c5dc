#include "app/config_store.h"

#include <QTemporaryDir>
#include <QtTest>

#include "app/recent_files.h"

namespace qel {

class ConfigStoreTest : public QObject {
    Q_OBJECT

    using Stored = QMap<QString, QString>;  // key path: stored text

    QTemporaryDir dir_;
    QString ini() const { return dir_.filePath("qel.ini"); }
    QByteArray fileBytes() const {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The columns in the export's order, "1" for a column written.
    static QString digitsOf(const ExportColumns& c) {
        QString digits;
        for (bool on : {c.ids, c.antenna, c.frequency, c.polarisation, c.symbolRate, c.fec, c.pids,
                        c.bandwidth})
            digits += on ? '1' : '0';
        return digits;
    }

    // The switches, how each is stored, and what it reads from stored texts: each case
    // "<stored><0|1>", "-" for a key not stored. Only "T" remembers the layout, only a number
    // 1 shows the data row, and anything but "F" keeps an upload switch on.
    struct Switch {
        const char* key;
        bool Config::*member;
        const char* on;
        const char* off;
        const char* read;
    };
    static constexpr Switch kSwitches[] = {
        {"Layout/Rememberlayout", &Config::rememberExportLayout, "T", "F", "T1 F0 t0 -0"},
        {"Layout/Littlebox", &Config::dataRowAtStart, "1", "0", "11 00 20 T0 -0"},
        {"Serial port/Backup", &Config::backupBeforeUpload, "T", "F", "F0 T1 01 -1"},
        {"Serial port/Verify", &Config::verifyAfterUpload, "T", "F", "F0 T1 -1"},
        {"Check/AskOnErrors", &Config::askOnCheckErrors, "T", "F", "F0 T1 -1"},
    };

private slots:
    void init() { QFile::remove(ini()); }

    void firstStartWritesTheSixDefaults() {
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        const auto loaded = store.load();
        QCOMPARE(loaded.workPathIncorrect, false);
        QCOMPARE(loaded.config.language, QString("ENG"));
        QCOMPARE(loaded.config.comPort(), 1);
        QCOMPARE(loaded.config.workingDir, QString("/home/user"));
        QSettings back(ini(), QSettings::IniFormat);
        const Stored defaults{{"Serial port/ComPort", "1"},   {"Language/Language", "ENG"},
                              {"Layout/Rememberlayout", "F"}, {"Layout/Pagelayout", "00000000"},
                              {"Layout/Littlebox", "0"},      {"Path/Filepath", "/home/user"}};
        QCOMPARE(back.allKeys().size(), defaults.size());
        for (auto [key, value] : defaults.asKeyValueRange())
            QCOMPARE(back.value(key).toString(), value);
    }

    void storedValuesWinAndKeysIgnoreCase() {
        {
            QSettings s(ini(), QSettings::IniFormat);
            s.setValue("Path/FILEPATH", dir_.path());
            s.setValue("Serial port/comport", "3");
            s.setValue("Language/language", "ITA");
        }
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        const auto loaded = store.load();
        QCOMPARE(loaded.config.workingDir, dir_.path());
        QCOMPARE(loaded.config.comPort(), 3);
        QCOMPARE(loaded.config.language, QString("ITA"));
        // Nothing written twice under another spelling.
        QCOMPARE(s.allKeys().size(), 6);
        store.setValue("Path", "filepath", "/tmp");
        QCOMPARE(s.value("Path/FILEPATH").toString(), QString("/tmp"));
        // A device name as the port.
        s.setValue("Serial port/comport", "/dev/ttyUSB0");
        QCOMPARE(store.load().config.comPort(), 0);
        QCOMPARE(store.load().config.comPortText, QString("/dev/ttyUSB0"));
    }

    void exportColumnsFromTheStoredDigits_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("columns");
        const auto row = [](const char* name, const char* stored, const char* columns) {
            QTest::newRow(name) << QString(stored) << QString(columns);
        };
        row("eight", "10100001", "10100001");
        row("seven get a leading 0", "1010101", "01010101");
        row("nine: the first eight", "111011110", "11101111");
        row("short: the rest off", "101", "10100000");
        row("empty", "", "00000000");
        row("only 1 is on", "2T100001", "00100001");
    }
    void exportColumnsFromTheStoredDigits() {
        QFETCH(QString, stored);
        QFETCH(QString, columns);
        QSettings s(ini(), QSettings::IniFormat);
        s.setValue("Layout/Pagelayout", stored);
        ConfigStore store(s, "/h");
        QCOMPARE(digitsOf(store.load().config.exportColumns), columns);
        QCOMPARE(s.value("Layout/Pagelayout").toString(), stored);  // read, not rewritten
    }

    void storedSwitches() {
        for (const Switch& sw : kSwitches) {
            for (const QString& value : QString(sw.read).split(' ')) {
                QFile::remove(ini());
                QSettings s(ini(), QSettings::IniFormat);
                if (value[0] != '-') s.setValue(sw.key, value.left(1));
                ConfigStore store(s, "/h");
                QVERIFY2(store.load().config.*sw.member == (value[1] == '1'),
                         qPrintable(QString(sw.key) + " " + value));
            }
        }
    }

    // A configuration loaded and saved again, unchanged, leaves every stored value and the
    // file as they were.
    void loadAndSaveKeepTheFile_data() {
        QTest::addColumn<Stored>("stored");
        // The values in the order of the keys, split at '|'.
        const auto row = [](const char* name, const QStringList& keys, const char* values) {
            Stored stored;
            const QStringList v = QString(values).split('|');
            for (qsizetype i = 0; i < keys.size(); ++i)
                stored.insert(keys[i], v[i]);
            QTest::newRow(name) << stored;
        };
        const QStringList keys{"Serial port/ComPort", "Language/Language", "Layout/Rememberlayout",
                               "Layout/Pagelayout",   "Layout/Littlebox",  "Serial port/Backup",
                               "Serial port/Verify",  "Check/AskOnErrors", "Layout/ExportUtf8"};
        row("all on", keys, "3|ITA|T|10100001|1|T|T|T|T");
        row("all off", keys, "1|ENG|F|00000000|0|F|F|F|F");
        row("a device, keys spelt otherwise",
            {"Serial port/comport", "Language/LANGUAGE", "Layout/rememberlayout",
             "Layout/PAGELAYOUT", "Layout/littlebox", "Serial port/backup", "Serial port/VERIFY",
             "Check/askonerrors", "Layout/exportUTF8"},
            "/dev/ttyUSB0|ITA|T|01111110|1|F|T|F|T");
    }
    void loadAndSaveKeepTheFile() {
        QFETCH(Stored, stored);
        stored.insert("Path/Filepath", dir_.path());
        {
            QSettings s(ini(), QSettings::IniFormat);
            for (auto [key, value] : stored.asKeyValueRange())
                s.setValue(key, value);
        }
        const QByteArray before = fileBytes();
        {
            QSettings s(ini(), QSettings::IniFormat);
            ConfigStore store(s, "/home/user");
            const auto loaded = store.load();
            QVERIFY(!loaded.workPathIncorrect);
            store.saveOptions(loaded.config);
            store.saveExportChoices(loaded.config);
        }
        QSettings back(ini(), QSettings::IniFormat);
        QCOMPARE(back.allKeys().size(), stored.size());
        for (auto [key, value] : stored.asKeyValueRange())
            QCOMPARE(back.value(key).toString(), value);
        QCOMPARE(fileBytes(), before);
    }

    void savedSwitchesAreStoredInTheirSpellings() {
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/h");
        Config c = store.load().config;
        for (const bool on : {true, false}) {
            // Neighbours set opposite ways, so that no switch is stored under another's key.
            bool value = on;
            for (const Switch& sw : kSwitches)
                c.*sw.member = (value = !value);
            store.saveOptions(c);
            for (const Switch& sw : kSwitches)
                QCOMPARE(s.value(sw.key).toString(), QString(c.*sw.member ? sw.on : sw.off));
        }
        c.exportColumns = ExportColumns{};
        c.exportColumns.antenna = false;
        c.exportColumns.bandwidth = false;
        for (const bool utf8 : {true, false}) {
            c.exportUtf8 = utf8;
            store.saveExportChoices(c);
            QCOMPARE(s.value("Layout/Pagelayout").toString(), QString("10111110"));
            QCOMPARE(s.value("Layout/ExportUtf8").toString(), QString(utf8 ? "T" : "F"));
            QCOMPARE(store.load().config.exportUtf8, utf8);
        }
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

    // What a hand-edited or older file may hold: only two whole numbers make a place.
    void toolWindowPlaces() {
        const std::pair<const char*, std::optional<QPoint>> cases[] = {
            {"420 36", QPoint(420, 36)},
            {"-1280 -4", QPoint(-1280, -4)},
            {"  7   9 ", QPoint(7, 9)},
            {"420", {}},
            {"1 2 3", {}},
            {"x y", {}},
            {"1,2", {}},
            {"", {}},
        };
        for (const auto& [stored, place] : cases) {
            QFile::remove(ini());
            QSettings s(ini(), QSettings::IniFormat);
            s.setValue("Places/dataform", stored);  // any case of the window's name
            ConfigStore store(s, "/home/user");
            QVERIFY2(store.toolWindowPlace("DataForm") == place, stored);
            QVERIFY(!store.toolWindowPlace("BufferForm"));
        }
        // A place written is read back, under the name already stored.
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        store.setToolWindowPlace("DataForm", QPoint(-3, 1100));
        store.setToolWindowPlace("BufferForm", QPoint(5, 6));
        QVERIFY(store.toolWindowPlace("DataForm") == QPoint(-3, 1100));
        QVERIFY(store.toolWindowPlace("BufferForm") == QPoint(5, 6));
        s.sync();
        QSettings back(ini(), QSettings::IniFormat);
        QCOMPARE(back.value("Places/dataform").toString(), QString("-3 1100"));
        // Once: the keys as they stand in the file (Windows reads them in any case).
        back.beginGroup("Places");
        QCOMPARE(back.childKeys().filter("dataform", Qt::CaseInsensitive), QStringList{"dataform"});
    }

    void recentFilesNewestFirstWithoutDuplicates() {
        QSettings s(ini(), QSettings::IniFormat);
        RecentFiles recent(s);
        // Whole paths on every system ("/f" is "Z:/f" on Windows).
        const QDir f(QDir::tempPath() + "/f");
        for (int i = 0; i < 10; ++i)
            recent.add(f.filePath(QString("%1.dvb").arg(i)));
        recent.add(f.filePath("5.dvb"));
        const QStringList list = recent.paths();
        QCOMPARE(list.size(), RecentFiles::kMax);
        QCOMPARE(list.front(), f.filePath("5.dvb"));
        QCOMPARE(list.count(f.filePath("5.dvb")), 1);
        QVERIFY(!list.contains(f.filePath("0.dvb")));
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::ConfigStoreTest)
#include "config_store_test.moc"
