#include "ui/main_form.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QtTest>

#include "app/language.h"
#include "ui/channel_list_model.h"
#include "ui/file_commands.h"
#include "ui_fixture.h"

namespace qel {

using test::UiFixture;

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void emptyListHasOneBlankRow() {
        UiFixture f;
        QCOMPARE(f.form->model().rowCount(), 1);
        QCOMPARE(f.form->countText(), QString("0"));
        QCOMPARE(f.form->title(), QString("TV CHANNELS"));
        QCOMPARE(f.form->fileLabel(), QString("No file loaded"));
        QVERIFY(!f.form->action("Editmnu")->isEnabled());
        QVERIFY(!f.form->action("Settmnu")->isEnabled());

        QVERIFY(f.Load(f.Dvb("empty.dvb", 0, 0)));
        QCOMPARE(f.form->model().rowCount(), 1);
        QVERIFY(!f.form->commands().edit);
        QVERIFY(!f.form->commands().del && !f.form->commands().cut && !f.form->commands().settings);
        QVERIFY(f.form->commands().insert);
    }

    void rowsIconsAndSelectionRule() {
        UiFixture f;
        QVERIFY(f.Load(f.Dvb("list.dvb", 5, 2)));
        QCOMPARE(f.form->fileLabel(), QString("list.dvb"));
        QCOMPARE(f.form->model().rowCount(), 6);
        QCOMPARE(f.form->countText(), QString("5"));
        const auto text = [&](int row) {
            return f.form->model().data(f.form->model().index(row), Qt::DisplayRole).toString();
        };
        QCOMPARE(text(0), QString("0001    --- SAT ---"));
        QCOMPARE(text(4), QString("0005    TV 4"));
        QVERIFY(!f.form->model().data(f.form->model().index(5), Qt::DisplayRole).isValid());
        const auto icon = [&](int row) {
            return f.form->model()
                .data(f.form->model().index(row), Qt::DecorationRole)
                .value<QIcon>()
                .cacheKey();
        };
        QCOMPARE(icon(0), ChannelListModel::HeaderIcon().cacheKey());
        QCOMPARE(icon(2), ChannelListModel::ParentalIcon().cacheKey());
        QCOMPARE(icon(1), ChannelListModel::BlankIcon().cacheKey());

        QCOMPARE(f.form->selectedRow(), 1);
        QVERIFY(f.form->commands().edit);
        f.form->Fill_List(6);  // the blank row
        QVERIFY(!f.form->commands().edit && !f.form->commands().del && !f.form->commands().cut);
        QVERIFY(f.form->dataRow().isEmpty());
        f.form->Fill_List(2);
        QVERIFY(f.form->commands().edit);
        QVERIFY(f.form->dataRow().startsWith("TV 1"));
    }

    void tvRadioSwitchRemembersRows() {
        UiFixture f;
        QVERIFY(f.Load(f.Dvb("list.dvb", 6, 3)));
        f.form->Fill_List(4);
        f.form->SwitchList();
        QCOMPARE(f.form->title(), QString("RADIO CHANNELS"));
        QCOMPARE(f.form->countText(), QString("3"));
        QCOMPARE(f.form->selectedRow(), 1);
        f.form->Fill_List(3);
        f.form->SwitchList();
        QCOMPARE(f.form->title(), QString("TV CHANNELS"));
        QCOMPARE(f.form->selectedRow(), 4);
        f.form->SwitchList();
        QCOMPARE(f.form->selectedRow(), 3);
    }

    void shiftHeldSuppressesTheDataRowRefresh() {
        UiFixture f;
        QVERIFY(f.Load(f.Dvb("list.dvb", 5, 0)));
        f.form->Fill_List(2);
        const QString before = f.form->dataRow();
        QVERIFY(!f.form->HandleKeyPress(Qt::Key_Shift, Qt::ShiftModifier));
        f.form->listView()->setCurrentIndex(f.form->model().index(3));
        QCOMPARE(f.form->dataRow(), before);
        f.form->HandleKeyRelease(Qt::NoModifier);
        QVERIFY(f.form->dataRow().startsWith("TV 3"));
    }

    void headerDataRowShowsTheStabSatellite() {
        UiFixture f;
        f.session.satPos = ParseAntPos(DefaultAntPosText());
        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 0)));
        f.form->Fill_List(1);
        QCOMPARE(f.form->dataRow(),
                 QString::fromLatin1(
                     "--- SAT ---  STAB rotor position is  1 HotBird         13\260  E"));
    }

    void tabGates() {
        UiFixture f;
        int opened = 0;
        f.form->setToolWindow(MainForm::SettingsTab, [&](QWidget* p) {
            ++opened;
            return new QWidget(p, Qt::Window);
        });
        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 0)));
        // A DVB98 file without settings: the Settings tab stays on List.
        f.form->selectTab(MainForm::SettingsTab);
        QCOMPARE(f.form->currentTab(), int(MainForm::ListTab));
        QCOMPARE(opened, 0);
        // With settings loaded it opens, and the List tab closes it again.
        f.chooser.Choose(f.G98("s.g98"));
        f.form->files().Load_Settings_Click();
        QCOMPARE(f.form->currentTab(), int(MainForm::SettingsTab));
        QCOMPARE(opened, 1);
        QVERIFY(f.form->openChild() != nullptr);
        f.form->selectTab(MainForm::ListTab);
        QCOMPARE(f.form->currentTab(), int(MainForm::ListTab));
        QVERIFY(f.form->openChild() == nullptr);
        // The blank row of a list with channels closes the gate.
        f.form->Fill_List(4);
        f.form->selectTab(MainForm::SettingsTab);
        QCOMPARE(f.form->currentTab(), int(MainForm::ListTab));
    }

    void oneToolWindowAtATime() {
        UiFixture f;
        QPointer<QWidget> first;
        f.form->setToolWindow(MainForm::OptionsTab, [&](QWidget* p) {
            auto* w = new QWidget(p, Qt::Window);
            if (!first) first = w;
            return w;
        });
        f.form->setToolWindow(MainForm::SettingsTab,
                              [](QWidget* p) { return new QWidget(p, Qt::Window); });
        QVERIFY(f.Load(f.Bin("img.bin")));
        f.form->selectTab(MainForm::OptionsTab);
        QVERIFY(first);
        f.form->selectTab(MainForm::SettingsTab);  // an FTA image always has settings
        QCOMPARE(f.form->currentTab(), int(MainForm::SettingsTab));
        QTRY_VERIFY(!first);
        // Closing the tool window returns to the List tab.
        f.form->openChild()->close();
        QTRY_COMPARE(f.form->currentTab(), int(MainForm::ListTab));
    }

    void editingMenuByFileType() {
        UiFixture f;
        QVERIFY(f.Load(f.Bin("img.bin")));
        f.form->PrepareEditingMenu();
        auto* antenna = f.form->findChild<QMenu*>("Antmnu");
        auto* volt = f.form->findChild<QMenu*>("Voltmnu");
        QVERIFY(antenna->isEnabled());
        QVERIFY(!volt->isEnabled());
        QCOMPARE(antenna->actions().first()->text(), QString("1 ANT ONE"));
        QVERIFY(!f.form->action("STABMenu")->isEnabled());

        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 0)));
        f.form->PrepareEditingMenu();
        QVERIFY(!antenna->isEnabled());
        QVERIFY(volt->isEnabled());
        f.form->Fill_List(4);
        f.form->PrepareEditingMenu();
        QVERIFY(!volt->isEnabled());  // the blank row
    }

    void commandsByFileTypeAndSettingsTag() {
        UiFixture f;
        f.form->setToolWindow(MainForm::SettingsTab,
                              [](QWidget* p) { return new QWidget(p, Qt::Window); });
        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 0)));
        QVERIFY(f.form->action("UpgDVB")->isEnabled());
        QVERIFY(f.form->action("DVB2Bin")->isEnabled());
        QVERIFY(!f.form->action("Settmnu")->isEnabled());
        QVERIFY(!f.form->tabEnabled(MainForm::SettingsTab));
        f.chooser.Choose(f.G98("s.g98"));
        f.form->files().Load_Settings_Click();
        QVERIFY(f.form->action("Settmnu")->isEnabled());

        QVERIFY(f.Load(f.Bin("img.bin")));
        QVERIFY(!f.form->action("UpgDVB")->isEnabled());
        QVERIFY(!f.form->action("DVB2Bin")->isEnabled());
        QVERIFY(f.form->action("Settmnu")->isEnabled());
    }

    void keysRunOnlyEnabledCommands() {
        UiFixture f;
        f.prompter.fallback = Prompter::Answer::No;
        // Ctrl+C converts only a DVB98 list.
        QVERIFY(f.form->HandleKeyPress(Qt::Key_C, Qt::ControlModifier));
        QVERIFY(f.prompter.asked.isEmpty());
        QVERIFY(f.Load(f.Dvb("list.dvb", 3, 0)));
        QVERIFY(f.form->HandleKeyPress(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier));
        QCOMPARE(f.prompter.texts(), QStringList{"Default settings will be used , proceed ??"});
        QVERIFY(!f.form->HandleKeyPress(Qt::Key_A, Qt::NoModifier));
    }

    void debugModeToggles() {
        UiFixture f;
        const auto mods = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
        QVERIFY(f.form->HandleKeyPress(Qt::Key_D, mods));
        QVERIFY(f.session.debugMode());
        QVERIFY(f.Load(f.Dvb("list.dvb", 0, 1)));  // a RADIO record is logged
        QVERIFY(f.form->HandleKeyPress(Qt::Key_D, mods));
        QVERIFY(!f.session.debugMode());
        QCOMPARE(f.prompter.texts(), (QStringList{"Debug mode on", "Debug mode off"}));
        QFile log(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/DEBUG.TXT");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("RADIO 0             \r\n"));
    }

    void languageSwitchKeepsALoadedFileName() {
        UiFixture f;
        Language language;
        language.Apply("ITA");
        QTRY_COMPARE(f.form->fileLabel(), QString("Nessun file caricato"));
        QCOMPARE(f.form->title(), QString("CANALI TV"));
        QCOMPARE(f.form->action("Cutmnu")->text(), QString("&Muovi nel buffer             Ctrl+X"));
        QVERIFY(f.Load(f.Dvb("lista.dvb", 2, 0)));
        language.Apply("ENG");
        QTRY_COMPARE(f.form->title(), QString("TV CHANNELS"));
        QCOMPARE(f.form->fileLabel(), QString("lista.dvb"));
    }
};

}  // namespace qel

QTEST_MAIN(qel::MainFormTest)
#include "main_form_test.moc"
