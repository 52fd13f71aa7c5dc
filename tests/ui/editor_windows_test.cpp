#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/editing_controller.h"
#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"
#include "receiver_settings/fta_settings.h"
#include "receiver_settings/osd_colors.h"
#include "support/workspace_builder.h"
#include "ui/channel_data_window.h"
#include "ui/channel_list_model.h"
#include "ui/dvb98_settings_windows.h"
#include "ui/fta_settings_window.h"
#include "ui/osd_color_window.h"
#include "ui_fixture.h"

namespace qel {

struct Editors : test::UiFixture {
    void loadDvbWithSettings() {
        load(dvb("list.dvb", 4, 0));
        loadSettings(g98("s.g98"));
        form->selectTab(Tab::List);
    }
    static void leave(QLineEdit* box) {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(box, &out);
    }
};

class EditorWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void dataEditorPairsBandAndAutomation() {
        Editors e;
        QVERIFY(e.load(e.dvb("list.dvb", 4, 0)));
        e.list().selectOnly(5);  // the blank row: no editor
        QVERIFY(e.openTab<ChannelDataWindow>(Tab::Data) == nullptr);
        e.list().selectOnly(2);
        auto* data = e.openTab<ChannelDataWindow>(Tab::Data);
        QVERIFY(data != nullptr);
        QCOMPARE(data->findChild<QLineEdit*>("ChName")->text(), QString("TV 1"));
        QCOMPARE(data->findChild<QLineEdit*>("freq1")->text(), QString("011001"));

        // Leaving a box fills in its pair and the band (the rules are the channel data tests').
        QLineEdit* vhex = data->hexBox(Pair::VPid);
        vhex->setText("1a");
        Editors::leave(vhex);
        QCOMPARE(vhex->text(), QString("001a"));
        QCOMPARE(data->decBox(Pair::VPid)->text(), QString("26"));
        QLineEdit* pmtdec = data->decBox(Pair::PmtPid);
        pmtdec->setText("8191");
        Editors::leave(pmtdec);
        QCOMPARE(data->hexBox(Pair::PmtPid)->text(), QString("1FFF"));
        auto* freq1 = data->findChild<QLineEdit*>("freq1");
        auto* lohi = data->findChild<QComboBox*>("lohi");
        freq1->setText("11801");
        Editors::leave(freq1);
        QCOMPARE(lohi->currentText(), QString("High"));

        auto* autoPmt = data->findChild<QComboBox*>("AutoPmt");
        auto* autoPid = data->findChild<QComboBox*>("AutoPid");
        autoPid->setCurrentIndex(0);
        autoPmt->setCurrentIndex(1);
        emit autoPmt->activated(1);
        QCOMPARE(autoPid->currentText(), QString("ON"));
        autoPid->setCurrentIndex(0);
        emit autoPid->activated(0);
        QCOMPARE(autoPid->currentText(), QString("ON"));

        // DVB98 mode: band, antenna, satellite and transponder id are not edited.
        QVERIFY(!lohi->isEnabled());
        QVERIFY(!data->findChild<QComboBox*>("Ant")->isEnabled());
        QVERIFY(!data->hexBox(Pair::TrId)->isEnabled());
        QVERIFY(data->findChild<QComboBox*>("ServType")->isEnabled());
    }

    void dataEditorSavesItsChannelAsOneUndoableStep() {
        Editors e;
        QVERIFY(e.load(e.dvb("list.dvb", 4, 0)));
        e.list().selectOnly(3);
        auto* data = e.openTab<ChannelDataWindow>(Tab::Data);
        const ChannelRec before = e.ws().tvList()[2];
        data->findChild<QLineEdit*>("ChName")->setText("RENAMED");
        data->findChild<QComboBox*>("Volt")->setCurrentIndex(1);
        // The main list's selection moves; the editor still saves its own channel.
        e.list().selectOnly(1);
        data->save();
        QCOMPARE(e.ws().tvList()[2].AvFlags.view(), "10");
        QVERIFY(e.ws().channelsModified());
        QCOMPARE(e.form->model().data(e.form->model().index(2), Qt::DisplayRole).toString(),
                 QString("0003    RENAMED"));
        e.action("Undomnu")->trigger();
        QCOMPARE(e.ws().tvList()[2], before);
        QVERIFY(!e.ws().channelsModified());
    }

    // An untouched channel: Esc asks nothing and "Save Channel data" changes no byte.
    void dataEditorLeavesAnUntouchedChannelAsTheFileHoldsIt() {
        Editors e;
        const unsigned flags[] = {0x0000, 0x0001, 0x0002, 0x0003, 0x0100,
                                  0x0103, 0x010F, 0x120C, 0xFFFF};
        std::string bytes;
        for (unsigned f : flags) {
            bytes += test::DvbRecord()
                         .name("KIDS " + std::to_string(f))
                         .freqMHz(f % 2 ? 12188 : 11362)
                         .srateKs(27500)
                         .fecCode(4)
                         .TuneFlags(f)
                         .AvFlags(f & 0xFF)
                         .automation(f % 3 == 2 ? 3 : f % 3)
                         .Parental(f & 1);
        }
        const QString path = e.write("flags.dvb", bytes);
        QVERIFY(e.load(path));
        for (int row = 1; row <= static_cast<int>(std::size(flags)); ++row) {
            e.list().selectOnly(row);
            auto* data = e.openTab<ChannelDataWindow>(Tab::Data);
            QVERIFY(data != nullptr);
            QTest::keyClick(data, Qt::Key_Escape);
            QCOMPARE(e.prompter.asked.size(), 0);
            e.list().selectOnly(row);
            data = e.openTab<ChannelDataWindow>(Tab::Data);
            data->save();
            e.form->selectTab(Tab::List);
        }
        QCOMPARE(e.prompter.asked.size(), 0);
        e.chooser.choose(path);
        e.files().saveChannels();
        QCOMPARE(e.read(path), bytes);
    }

    // Values the data editor's lists cannot show are shown as their numbers (that a save keeps
    // them is the channel data tests'); the title follows the name.
    void dataEditorKeepsValuesItsListsCannotShow() {
        Editors e;
        std::string bytes;
        encodeDvbRecord(test::Channel("ODD").Freq("01176600").Fec("7").TuneFlags("000C"), false,
                        bytes);
        QVERIFY(e.load(e.write("odd.dvb", bytes)));
        const ChannelRec loaded = e.ws().tvList()[0];
        e.list().selectOnly(1);
        auto* data = e.openTab<ChannelDataWindow>(Tab::Data);
        auto* spectr = data->findChild<QComboBox*>("Spectr");
        QCOMPARE(spectr->currentText(), QString("(3)"));
        QCOMPARE(data->findChild<QComboBox*>("Fec")->currentText(), QString("(7)"));
        data->findChild<QLineEdit*>("ChName")->setText("RENAMED");
        data->save();
        QCOMPARE(e.ws().tvList()[0].TuneFlags, loaded.TuneFlags);
        QCOMPARE(data->windowTitle(), QString("QEL - RENAMED"));
    }

    // A new channel's editor has a plain title; Enter saves it; Alt+D is the save button's.
    void enterSavesANewChannel() {
        Editors e;
        QVERIFY(e.load(e.dvb("list.dvb", 3, 0)));
        e.list().selectOnly(4);
        e.action("Insertmnu")->trigger();
        auto* data = e.openChild<ChannelDataWindow>();
        QVERIFY(data != nullptr);
        QCOMPARE(data->windowTitle(), QString("QEL"));
        data->findChild<QLineEdit*>("ChName")->setText("NEW ONE");
        QTest::keyClick(data->findChild<QLineEdit*>("ChName"), Qt::Key_Return);
        QCOMPARE(e.ws().tvList()[3].ChName.view().substr(0, 7), "NEW ONE");
        for (QLabel* label : data->findChildren<QLabel*>())
            QVERIFY2(!label->text().contains("&d", Qt::CaseInsensitive), qPrintable(label->text()));
    }

    void dataEditorClosesWhenItsChannelGoes() {
        Editors e;
        QVERIFY(e.load(e.dvb("list.dvb", 4, 0)));
        e.list().selectOnly(2);
        QPointer<ChannelDataWindow> open = e.openTab<ChannelDataWindow>(Tab::Data);
        e.list().selectOnly(2);
        e.prompter.answer(Prompter::Answer::Yes);
        e.action("Deletemnu")->trigger();
        QTRY_VERIFY(!open);
        QTRY_COMPARE(e.form->currentTab(), Tab::List);
    }

    void dataEditorOfAnFtaChannel() {
        Editors e;
        QVERIFY(e.load(e.bin("img.bin")));
        auto* data = e.openTab<ChannelDataWindow>(Tab::Data);
        QVERIFY(data != nullptr);
        auto* ant = data->findChild<QComboBox*>("Ant");
        QVERIFY(ant->isEnabled());
        QCOMPARE(ant->currentText(), QString("2"));                           // Ant 0020
        QCOMPARE(data->findChild<QLineEdit*>("SatName")->text(), QString());  // no name for entry 2
        ant->setCurrentIndex(0);
        QCOMPARE(data->findChild<QLineEdit*>("SatName")->text(), QString("ANT ONE"));
        QVERIFY(!data->findChild<QComboBox*>("ServType")->isEnabled());
        QVERIFY(!data->findChild<QCheckBox*>("Parental")->isEnabled());
        ant->setCurrentIndex(2);
        data->save();
        QCOMPARE(e.ws().tvList()[0].Ant.view(), "0030");
    }

    void dvb98SettingsWindowsShareTheWorkingCopy() {
        Editors e;
        e.loadDvbWithSettings();
        const std::string image = e.ws().settingsImage();
        auto* general = e.openTab<Dvb98SettingsWindow>(Tab::Settings);
        QVERIFY(general != nullptr);
        auto* lof = qobject_cast<QLineEdit*>(general->control("LNB1Lof1"));
        QCOMPARE(lof->text(), QString::number(0x11111111u));
        // A change without "Save settings" does not reach the image.
        lof->setText("9750");
        e.form->selectTab(Tab::List);
        QCOMPARE(e.ws().settingsImage(), image);
        QVERIFY(!e.ws().settingsModified());

        general = e.openTab<Dvb98SettingsWindow>(Tab::Settings);
        QCOMPARE(qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->text(),
                 QString::number(0x11111111u));
        qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->setText("9750");
        general->findChild<QPushButton*>("MoreSetting")->click();
        auto* further = e.openChild<Dvb98MoreSettingsWindow>();
        QVERIFY(further != nullptr);
        QCOMPARE(e.form->currentTab(), Tab::Settings);
        qobject_cast<QComboBox*>(further->control("Mode"))->setCurrentIndex(1);
        further->findChild<QPushButton*>("Back")->click();
        general = e.openChild<Dvb98SettingsWindow>();
        QVERIFY(general != nullptr);
        // The general window shows the working copy again; its own unsaved edit is gone.
        qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->setText("9750");
        general->findChild<QPushButton*>("Colors")->click();
        auto* colors = e.openChild<OsdColorWindow>();
        QVERIFY(colors != nullptr);
        colors->choose(1);  // "Menu Text"
        colors->apply(0xFFFFFF);
        colors->findChild<QPushButton*>("Back")->click();
        general = e.openChild<Dvb98SettingsWindow>();
        qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->setText("9750");
        general->storeSettings();
        // Each window's edit is in the image (where each value sits is the codec tests').
        const std::string& saved = e.ws().settingsImage();
        QVERIFY(e.ws().settingsModified());
        QCOMPARE(saved.substr(24 * 2, 8), std::string("00002616"));
        QCOMPARE(saved.substr(254 * 2, 2), std::string("01"));         // from the further window
        QCOMPARE(saved.substr(1056 * 2, 8), std::string("3E3E2020"));  // from the colours
    }

    void colourNumbers() {
        Editors e;
        e.loadDvbWithSettings();
        OsdColorWindow colors(e.program->settings());
        colors.choose(0);
        colors.red()->setText("300");
        colors.leaveNumberBox(colors.red());
        QCOMPARE(colors.red()->text(), QString("0"));
        colors.red()->setText("255");
        colors.green()->setText("255");
        colors.blue()->setText("255");
        colors.leaveNumberBox(colors.blue());
        QCOMPARE(colors.values()[0], std::string("3E3E2020"));
        colors.setTransparency(3);
        QCOMPARE(colors.values()[0], std::string("FEFEE0E0"));
        QCOMPARE(colors.red()->text(), QString::number(yuvToRgb("FEFEE0E0") & 0xFF));
    }

    // Unsaved DVB98 settings are asked about before an FTA image unloads them; their window
    // closes with them, and one kept open over them writes nothing back.
    void loadingAnImageAsksAboutUnsavedSettingsAndClosesTheirWindow() {
        Editors e;
        e.loadDvbWithSettings();
        e.openTab<Dvb98SettingsWindow>(Tab::Settings)->storeSettings();
        QVERIFY(e.ws().settingsModified());
        e.prompter.answer(Prompter::Answer::Cancel);  // keeps everything
        QVERIFY(!e.load(e.bin("img.bin")));
        QCOMPARE(e.prompter.texts().last(),
                 QString("Save correction to ") + e.dir.filePath("s.g98") + " ? ");
        QVERIFY(e.ws().settingsLoaded());
        e.prompter.answer(Prompter::Answer::No);
        QVERIFY(e.load(e.bin("img.bin")));
        QVERIFY(!e.ws().settingsLoaded() && !e.ws().settingsModified());
        QCOMPARE(e.form->currentTab(), Tab::List);
        QTRY_VERIFY(e.form->openChild() == nullptr);
        Dvb98SettingsWindow stale(e.session, e.program->settings());
        stale.storeSettings();
        QVERIFY(!e.ws().settingsLoaded() && !e.ws().settingsModified());
        e.prompter.asked.clear();
        e.files().loadSettings();
        QCOMPARE(e.prompter.texts(), QStringList{"Not with BIN  files"});
    }

    void ftaSettingsWindowKeepsADiseqcValueItCannotShow() {
        Editors e;
        QVERIFY(e.load(e.bin("img.bin")));
        FtaImageTables tables = e.ws().imageTables();
        tables.antennas[0] = "000026160000296800" + std::string("0A") + "SAT";
        e.ws().storeImageTables(tables);
        auto* fta = e.openTab<FtaSettingsWindow>(Tab::Settings);
        QCOMPARE(fta->findChild<QButtonGroup*>("aDiseqc")->checkedId(), -1);
    }

    void ftaSettingsWindow() {
        Editors e;
        QVERIFY(e.load(e.bin("img.bin")));
        FtaImageTables tables = e.ws().imageTables();
        tables.settingsRecord =
            "E50100260000000100000000001800002"
            "49B0001";
        e.ws().storeImageTables(tables);
        auto* fta = e.openTab<FtaSettingsWindow>(Tab::Settings);
        QVERIFY(fta != nullptr);
        QCOMPARE(fta->findChild<QLineEdit*>("Ant_Name")->text(), QString("ANT ONE"));
        QCOMPARE(fta->secretCode()->text(), QString("9371"));
        const FtaImageTables before = e.ws().imageTables();

        fta->findChild<QLineEdit*>("Ant_Name")->setText("HOTBIRD");
        fta->findChild<QLineEdit*>("Lnb_low")->setText("9750");
        fta->antennas()->setCurrentIndex(1);  // rebuilt into the working copy only
        fta->screen()->button(0)->setChecked(true);
        e.form->selectTab(Tab::List);
        QCOMPARE(e.ws().imageTables().antennas, before.antennas);
        QCOMPARE(e.ws().imageTables().screenFormat, before.screenFormat);

        fta = e.openTab<FtaSettingsWindow>(Tab::Settings);
        fta->findChild<QLineEdit*>("Ant_Name")->setText("HOTBIRD");
        fta->findChild<QLineEdit*>("Lnb_low")->setText("9750");
        fta->findChild<QLineEdit*>("Lnb_high")->setText("10600");
        fta->secretCode()->setText("42");
        fta->screen()->button(0)->setChecked(true);
        e.ws().setChannelsModified(false);
        fta->save();
        // The edits are in the image (how an antenna's entry is written is the codec tests').
        const FtaImageTables& t = e.ws().imageTables();
        QCOMPARE(t.antennas[0].substr(0, 16), std::string("0000261600002968"));
        QCOMPARE(t.settingsRecord.substr(32, 4), std::string("002A"));
        QCOMPARE(fta->secretCode()->text(), QString("0042"));
        QVERIFY(showScreenFormat(t.screenFormat).is4_3);
        QVERIFY(e.ws().channelsModified());
    }
};

}  // namespace qel

QTEST_MAIN(qel::EditorWindowsTest)
#include "editor_windows_test.moc"
