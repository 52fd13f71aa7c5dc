#include "app/file_controller.h"

#include <QtTest>

#include "files/file_commands.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;
using Icon = Prompter::Icon;
using test::UiFixture;

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
        UiFixture f;
        const QString first = f.dvb("first.dvb", 3, 0);
        QVERIFY(f.load(first));
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.pop_back(); });
        f.ws().setChannelsModified(true);
        f.prompter.answer(static_cast<Answer>(answer));
        const QString second = f.dvb("second.dvb", 5, 0);
        f.chooser.choose(second);
        f.files().loadChannels();
        QCOMPARE(f.prompter.texts().front(), QString("Save correction to ") + first + " ? ");
        QCOMPARE(f.prompter.asked.front().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(f.session.channelFile() == second, loaded);
        QCOMPARE(f.ws().tvList().size(), loaded ? 5u : 2u);
        QCOMPARE(UiFixture::read(first).size(), savedFirst ? 2u * 64 : 3u * 64);
        if (!loaded) {
            QVERIFY(f.ws().channelsModified());
            QVERIFY(f.chooser.asked.size() == 1);  // only the first load's dialog
        }
    }

    void busyWhileReading() {
        UiFixture f;
        QSignalSpy busy(&f.files(), &FileController::busy);
        QVERIFY(f.load(f.dvb("list.dvb", 2, 0)));
        QCOMPARE(busy.size(), 2);
        QCOMPARE(busy[0][0].toBool(), true);
        QCOMPARE(busy[1][0].toBool(), false);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void loadDialogFilterFolderAndCancel() {
        UiFixture f;
        f.chooser.choose(QString());
        f.files().loadChannels();
        QCOMPARE(f.chooser.asked.size(), 1);
        QCOMPARE(f.chooser.asked[0].folder, f.dir.path());
        QCOMPARE(f.chooser.asked[0].filter,
                 QString("Dr.Vellox settings (*.dvb );;Settings Files (*.bin)"));
        QCOMPARE(f.ws().fileType(), FileKind::None);
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void loadTakesTheFolderAndIgnoresOtherExtensions() {
        UiFixture f;
        QDir(f.dir.path()).mkdir("sub");
        const QString txt = f.write("sub/list.txt", "xx");
        QVERIFY(!f.load(txt));
        QCOMPARE(f.session.workingDir(), f.dir.filePath("sub"));
        QVERIFY(f.session.channelFile().isEmpty());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void refusedFilesChangeNothing() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("good.dvb", 4, 1)));
        f.ws().setChannelsModified(false);
        QVERIFY(!f.load(f.write("bad.dvb", std::string(65, 'x'))));
        QVERIFY(!f.load(f.write("bad.bin", std::string(100, 'x'))));
        QCOMPARE(f.prompter.texts(), (QStringList{"Wrong file lenght", "Wrong file lenght"}));
        QCOMPARE(f.prompter.asked[0].icon, Icon::Critical);
        QCOMPARE(f.ws().tvList().size(), 4u);
        QCOMPARE(f.session.channelFile(), f.dir.filePath("good.dvb"));
        QCOMPARE(f.form->fileLabel(), QString("good.dvb"));
    }

    void loadingAnImageUnloadsDvb98Settings() {
        UiFixture f;
        f.chooser.choose(f.g98("s.g98"));
        f.files().loadSettings();
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
        UiFixture f;
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
        f.chooser.choose(target);
        f.files().saveChannels();
        QCOMPARE(UiFixture::read(target).size(), 5u * 64);
        QVERIFY(!f.ws().channelsModified());
        QCOMPARE(f.session.channelFile(), target);
        QCOMPARE(f.form->fileLabel(), QString("copy.dvb"));
    }

    void saveRefusesTooManyChannels() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 2, 0)));
        f.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.resize(3072, l.tv[1]); });
        f.ws().setChannelsModified(true);
        const QString target = f.dir.filePath("big.dvb");
        f.chooser.choose(target);
        f.files().saveChannels();
        QCOMPARE(f.prompter.texts(), QStringList{"Too many channels for DVB 98 : no Upload/Save "});
        QVERIFY(!QFile::exists(target));
        QVERIFY(f.ws().channelsModified());
        QCOMPARE(f.session.channelFile(), f.dir.filePath("list.dvb"));
    }

    void downloadedListsProposeDownload() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("Download", 0, 0)) == false);  // no extension: nothing read
        f.session.setChannelFile(f.dir.filePath("Download"));
        f.chooser.choose(QString());
        f.files().saveChannels();
        QCOMPARE(f.chooser.asked.last().proposed, QString("Download"));
    }

    void settingsLoadAndSave() {
        UiFixture f;
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
        f.chooser.choose(QString());
        f.files().loadSettings();
        QVERIFY(!f.ws().settingsModified());

        // A name typed without .g98 still gets the settings file.
        const QString target = f.dir.filePath("out");
        f.chooser.choose(target);
        f.files().saveSettings();
        QCOMPARE(f.chooser.asked.last().proposed, QString("gen.g98"));
        QCOMPARE(UiFixture::read(target + ".g98"), UiFixture::read(g98));
        QCOMPARE(f.session.settingsFile(), target + ".g98");

        // A refused file keeps what was loaded.
        f.chooser.choose(f.write("short.g98", std::string(1264, 'x')));
        f.files().loadSettings();
        QCOMPARE(f.prompter.texts().last(), QString("Wrong file lenght"));
        QVERIFY(settingsImageLoaded(f.ws().settingsImage()));
        QCOMPARE(f.session.settingsFile(), target + ".g98");
    }

    void convertToBin() {
        UiFixture f;
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
        QCOMPARE(UiFixture::read(f.dir.filePath("list.bin")).size(), 49152u);
        QCOMPARE(f.session.channelFile(), dvb);
    }

    void upgradeFromFile() {
        UiFixture f;
        f.files().upgradeFromFile();  // nothing loaded: nothing happens
        QVERIFY(f.chooser.asked.isEmpty());

        QVERIFY(f.load(f.dvb("list.dvb", 3, 0)));
        f.ws().setChannelsModified(false);
        f.chooser.choose(QString());
        f.files().upgradeFromFile();
        QCOMPARE(f.chooser.asked.last().filter, QString("Dr.Vellox settings (*.dvb )"));
        QVERIFY(f.ws().bufferList().empty());
        QVERIFY(!f.ws().channelsModified());

        QSignalSpy filled(&f.files(), &FileController::bufferFilled);
        f.chooser.choose(f.dvb("other.dvb", 5, 1));
        f.files().upgradeFromFile();
        QCOMPARE(filled.size(), 1);
        QVERIFY(f.ws().channelsModified());
        // Header, the separator line (always taken), TV 3, TV 4, RADIO header, RADIO 0.
        QCOMPARE(f.ws().bufferList().size(), 6u);
        QVERIFY(f.list().commands().paste && f.list().commands().buffer);
        QCOMPARE(f.ws().tvList().size(), 3u);
    }
};

}  // namespace qel

QTEST_MAIN(qel::FileControllerTest)
#include "file_controller_test.moc"
