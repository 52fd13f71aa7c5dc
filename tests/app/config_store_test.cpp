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
            s.setValue("Layout/Pagelayout", "1010101");
        }
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        const auto loaded = store.load();
        QCOMPARE(loaded.config.workingDir, dir_.path());
        QCOMPARE(loaded.config.comPort(), 3);
        QCOMPARE(loaded.config.language, QString("ITA"));
        // 7 digits get a leading 0.
        QCOMPARE(digitsOf(loaded.config.exportColumns), QString("01010101"));
        // Nothing written twice under another spelling.
        QCOMPARE(s.allKeys().size(), 6);
        store.setValue("Path", "filepath", "/tmp");
        QCOMPARE(s.value("Path/FILEPATH").toString(), QString("/tmp"));
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

    // What the store reads from the strings it keeps: only "T" remembers the layout, only
    // a number 1 shows the data row, and anything but "F" keeps an upload switch on.
    void storedSwitches_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");  // a null string: not stored
        QTest::addColumn<bool>("on");
        const auto row = [](const char* name, const char* key, const char* stored, bool on) {
            QTest::newRow(name) << QString(key) << (stored ? QString(stored) : QString()) << on;
        };
        row("layout T", "Layout/Rememberlayout", "T", true);
        row("layout F", "Layout/Rememberlayout", "F", false);
        row("layout t", "Layout/Rememberlayout", "t", false);
        row("layout missing", "Layout/Rememberlayout", nullptr, false);
        row("data row 1", "Layout/Littlebox", "1", true);
        row("data row 0", "Layout/Littlebox", "0", false);
        row("data row 2", "Layout/Littlebox", "2", false);
        row("data row T", "Layout/Littlebox", "T", false);
        row("data row missing", "Layout/Littlebox", nullptr, false);
        row("backup F", "Serial port/Backup", "F", false);
        row("backup T", "Serial port/Backup", "T", true);
        row("backup 0", "Serial port/Backup", "0", true);
        row("backup missing", "Serial port/Backup", nullptr, true);
        row("verify F", "Serial port/Verify", "F", false);
        row("verify T", "Serial port/Verify", "T", true);
        row("verify missing", "Serial port/Verify", nullptr, true);
        row("ask on errors F", "Check/AskOnErrors", "F", false);
        row("ask on errors T", "Check/AskOnErrors", "T", true);
        row("ask on errors missing", "Check/AskOnErrors", nullptr, true);
    }
    void storedSwitches() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(bool, on);
        QSettings s(ini(), QSettings::IniFormat);
        if (!stored.isNull()) s.setValue(key, stored);
        ConfigStore store(s, "/h");
        const Config c = store.load().config;
        const QMap<QString, bool> read{{"Layout/Rememberlayout", c.rememberExportLayout},
                                       {"Layout/Littlebox", c.dataRowAtStart},
                                       {"Serial port/Backup", c.backupBeforeUpload},
                                       {"Serial port/Verify", c.verifyAfterUpload},
                                       {"Check/AskOnErrors", c.askOnCheckErrors}};
        QCOMPARE(read.value(key), on);
    }

    // A configuration loaded and saved again, unchanged, leaves every stored value and the
    // file as they were.
    void loadAndSaveKeepTheFile_data() {
        QTest::addColumn<Stored>("stored");
        QTest::newRow("all on") << Stored{
            {"Serial port/ComPort", "3"},   {"Language/Language", "ITA"},
            {"Layout/Rememberlayout", "T"}, {"Layout/Pagelayout", "10100001"},
            {"Layout/Littlebox", "1"},      {"Serial port/Backup", "T"},
            {"Serial port/Verify", "T"},    {"Check/AskOnErrors", "T"},
            {"Layout/ExportUtf8", "T"}};
        QTest::newRow("all off") << Stored{
            {"Serial port/ComPort", "1"},   {"Language/Language", "ENG"},
            {"Layout/Rememberlayout", "F"}, {"Layout/Pagelayout", "00000000"},
            {"Layout/Littlebox", "0"},      {"Serial port/Backup", "F"},
            {"Serial port/Verify", "F"},    {"Check/AskOnErrors", "F"},
            {"Layout/ExportUtf8", "F"}};
        QTest::newRow("a device, keys spelt otherwise")
            << Stored{{"Serial port/comport", "/dev/ttyUSB0"},
                      {"Language/LANGUAGE", "ITA"},
                      {"Layout/rememberlayout", "T"},
                      {"Layout/PAGELAYOUT", "01111110"},
                      {"Layout/littlebox", "1"},
                      {"Serial port/backup", "F"},
                      {"Serial port/VERIFY", "T"},
                      {"Check/askonerrors", "F"},
                      {"Layout/exportUTF8", "T"}};
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
            c.rememberExportLayout = on;
            c.dataRowAtStart = on;
            c.backupBeforeUpload = !on;
            c.verifyAfterUpload = on;
            c.askOnCheckErrors = !on;
            store.saveOptions(c);
            QCOMPARE(s.value("Layout/Rememberlayout").toString(), QString(on ? "T" : "F"));
            QCOMPARE(s.value("Layout/Littlebox").toString(), QString(on ? "1" : "0"));
            QCOMPARE(s.value("Serial port/Backup").toString(), QString(on ? "F" : "T"));
            QCOMPARE(s.value("Serial port/Verify").toString(), QString(on ? "T" : "F"));
            QCOMPARE(s.value("Check/AskOnErrors").toString(), QString(on ? "F" : "T"));
            const Config again = store.load().config;
            QCOMPARE(again.rememberExportLayout, on);
            QCOMPARE(again.dataRowAtStart, on);
            QCOMPARE(again.backupBeforeUpload, !on);
            QCOMPARE(again.verifyAfterUpload, on);
            QCOMPARE(again.askOnCheckErrors, !on);
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

    void deviceNamesAsPorts() {
        QSettings s(ini(), QSettings::IniFormat);
        s.setValue("Serial port/ComPort", "/dev/ttyUSB0");
        ConfigStore store(s, "/h");
        const auto loaded = store.load();
        QCOMPARE(loaded.config.comPort(), 0);
        QCOMPARE(loaded.config.comPortText, QString("/dev/ttyUSB0"));
    }

    // What a hand-edited or older file may hold: only two whole numbers make a place.
    void toolWindowPlaces_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("two numbers") << "420 36" << true << QPoint(420, 36);
        QTest::newRow("left of the first screen") << "-1280 -4" << true << QPoint(-1280, -4);
        QTest::newRow("blanks around") << "  7   9 " << true << QPoint(7, 9);
        QTest::newRow("one number") << "420" << false << QPoint();
        QTest::newRow("three numbers") << "1 2 3" << false << QPoint();
        QTest::newRow("not numbers") << "x y" << false << QPoint();
        QTest::newRow("a comma") << "1,2" << false << QPoint();
        QTest::newRow("empty") << "" << false << QPoint();
    }
    void toolWindowPlaces() {
        QFETCH(QString, stored);
        QFETCH(bool, read);
        QFETCH(QPoint, place);
        {
            QSettings s(ini(), QSettings::IniFormat);
            s.setValue("Places/dataform", stored);  // any case of the window's name
        }
        QSettings s(ini(), QSettings::IniFormat);
        ConfigStore store(s, "/home/user");
        QCOMPARE(store.toolWindowPlace("DataForm").has_value(), read);
        if (read) QCOMPARE(*store.toolWindowPlace("DataForm"), place);
        QVERIFY(!store.toolWindowPlace("BufferForm"));
        // A place written is read back, under the name already stored.
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
