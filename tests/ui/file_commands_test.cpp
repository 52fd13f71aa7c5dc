#include "ui/file_commands.h"

#include <QtTest>

#include "model/file_commands.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;
using Icon = Prompter::Icon;
using test::UiFixture;

class FileCommandsTest : public QObject {
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
        const QString first = f.Dvb("first.dvb", 3, 0);
        QVERIFY(f.Load(first));
        f.session.ws.TVList.pop_back();
        f.session.ws.ChannelsModified = true;
        f.prompter.Answer(static_cast<Answer>(answer));
        const QString second = f.Dvb("second.dvb", 5, 0);
        f.chooser.Choose(second);
        f.form->files().Load_Channel_Click();
        QCOMPARE(f.prompter.texts().front(), QString("Save correction to ") + first + " ? ");
        QCOMPARE(f.prompter.asked.front().buttons, Prompter::Buttons::YesNoCancel);
        QCOMPARE(f.session.channelFile == second, loaded);
        QCOMPARE(f.session.ws.TVList.size(), loaded ? 5u : 2u);
        QCOMPARE(UiFixture::Read(first).size(), savedFirst ? 2u * 64 : 3u * 64);
        if (!loaded) {
            QVERIFY(f.session.ws.ChannelsModified);
            QVERIFY(f.chooser.asked.size() == 1);  // only the first load's dialog
        }
    }

    void busyWhileReading() {
        UiFixture f;
        QSignalSpy busy(&f.form->files(), &FileCommands::busy);
        QVERIFY(f.Load(f.Dvb("list.dvb", 2, 0)));
        QCOMPARE(busy.size(), 2);
        QCOMPARE(busy[0][0].toBool(), true);
        QCOMPARE(busy[1][0].toBool(), false);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void loadDialogFilterFolderAndCancel() {
        UiFixture f;
        f.chooser.Choose(QString());
        f.form->files().Load_Channel_Click();
        QCOMPARE(f.chooser.asked.size(), 1);
        QCOMPARE(f.chooser.asked[0].folder, f.dir.path());
        QCOMPARE(f.chooser.asked[0].filter,
                 QString("Dr.Vellox settings (*.dvb );;Settings Files (*.bin)"));
        QCOMPARE(f.session.ws.FileType, FileKind::None);
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void loadTakesTheFolderAndIgnoresOtherExtensions() {
        UiFixture f;
        QDir(f.dir.path()).mkdir("sub");
        const QString txt = f.Write("sub/list.txt", "xx");
        QVERIFY(!f.Load(txt));
        QCOMPARE(f.session.workingDir, f.dir.filePath("sub"));
        QVERIFY(f.session.channelFile.isEmpty());
        QVERIFY(f.prompter.asked.isEmpty());
    }

    void refusedFilesChangeNothing() {
        UiFixture f;
        QVERIFY(f.Load(f.Dvb("good.dvb", 4, 1)));
        f.session.ws.ChannelsModified = false;
        QVERIFY(!f.Load(f.Write("bad.dvb", std::string(65, 'x'))));
        QVERIFY(!f.Load(f.Write("bad.bin", std::string(100, 'x'))));
        QCOMPARE(f.prompter.texts(), (QStringList{"Wrong file lenght", "Wrong file lenght"}));
        QCOMPARE(f.prompter.asked[0].icon, Icon::Critical);
        QCOMPARE(f.session.ws.TVList.size(), 4u);
        QCOMPARE(f.session.channelFile, f.dir.filePath("good.dvb"));
        QCOMPARE(f.form->fileLabel(), QString("good.dvb"));
    }

    void loadingAnImageUnloadsDvb98Settings() {
        UiFixture f;
        f.chooser.Choose(f.G98("s.g98"));
        f.form->files().Load_Settings_Click();
        QVERIFY(SettingsImageLoaded(f.session.ws.DVB98Settings));
        QVERIFY(f.Load(f.Bin("img.bin")));
        QVERIFY(!SettingsImageLoaded(f.session.ws.DVB98Settings));
        QCOMPARE(f.session.ws.FileType, FileKind::BIN);
        // Settings cannot be loaded over an FTA image.
        f.form->files().Load_Settings_Click();
        QCOMPARE(f.prompter.texts().last(), QString("Not with BIN  files"));
        QCOMPARE(f.chooser.asked.size(), 2);
    }

    void saveChannels() {
        UiFixture f;
        f.form->files().Save_Channel_Click();
        QCOMPARE(f.prompter.texts(), QStringList{"No channels to save"});
        QCOMPARE(f.prompter.asked[0].icon, Icon::Exclamation);

        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 2)));
        f.session.ws.ChannelsModified = true;
        f.chooser.Choose(QString());  // cancelled
        f.form->files().Save_Channel_Click();
        QVERIFY(f.session.ws.ChannelsModified);
        QCOMPARE(f.chooser.asked.last().proposed, QString("list.dvb"));
        QCOMPARE(f.chooser.asked.last().save, true);

        const QString target = f.dir.filePath("copy.dvb");
        f.chooser.Choose(target);
        f.form->files().Save_Channel_Click();
        QCOMPARE(UiFixture::Read(target).size(), 5u * 64);
        QVERIFY(!f.session.ws.ChannelsModified);
        QCOMPARE(f.session.channelFile, target);
        QCOMPARE(f.form->fileLabel(), QString("copy.dvb"));
    }

    void saveRefusesTooManyChannels() {
        UiFixture f;
        QVERIFY(f.Load(f.Dvb("list.dvb", 2, 0)));
        f.session.ws.TVList.resize(3072, f.session.ws.TVList[1]);
        f.session.ws.ChannelsModified = true;
        const QString target = f.dir.filePath("big.dvb");
        f.chooser.Choose(target);
        f.form->files().Save_Channel_Click();
        QCOMPARE(f.prompter.texts(), QStringList{"Too many channels for DVB 98 : no Upload/Save "});
        QVERIFY(!QFile::exists(target));
        QVERIFY(f.session.ws.ChannelsModified);
        QCOMPARE(f.session.channelFile, f.dir.filePath("list.dvb"));
    }

    void downloadedListsProposeDownload() {
        UiFixture f;
        QVERIFY(f.Load(f.Dvb("Download", 0, 0)) == false);  // no extension: nothing read
        f.session.channelFile = f.dir.filePath("Download");
        f.chooser.Choose(QString());
        f.form->files().Save_Channel_Click();
        QCOMPARE(f.chooser.asked.last().proposed, QString("Download"));
    }

    void settingsLoadAndSave() {
        UiFixture f;
        f.form->files().Save_Settings_Click();
        QCOMPARE(f.prompter.texts(), QStringList{"No settings to save"});

        const QString g98 = f.G98("gen.g98");
        f.chooser.Choose(g98);
        QSignalSpy opened(&f.form->files(), &FileCommands::settingsLoaded);
        f.form->files().Load_Settings_Click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(f.chooser.asked.last().filter, QString("DVB generic settings (*.g98)"));
        QCOMPARE(f.session.settingsFile, g98);

        // Unsaved settings: No clears the mark and goes on; Cancel stops.
        f.session.ws.SettingsModified = true;
        f.prompter.Answer(Answer::Cancel);
        f.form->files().Load_Settings_Click();
        QVERIFY(f.session.ws.SettingsModified);
        QCOMPARE(f.prompter.texts().last(), QString("Save correction to ") + g98 + " ? ");
        f.prompter.Answer(Answer::No);
        f.chooser.Choose(QString());
        f.form->files().Load_Settings_Click();
        QVERIFY(!f.session.ws.SettingsModified);

        // A name typed without .g98 still gets the settings file.
        const QString target = f.dir.filePath("out");
        f.chooser.Choose(target);
        f.form->files().Save_Settings_Click();
        QCOMPARE(f.chooser.asked.last().proposed, QString("gen.g98"));
        QCOMPARE(UiFixture::Read(target + ".g98"), UiFixture::Read(g98));
        QCOMPARE(f.session.settingsFile, target + ".g98");

        // A refused file keeps what was loaded.
        f.chooser.Choose(f.Write("short.g98", std::string(1264, 'x')));
        f.form->files().Load_Settings_Click();
        QCOMPARE(f.prompter.texts().last(), QString("Wrong file lenght"));
        QVERIFY(SettingsImageLoaded(f.session.ws.DVB98Settings));
        QCOMPARE(f.session.settingsFile, target + ".g98");
    }

    void convertToBin() {
        UiFixture f;
        const QString dvb = f.Dvb("list.dvb", 3, 1);
        QVERIFY(f.Load(dvb));
        f.prompter.Answer(Answer::No);
        f.form->files().DVB2Bin_Click();
        QVERIFY(!QFile::exists(f.dir.filePath("list.bin")));
        f.prompter.Answer(Answer::Yes);
        f.form->files().DVB2Bin_Click();
        QCOMPARE(f.prompter.texts(), (QStringList{"Default settings will be used , proceed ??",
                                                  "Default settings will be used , proceed ??",
                                                  "Exported on " + f.dir.filePath("list.bin")}));
        QCOMPARE(f.prompter.asked.last().icon, Icon::Information);
        QCOMPARE(UiFixture::Read(f.dir.filePath("list.bin")).size(), 49152u);
        QCOMPARE(f.session.channelFile, dvb);
        QVERIFY(!f.session.ws.ConvertToBin);
    }

    void upgradeFromFile() {
        UiFixture f;
        f.form->files().UpgDVB_Click();  // nothing loaded: nothing happens
        QVERIFY(f.chooser.asked.isEmpty());

        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 0)));
        f.session.ws.ChannelsModified = false;
        f.chooser.Choose(QString());
        f.form->files().UpgDVB_Click();
        QCOMPARE(f.chooser.asked.last().filter, QString("Dr.Vellox settings (*.dvb )"));
        QVERIFY(f.session.ws.BufferList.empty());
        QVERIFY(!f.session.ws.ChannelsModified);

        QSignalSpy filled(&f.form->files(), &FileCommands::bufferFilled);
        f.chooser.Choose(f.Dvb("other.dvb", 5, 1));
        f.form->files().UpgDVB_Click();
        QCOMPARE(filled.size(), 1);
        QVERIFY(f.session.ws.ChannelsModified);
        // Header, the separator line (always taken), TV 3, TV 4, RADIO header, RADIO 0.
        QCOMPARE(f.session.ws.BufferList.size(), 6u);
        QVERIFY(f.form->commands().paste && f.form->commands().buffer);
        QCOMPARE(f.session.ws.TVList.size(), 3u);
    }
};

}  // namespace qel

QTEST_MAIN(qel::FileCommandsTest)
#include "file_commands_test.moc"
