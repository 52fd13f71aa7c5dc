// What a careful user met, each kept from coming back: unsaved work lost, values rewritten,
// windows that open or stay open by themselves, questions with the wrong default.
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

#include "app/language.h"
#include "files/ant_pos_file.h"
#include "files/dvb_file.h"
#include "support/workspace_builder.h"
#include "ui/buffer_window.h"
#include "ui/channel_data_window.h"
#include "ui/channel_list_model.h"
#include "ui/dvb98_settings_windows.h"
#include "ui/fta_settings_window.h"
#include "ui/help_viewer.h"
#include "ui/options_window.h"
#include "ui/rotor_dialog.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;

struct Review : test::UiFixture {
    template <class T>
    T* open(Tab tab) {
        form->selectTab(tab);
        return qobject_cast<T*>(form->openChild());
    }
    void loadDvbWithSettings() {
        QVERIFY(load(dvb("list.dvb", 4, 0)));
        chooser.choose(g98("s.g98"));
        files().loadSettings();
        form->selectTab(Tab::List);
    }
    static void leave(QLineEdit* box) {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(box, &out);
    }
    void mark(std::initializer_list<int> rows) {
        auto* sel = form->listView()->selectionModel();
        sel->clear();
        for (int r : rows)
            sel->select(form->model().index(r - 1), QItemSelectionModel::Select);
        sel->setCurrentIndex(form->model().index(*rows.begin() - 1), QItemSelectionModel::Select);
    }
    // A loaded .dvb holding the given TV channels.
    void loadChannels(const std::vector<ChannelRec>& tv) {
        std::string bytes;
        for (const ChannelRec& ch : tv)
            encodeDvbRecord(ch, false, bytes);
        QVERIFY(load(write("list.dvb", bytes)));
    }
    // Whether a window of that kind is shown anywhere.
    template <class T>
    static bool shown() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<T*>(w) != nullptr && w->isVisible()) return true;
        }
        return false;
    }
};

class UserReviewTest : public QObject {
    Q_OBJECT

private slots:
    // Unsaved DVB98 settings are asked about before an FTA image unloads them; their window
    // closes with them and writes nothing back.
    void loadingAnImageAsksAboutUnsavedSettingsAndClosesTheirWindow() {
        Review r;
        r.loadDvbWithSettings();
        auto* general = r.open<Dvb98SettingsWindow>(Tab::Settings);
        QVERIFY(general != nullptr);
        general->storeSettings();
        QVERIFY(r.ws().settingsModified());
        // Cancel keeps everything.
        r.prompter.answer(Answer::Cancel);
        r.chooser.choose(r.bin("img.bin"));
        r.files().loadChannels();
        QCOMPARE(r.prompter.texts().last(),
                 QString("Save correction to ") + r.dir.filePath("s.g98") + " ? ");
        QVERIFY(r.ws().settingsLoaded());
        QCOMPARE(r.ws().fileType(), FileKind::DVB);
        // No: the image loads, the settings go, and so does their window.
        r.prompter.answer(Answer::No);
        r.chooser.choose(r.bin("img.bin"));
        r.files().loadChannels();
        QCOMPARE(r.ws().fileType(), FileKind::BIN);
        QVERIFY(!r.ws().settingsLoaded());
        QVERIFY(!r.ws().settingsModified());
        QCOMPARE(r.form->currentTab(), Tab::List);
        QTRY_VERIFY(r.form->openChild() == nullptr);
        // A settings window kept open over them cannot make them count as loaded again.
        Dvb98SettingsWindow stale(r.session, r.program->settings());
        stale.storeSettings();
        QVERIFY(!r.ws().settingsLoaded());
        QVERIFY(!r.ws().settingsModified());
        // Nor is a question asked for settings that are gone.
        r.prompter.asked.clear();
        r.files().loadSettings();
        QCOMPARE(r.prompter.texts(), QStringList{"Not with BIN  files"});
    }

    void theDataEditorKeepsValuesItsListsCannotShow() {
        Review r;
        const ChannelRec odd = test::Channel("ODD").Freq("01176600").Fec("7").TuneFlags("000C");
        r.loadChannels({odd});
        const ChannelRec loaded = r.ws().tvList()[0];
        r.list().selectOnly(1);
        auto* data = r.open<ChannelDataWindow>(Tab::Data);
        auto* spectr = data->findChild<QComboBox*>("Spectr");
        auto* fec = data->findChild<QComboBox*>("Fec");
        QCOMPARE(spectr->currentText(), QString("(3)"));
        QCOMPARE(fec->currentText(), QString("(7)"));
        data->findChild<QLineEdit*>("ChName")->setText("RENAMED");
        data->save();
        const ChannelRec saved = r.ws().tvList()[0];
        QCOMPARE(saved.TuneFlags, loaded.TuneFlags);
        QCOMPARE(saved.Fec, loaded.Fec);
        QCOMPARE(saved.ChName.view().substr(0, 7), "RENAMED");
        // The title follows the name.
        QCOMPARE(data->windowTitle(), QString("QEL - RENAMED"));
        // Choosing an entry writes it.
        spectr->setCurrentIndex(spectr->findText("ON"));
        data->save();
        QCOMPARE(r.ws().tvList()[0].TuneFlags.view().substr(2), "08");
    }

    void aDecimalBoxBeyondItsFieldIsKeptWithinItAndTheTwinBoxesAgree() {
        Review r;
        QVERIFY(r.load(r.dvb("list.dvb", 3, 0)));
        r.list().selectOnly(2);
        auto* data = r.open<ChannelDataWindow>(Tab::Data);
        QLineEdit* dec = data->decBox(Pair::VPid);
        dec->setText("99999");
        Review::leave(dec);
        QCOMPARE(dec->text(), QString("65535"));
        QCOMPARE(data->hexBox(Pair::VPid)->text(), QString("FFFF"));
        data->save();
        QCOMPARE(r.ws().tvList()[1].VPid.view(), "FFFF");
    }

    void enterSavesTheDataEditorAndANewChannelHasAPlainTitle() {
        Review r;
        QVERIFY(r.load(r.dvb("list.dvb", 3, 0)));
        r.list().selectOnly(4);
        r.action("Insertmnu")->trigger();
        auto* data = qobject_cast<ChannelDataWindow*>(r.form->openChild());
        QVERIFY(data != nullptr);
        QCOMPARE(data->windowTitle(), QString("QEL"));
        data->findChild<QLineEdit*>("ChName")->setText("NEW ONE");
        QTest::keyClick(data->findChild<QLineEdit*>("ChName"), Qt::Key_Return);
        QCOMPARE(r.ws().tvList()[3].ChName.view().substr(0, 7), "NEW ONE");
        // Alt+D is the save button's alone.
        QVERIFY(data->findChild<QComboBox*>("Video") != nullptr);
        int altD = 0;
        for (QLabel* label : data->findChildren<QLabel*>()) {
            if (label->text().contains("&d", Qt::CaseInsensitive)) ++altD;
        }
        QCOMPARE(altD, 0);
    }

    void theFtaSettingsWindowKeepsADiseqcValueItCannotShow() {
        Review r;
        QVERIFY(r.load(r.bin("img.bin")));
        FtaImageTables tables = r.ws().imageTables();
        tables.antennas[0] = "000026160000296800" + std::string("0A") + "SAT";
        r.ws().storeImageTables(tables);
        auto* fta = r.open<FtaSettingsWindow>(Tab::Settings);
        QVERIFY(fta != nullptr);
        QCOMPARE(fta->findChild<QButtonGroup*>("aDiseqc")->checkedId(), -1);
        fta->antennas()->setCurrentIndex(1);
        fta->antennas()->setCurrentIndex(0);
        fta->save();
        QCOMPARE(r.ws().imageTables().antennas[0].substr(18, 2), "0A");
    }

    void aLoadThatClosesTheCurrentTabGoesBackToTheList() {
        Review r;
        r.loadDvbWithSettings();
        QVERIFY(r.open<Dvb98SettingsWindow>(Tab::Settings) != nullptr);
        // A DVB98 list without settings: the Settings tab closes; no other window opens.
        r.prompter.answer(Answer::No);
        QVERIFY(r.load(r.dvb("other.dvb", 2, 0)));
        QCOMPARE(r.form->currentTab(), Tab::List);
        QTRY_VERIFY(r.form->openChild() == nullptr);
        QVERIFY(!Review::shown<OptionsWindow>());
    }

    void pasteSpecialShowsTheButtonsAndPasteAllTakesOnlyTheMarkedEntries() {
        Review r;
        QVERIFY(r.load(r.dvb("list.dvb", 3, 0)));
        test::setBuffer(r.ws(), {test::Channel("A"), test::Channel("B"), test::Channel("C")});
        auto* buffer = r.open<BufferWindow>(Tab::Buffer);
        QVERIFY(buffer->findChild<QPushButton*>("Pastespecial")->isHidden());
        // Paste special while the window is open shows its paste buttons.
        r.action("Pastespecialmnu")->trigger();
        QVERIFY(!buffer->findChild<QPushButton*>("Pastespecial")->isHidden());
        buffer->list()->selectionModel()->select(buffer->model().index(1),
                                                 QItemSelectionModel::ClearAndSelect);
        // Ctrl+V moves the marked entry only.
        r.list().selectOnly(1);
        QVERIFY(r.form->handleKeyPress(Qt::Key_V, Qt::ControlModifier));
        QCOMPARE(r.ws().bufferList().size(), 2u);
        QCOMPARE(r.ws().tvList()[0].ChName.view().substr(0, 1), "B");
        QCOMPARE(r.ws().tvList().size(), 4u);
    }

    void headerStepsClearOnlyTheMarkOfTheRowLeft() {
        Review r;
        QVERIFY(r.load(r.dvb("list.dvb", 6, 0)));
        r.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[3].Freq = "00000000"; });
        r.mark({1, 3, 5});
        QVERIFY(r.form->handleKeyPress(Qt::Key_Tab, {}));
        QCOMPARE(r.list().selectedRow(), 4);
        QCOMPARE(r.markedRows(), (QList<int>{3, 4, 5}));
    }

    void findAndExportAreOfferedForAnEmptyList() {
        Review r;
        QVERIFY(r.load(r.dvb("empty.dvb", 0, 0)));
        QVERIFY(r.action("Findmnu")->isEnabled());
        QVERIFY(r.action("Findnemnu")->isEnabled());
        QVERIFY(r.list().commands().exportList);
    }

    void questionsThatDiscardWorkDefaultToNo() {
        Review r;
        QVERIFY(r.load(r.dvb("list.dvb", 3, 0)));
        r.ws().setChannelsModified(true);
        r.prompter.answer(Answer::No);
        QVERIFY(!r.files().mayClose());
        QCOMPARE(r.prompter.asked.last().defaultAnswer, Answer::No);
        r.mark({2});
        r.prompter.answer(Answer::No);
        r.action("Deletemnu")->trigger();
        QCOMPARE(r.prompter.asked.last().defaultAnswer, Answer::No);
    }

    void theFrameIsResizableAndRemembersItsPlace() {
        QByteArray geometry;
        {
            Review r;
            FrameWindow& frame = r.frame();
            QVERIFY(frame.maximumSize().width() > frame.minimumSize().width());
            QVERIFY(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
            frame.resize(frame.minimumSize() + QSize(200, 150));
            QVERIFY(frame.close());
            geometry = r.store.windowGeometry();
            QVERIFY(!geometry.isEmpty());
            // The list takes the room.
            QCOMPARE(frame.size(), frame.minimumSize() + QSize(200, 150));
        }
        Review again;
        again.store.setWindowGeometry(geometry);
        QVERIFY(!again.store.windowGeometry().isEmpty());
    }

    void theRotorDialogShowsItsTitleAndOffersTheHeadersPosition() {
        const SatPosTable table = parseAntPos(defaultAntPosText());
        RotorDialog rotor(table, 12);
        QCOMPARE(rotor.lines()->currentIndex(), 11);
        QVERIFY(rotor.minimumWidth() > rotor.fontMetrics().horizontalAdvance(rotor.windowTitle()));
        Review r;
        r.session.setSatPos(table);
        QVERIFY(r.load(r.dvb("list.dvb", 3, 0)));
        r.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[0].APid = "0007"; });
        int offered = -1;
        r.prompter.rotorPosition = [&](int current) {
            offered = current;
            return -1;
        };
        r.list().selectOnly(1);
        r.action("STABMenu")->trigger();
        QCOMPARE(offered, 7);
    }

    void everyTextOfTheEditingMenuAndTheSettingsWindowsIsItalian() {
        Review r;
        QVERIFY(r.load(r.bin("img.bin")));
        Language language;
        language.apply("ITA");
        QTRY_COMPARE(r.form->findChild<QMenu*>("SpecInvmnu")->title(),
                     QString("Inversione di &spettro"));
        QCOMPARE(r.form->findChild<QMenu*>("ParentCtrlMenu")->title(),
                 QString("Controllo &parentale"));
        QCOMPARE(r.action("onv")->text(), QString("&Acceso"));
        auto* fta = r.open<FtaSettingsWindow>(Tab::Settings);
        QCOMPARE(fta->findChild<QButtonGroup*>("Aswitch")->button(0)->text(), QString("Inattivo"));
        QCOMPARE(fta->findChild<QButtonGroup*>("aDiseqc")->button(0)->text(), QString("Nessuno"));
        QCOMPARE(fta->picture()->button(1)->text(), QString("Bande nere"));
        language.apply("ENG");
        QTRY_COMPARE(r.action("onv")->text(), QString("&On"));
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

    void theTitleMarksUnsavedSettingsAndFontsToo() {
        Review r;
        r.loadDvbWithSettings();
        QVERIFY(!r.frame().isWindowModified());
        r.ws().setSettingsModified(true);
        QVERIFY(r.frame().isWindowModified());
        r.ws().setSettingsModified(false);
        r.ws().setFontsModified(true);
        QVERIFY(r.frame().isWindowModified());
    }

    void theOptionsWindowIsTitledAndShowsTheWorkingFolder() {
        Review r;
        r.session.setWorkingDir(r.dir.path());
        auto* options = r.open<OptionsWindow>(Tab::Options);
        QCOMPARE(options->windowTitle(), QString("QEL - Options"));
        auto* tree = options->findChild<QTreeView*>("DirGet");
        QTRY_COMPARE(tree->currentIndex().data(QFileSystemModel::FilePathRole).toString(),
                     r.dir.path());
        QTRY_VERIFY(tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())));
    }
};

}  // namespace qel

QTEST_MAIN(qel::UserReviewTest)
#include "user_review_test.moc"
