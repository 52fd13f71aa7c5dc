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
    void mark(const std::vector<int>& rows) {
        auto* sel = form->listView()->selectionModel();
        sel->clear();
        for (int r : rows)
            sel->select(form->model().index(r - 1), QItemSelectionModel::Select);
        sel->setCurrentIndex(form->model().index(rows.front() - 1), QItemSelectionModel::Select);
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
    // The editing keys reach their commands, one after the other (what each does to the lists
    // is the editing and undo tests').
    void theEditingKeysReachTheirCommands() {
        Editing e(6);
        test::setBuffer(e.ws(), {test::Channel("A"), test::Channel("B")});
        e.prompter.fallback = Answer::Yes;
        const struct {
            const char* what;
            std::vector<int> marks;  // none: as the step before left them
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            std::size_t tv, buffer;
        } steps[] = {
            {"Ctrl+Z with nothing to undo", {1}, Qt::Key_Z, Qt::ControlModifier, 6, 2},
            {"Insert on the blank row", {7}, Qt::Key_Insert, {}, 7, 2},
            {"Ctrl+Z", {}, Qt::Key_Z, Qt::ControlModifier, 6, 2},
            {"Ctrl+Y", {}, Qt::Key_Y, Qt::ControlModifier, 7, 2},
            {"Ctrl+X", {2, 5}, Qt::Key_X, Qt::ControlModifier, 5, 4},
            {"Ctrl+V", {1}, Qt::Key_V, Qt::ControlModifier, 9, 0},
            {"Delete, answered Yes", {2, 3}, Qt::Key_Delete, {}, 7, 0},
        };
        for (const auto& step : steps) {
            if (!step.marks.empty()) e.mark(step.marks);
            QVERIFY2(e.form->handleKeyPress(step.key, step.mods), step.what);
            QVERIFY2(e.ws().tvList().size() == step.tv && e.ws().bufferList().size() == step.buffer,
                     step.what);
        }
        QVERIFY(!e.action("Pastemnu")->isEnabled());  // the buffer is empty
    }

    void deleteAsksFirst() {
        Editing e(10);
        e.mark({3, 4, 7});
        e.prompter.answer(Answer::No);
        e.trigger("Deletemnu");
        QCOMPARE(e.prompter.texts(), QStringList{"Are you sure to delete marked channels ?"});
        QCOMPARE(e.prompter.asked.last().defaultAnswer, Answer::No);  // it throws work away
        QCOMPARE(e.ws().tvList().size(), 10u);
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
        // Delete the 2nd and 4th: the window shows the row the command selects.
        auto* sel = buffer->list()->selectionModel();
        sel->select(buffer->model().index(1), QItemSelectionModel::ClearAndSelect);
        sel->select(buffer->model().index(3), QItemSelectionModel::Select);
        buffer->findChild<QPushButton*>("Delch")->click();
        QCOMPARE(buffer->model().rowCount(), 2);
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
        e.mark({3, 4});
        e.trigger("OnParCtrl");
        QCOMPARE(e.ws().tvList()[2].Parental.view(), "1");
        QCOMPARE(e.form->model()
                     .data(e.form->model().index(2), Qt::DecorationRole)
                     .value<QIcon>()
                     .cacheKey(),
                 ChannelListModel::parentalIcon().cacheKey());
        e.trigger("Port4");
        QCOMPARE(e.ws().tvList()[3].TuneFlags.view(), "0003");
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
        QCOMPARE(e.list().selectedRow(), 1);
        QVERIFY(e.form->handleKeyPress(Qt::Key_F3, {}));
        QCOMPARE(e.list().selectedRow(), 10);
        e.list().selectOnly(12);
        QVERIFY(e.form->handleKeyPress(Qt::Key_F3, {}));  // the last match: not found
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

    // A drop moves the marked channels (where they go is the editing tests' own), marks kept.
    void dragMovesMarkedChannels() {
        Editing e(5);
        e.mark({1, 2});
        QModelIndexList rows{e.form->model().index(0), e.form->model().index(1)};
        std::unique_ptr<QMimeData> mime(e.form->model().mimeData(rows));
        QVERIFY(!e.form->model().dropMimeData(mime.get(), Qt::MoveAction, 4, 0, QModelIndex()));
        QCOMPARE(e.names(e.ws().tvList()), QString("C3,C4,C1,C2,C5"));
        QCOMPARE(e.markedRows(), (QList<int>{3, 4}));
    }

    void loadingClearsTheHistoryAndRadioUndoShowsTheRadioList() {
        Editing e(3, 3);
        e.list().switchList();
        e.mark({2});
        e.trigger("Cutmnu");
        e.list().switchList();  // back to TV
        e.trigger("Undomnu");   // what it restores is the undo tests'; the window shows RADIO
        QCOMPARE(e.form->title(), QString("RADIO CHANNELS"));
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
