#include "ui/frame_window.h"

#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QtTest>

#include "app/single_instance.h"
#include "app/startup.h"
#include "qel/program.h"
#include "support/app_fixture.h"
#include "ui/check_window.h"
#include "ui/help_viewer.h"
#include "ui/main_window.h"

namespace qel {

using Answer = Prompter::Answer;

// The program before its main window opens, with scripted dialogs.
struct Frame : test::AppFixture {
    Program program{session, store, language, nullptr, &prompter, &chooser};
    FrameWindow& frame = program.frame();
};

class FrameWindowTest : public QObject {
    Q_OBJECT

private slots:

    void aboutBoxFirstThenTheMainWindow() {
        Frame f;
        QVERIFY(f.frame.aboutShown());
        QTest::mouseClick(f.frame.centralWidget()->findChild<QWidget*>("InfoForm"), Qt::LeftButton,
                          {}, QPoint(100, 100));
        QVERIFY(!f.frame.aboutShown());
        QCOMPARE(f.program.mainWindow().currentTab(), Tab::List);
    }

    void theMenuBarShowsTheMainWindowsCommandsWithTheirKeys() {
        Frame f;
        const QList<QAction*> menus = f.frame.menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        const auto find = [](QMenu* menu, const QString& text) -> QAction* {
            for (QAction* a : menu->actions()) {
                if (a->text().startsWith(text)) return a;
            }
            return nullptr;
        };
        QAction* convert = find(menus[0]->menu(), "&Convert to  bin");
        QVERIFY(convert != nullptr);
        QCOMPARE(convert->text(), QString("&Convert to  bin\tCtrl+C"));
        QVERIFY(convert->shortcut().isEmpty());  // shown, not bound: the main window runs keys
        QCOMPARE(find(menus[0]->menu(), "Load channels")->text(), QString("Load channels\tCtrl+O"));
        QCOMPARE(find(menus[0]->menu(), "Load settings")->text(), QString("Load settings"));
        QCOMPARE(find(menus[1]->menu(), "Find &Next")->text(), QString("Find &Next\tF3"));
        // The mirror follows the command's state.
        QVERIFY(!convert->isEnabled());
        f.program.mainWindow().action(Command::ConvertToBin)->setEnabled(true);
        QVERIFY(convert->isEnabled());
    }

    // Esc out of a menu of the bar leaves the bar highlighted with the keyboard; the main
    // window's keys still work at once there, and the bar's own keys stay the bar's.
    void keysWorkRightAfterEscClosesAMenu() {
        Frame f;
        f.frame.openMainWindow();
        f.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.frame));
        QMenuBar* bar = f.frame.menuBar();
        QMenu* file = bar->actions().front()->menu();
        bar->setActiveAction(bar->actions().front());
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!file->isVisible());
        // The bar holds the keyboard now: F7 reaches it, not the main window.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar));
        QTest::keyClick(bar, Qt::Key_F7);
        QVERIFY(f.program.checkWindow() != nullptr);
        QTRY_VERIFY(f.program.checkWindow()->isVisible());
        QVERIFY(bar->activeAction() == nullptr);  // and the bar let the keyboard go
        f.program.checkWindow()->close();

        // Return in the bar opens its menu, as it did.
        f.frame.activateWindow();
        bar->setActiveAction(bar->actions().front());
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!file->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(file->isVisible());
        file->close();
    }

    void fileGivenOnTheCommandLineOpensWithTheMainWindow() {
        Frame f;
        const QString path = f.dvb("cmd.dvb", 4, 0);
        f.program.setFileToOpen(path);
        f.frame.openMainWindow();
        QCOMPARE(f.session.channelFile(), path);
        QCOMPARE(f.program.mainWindow().countText(), QString("4"));
        QCOMPARE(f.frame.windowTitle(), QString("cmd.dvb[*] - QEL"));
        QVERIFY(!f.frame.isWindowModified());
        // Unsaved channels, settings or fonts mark the title.
        f.ws().setChannelsModified(true);
        QVERIFY(f.frame.isWindowModified());
        f.ws().setChannelsModified(false);
        f.ws().setSettingsModified(true);
        QVERIFY(f.frame.isWindowModified());
        f.ws().setSettingsModified(false);
        f.ws().setFontsModified(true);
        QVERIFY(f.frame.isWindowModified());
    }

    // The frame can be resized and maximised; where and how large it was is stored on close.
    void theFrameIsResizableAndRemembersItsPlace() {
        Frame f;
        QVERIFY(f.frame.maximumSize().width() > f.frame.minimumSize().width());
        QVERIFY(f.frame.windowFlags() & Qt::WindowMaximizeButtonHint);
        f.frame.resize(f.frame.minimumSize() + QSize(200, 150));
        QVERIFY(f.frame.close());
        QVERIFY(!f.store.windowGeometry().isEmpty());
        QCOMPARE(f.frame.size(), f.frame.minimumSize() + QSize(200, 150));
    }

    void settingsAndFontsGivenOnTheCommandLineOpenToo() {
        {
            Frame f;
            const QString g98 = f.g98("cmd.g98");
            f.program.setFileToOpen(g98);
            f.frame.openMainWindow();
            QCOMPARE(f.session.settingsFile(), g98);
            QVERIFY(f.ws().settingsLoaded());
        }
        {
            Frame f;
            const QString font = f.write("cmd.oc1", std::string(8192, '\x18'));
            f.program.setFileToOpen(font);
            f.frame.openMainWindow();
            QCOMPARE(f.session.fontFile(), font);
            QCOMPARE(f.ws().fontData(), std::string(8192, '\x18'));
        }
        {
            // Anything else is left alone.
            Frame f;
            f.program.setFileToOpen(f.write("cmd.txt", "x"));
            f.frame.openMainWindow();
            QVERIFY(f.session.channelFile().isEmpty() && !f.ws().fontLoaded());
        }
    }

    void droppedFilesOpen() {
        Frame f;
        f.frame.openMainWindow();
        const QString path = f.dvb("dropped.dvb", 2, 1);
        QMimeData mime;
        // A drop goes by what follows the last dot of the name, in any case.
        for (const char* name : {"notes.txt", "list.g98", "listdvb", "list.xdvb"}) {
            mime.setUrls({QUrl::fromLocalFile(f.write(name, "x"))});
            QVERIFY2(!f.frame.acceptsDrop(&mime), name);
        }
        mime.setUrls({QUrl::fromLocalFile(f.write("IMAGE.BIN", "x"))});
        QVERIFY(f.frame.acceptsDrop(&mime));
        mime.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)});
        QVERIFY(!f.frame.acceptsDrop(&mime));
        mime.setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(f.frame.acceptsDrop(&mime));
        QVERIFY(f.frame.openDropped(&mime));
        QCOMPARE(f.session.channelFile(), path);
    }

    void closeCheck_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("channels");
        QTest::addColumn<bool>("settings");
        QTest::addColumn<bool>("fonts");
        QTest::addColumn<QString>("question");
        QTest::newRow("nothing") << "ENG" << false << false << false << QString();
        QTest::newRow("fonts") << "ENG" << false << false << true
                               << "Fonts not saved , continue anyway ?";
        QTest::newRow("all, English") << "ENG" << true << true << true
                                      << "Channels Settings Fonts not saved , continue anyway ?";
        QTest::newRow("channels and settings, Italian")
            << "ITA" << true << true << false
            << "Canali Impostazioni da salvare , esco dal programma ?";
    }
    void closeCheck() {
        QFETCH(QString, language);
        QFETCH(bool, channels);
        QFETCH(bool, settings);
        QFETCH(bool, fonts);
        QFETCH(QString, question);
        Frame f;
        f.language.apply(language);
        f.ws().setChannelsModified(channels);
        f.ws().setSettingsModified(settings);
        f.ws().setFontsModified(fonts);
        QCOMPARE(f.program.files().unsavedQuestion(), question);
        f.prompter.answer(Answer::No);
        QCOMPARE(f.program.files().mayClose(), question.isEmpty());
        // The question throws work away: No is its default.
        if (!question.isEmpty()) QCOMPARE(f.prompter.asked.last().defaultAnswer, Answer::No);
        f.prompter.answer(Answer::Yes);
        QVERIFY(f.program.files().mayClose());
        f.language.apply("ENG");
    }

    void helpInTheLanguageInUse() {
        Frame f;
        f.frame.openMainWindow();
        QVERIFY(f.program.mainWindow().handleKeyPress(Qt::Key_F1, {}));
        QVERIFY(f.frame.helpViewer() != nullptr);
        QVERIFY(f.frame.helpViewer()->currentPage().endsWith("help/index.html"));
        f.session.setLanguage("ITA");
        QVERIFY(f.frame.helpViewer()->currentPage().endsWith("help/it/index.html"));
        f.session.setLanguage("ENG");
        QVERIFY(f.frame.helpViewer()->currentPage().endsWith("help/index.html"));
    }

    void escAndCtrlWCloseTheHelp() {
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            HelpViewer help([](bool) { return QStringLiteral(":/help/index.html"); }, true);
            help.show();
            QVERIFY(QTest::qWaitForWindowExposed(&help));
            help.activateWindow();
            QTest::keySequence(&help, keys);
            QTRY_VERIFY(!help.isVisible());
        }
    }

    void closingDuringATransferIsRefused() {
        Frame f;
        f.session.setTransferBusy(true);
        f.prompter.answer(Answer::Yes);
        QVERIFY(!f.program.files().mayClose());
        QCOMPARE(f.prompter.texts(), QStringList{"Connection in progress.."});
        QCOMPARE(f.prompter.asked[0].icon, Prompter::Icon::Critical);
    }

    void secondInstanceIsTold() {
        Frame f;
        const QString lock = f.dir.filePath("qel.lock");
        SingleInstance first(lock);
        QVERIFY(first.tryAcquire());
        SingleInstance second(lock);
        QVERIFY(!startUp(f.session, f.store, f.language, second, f.prompter));
        QCOMPARE(f.prompter.texts().last(),
                 QString("I'm happy you love QEL ... but it's already running :-)"));
    }

    // The lock of an instance that ended without unlocking and had the process id this one
    // has (as Wine gives after its restart) is taken over.
    void aLockLeftWithThisProcessIdIsTakenOver() {
        Frame f;
        const QString lock = f.dir.filePath("qel.lock");
        QByteArray left;
        {
            QLockFile crashed(lock);
            QVERIFY(crashed.tryLock(0));
            QFile file(lock);
            QVERIFY(file.open(QIODevice::ReadOnly));
            left = file.readAll();
        }
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(left), left.size());
        file.close();
        SingleInstance instance(lock);
        QVERIFY(instance.tryAcquire());
        SingleInstance second(lock);
        QVERIFY(!second.tryAcquire());
    }

    void startupReadsTheConfigurationAndWarnsOfAMissingFolder() {
        Frame f;
        f.settings.setValue("Path/Filepath", "/no/such/qel/folder");
        f.settings.setValue("Language/Language", "ITA");
        SingleInstance instance(f.dir.filePath("h.lock"));
        QVERIFY(startUp(f.session, f.store, f.language, instance, f.prompter));
        QCOMPARE(f.prompter.texts(), QStringList{"La directory di lavoro non esiste"});
        QCOMPARE(f.session.workingDir(), QDir::homePath());
        QTRY_COMPARE(f.program.mainWindow().title(), QString("CANALI TV"));
        f.language.apply("ENG");
    }
};

}  // namespace qel

QTEST_MAIN(qel::FrameWindowTest)
#include "frame_window_test.moc"
