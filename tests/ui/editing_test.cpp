#include "ui/editing_controller.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include "app/language.h"
#include "model/conversions.h"
#include "ui/buffer_form.h"
#include "ui/channel_list_model.h"
#include "ui/find_form.h"
#include "ui/rotor_form.h"
#include "ui/texts.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;
using test::UiFixture;

// A main window with its editing commands and buffer window, on a list of `n` TV
// channels named C1..Cn (C1 a satellite header).
struct Editing : UiFixture {
    EditingController editing{session, *form, prompter};
    explicit Editing(int n = 10, int radio = 0) {
        std::string bytes;
        for (int i = 1; i <= n; ++i) {
            bytes +=
                test::DvbRecord().Name("C" + std::to_string(i)).FreqMHz(i == 1 ? 0 : 11000 + i);
        }
        for (int i = 1; i <= radio; ++i)
            bytes += test::DvbRecord().Type(2).Name("R" + std::to_string(i)).FreqMHz(12000);
        Load(Write("list.dvb", bytes));
        form->setToolWindow(MainForm::BufferTab, [this](QWidget* p) {
            return new BufferForm(session, editing, *form, prompter, p);
        });
        session.satPos = ParseAntPos(DefaultAntPosText());
    }
    void Mark(std::initializer_list<int> rows) {
        auto* sel = form->listView()->selectionModel();
        sel->clear();
        for (int r : rows)
            sel->select(form->model().index(r - 1), QItemSelectionModel::Select);
        sel->setCurrentIndex(form->model().index(*rows.begin() - 1), QItemSelectionModel::Select);
    }
    QString Names(const ChannelList& list) const {
        QStringList n;
        for (const auto& ch : list)
            n << Texts::FromLatin1(TrimBlanks(ch.ChName.view()));
        return n.join(',');
    }
    void Trigger(const char* name) {
        QAction* a = form->action(name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }
    BufferForm* Buffer() const { return qobject_cast<BufferForm*>(form->openChild()); }
};

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void insertOpensAtTheSelectedRowAndIsUndoable() {
        Editing e(3);
        e.form->Fill_List(4);  // the blank row
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Insert, {}));
        QCOMPARE(e.session.ws.TVList.size(), 4u);
        QCOMPARE(e.form->selectedRow(), 4);
        QCOMPARE(e.session.ws.TVList[3], EmptyChannel());
        QVERIFY(e.session.ws.ChannelsModified);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(e.session.ws.TVList.size(), 3u);
        QVERIFY(!e.session.ws.ChannelsModified);  // back to what the file holds
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Y, Qt::ControlModifier));
        QCOMPARE(e.session.ws.TVList.size(), 4u);
        QVERIFY(e.session.ws.ChannelsModified);
    }

    void deleteAsksAndSelectsTheFirstMarkedRow() {
        Editing e(10);
        e.Mark({3, 4, 7});
        e.prompter.Answer(Answer::No);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Delete, {}));
        QCOMPARE(e.prompter.texts(), QStringList{"Are you sure to delete marked channels ?"});
        QCOMPARE(e.session.ws.TVList.size(), 10u);
        e.Mark({3, 4, 7});
        e.prompter.Answer(Answer::Yes);
        e.Trigger("Deletemnu");
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C1,C2,C5,C6,C8,C9,C10"));
        QCOMPARE(e.form->selectedRow(), 3);
        QCOMPARE(e.session.ws.TVPos, 3);
        // Undo brings back the channels and their marks.
        e.Trigger("Undomnu");
        QCOMPARE(e.session.ws.TVList.size(), 10u);
        QCOMPARE(e.form->marks(), (Marks{2, 3, 6}));
    }

    void moveToBufferThenPaste() {
        Editing e(6);
        e.session.ws.BufferList = {test::Channel("A"), test::Channel("B")};
        e.form->Fill_List(1);
        e.Mark({2, 5});
        QVERIFY(e.form->HandleKeyPress(Qt::Key_X, Qt::ControlModifier));
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,B,C2,C5"));
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C1,C3,C4,C6"));
        QCOMPARE(e.form->selectedRow(), 2);
        QVERIFY(e.form->commands().paste);

        e.form->Fill_List(4);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_V, Qt::ControlModifier));
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C1,C3,C4,A,B,C2,C5,C6"));
        QCOMPARE(e.form->selectedRow(), 8);  // the old fourth channel, behind the block
        QVERIFY(e.session.ws.BufferList.empty());
        QVERIFY(!e.form->commands().paste);
        QVERIFY(!e.form->action("Pastemnu")->isEnabled());
        // One undo per command, in reverse.
        e.Trigger("Undomnu");
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,B,C2,C5"));
        e.Trigger("Undomnu");
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C1,C2,C3,C4,C5,C6"));
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,B"));
    }

    void pasteSpecialThroughTheBufferWindow() {
        Editing e(4);
        e.session.ws.BufferList = {test::Channel("A"), test::Channel("B"), test::Channel("C")};
        e.form->Fill_List(2);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(e.form->currentTab(), int(MainForm::BufferTab));
        BufferForm* buffer = e.Buffer();
        QVERIFY(buffer != nullptr);
        QVERIFY(!buffer->findChild<QPushButton*>("Pastespecial")->isHidden());
        // Copy A and C: the buffer stays as it was.
        auto* sel = buffer->list()->selectionModel();
        sel->select(buffer->model().index(0), QItemSelectionModel::ClearAndSelect);
        sel->select(buffer->model().index(2), QItemSelectionModel::Select);
        buffer->findChild<QPushButton*>("Pastespecialnotdel")->click();
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C1,A,C,C2,C3,C4"));
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,B,C"));
        QTRY_COMPARE(e.form->currentTab(), int(MainForm::ListTab));
        QVERIFY(!e.editing.pasteSpecialMode());

        // Opened by its tab, the buffer window has no paste buttons.
        e.form->selectTab(MainForm::BufferTab);
        QVERIFY(e.Buffer()->findChild<QPushButton*>("Pastespecial")->isHidden());
        e.form->selectTab(MainForm::ListTab);

        // Move B: only B leaves the buffer.
        e.form->Fill_List(1);
        e.Trigger("Pastespecialmnu");
        buffer = e.Buffer();
        buffer->list()->selectionModel()->select(buffer->model().index(1),
                                                 QItemSelectionModel::ClearAndSelect);
        buffer->PasteMarked(true);
        QCOMPARE(e.Names(e.session.ws.TVList), QString("B,C1,A,C,C2,C3,C4"));
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,C"));
    }

    void bufferWindowSortDeleteClear() {
        Editing e(2);
        e.session.ws.BufferList = {test::Channel("b"), test::Channel("A"), test::Channel("a"),
                                   test::Channel("B")};
        e.form->Refresh();
        e.form->selectTab(MainForm::BufferTab);
        BufferForm* buffer = e.Buffer();
        buffer->findChild<QPushButton*>("ByName")->click();
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,B,a,b"));
        QCOMPARE(buffer->list()->currentIndex().row(), 0);
        // Delete the 2nd and 4th: the row above the first deleted one is selected.
        auto* sel = buffer->list()->selectionModel();
        sel->select(buffer->model().index(1), QItemSelectionModel::ClearAndSelect);
        sel->select(buffer->model().index(3), QItemSelectionModel::Select);
        buffer->findChild<QPushButton*>("Delch")->click();
        QCOMPARE(e.Names(e.session.ws.BufferList), QString("A,a"));
        QCOMPARE(buffer->list()->currentIndex().row(), 0);
        e.Trigger("Undomnu");  // the buffer window follows the undo
        QCOMPARE(buffer->model().rowCount(), 4);
        // Clear asks; No keeps the buffer; Yes empties it and returns to the list.
        e.prompter.Answer(Answer::No);
        buffer->findChild<QPushButton*>("ClearBuf")->click();
        QCOMPARE(e.prompter.texts().last(), QString("Are you sure to clear the buffer ?"));
        QCOMPARE(e.session.ws.BufferList.size(), 4u);
        e.prompter.Answer(Answer::Yes);
        buffer->findChild<QPushButton*>("ClearBuf")->click();
        QVERIFY(e.session.ws.BufferList.empty());
        QTRY_COMPARE(e.form->currentTab(), int(MainForm::ListTab));
        QVERIFY(!e.form->tabEnabled(MainForm::BufferTab));
    }

    void bulkAttributesOnMarkedChannels() {
        Editing e(5);
        e.Mark({1, 3, 4});
        e.Trigger("OnParCtrl");
        QCOMPARE(e.session.ws.TVList[0].Parental.view(), "0");  // the header is skipped
        QCOMPARE(e.session.ws.TVList[2].Parental.view(), "1");
        QCOMPARE(e.form->model()
                     .data(e.form->model().index(2), Qt::DecorationRole)
                     .value<QIcon>()
                     .cacheKey(),
                 ChannelListModel::ParentalIcon().cacheKey());
        e.Trigger("onv");
        QCOMPARE(e.session.ws.TVList[3].AvFlags.view(), "10");
        e.Trigger("Port4");
        QCOMPARE(e.session.ws.TVList[3].TuneFlags.view(), "0003");
        e.Trigger("Onspi");
        QCOMPARE(e.session.ws.TVList[3].TuneFlags.view(), "000B");
        QCOMPARE(e.session.ws.TVList[1].TuneFlags.view(), "0000");
        QVERIFY(e.session.ws.ChannelsModified);
        for (int i = 0; i < 4; ++i)
            e.Trigger("Undomnu");
        QCOMPARE(e.session.ws.TVList[2].Parental.view(), "0");
        QCOMPARE(e.session.ws.TVList[3].TuneFlags.view(), "0000");
        QVERIFY(!e.form->action("Undomnu")->isEnabled());
    }

    void stabPositionFromTheRotorDialog() {
        Editing e(3);
        e.editing.askRotor = [] { return 12; };
        e.Mark({1, 2});
        e.Trigger("STABMenu");
        QCOMPARE(e.session.ws.TVList[0].APid.view(), "000C");
        QCOMPARE(e.session.ws.TVList[1].APid.view(), "0000");
        e.form->Fill_List(1);
        QVERIFY(e.form->dataRow().contains("STAB rotor position is 12 Intelsat Star"));
        e.editing.askRotor = [] { return -1; };
        e.Trigger("Undomnu");
        e.Mark({1});
        const std::size_t steps = e.editing.history().size();
        e.Trigger("STABMenu");
        QCOMPARE(e.session.ws.TVList[0].APid.view(), "0000");
        QCOMPARE(e.editing.history().size(), steps);
    }

    void tabStepsBetweenHeaders() {
        Editing e(6);
        e.session.ws.TVList[3].Freq = "00000000";  // row 4 is a header too
        e.form->Fill_List(1);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Tab, {}));
        QCOMPARE(e.form->selectedRow(), 4);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Tab, {}));
        QCOMPARE(e.form->selectedRow(), 6);
        QCOMPARE(e.session.ws.TVPos, 6);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Backtab, Qt::ShiftModifier));
        QCOMPARE(e.form->selectedRow(), 4);
        QCOMPARE(e.form->markedRows(), QList<int>{4});
    }

    void findAndFindNext() {
        Editing e(12);
        QString offered;
        e.editing.askFindText = [&](const QString& previous) -> std::optional<QString> {
            offered = previous;
            return QString("c1");
        };
        e.form->Fill_List(2);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_F, Qt::ControlModifier));
        QCOMPARE(e.form->selectedRow(), 1);  // from row 1, never the selected row 2
        QVERIFY(e.form->HandleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.form->selectedRow(), 10);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.form->selectedRow(), 11);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.form->selectedRow(), 12);
        QVERIFY(e.form->HandleKeyPress(Qt::Key_F3, {}));  // no wrap-around
        QCOMPARE(e.form->selectedRow(), 12);
        QCOMPARE(e.prompter.texts(), QStringList{"Channel not found"});
        QCOMPARE(e.prompter.asked[0].icon, Prompter::Icon::Critical);
        // Cancelling keeps the previous text for F3; "#Cancel#" is a cancel too.
        e.editing.askFindText = [&](const QString& previous) -> std::optional<QString> {
            offered = previous;
            return std::nullopt;
        };
        e.Trigger("Findmnu");
        QCOMPARE(offered, QString("c1"));
        QCOMPARE(e.editing.findText(), QString("c1"));
        e.editing.askFindText = [](const QString&) -> std::optional<QString> {
            return QString("#Cancel#");
        };
        e.Trigger("Findmnu");
        QCOMPARE(e.editing.findText(), QString("c1"));
    }

    void findClearsTheMarksItPassesOver() {
        Editing e(8);
        e.Mark({5, 2, 3, 7});
        e.editing.askFindText = [](const QString&) -> std::optional<QString> {
            return QString("C4");
        };
        e.Trigger("Findmnu");
        QCOMPARE(e.form->selectedRow(), 4);
        QCOMPARE(e.form->markedRows(), (QList<int>{4, 7}));
    }

    void dragMovesMarkedChannelsAsOneStep() {
        Editing e(5);
        e.Mark({1, 2});
        QModelIndexList rows{e.form->model().index(0), e.form->model().index(1)};
        std::unique_ptr<QMimeData> mime(e.form->model().mimeData(rows));
        QVERIFY(!e.form->model().dropMimeData(mime.get(), Qt::MoveAction, 4, 0, QModelIndex()));
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C3,C4,C1,C2,C5"));
        QCOMPARE(e.form->markedRows(), (QList<int>{3, 4}));
        e.Trigger("Undomnu");
        QCOMPARE(e.Names(e.session.ws.TVList), QString("C1,C2,C3,C4,C5"));
    }

    void keysKeepTheirMeaning() {
        Editing e(3);
        e.prompter.fallback = Answer::No;
        QVERIFY(e.form->HandleKeyPress(Qt::Key_C, Qt::ControlModifier));
        QCOMPARE(e.prompter.texts(), QStringList{"Default settings will be used , proceed ??"});
        QVERIFY(!e.form->action("Undomnu")->isEnabled());
        QVERIFY(e.form->HandleKeyPress(Qt::Key_Z, Qt::ControlModifier));  // nothing to undo
        QCOMPARE(e.session.ws.TVList.size(), 3u);
    }

    void loadingClearsTheHistoryAndRadioUndoShowsTheRadioList() {
        Editing e(3, 3);
        e.form->SwitchList();
        e.Mark({2});
        e.Trigger("Cutmnu");
        e.form->SwitchList();  // back to TV
        e.Trigger("Undomnu");
        QCOMPARE(e.form->title(), QString("RADIO CHANNELS"));
        QCOMPARE(e.session.ws.RadioList.size(), 3u);
        QCOMPARE(e.form->selectedRow(), 2);
        QVERIFY(e.Load(e.Write("other.dvb", test::DvbRecord().Name("X").bytes())));
        QVERIFY(!e.form->action("Undomnu")->isEnabled());
        QVERIFY(!e.form->action("Redomnu")->isEnabled());
    }

    void savingAnImageIsUndoneLikeAnEdit() {
        Editing e(3);
        e.session.ws.TVList[1].ChName = "   SPACED";
        e.form->Refresh();
        const QString bin = e.dir.filePath("out.bin");
        e.chooser.Choose(bin);
        e.form->files().Save_Channel_Click();
        QCOMPARE(e.session.ws.TVList[1].ChName.view().substr(0, 6),
                 "SPACED");  // trimmed by the writer
        QVERIFY(!e.session.ws.ChannelsModified);
        e.Trigger("Undomnu");
        QCOMPARE(e.session.ws.TVList[1].ChName.view().substr(0, 9), "   SPACED");
        QVERIFY(e.session.ws.ChannelsModified);
    }

    void rotorAndFindDialogs() {
        const SatPosTable table = ParseAntPos(DefaultAntPosText());
        RotorForm rotor(table);
        QCOMPARE(rotor.lines()->count(), 22);
        QCOMPARE(rotor.lines()->itemText(0), QString::fromLatin1(" 1 HotBird         13\260  E"));
        rotor.lines()->setCurrentIndex(11);
        rotor.SetRotor();
        QCOMPARE(rotor.position(), 12);
        RotorForm exit(table);
        exit.Exit();
        QCOMPARE(exit.position(), -1);
        RotorForm empty(SatPosTable{});
        QCOMPARE(empty.lines()->count(), 0);
        QVERIFY(!empty.findChild<QPushButton*>("SetRotor")->isEnabled());

        FindForm find("rai");
        QCOMPARE(find.windowTitle(), QString("QEL -  Find channel"));
        QCOMPARE(find.text()->text(), QString("rai"));
        Language language;
        language.Apply("ITA");
        QTRY_COMPARE(find.windowTitle(), QString("QEL -  Trova il canale"));
        QCOMPARE(find.findChild<QPushButton*>("Exitb")->text(), QString("Annulla"));
        QTRY_COMPARE(rotor.windowTitle(), QString("QEL -  Serttaggi per il rotore STAB"));
        language.Apply("ENG");
    }
};

}  // namespace qel

QTEST_MAIN(qel::EditingTest)
#include "editing_test.moc"
