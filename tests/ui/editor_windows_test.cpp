#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/language.h"
#include "model/conversions.h"
#include "model/g98_file.h"
#include "receiver_settings/fta_settings.h"
#include "receiver_settings/osd_colors.h"
#include "ui/channel_list_model.h"
#include "ui/color_form.h"
#include "ui/data_form.h"
#include "ui/dvb98_settings_forms.h"
#include "ui/editing_controller.h"
#include "ui/fta_settings_form.h"
#include "ui/settings_windows.h"
#include "ui_fixture.h"

namespace qel {

struct Editors : test::UiFixture {
    EditingController editing{session, *form, prompter};
    SettingsWindows windows{session, *form, editing};

    template <class T>
    T* Open(MainForm::Tab tab) {
        form->selectTab(tab);
        return qobject_cast<T*>(form->openChild());
    }
    void LoadDvbWithSettings() {
        Load(Dvb("list.dvb", 4, 0));
        chooser.Choose(G98("s.g98"));
        form->files().Load_Settings_Click();
        form->selectTab(MainForm::ListTab);
    }
    static void Leave(QLineEdit* box) {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(box, &out);
    }
};

class EditorWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void dataEditorPairsBandAndAutomation() {
        Editors e;
        QVERIFY(e.Load(e.Dvb("list.dvb", 4, 0)));
        e.form->Fill_List(5);  // the blank row: no editor
        QVERIFY(e.Open<DataForm>(MainForm::DataTab) == nullptr);
        e.form->Fill_List(2);
        auto* data = e.Open<DataForm>(MainForm::DataTab);
        QVERIFY(data != nullptr);
        QCOMPARE(data->findChild<QLineEdit*>("ChName")->text(), QString("TV 1"));
        QCOMPARE(data->findChild<QLineEdit*>("freq1")->text(), QString("011001"));

        QLineEdit* vhex = data->hexBox(Pair::VPid);
        vhex->setText("1a");
        Editors::Leave(vhex);
        QCOMPARE(vhex->text(), QString("001a"));
        QCOMPARE(data->decBox(Pair::VPid)->text(), QString("26"));
        QLineEdit* pmtdec = data->decBox(Pair::PmtPid);
        pmtdec->setText("8191");
        Editors::Leave(pmtdec);
        QCOMPARE(data->hexBox(Pair::PmtPid)->text(), QString("1FFF"));

        auto* freq1 = data->findChild<QLineEdit*>("freq1");
        auto* lohi = data->findChild<QComboBox*>("lohi");
        freq1->setText("11800");
        Editors::Leave(freq1);
        QCOMPARE(lohi->currentText(), QString("Low"));
        freq1->setText("11801");
        Editors::Leave(freq1);
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
        QVERIFY(e.Load(e.Dvb("list.dvb", 4, 0)));
        e.form->Fill_List(3);
        auto* data = e.Open<DataForm>(MainForm::DataTab);
        const ChannelRec before = e.session.ws.TVList[2];
        data->findChild<QLineEdit*>("ChName")->setText("RENAMED");
        data->findChild<QComboBox*>("Volt")->setCurrentIndex(1);
        // The main list's selection moves; the editor still saves its own channel.
        e.form->selectOnly(1);
        data->Save();
        QCOMPARE(e.session.ws.TVList[2].ChName.view(), "RENAMED             ");
        QCOMPARE(e.session.ws.TVList[2].AvFlags.view(), "10");
        QCOMPARE(e.session.ws.TVList[0].ChName.view().substr(0, 3), "---");
        QVERIFY(e.session.ws.ChannelsModified);
        QCOMPARE(e.form->model().data(e.form->model().index(2), Qt::DisplayRole).toString(),
                 QString("0003    RENAMED"));
        e.form->action("Undomnu")->trigger();
        QCOMPARE(e.session.ws.TVList[2], before);
        QVERIFY(!e.session.ws.ChannelsModified);
    }

    void dataEditorLeftWithoutSavingChangesNothingAndClosesWhenItsChannelGoes() {
        Editors e;
        QVERIFY(e.Load(e.Dvb("list.dvb", 4, 0)));
        const ChannelList before = e.session.ws.TVList;
        e.form->Fill_List(2);
        auto* data = e.Open<DataForm>(MainForm::DataTab);
        data->findChild<QLineEdit*>("ChName")->setText("CHANGED");
        QTest::keyClick(data, Qt::Key_Escape);
        QCOMPARE(e.form->currentTab(), int(MainForm::ListTab));
        QCOMPARE(e.session.ws.TVList, before);

        e.form->Fill_List(2);
        QPointer<DataForm> open = e.Open<DataForm>(MainForm::DataTab);
        e.form->selectOnly(2);
        e.prompter.Answer(Prompter::Answer::Yes);
        e.form->action("Deletemnu")->trigger();
        QTRY_VERIFY(!open);
        QTRY_COMPARE(e.form->currentTab(), int(MainForm::ListTab));
    }

    void dataEditorOfAnFtaChannel() {
        Editors e;
        QVERIFY(e.Load(e.Bin("img.bin")));
        auto* data = e.Open<DataForm>(MainForm::DataTab);
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
        data->Save();
        QCOMPARE(e.session.ws.TVList[0].Ant.view(), "0030");
    }

    void dvb98SettingsWindowsShareTheWorkingCopy() {
        Editors e;
        e.LoadDvbWithSettings();
        const std::string image = e.session.ws.DVB98Settings;
        auto* general = e.Open<SettingDVB_1Form>(MainForm::SettingsTab);
        QVERIFY(general != nullptr);
        auto* lof = qobject_cast<QLineEdit*>(general->control("LNB1Lof1"));
        QCOMPARE(lof->text(), QString::number(0x11111111u));
        // A change without "Save settings" does not reach the image.
        lof->setText("9750");
        e.form->selectTab(MainForm::ListTab);
        QCOMPARE(e.session.ws.DVB98Settings, image);
        QVERIFY(!e.session.ws.SettingsModified);

        general = e.Open<SettingDVB_1Form>(MainForm::SettingsTab);
        QCOMPARE(qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->text(),
                 QString::number(0x11111111u));
        qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->setText("9750");
        general->findChild<QPushButton*>("MoreSetting")->click();
        auto* further = qobject_cast<SettingDVB_2Form*>(e.form->openChild());
        QVERIFY(further != nullptr);
        QCOMPARE(e.form->currentTab(), int(MainForm::SettingsTab));
        qobject_cast<QComboBox*>(further->control("Mode"))->setCurrentIndex(1);
        further->findChild<QPushButton*>("Back")->click();
        general = qobject_cast<SettingDVB_1Form*>(e.form->openChild());
        QVERIFY(general != nullptr);
        // The general window shows the working copy again; its own unsaved edit is gone.
        qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->setText("9750");
        general->findChild<QPushButton*>("Colors")->click();
        auto* colors = qobject_cast<SettingsDVB_ColorForm*>(e.form->openChild());
        QVERIFY(colors != nullptr);
        colors->Choose(1);  // "Menu Text"
        colors->Apply(0xFFFFFF);
        colors->findChild<QPushButton*>("Back")->click();
        general = qobject_cast<SettingDVB_1Form*>(e.form->openChild());
        qobject_cast<QLineEdit*>(general->control("LNB1Lof1"))->setText("9750");
        general->SaveDVB98();
        const std::string& saved = e.session.ws.DVB98Settings;
        QVERIFY(e.session.ws.SettingsModified);
        QCOMPARE(saved.substr(24 * 2, 8), std::string("00002616"));
        QCOMPARE(saved.substr(254 * 2, 2), std::string("01"));         // from the further window
        QCOMPARE(saved.substr(1056 * 2, 8), std::string("3E3E2020"));  // "Menu Text" at both places
        QCOMPARE(saved.substr(200 * 2, 8), std::string("3E3E2020"));
        // Nothing else changed.
        std::string expected = image;
        expected.replace(24 * 2, 8, "00002616");
        expected.replace(254 * 2, 2, "01");
        expected.replace(1056 * 2, 8, "3E3E2020");
        expected.replace(200 * 2, 8, "3E3E2020");
        QVERIFY(saved == expected);
    }

    void colourNumbers() {
        Editors e;
        e.LoadDvbWithSettings();
        SettingsDVB_ColorForm colors(e.session);
        colors.Choose(0);
        colors.red()->setText("300");
        colors.LeaveNumberBox(colors.red());
        QCOMPARE(colors.red()->text(), QString("0"));
        const auto before = colors.values();
        QCOMPARE(colors.values()[0], before[0]);  // nothing applied
        colors.red()->setText("255");
        colors.green()->setText("255");
        colors.blue()->setText("255");
        colors.LeaveNumberBox(colors.blue());
        QCOMPARE(colors.values()[0], std::string("3E3E2020"));
        colors.SetTransparency(3);
        QCOMPARE(colors.values()[0], std::string("FEFEE0E0"));
        QCOMPARE(colors.red()->text(), QString::number(YUV2RGB("FEFEE0E0") & 0xFF));
    }

    void ftaSettingsWindow() {
        Editors e;
        QVERIFY(e.Load(e.Bin("img.bin")));
        e.session.ws.ImageTables.SettingsRecord =
            "E50100260000000100000000001800002"
            "49B0001";
        auto* fta = e.Open<SettingsFTAForm>(MainForm::SettingsTab);
        QVERIFY(fta != nullptr);
        QCOMPARE(fta->findChild<QLineEdit*>("Ant_Name")->text(), QString("ANT ONE"));
        QCOMPARE(fta->secretCode()->text(), QString("9371"));
        const FtaImageTables before = e.session.ws.ImageTables;

        fta->findChild<QLineEdit*>("Ant_Name")->setText("HOTBIRD");
        fta->findChild<QLineEdit*>("Lnb_low")->setText("9750");
        fta->antennas()->setCurrentIndex(1);  // rebuilt into the working copy only
        fta->screen()->button(0)->setChecked(true);
        e.form->selectTab(MainForm::ListTab);
        QCOMPARE(e.session.ws.ImageTables.Antennas, before.Antennas);
        QCOMPARE(e.session.ws.ImageTables.ScreenFormat, before.ScreenFormat);

        fta = e.Open<SettingsFTAForm>(MainForm::SettingsTab);
        fta->findChild<QLineEdit*>("Ant_Name")->setText("HOTBIRD");
        fta->findChild<QLineEdit*>("Lnb_low")->setText("9750");
        fta->findChild<QLineEdit*>("Lnb_high")->setText("10600");
        fta->secretCode()->setText("42");
        fta->screen()->button(0)->setChecked(true);
        e.session.ws.ChannelsModified = false;
        fta->Asave();
        const FtaImageTables& t = e.session.ws.ImageTables;
        QCOMPARE(t.Antennas[0], std::string("0000261600002968") + "0" + "0" + "00" + "HOTBIRD" +
                                    std::string(1, '\0'));
        QCOMPARE(t.Antennas[1], before.Antennas[1]);
        QCOMPARE(t.SettingsRecord.substr(32, 4), std::string("002A"));
        QCOMPARE(fta->secretCode()->text(), QString("0042"));
        QVERIFY(ShowScreenFormat(t.ScreenFormat).is4_3);
        QVERIFY(e.session.ws.ChannelsModified);
    }

    void windowsInItalian() {
        Editors e;
        e.LoadDvbWithSettings();
        Language language;
        language.Apply("ITA");
        auto* general = e.Open<SettingDVB_1Form>(MainForm::SettingsTab);
        QTRY_COMPARE(general->findChild<QPushButton*>("SaveDVB98")->text(),
                     QString("Salva impostazioni"));
        QCOMPARE(general->findChild<QPushButton*>("Colors")->text(), QString("Colori"));
        e.form->Fill_List(2);
        auto* data = e.Open<DataForm>(MainForm::DataTab);
        QCOMPARE(data->findChild<QPushButton*>("Save")->text(),
                 QString("Salva i &dati del canale"));
        language.Apply("ENG");
        QTRY_COMPARE(data->findChild<QPushButton*>("Save")->text(), QString("Save Channel &data"));
    }
};

}  // namespace qel

QTEST_MAIN(qel::EditorWindowsTest)
#include "editor_windows_test.moc"
