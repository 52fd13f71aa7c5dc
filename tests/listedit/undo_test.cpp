#include "listedit/undo.h"

#include <gtest/gtest.h>

#include <random>

#include "listedit/attributes.h"
#include "listedit/buffer_ops.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;

struct Snapshot {
    ChannelList tv, radio, buffer;
    bool operator==(const Snapshot&) const = default;
};
Snapshot Take(const Workspace& ws) {
    return {ws.TVList, ws.RadioList, ws.BufferList};
}

Workspace Filled() {
    Workspace ws;
    for (int i = 0; i < 30; ++i) {
        ws.TVList.push_back(Channel(i % 7 == 0 ? "--- SAT ---" : "TV " + std::to_string(i))
                                .Freq(i % 7 == 0 ? "00000000" : "01100000"));
    }
    for (int i = 0; i < 10; ++i)
        ws.RadioList.push_back(Channel("R " + std::to_string(i)).Freq("01200000"));
    return ws;
}

Marks RandomMarks(std::mt19937& rng, std::size_t size) {
    Marks m;
    for (std::size_t i = 0; i < size; ++i) {
        if (rng() % 4 == 0) m.push_back(i);
    }
    return m;
}

// One random command as the editing window runs it: recorded, then applied.
void RandomCommand(std::mt19937& rng, Workspace& ws, UndoHistory& history, ListSelection& sel) {
    sel.list = rng() % 3 == 0 ? ListId::Radio : ListId::TV;
    ws.CurrentList = sel.list;
    ChannelList& list = ws.Current();
    const unsigned listTouch = sel.list == ListId::TV ? kTouchTV : kTouchRadio;
    const Marks marks = RandomMarks(rng, list.size());
    const int row = static_cast<int>(rng() % (list.size() + 1)) + 1;
    sel.marks = marks;
    sel.selectedRow = row;
    switch (rng() % 8) {
        case 0:
            history.Record(ws, listTouch, sel);
            sel.selectedRow = InsertChannel(list, row);
            break;
        case 1:
            history.Record(ws, listTouch, sel);
            sel.selectedRow = Delorcut(list, ws.BufferList, marks, false, row);
            break;
        case 2:
            history.Record(ws, listTouch | kTouchBuffer, sel);
            sel.selectedRow = Delorcut(list, ws.BufferList, marks, true, row);
            break;
        case 3:
            history.Record(ws, listTouch | kTouchBuffer, sel);
            sel.selectedRow = PasteElements(list, ws.BufferList, row, rng() % 2 == 0,
                                            RandomMarks(rng, ws.BufferList.size()), rng() % 2 == 0);
            break;
        case 4:
            history.Record(ws, listTouch, sel);
            SetVoltage(list, marks, static_cast<int>(rng() % 2));
            break;
        case 5:
            history.Record(ws, listTouch, sel);
            SetStab(list, marks, static_cast<int>(rng() % 48) + 1);
            break;
        case 6:
            history.Record(ws, kTouchBuffer, sel);
            OrderBuffer(ws.BufferList, static_cast<BufferOrder>(rng() % 3));
            break;
        default:
            history.Record(ws, listTouch, sel);
            sel.selectedRow = MoveRows(list, marks, row);
            break;
    }
    sel.marks.clear();
}

TEST(UndoHistory, RandomSequencesUndoAndRedoExactly) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Workspace ws = Filled();
        UndoHistory history;
        ListSelection sel;
        std::vector<Snapshot> states{Take(ws)};
        std::vector<ListSelection> before;
        const int steps = 5 + static_cast<int>(rng() % 20);
        for (int i = 0; i < steps; ++i) {
            ListSelection at = sel;
            RandomCommand(rng, ws, history, sel);
            states.push_back(Take(ws));
        }
        ASSERT_EQ(history.size(), static_cast<std::size_t>(steps));
        // Undo everything, checking each intermediate state.
        for (int i = steps; i > 0; --i) {
            auto shown = history.Undo(ws, sel);
            ASSERT_TRUE(shown.has_value());
            sel = *shown;
            ASSERT_EQ(Take(ws), states[static_cast<std::size_t>(i - 1)])
                << "seed " << seed << " step " << i;
        }
        EXPECT_FALSE(history.CanUndo());
        EXPECT_FALSE(history.Undo(ws, sel).has_value());
        for (int i = 1; i <= steps; ++i) {
            auto shown = history.Redo(ws, sel);
            ASSERT_TRUE(shown.has_value());
            sel = *shown;
            ASSERT_EQ(Take(ws), states[static_cast<std::size_t>(i)])
                << "seed " << seed << " redo " << i;
        }
        EXPECT_FALSE(history.CanRedo());
    }
}

TEST(UndoHistory, SelectionAndSavedState) {
    Workspace ws = Filled();
    UndoHistory history;
    ListSelection before{ListId::Radio, 3, {1, 2}};
    history.Record(ws, kTouchRadio, before);
    ws.RadioList.clear();
    history.MarkSaved();
    EXPECT_TRUE(history.AtSaved());
    ListSelection after{ListId::Radio, 1, {}};
    auto shown = history.Undo(ws, after);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->list, ListId::Radio);
    EXPECT_EQ(shown->selectedRow, 3);
    EXPECT_EQ(shown->marks, (Marks{1, 2}));
    EXPECT_EQ(ws.RadioList.size(), 10u);
    EXPECT_FALSE(history.AtSaved());
    shown = history.Redo(ws, *shown);
    EXPECT_EQ(shown->selectedRow, 1);
    EXPECT_TRUE(history.AtSaved());
    EXPECT_TRUE(ws.RadioList.empty());

    // A new change drops what could be redone.
    history.Undo(ws, after);
    history.Record(ws, kTouchTV, after);
    EXPECT_FALSE(history.CanRedo());
    history.Clear();
    EXPECT_FALSE(history.CanUndo());
}

TEST(UndoHistory, OldestStepsGoBeyondTheMemoryBound) {
    Workspace ws = Filled();
    UndoHistory history(3 * 40 * sizeof(ChannelRec) + 1000);
    for (int i = 0; i < 10; ++i)
        history.Record(ws, kTouchTV | kTouchRadio, {});
    EXPECT_LT(history.size(), 10u);
    EXPECT_GE(history.size(), 1u);
}

}  // namespace
}  // namespace qel
