// The file commands without a window: their questions, dialogs and messages, what they read
// and write (lists, settings and fonts), refused files and imports changing nothing, the
// recent files, and the undo of what a save or an import changed.
#include "app/file_controller.h"

#include <QtTest>

#include "controller_fixture.h"
#include "files/ant_pos_file.h"
#include "files/dvb_file.h"
#include "files/file_commands.h"
#include "files/file_formats.h"

namespace qel {

using Answer = Prompter::Answer;
using Icon = Prompter::Icon;
using test::ControllerFixture;

namespace {

std::string dvbBytes(ControllerFixture& f) {
    return encodeDvb(f.ws().tvList(), f.ws().radioList());
}

}  // namespace

class FileControllerTest : public QObject {
    Q_OBJECT

private slots:
    void loadChannelsAsksToSaveUnsavedChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("savedFirst");
        QTest::newRow("yes") << int(Answer::Yes) << true << true;
        QTest::newRow("no") << int(Answer::No) << true << false;
        QTest::newRow("cancel") << int(Answer::Cancel) << false << false;
    }
    void loadChannelsAsksToSaveUnsavedChanges() {
        QFETCH(int, answer);
        QFETCH(bool, loaded);
        QFETCH(bool, savedFirst);
        ControllerFixture f;
        const QString first = f.dvb("first.dvb", 3, 0);
        QVERIFY(f.load(first));
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.pop_back(); });
        f.ws().setChannelsModified(true);
        f.prompter.answer(static_cast<Answer>(answer));
        const QString second = f.dvb("second.dvb", 5, 0);
        f.run(&FileController::loadChannels, second);
        QCOMPARE(f.prompter.texts().front(), QString("Save correction to ") + first + " ? ");
        QCOMPARE(f.prompter.asked.front().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(f.session.channelFile() == second, loaded);
        QCOMPARE(f.ws().tvList().size(), loaded ? 5u : 2u);
        QCOMPARE(ControllerFixture::read(first).size(), savedFirst ? 2u * 64 : 3u * 64);
        if (!loaded) {
            // An import asks the same first, and Cancel ends it before its dialog too.
            f.prompter.answer(Answer::Cancel);
            f.files().importText();
            QCOMPARE(f.prompter.texts().last(), f.prompter.texts().front());
            QVERIFY(f.ws().channelsModified());
            QVERIFY(f.chooser.asked.size() == 1);  // only the first load's dialog
        }
    }

    void loadDialogFilterFolderCancelAndOtherExtensions() {
        ControllerFixture f;
        f.run(&FileController::loadChannels, QString());
        QCOMPARE(f.chooser.asked.size(), 1);
        QCOMPARE(f.chooser.asked[0].folder, f.dir.path());
        QCOMPARE(f.chooser.asked[0].filter,
                 QString("Dr.Vellox settings (*.dvb );;Settings Files (*.bin)"));
        QCOMPARE(f.ws().fileType(), FileKind::None);
        // Another extension is not read, but its folder is taken.
        QDir(f.dir.path()).mkdir("sub");
        QVERIFY(!f.load(f.write("sub/list.txt", "xx")));
        QCOMPARE(f.session.workingDir(), f.dir.filePath("sub"));
        QVERIFY(f.session.channelFile().isEmpty());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    // A file of each kind the commands read, refused: the message says why (and, for an
    // import, where), and the lists, the settings, the files and the history stay as they were.
    void refusedFilesSayWhyAndChangeNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        const QByteArray header = "SATELLITE HEADER    ";
        const QByteArray shortLine = header + "\n" + QByteArray(99, ' ') + "\n";
        QTest::newRow("a channel table") << "bad.dvb" << QByteArray(65, 'x') << "ENG"
                                         << "Wrong file lenght";
        QTest::newRow("an image") << "bad.bin" << QByteArray(100, 'x') << "ENG"
                                  << "Wrong file lenght";
        QTest::newRow("settings") << "short.g98" << QByteArray(1264, 'x') << "ENG"
                                  << "Wrong file lenght";
        QTest::newRow("a text line too short") << "bad.txt" << shortLine << "ENG"
                                               << "Wrong lenght in row 2";
        QTest::newRow("in Italian") << "bad.txt" << shortLine << "ITA"
                                    << "La riga 2 ha lunghezza errata";
        QTest::newRow("a text field that is no number")
            << "bad.txt" << header + "\r\n" + QByteArray(100, 'x') + "\r\n"
            << "ENG"
            << "Not a valid value in row 2 (";
        QTest::newRow("a CSV column")
            << "bad.csv" << QByteArray("list,Nonsense\r\nTV,1\r\n") << "ENG"
            << "Unknown column in row 1 (Nonsense)";
    }
    void refusedFilesSayWhyAndChangeNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, language);
        QFETCH(QString, message);
        ControllerFixture s;
        s.language.apply(language);
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 1)));
        s.run(&FileController::loadSettings, s.g98("mine.g98"));
        const std::string lists = dvbBytes(s);
        const std::string settings = s.ws().settingsImage();
        s.prompter.asked.clear();

        const QString path = s.write(name, bytes.toStdString());
        const FileFormatId id = findFileFormat(path.toStdString())->id;
        s.run(id == FileFormatId::Text  ? &FileController::importText
              : id == FileFormatId::Csv ? &FileController::importCsv
              : id == FileFormatId::G98 ? &FileController::loadSettings
                                        : &FileController::loadChannels,
              path);
        QCOMPARE(s.prompter.texts().size(), 1);
        QVERIFY2(s.prompter.texts()[0].startsWith(message), qPrintable(s.prompter.texts()[0]));
        QCOMPARE(s.prompter.asked[0].icon, Prompter::Icon::Critical);
        QCOMPARE(dvbBytes(s), lists);
        QCOMPARE(s.ws().settingsImage(), settings);
        QCOMPARE(s.session.channelFile(), s.dir.filePath("mine.dvb"));
        QCOMPARE(s.session.settingsFile(), s.dir.filePath("mine.g98"));
        QVERIFY(!s.editing().canUndo());
        s.language.apply("ENG");
    }

    void loadingAnImageUnloadsDvb98Settings() {
        ControllerFixture f;
        f.run(&FileController::loadSettings, f.g98("s.g98"));
        QVERIFY(settingsImageLoaded(f.ws().settingsImage()));
        QVERIFY(f.load(f.bin("img.bin")));
        QVERIFY(!settingsImageLoaded(f.ws().settingsImage()));
        QCOMPARE(f.ws().fileType(), FileKind::BIN);
        // Settings cannot be loaded over an FTA image.
        f.files().loadSettings();
        QCOMPARE(f.prompter.texts().last(), QString("Not with BIN  files"));
        QCOMPARE(f.chooser.asked.size(), 2);
    }

    void saveChannels() {
        ControllerFixture f;
        f.files().saveChannels();
        QCOMPARE(f.prompter.texts(), QStringList{"No channels to save"});
        QCOMPARE(f.prompter.asked[0].icon, Icon::Exclamation);

        QVERIFY(f.load(f.dvb("list.dvb", 3, 2)));
        f.ws().setChannelsModified(true);
        f.chooser.choose(QString());  // cancelled
        f.files().saveChannels();
        QVERIFY(f.ws().channelsModified());
        QCOMPARE(f.chooser.asked.last().proposed, QString("list.dvb"));
        QCOMPARE(f.chooser.asked.last().save, true);

        const QString target = f.dir.filePath("copy.dvb");
        f.run(&FileController::saveChannels, target);
        QCOMPARE(ControllerFixture::read(target).size(), 5u * 64);
        QVERIFY(!f.ws().channelsModified());
        QCOMPARE(f.session.channelFile(), target);
        // Lists from the receiver propose "Download", without an extension.
        f.session.setChannelFile(f.dir.filePath("Download"));
        f.run(&FileController::saveChannels, QString());
        QCOMPARE(f.chooser.asked.last().proposed, QString("Download"));
    }

    void saveRefusesTooManyChannels() {
        ControllerFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 2, 0)));
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.resize(3072, l.tv[1]); });
        f.ws().setChannelsModified(true);
        const QString target = f.dir.filePath("big.dvb");
        f.run(&FileController::saveChannels, target);
        QCOMPARE(f.prompter.texts(), QStringList{"Too many channels for DVB 98 : no Upload/Save "});
        QVERIFY(!QFile::exists(target));
        QVERIFY(f.ws().channelsModified());
        QCOMPARE(f.session.channelFile(), f.dir.filePath("list.dvb"));
    }

    void settingsLoadAndSave() {
        ControllerFixture f;
        f.files().saveSettings();
        QCOMPARE(f.prompter.texts(), QStringList{"No settings to save"});

        const QString g98 = f.g98("gen.g98");
        f.chooser.choose(g98);
        QSignalSpy opened(&f.files(), &FileController::settingsLoaded);
        f.files().loadSettings();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(f.chooser.asked.last().filter, QString("DVB generic settings (*.g98)"));
        QCOMPARE(f.session.settingsFile(), g98);

        // Unsaved settings: No clears the mark and goes on; Cancel stops.
        f.ws().setSettingsModified(true);
        f.prompter.answer(Answer::Cancel);
        f.files().loadSettings();
        QVERIFY(f.ws().settingsModified());
        QCOMPARE(f.prompter.texts().last(), QString("Save correction to ") + g98 + " ? ");
        f.prompter.answer(Answer::No);
        f.run(&FileController::loadSettings, QString());
        QVERIFY(!f.ws().settingsModified());

        // A name typed without .g98 still gets the settings file.
        const QString target = f.dir.filePath("out");
        f.run(&FileController::saveSettings, target);
        QCOMPARE(f.chooser.asked.last().proposed, QString("gen.g98"));
        QCOMPARE(ControllerFixture::read(target + ".g98"), ControllerFixture::read(g98));
        QCOMPARE(f.session.settingsFile(), target + ".g98");
    }

    void convertToBin() {
        ControllerFixture f;
        const QString dvb = f.dvb("list.dvb", 3, 1);
        QVERIFY(f.load(dvb));
        f.prompter.answer(Answer::No);
        f.files().convertToBin();
        QVERIFY(!QFile::exists(f.dir.filePath("list.bin")));
        f.prompter.answer(Answer::Yes);
        f.files().convertToBin();
        QCOMPARE(f.prompter.texts(), (QStringList{"Default settings will be used , proceed ??",
                                                  "Default settings will be used , proceed ??",
                                                  "Exported on " + f.dir.filePath("list.bin")}));
        QCOMPARE(f.prompter.asked.last().icon, Icon::Information);
        QCOMPARE(ControllerFixture::read(f.dir.filePath("list.bin")).size(), 49152u);
        QCOMPARE(f.session.channelFile(), dvb);

        // The image loaded and saved unchanged is the file, with or without a satellite table.
        const std::string converted = ControllerFixture::read(f.dir.filePath("list.bin"));
        for (bool satelliteTable : {false, true}) {
            if (satelliteTable) f.session.setSatPos(parseAntPos(defaultAntPosText()));
            QVERIFY(f.load(f.dir.filePath("list.bin")));
            const QString copy = f.dir.filePath(satelliteTable ? "copy2.bin" : "copy1.bin");
            f.run(&FileController::saveChannels, copy);
            QVERIFY(ControllerFixture::read(copy) == converted);
            f.run(&FileController::saveChannels, f.dir.filePath("list.bin"));
            QVERIFY(ControllerFixture::read(f.dir.filePath("list.bin")) == converted);
        }
    }

    void upgradeFromFile() {
        ControllerFixture f;
        f.files().upgradeFromFile();  // nothing loaded: nothing happens
        QVERIFY(f.chooser.asked.isEmpty());

        QVERIFY(f.load(f.dvb("list.dvb", 3, 0)));
        f.ws().setChannelsModified(false);
        f.run(&FileController::upgradeFromFile, QString());
        QCOMPARE(f.chooser.asked.last().filter, QString("Dr.Vellox settings (*.dvb )"));
        QVERIFY(f.ws().bufferList().empty());
        QVERIFY(!f.ws().channelsModified());

        QSignalSpy filled(&f.files(), &FileController::bufferFilled);
        f.run(&FileController::upgradeFromFile, f.dvb("other.dvb", 5, 1));
        QCOMPARE(filled.size(), 1);
        QVERIFY(f.ws().channelsModified());
        // Header, the separator line (always taken), TV 3, TV 4, RADIO header, RADIO 0.
        QCOMPARE(f.ws().bufferList().size(), 6u);
        QVERIFY(f.list().commands().paste && f.list().commands().buffer);
        QCOMPARE(f.ws().tvList().size(), 3u);
    }

    void busyWhileReadingAndARecentFileThatHasGoneLeavesTheList() {
        ControllerFixture r;
        const QString path = r.dvb("gone.dvb", 2, 0);
        QSignalSpy busy(&r.files(), &FileController::busy);
        QVERIFY(r.load(path));
        QCOMPARE(busy.size(), 2);
        QVERIFY(busy[0][0].toBool() && !busy[1][0].toBool());
        QVERIFY(r.recent.paths().contains(path));
        QFile::remove(path);
        QVERIFY(!r.files().openChannelFile(path));
        QVERIFY(!r.recent.paths().contains(path));
    }

    void savingAnImageIsUndoneLikeAnEdit() {
        ControllerFixture e;
        QVERIFY(e.load(e.dvb("list.dvb", 3, 0)));
        e.session.setSatPos(parseAntPos(defaultAntPosText()));
        e.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[1].ChName = "   SPACED"; });
        const QString bin = e.dir.filePath("out.bin");
        e.run(&FileController::saveChannels, bin);
        QCOMPARE(e.ws().tvList()[1].ChName.view().substr(0, 6),
                 "SPACED");  // trimmed by the writer
        QVERIFY(!e.ws().channelsModified());
        QVERIFY(e.editing().canUndo());
        e.editing().undo();
        QCOMPARE(e.ws().tvList()[1].ChName.view().substr(0, 9), "   SPACED");
        QVERIFY(e.ws().channelsModified());
    }

    void aFontIsSavedToTheFileTheUserChooses() {
        ControllerFixture s;
        s.fonts().saveFonts();
        QCOMPARE(s.prompter.texts(), QStringList{"No fonts to save"});
        const QString font = s.font("Download.oc1", 8192, 16);
        s.chooser.choose(font);
        s.fonts().loadFonts();
        QCOMPARE(s.session.fontFile(), font);
        s.ws().storeFont(std::string(8192, '\x55'));
        const QString target = s.dir.filePath("saved.oc1");
        s.chooser.choose(target);
        s.fonts().saveFonts();
        QCOMPARE(s.chooser.asked.last().proposed, QString("Download"));
        QCOMPARE(ControllerFixture::read(target), std::string(8192, '\x55'));
        QVERIFY(!s.ws().fontsModified());
        QCOMPARE(s.session.fontFile(), target);
    }

    void csvGoesOutAndComesBackByteIdentical() {
        ControllerFixture s;
        QVERIFY(s.load(s.accented()));
        const std::string before = dvbBytes(s);
        QVERIFY(s.list().commands().exportList);  // what enables "Export as CSV"
        const QString csv = s.dir.filePath("accent.csv");
        s.run(&FileController::exportCsv, csv);
        QCOMPARE(s.chooser.asked.last().proposed, QString("accent.csv"));
        QCOMPARE(s.prompter.texts(), QStringList{"Export completed"});
        QVERIFY(ControllerFixture::read(csv).find("Caf\xC3\xA9 TV") != std::string::npos);

        QVERIFY(s.load(s.dvb("other.dvb", 2, 0)));
        s.run(&FileController::importCsv, csv);
        QCOMPARE(dvbBytes(s), before);
        QCOMPARE(s.session.channelFile(), s.dir.filePath("accent.dvb"));
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::FileControllerTest)
#include "file_controller_test.moc"
