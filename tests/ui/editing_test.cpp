#include "app/editing_controller.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include "app/language.h"
#include "app/texts.h"
#include "bytes/conversions.h"
#include "files/ant_pos_file.h"
#include "support/workspace_builder.h"
#include "ui/buffer_window.h"
#include "ui/channel_list_model.h"
#include "ui/find_dialog.h"
#include "ui/rotor_dialog.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;
using test::UiFixture;

// A main window with its editing commands and buffer window, on a list of `n` TV
// channels named C1..Cn (C1 a satellite header).
struct Editing : UiFixture {
    EditingController& editing;
    explicit Editing(int n = 10, int radio = 0) : editing(program->editing()) {
        std::string bytes;
        for (int i = 1; i <= n; ++i) {
            bytes +=
                test::DvbRecord().name("C" + std::to_string(i)).freqMHz(i == 1 ? 0 : 11000 + i);
        }
        for (int i = 1; i <= radio; ++i)
            bytes += test::DvbRecord().type(2).name("R" + std::to_string(i)).freqMHz(12000);
        load(write("list.dvb", bytes));
        session.setSatPos(parseAntPos(defaultAntPosText()));
    }
    void mark(std::initializer_list<int> rows) {
        auto* sel = form->listView()->selectionModel();
        sel->clear();
        for (int r : rows)
            sel->select(form->model().index(r - 1), QItemSelectionModel::Select);
        sel->setCurrentIndex(form->model().index(*rows.begin() - 1), QItemSelectionModel::Select);
    }
    QString names(const ChannelList& list) const {
        QStringList n;
        for (const auto& ch : list)
            n << Texts::fromLatin1(trimBlanks(ch.ChName.view()));
        return n.join(',');
    }
    void trigger(const char* name) {
        QAction* a = action(name);
        QVERIFY2(a->isEnabled(), name);
        a->trigger();
    }
    BufferWindow* buffer() const { return qobject_cast<BufferWindow*>(form->openChild()); }
};

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void insertOpensAtTheSelectedRowAndIsUndoable() {
        Editing e(3);
        e.list().selectOnly(4);  // the blank row
        QVERIFY(e.form->handleKeyPress(Qt::Key_Insert, {}));
        QCOMPARE(e.ws().tvList().size(), 4u);
        QCOMPARE(e.list().selectedRow(), 4);
        QCOMPARE(e.ws().tvList()[3], emptyChannel());
        QVERIFY(e.ws().channelsModified());
        QVERIFY(e.form->handleKeyPress(Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(e.ws().tvList().size(), 3u);
        QVERIFY(!e.ws().channelsModified());  // back to what the file holds
        QVERIFY(e.form->handleKeyPress(Qt::Key_Y, Qt::ControlModifier));
        QCOMPARE(e.ws().tvList().size(), 4u);
        QVERIFY(e.ws().channelsModified());
    }

    void deleteAsksAndSelectsTheFirstMarkedRow() {
        Editing e(10);
        e.mark({3, 4, 7});
        e.prompter.answer(Answer::No);
        QVERIFY(e.form->handleKeyPress(Qt::Key_Delete, {}));
        QCOMPARE(e.prompter.texts(), QStringList{"Are you sure to delete marked channels ?"});
        QCOMPARE(e.prompter.asked.last().defaultAnswer, Answer::No);  // it throws work away
        QCOMPARE(e.ws().tvList().size(), 10u);
        e.mark({3, 4, 7});
        e.prompter.answer(Answer::Yes);
        e.trigger("Deletemnu");
        QCOMPARE(e.names(e.ws().tvList()), QString("C1,C2,C5,C6,C8,C9,C10"));
        QCOMPARE(e.list().selectedRow(), 3);
        QCOMPARE(e.ws().rememberedRow(ListId::TV), 3);
        // Undo brings back the channels and their marks.
        e.trigger("Undomnu");
        QCOMPARE(e.ws().tvList().size(), 10u);
        QCOMPARE(e.list().marks(), (Marks{2, 3, 6}));
    }

    void moveToBufferThenPaste() {
        Editing e(6);
        test::setBuffer(e.ws(), {test::Channel("A"), test::Channel("B")});
        e.list().selectOnly(1);
        e.mark({2, 5});
        QVERIFY(e.form->handleKeyPress(Qt::Key_X, Qt::ControlModifier));
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,B,C2,C5"));
        QCOMPARE(e.names(e.ws().tvList()), QString("C1,C3,C4,C6"));
        QCOMPARE(e.list().selectedRow(), 2);
        QVERIFY(e.list().commands().paste);

        e.list().selectOnly(4);
        QVERIFY(e.form->handleKeyPress(Qt::Key_V, Qt::ControlModifier));
        QCOMPARE(e.names(e.ws().tvList()), QString("C1,C3,C4,A,B,C2,C5,C6"));
        QCOMPARE(e.list().selectedRow(), 8);  // the old fourth channel, behind the block
        QVERIFY(e.ws().bufferList().empty());
        QVERIFY(!e.list().commands().paste);
        QVERIFY(!e.action("Pastemnu")->isEnabled());
        // One undo per command, in reverse.
        e.trigger("Undomnu");
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,B,C2,C5"));
        e.trigger("Undomnu");
        QCOMPARE(e.names(e.ws().tvList()), QString("C1,C2,C3,C4,C5,C6"));
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,B"));
    }

    void pasteSpecialThroughTheBufferWindow() {
        Editing e(4);
        test::setBuffer(e.ws(), {test::Channel("A"), test::Channel("B"), test::Channel("C")});
        e.list().selectOnly(2);
        QVERIFY(e.form->handleKeyPress(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(e.form->currentTab(), Tab::Buffer);
        BufferWindow* buffer = e.buffer();
        QVERIFY(buffer != nullptr);
        QVERIFY(!buffer->findChild<QPushButton*>("Pastespecial")->isHidden());
        // Copy A and C: the buffer stays as it was.
        auto* sel = buffer->list()->selectionModel();
        sel->select(buffer->model().index(0), QItemSelectionModel::ClearAndSelect);
        sel->select(buffer->model().index(2), QItemSelectionModel::Select);
        buffer->findChild<QPushButton*>("Pastespecialnotdel")->click();
        QCOMPARE(e.names(e.ws().tvList()), QString("C1,A,C,C2,C3,C4"));
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,B,C"));
        QTRY_COMPARE(e.form->currentTab(), Tab::List);
        QVERIFY(!e.editing.pasteSpecialMode());

        // Opened by its tab, the buffer window has no paste buttons.
        e.form->selectTab(Tab::Buffer);
        QVERIFY(e.buffer()->findChild<QPushButton*>("Pastespecial")->isHidden());
        e.form->selectTab(Tab::List);

        // Move B with Ctrl+V while the paste buttons show: only B leaves the buffer.
        e.list().selectOnly(1);
        e.trigger("Pastespecialmnu");
        buffer = e.buffer();
        buffer->list()->selectionModel()->select(buffer->model().index(1),
                                                 QItemSelectionModel::ClearAndSelect);
        e.list().selectOnly(1);
        QVERIFY(e.form->handleKeyPress(Qt::Key_V, Qt::ControlModifier));
        QCOMPARE(e.names(e.ws().tvList()), QString("B,C1,A,C,C2,C3,C4"));
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,C"));
    }

    void bufferWindowSortDeleteClear() {
        Editing e(2);
        test::setBuffer(e.ws(), {test::Channel("b"), test::Channel("A"), test::Channel("a"),
                                 test::Channel("B")});
        e.form->selectTab(Tab::Buffer);
        BufferWindow* buffer = e.buffer();
        buffer->findChild<QPushButton*>("ByName")->click();
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,B,a,b"));
        QCOMPARE(buffer->list()->currentIndex().row(), 0);
        // Delete the 2nd and 4th: the row above the first deleted one is selected.
        auto* sel = buffer->list()->selectionModel();
        sel->select(buffer->model().index(1), QItemSelectionModel::ClearAndSelect);
        sel->select(buffer->model().index(3), QItemSelectionModel::Select);
        buffer->findChild<QPushButton*>("Delch")->click();
        QCOMPARE(e.names(e.ws().bufferList()), QString("A,a"));
        QCOMPARE(buffer->list()->currentIndex().row(), 0);
        e.trigger("Undomnu");  // the buffer window follows the undo
        QCOMPARE(buffer->model().rowCount(), 4);
        // Clear asks; No keeps the buffer; Yes empties it and returns to the list.
        e.prompter.answer(Answer::No);
        buffer->findChild<QPushButton*>("ClearBuf")->click();
        QCOMPARE(e.prompter.texts().last(), QString("Are you sure to clear the buffer ?"));
        QCOMPARE(e.ws().bufferList().size(), 4u);
        e.prompter.answer(Answer::Yes);
        buffer->findChild<QPushButton*>("ClearBuf")->click();
        QVERIFY(e.ws().bufferList().empty());
        QTRY_COMPARE(e.form->currentTab(), Tab::List);
        QVERIFY(!e.form->tabEnabled(Tab::Buffer));
    }

    void bulkAttributesOnMarkedChannels() {
        Editing e(5);
        e.mark({1, 3, 4});
        e.trigger("OnParCtrl");
        QCOMPARE(e.ws().tvList()[0].Parental.view(), "0");  // the header is skipped
        QCOMPARE(e.ws().tvList()[2].Parental.view(), "1");
        QCOMPARE(e.form->model()
                     .data(e.form->model().index(2), Qt::DecorationRole)
                     .value<QIcon>()
                     .cacheKey(),
                 ChannelListModel::parentalIcon().cacheKey());
        e.trigger("onv");
        QCOMPARE(e.ws().tvList()[3].AvFlags.view(), "10");
        e.trigger("Port4");
        QCOMPARE(e.ws().tvList()[3].TuneFlags.view(), "0003");
        e.trigger("Onspi");
        QCOMPARE(e.ws().tvList()[3].TuneFlags.view(), "000B");
        QCOMPARE(e.ws().tvList()[1].TuneFlags.view(), "0000");
        QVERIFY(e.ws().channelsModified());
        for (int i = 0; i < 4; ++i)
            e.trigger("Undomnu");
        QCOMPARE(e.ws().tvList()[2].Parental.view(), "0");
        QCOMPARE(e.ws().tvList()[3].TuneFlags.view(), "0000");
        QVERIFY(!e.action("Undomnu")->isEnabled());
    }

    void stabPositionFromTheRotorDialog() {
        Editing e(3);
        e.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[0].APid = "0007"; });
        int offered = -1;
        e.prompter.rotorPosition = [&](int current) {
            offered = current;
            return 12;
        };
        e.mark({1, 2});
        e.trigger("STABMenu");
        QCOMPARE(offered, 7);  // the header's own position first
        QCOMPARE(e.ws().tvList()[0].APid.view(), "000C");
        QCOMPARE(e.ws().tvList()[1].APid.view(), "0000");
        e.list().selectOnly(1);
        QVERIFY(e.form->dataRow().contains("STAB rotor position is 12 Intelsat Star"));
        e.prompter.rotorPosition = [](int) { return -1; };
        e.trigger("Undomnu");
        e.mark({1});
        const std::size_t steps = e.editing.history().size();
        e.trigger("STABMenu");
        QCOMPARE(e.ws().tvList()[0].APid.view(), "0007");
        QCOMPARE(e.editing.history().size(), steps);
    }

    void tabStepsBetweenHeaders() {
        Editing e(6);
        e.ws().changeLists(kTouchTV, [](EditableLists& l) {
            l.tv[3].Freq = "00000000";  // row 4 is a header too
        });
        // A step clears only the mark of the row it leaves.
        e.mark({1, 3, 5});
        QVERIFY(e.form->handleKeyPress(Qt::Key_Tab, {}));
        QCOMPARE(e.list().selectedRow(), 4);
        QCOMPARE(e.markedRows(), (QList<int>{3, 4, 5}));
        e.list().selectOnly(4);
        QVERIFY(e.form->handleKeyPress(Qt::Key_Tab, {}));
        QCOMPARE(e.list().selectedRow(), 6);
        QCOMPARE(e.ws().rememberedRow(ListId::TV), 6);
        QVERIFY(e.form->handleKeyPress(Qt::Key_Backtab, Qt::ShiftModifier));
        QCOMPARE(e.list().selectedRow(), 4);
        QCOMPARE(e.markedRows(), QList<int>{4});
    }

    void findAndFindNext() {
        Editing e(12);
        QString offered;
        e.prompter.findText = [&](const QString& previous) -> std::optional<QString> {
            offered = previous;
            return QString("c1");
        };
        e.list().selectOnly(2);
        QVERIFY(e.form->handleKeyPress(Qt::Key_F, Qt::ControlModifier));
        QCOMPARE(e.list().selectedRow(), 1);  // from row 1, never the selected row 2
        QVERIFY(e.form->handleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.list().selectedRow(), 10);
        QVERIFY(e.form->handleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.list().selectedRow(), 11);
        QVERIFY(e.form->handleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.list().selectedRow(), 12);
        QVERIFY(e.form->handleKeyPress(Qt::Key_F3, {}));  // no wrap-around
        QCOMPARE(e.list().selectedRow(), 12);
        QCOMPARE(e.prompter.texts(), QStringList{"Channel not found"});
        QCOMPARE(e.prompter.asked[0].icon, Prompter::Icon::Critical);
        // Cancelling keeps the previous text for F3; "#Cancel#" is a cancel too.
        e.prompter.findText = [&](const QString& previous) -> std::optional<QString> {
            offered = previous;
            return std::nullopt;
        };
        e.trigger("Findmnu");
        QCOMPARE(offered, QString("c1"));
        QCOMPARE(e.editing.findText(), QString("c1"));
        e.prompter.findText = [](const QString&) -> std::optional<QString> {
            return QString("#Cancel#");
        };
        e.trigger("Findmnu");
        QCOMPARE(e.editing.findText(), QString("c1"));
    }

    void findClearsTheMarksItPassesOver() {
        Editing e(8);
        e.mark({5, 2, 3, 7});
        e.prompter.findText = [](const QString&) -> std::optional<QString> {
            return QString("C4");
        };
        e.trigger("Findmnu");
        QCOMPARE(e.list().selectedRow(), 4);
        QCOMPARE(e.markedRows(), (QList<int>{4, 7}));
    }

    void dragMovesMarkedChannelsAsOneStep() {
        Editing e(5);
        e.mark({1, 2});
        QModelIndexList rows{e.form->model().index(0), e.form->model().index(1)};
        std::unique_ptr<QMimeData> mime(e.form->model().mimeData(rows));
        QVERIFY(!e.form->model().dropMimeData(mime.get(), Qt::MoveAction, 4, 0, QModelIndex()));
        QCOMPARE(e.names(e.ws().tvList()), QString("C3,C4,C1,C2,C5"));
        QCOMPARE(e.markedRows(), (QList<int>{3, 4}));
        e.trigger("Undomnu");
        QCOMPARE(e.names(e.ws().tvList()), QString("C1,C2,C3,C4,C5"));
    }

    void ctrlZWithNothingToUndoChangesNothing() {
        Editing e(3);
        QVERIFY(!e.action("Undomnu")->isEnabled());
        QVERIFY(e.form->handleKeyPress(Qt::Key_Z, Qt::ControlModifier));  // nothing to undo
        QCOMPARE(e.ws().tvList().size(), 3u);
    }

    void loadingClearsTheHistoryAndRadioUndoShowsTheRadioList() {
        Editing e(3, 3);
        e.list().switchList();
        e.mark({2});
        e.trigger("Cutmnu");
        e.list().switchList();  // back to TV
        e.trigger("Undomnu");
        QCOMPARE(e.form->title(), QString("RADIO CHANNELS"));
        QCOMPARE(e.ws().radioList().size(), 3u);
        QCOMPARE(e.list().selectedRow(), 2);
        QVERIFY(e.load(e.write("other.dvb", test::DvbRecord().name("X").bytes())));
        QVERIFY(!e.action("Undomnu")->isEnabled());
        QVERIFY(!e.action("Redomnu")->isEnabled());
    }

    void rotorAndFindDialogs() {
        const SatPosTable table = parseAntPos(defaultAntPosText());
        RotorDialog rotor(table);
        QCOMPARE(rotor.lines()->count(), 22);
        QCOMPARE(rotor.lines()->itemText(0), QString::fromLatin1(" 1 HotBird         13\260  E"));
        rotor.lines()->setCurrentIndex(11);
        rotor.choose();
        QCOMPARE(rotor.position(), 12);
        RotorDialog at12(table, 12);
        QCOMPARE(at12.lines()->currentIndex(), 11);
        QVERIFY(at12.minimumWidth() > at12.fontMetrics().horizontalAdvance(at12.windowTitle()));
        RotorDialog exit(table);
        exit.cancel();
        QCOMPARE(exit.position(), -1);
        RotorDialog empty(SatPosTable{});
        QCOMPARE(empty.lines()->count(), 0);
        QVERIFY(!empty.findChild<QPushButton*>("SetRotor")->isEnabled());

        FindDialog find("rai");
        QCOMPARE(find.windowTitle(), QString("QEL -  Find channel"));
        QCOMPARE(find.text()->text(), QString("rai"));
        // Both follow a language switch while open.
        const QStringList english{find.windowTitle(), rotor.windowTitle()};
        Language language;
        language.apply("ITA");
        QTRY_VERIFY(find.windowTitle() != english[0] && rotor.windowTitle() != english[1]);
        language.apply("ENG");
        QTRY_COMPARE((QStringList{find.windowTitle(), rotor.windowTitle()}), english);
    }
};

}  // namespace qel

QTEST_MAIN(qel::EditingTest)
#include "editing_test.moc"
