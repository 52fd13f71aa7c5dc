#include "ui/main_window.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QSet>
#include <QtTest>

#include "app/file_controller.h"
#include "app/language.h"
#include "app/tool_windows.h"
#include "ui/channel_list_model.h"
#include "ui_fixture.h"

namespace qel {

using test::UiFixture;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Which commands a list offers is the list view tests' (and the table below shows them
    // reaching the menus); here what the window shows of the lists.
    void emptyListHasOneBlankRow() {
        UiFixture f;
        QCOMPARE(f.form->model().rowCount(), 1);
        QCOMPARE(f.form->countText(), QString("0"));
        QCOMPARE(f.form->title(), QString("TV CHANNELS"));
        QCOMPARE(f.form->fileLabel(), QString("No file loaded"));
        QVERIFY(f.load(f.dvb("empty.dvb", 0, 0)));
        QCOMPARE(f.form->model().rowCount(), 1);
    }

    // The file label names the file last loaded or saved, never one refused; the wait cursor
    // shown while a file is read goes again.
    void theFileLabelAndTheCursorFollowTheFileCommands() {
        UiFixture f;
        QSignalSpy busy(&f.files(), &FileController::busy);
        QVERIFY(f.load(f.dvb("good.dvb", 4, 1)));
        QCOMPARE(busy.size(), 2);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QVERIFY(!f.load(f.write("bad.dvb", std::string(65, 'x'))));
        QCOMPARE(f.form->fileLabel(), QString("good.dvb"));
        f.chooser.choose(f.dir.filePath("copy.dvb"));
        f.files().saveChannels();
        QCOMPARE(f.session.channelFile(), f.dir.filePath("copy.dvb"));
        QCOMPARE(f.form->fileLabel(), QString("copy.dvb"));
    }

    void rowsIconsAndSelectionRule() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 5, 2)));
        QCOMPARE(f.form->fileLabel(), QString("list.dvb"));
        QCOMPARE(f.form->model().rowCount(), 6);
        QCOMPARE(f.form->countText(), QString("5"));
        const auto text = [&](int row) {
            return f.form->model().data(f.form->model().index(row), Qt::DisplayRole).toString();
        };
        QCOMPARE(text(4), QString("0005    TV 4"));
        QVERIFY(!f.form->model().data(f.form->model().index(5), Qt::DisplayRole).isValid());
        const auto icon = [&](int row) {
            return f.form->model()
                .data(f.form->model().index(row), Qt::DecorationRole)
                .value<QIcon>()
                .cacheKey();
        };
        QCOMPARE(icon(0), ChannelListModel::headerIcon().cacheKey());
        QCOMPARE(icon(2), ChannelListModel::parentalIcon().cacheKey());
        QCOMPARE(icon(1), ChannelListModel::blankIcon().cacheKey());
        QCOMPARE(f.list().selectedRow(), 1);
        f.list().selectOnly(6);  // the blank row
        QVERIFY(f.form->dataRow().isEmpty());
        f.list().selectOnly(2);
        QVERIFY(f.form->dataRow().startsWith("TV 1"));
    }

    void tvRadioSwitchRemembersRows() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 6, 3)));
        f.list().selectOnly(4);
        f.list().switchList();
        QCOMPARE(f.form->title(), QString("RADIO CHANNELS"));
        QCOMPARE(f.form->countText(), QString("3"));
        QCOMPARE(f.list().selectedRow(), 1);
        f.list().selectOnly(3);
        f.list().switchList();
        QCOMPARE(f.form->title(), QString("TV CHANNELS"));
        QCOMPARE(f.list().selectedRow(), 4);
        f.list().switchList();
        QCOMPARE(f.list().selectedRow(), 3);
    }

    void shiftHeldSuppressesTheDataRowRefresh() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 5, 0)));
        f.list().selectOnly(2);
        const QString before = f.form->dataRow();
        QVERIFY(!f.form->handleKeyPress(Qt::Key_Shift, Qt::ShiftModifier));
        f.form->listView()->setCurrentIndex(f.form->model().index(3));
        QCOMPARE(f.form->dataRow(), before);
        f.form->handleKeyRelease(Qt::NoModifier);
        QVERIFY(f.form->dataRow().startsWith("TV 3"));
    }

    void tabGates() {
        UiFixture f;
        int opened = 0;
        f.form->setToolWindow(Tab::Settings, [&](QWidget* p) {
            ++opened;
            return new QWidget(p, Qt::Window);
        });
        QVERIFY(f.load(f.dvb("list.dvb", 3, 0)));
        // A DVB98 file without settings: the Settings tab stays on List.
        f.form->selectTab(Tab::Settings);
        QCOMPARE(f.form->currentTab(), Tab::List);
        QCOMPARE(opened, 0);
        // With settings loaded it opens, and the List tab closes it again.
        QVERIFY(f.loadSettings(f.g98("s.g98")));
        QCOMPARE(f.form->currentTab(), Tab::Settings);
        QCOMPARE(opened, 1);
        QVERIFY(f.form->openChild() != nullptr);
        f.form->selectTab(Tab::List);
        QCOMPARE(f.form->currentTab(), Tab::List);
        QVERIFY(f.form->openChild() == nullptr);
    }

    // A DVB98 list without settings closes the Settings tab: back to the list, nothing else
    // opens.
    void aLoadThatClosesTheCurrentTabGoesBackToTheList() {
        UiFixture f;
        QVERIFY(f.load(f.dvb("list.dvb", 4, 0)));
        QVERIFY(f.loadSettings(f.g98("s.g98")));
        QCOMPARE(f.form->currentTab(), Tab::Settings);
        f.prompter.answer(Prompter::Answer::No);
        QVERIFY(f.load(f.dvb("other.dvb", 2, 0)));
        QCOMPARE(f.form->currentTab(), Tab::List);
        QTRY_VERIFY(f.form->openChild() == nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible() || w->objectName() != "OptionsForm", "Options opened");
    }

    void oneToolWindowAtATime() {
        UiFixture f;
        QPointer<QWidget> first;
        f.form->setToolWindow(Tab::Options, [&](QWidget* p) {
            auto* w = new QWidget(p, Qt::Window);
            if (!first) first = w;
            return w;
        });
        f.form->setToolWindow(Tab::Settings, [](QWidget* p) { return new QWidget(p, Qt::Window); });
        QVERIFY(f.load(f.bin("img.bin")));
        f.form->selectTab(Tab::Options);
        QVERIFY(first);
        f.form->selectTab(Tab::Settings);  // an FTA image always has settings
        QCOMPARE(f.form->currentTab(), Tab::Settings);
        QTRY_VERIFY(!first);
        // Closing the tool window returns to the List tab.
        f.form->openChild()->close();
        QTRY_COMPARE(f.form->currentTab(), Tab::List);
    }

    void editingMenuByFileType() {
        UiFixture f;
        QVERIFY(f.load(f.bin("img.bin")));
        f.form->prepareEditingMenu();
        auto* antenna = f.form->findChild<QMenu*>("Antmnu");
        auto* volt = f.form->findChild<QMenu*>("Voltmnu");
        QVERIFY(antenna->isEnabled());
        QVERIFY(!volt->isEnabled());
        QCOMPARE(antenna->actions().first()->text(), QString("1 ANT ONE"));
        QVERIFY(!f.action("STABMenu")->isEnabled());

        QVERIFY(f.load(f.dvb("list.dvb", 3, 0)));
        f.form->prepareEditingMenu();
        QVERIFY(!antenna->isEnabled());
        QVERIFY(volt->isEnabled());
        f.list().selectOnly(4);
        f.form->prepareEditingMenu();
        QVERIFY(!volt->isEnabled());  // the blank row
    }

    // The File menu offers to write only what is loaded, loading always; the list's commands,
    // the tabs of the tool-window table and the commands that open them follow the same.
    void commandsAndTabsFollowWhatIsLoaded() {
        const QStringList names = {"Load_Channel", "Save_Channel", "Load_Settings", "Save_Settings",
                                   "Load_Fonts",   "Save_Fonts",   "ImportFormTXT", "ImportCSV",
                                   "ExportCSV",    "UpgDVB",       "DVB2Bin",       "Findmnu",
                                   "Findnemnu",    "PrintList",    "ExportPDF"};
        struct Case {
            const char* what;
            std::function<void(UiFixture&)> load;
            QString enabled;  // one letter per command above
            QString tabs;     // one letter per tab of the table: the tab, and its command
        };
        const QList<Case> cases = {
            {"nothing", [](UiFixture&) {}, "101010110001100", "0000111"},
            {"DVB98 list", [](UiFixture& f) { QVERIFY(f.load(f.dvb("list.dvb", 3, 1))); },
             "111010111111111", "1000111"},
            {"empty DVB98 list", [](UiFixture& f) { QVERIFY(f.load(f.dvb("empty.dvb", 0, 0))); },
             "111010111111100", "0000111"},
            {"FTA image", [](UiFixture& f) { QVERIFY(f.load(f.bin("img.bin"))); },
             "111010111001111", "1010111"},
            {"DVB98 settings", [](UiFixture& f) { QVERIFY(f.loadSettings(f.g98("s.g98"))); },
             "101110110001100", "0010111"},
            {"DVB98 list and settings",
             [](UiFixture& f) {
                 QVERIFY(f.load(f.dvb("list.dvb", 3, 1)));
                 QVERIFY(f.loadSettings(f.g98("s.g98")));
                 f.form->selectTab(Tab::List);
             },
             "111110111111111", "1010111"},
            {"font",
             [](UiFixture& f) {
                 QVERIFY(f.loadFont(f.font("one.fos", 4096, 16)));
                 f.form->selectTab(Tab::List);
             },
             "101011110001100", "0001111"},
        };
        for (const Case& c : cases) {
            UiFixture f;
            c.load(f);
            QString got;
            for (const QString& name : names)
                got += f.action(name.toLatin1().constData())->isEnabled() ? '1' : '0';
            QString tabs;
            for (const ToolWindowInfo& w : toolWindowTable()) {
                if (!w.tab || w.caption == nullptr) continue;
                const bool open = f.form->tabEnabled(*w.tab);
                tabs += open ? '1' : '0';
                if (w.command) QVERIFY2(f.form->action(*w.command)->isEnabled() == open, w.caption);
            }
            QVERIFY2(got == c.enabled && tabs == c.tabs,
                     qPrintable(QString("%1: %2 %3").arg(c.what, got, tabs)));
        }
    }

    // Ctrl+O loads channels and Ctrl+S saves them, from the list as from the menu.
    void ctrlOLoadsAndCtrlSSavesChannels() {
        UiFixture f;
        QCOMPARE(f.action("Load_Channel")->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(f.action("Save_Channel")->shortcut(), QKeySequence("Ctrl+S"));
        f.chooser.choose(f.dvb("list.dvb", 3, 1));
        QVERIFY(f.form->handleKeyPress(Qt::Key_O, Qt::ControlModifier));
        QCOMPARE(f.session.channelFile(), f.dir.filePath("list.dvb"));
        const QString copy = f.dir.filePath("copy.dvb");
        f.chooser.choose(copy);
        QVERIFY(f.form->handleKeyPress(Qt::Key_S, Qt::ControlModifier));
        QVERIFY(QFileInfo::exists(copy));
        QCOMPARE(QFileInfo(copy).size(), QFileInfo(f.dir.filePath("list.dvb")).size());
    }

    void theCommandTableHoldsEachCommandNameAndKeyOnce() {
        QSet<QString> names;
        QSet<int> keys;
        std::size_t place = 0;
        for (const CommandInfo& info : commandTable()) {
            QCOMPARE(static_cast<std::size_t>(info.command), place++);
            QVERIFY2(!names.contains(info.objectName), info.objectName);
            names.insert(info.objectName);
            for (QKeyCombination key : info.keys) {
                QVERIFY2(!keys.contains(key.toCombined()), info.objectName);
                keys.insert(key.toCombined());
            }
        }
        QCOMPARE(place, kCommandCount);
    }

    void menusAreBuiltInTableOrderWithTheirSeparatorsAndSubmenus() {
        UiFixture f;
        const auto entries = [&](Menu menu) {
            QStringList out;
            for (QAction* a : f.form->menu(menu)->actions()) {
                out << (a->isSeparator() ? QString("-")
                        : a->menu()      ? a->menu()->objectName() + ">"
                                         : a->objectName());
            }
            return out;
        };
        QCOMPARE(entries(Menu::Main),
                 QStringList({">", "Search>", "Undomnu", "Redomnu", "-", "Settmnu", "Fontmnu",
                              "Serial", "Export", "options", "About", "Help"}));
        // clang-format off
        QCOMPARE(
            entries(Menu::File),
            QStringList({"Load_Channel", "Save_Channel", "Load_Settings", "Save_Settings", "-",
                         "Load_Fonts", "Save_Fonts", "-", "ImportFormTXT", "ImportCSV", "ExportCSV",
                         "PrintList", "ExportPDF", "-", "UpgDVB", "CompareFile", "CompareDownload",
                         "ChangesLoaded", "ChangesDownload", "DVB2Bin", "CheckList",
                         "-", "RecentFiles>", "-", "Exitmnu"}));
        // clang-format on
        QCOMPARE(entries(Menu::Editing).mid(0, 18),
                 QStringList({"Undomnu", "Redomnu", "-", "Editmnu", "Insertmnu", "Deletemnu",
                              "Cutmnu", "Pastemnu", "Pastespecialmnu", "-", "Antmnu>", "Voltmnu>",
                              "Diseqcdvbmnu>", "SpecInvmnu>", "ParentCtrlMenu>", "AutoPmtMenu>",
                              "AutoPidMenu>", "STABMenu"}));
        QCOMPARE(entries(Menu::Editing).mid(18), QStringList({"-", "SortList", "OrderLike"}));
        QCOMPARE(entries(Menu::Diseqc), QStringList({"Port1", "Port2", "Port3", "Port4"}));
        // Captions keep their words; keys show in the menu's own column.
        QCOMPARE(f.action("Port3")->text(), QString("Lnb Port &3"));
        QCOMPARE(f.action("Findmnu")->text(), QString("&Find"));
        QVERIFY(f.action("Findmnu")->isShortcutVisibleInContextMenu());
        QCOMPARE(f.action("Redomnu")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    }

    void keysRunOnlyEnabledCommands() {
        UiFixture f;
        f.prompter.fallback = Prompter::Answer::No;
        // Ctrl+C converts only a DVB98 list.
        QVERIFY(f.form->handleKeyPress(Qt::Key_C, Qt::ControlModifier));
        QVERIFY(f.prompter.asked.isEmpty());
        QVERIFY(f.load(f.dvb("list.dvb", 3, 0)));
        QVERIFY(f.form->handleKeyPress(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier));
        QCOMPARE(f.prompter.texts(), QStringList{"Default settings will be used , proceed ??"});
        QVERIFY(!f.form->handleKeyPress(Qt::Key_A, Qt::NoModifier));
    }

    void debugModeToggles() {
        UiFixture f;
        const auto mods = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
        QVERIFY(f.form->handleKeyPress(Qt::Key_D, mods));
        QVERIFY(f.session.debugMode());
        QVERIFY(f.load(f.dvb("list.dvb", 0, 1)));  // a RADIO record is logged
        QVERIFY(f.form->handleKeyPress(Qt::Key_D, mods));
        QVERIFY(!f.session.debugMode());
        QCOMPARE(f.prompter.texts(), (QStringList{"Debug mode on", "Debug mode off"}));
        QFile log(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/DEBUG.TXT");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("RADIO 0             \r\n"));
    }

    void languageSwitchKeepsALoadedFileName() {
        UiFixture f;
        Language language;
        language.apply("ITA");
        QTRY_COMPARE(f.form->fileLabel(), QString("Nessun file caricato"));
        QCOMPARE(f.form->title(), QString("CANALI TV"));
        QCOMPARE(f.action("Cutmnu")->text(), QString("&Muovi nel buffer"));
        QCOMPARE(f.action("Cutmnu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
        QVERIFY(f.load(f.dvb("lista.dvb", 2, 0)));
        language.apply("ENG");
        QTRY_COMPARE(f.form->title(), QString("TV CHANNELS"));
        QCOMPARE(f.form->fileLabel(), QString("lista.dvb"));
    }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowTest)
#include "main_window_test.moc"
