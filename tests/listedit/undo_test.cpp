#include "listedit/undo.h"

#include <gtest/gtest.h>

#include <random>

#include "listedit/attributes.h"
#include "listedit/buffer_ops.h"
#include "support/channel_builder.h"
#include "support/workspace_builder.h"

namespace qel {
namespace {

using test::Channel;

struct Snapshot {
    ChannelList tv, radio, buffer;
    bool operator==(const Snapshot&) const = default;
};
Snapshot take(const Workspace& ws) {
    return {ws.tvList(), ws.radioList(), ws.bufferList()};
}

Workspace filled() {
    ChannelList tv;
    ChannelList radio;
    for (int i = 0; i < 30; ++i) {
        tv.push_back(Channel(i % 7 == 0 ? "--- SAT ---" : "TV " + std::to_string(i))
                         .Freq(i % 7 == 0 ? "00000000" : "01100000"));
    }
    for (int i = 0; i < 10; ++i)
        radio.push_back(Channel("R " + std::to_string(i)).Freq("01200000"));
    return test::loadedWorkspace(std::move(tv), std::move(radio));
}

Marks randomMarks(std::mt19937& rng, std::size_t size) {
    Marks m;
    for (std::size_t i = 0; i < size; ++i) {
        if (rng() % 4 == 0) m.push_back(i);
    }
    return m;
}

// One random command as the editing window runs it: recorded, then applied.
void randomCommand(std::mt19937& rng, Workspace& ws, UndoHistory& history, ListSelection& sel) {
    sel.list = rng() % 3 == 0 ? ListId::Radio : ListId::TV;
    ws.showList(sel.list);
    const std::size_t size = ws.shown().size();
    const unsigned listTouch = touchOf(sel.list);
    const Marks marks = randomMarks(rng, size);
    const int row = static_cast<int>(rng() % (size + 1)) + 1;
    sel.marks = marks;
    sel.selectedRow = row;
    const auto apply = [&](unsigned touches, auto change) {
        history.record(ws, touches, sel);
        ws.changeLists(touches, [&](EditableLists& l) { change(l.of(sel.list), l.buffer); });
    };
    switch (rng() % 8) {
        case 0:
            apply(listTouch, [&](ChannelList& list, ChannelList&) {
                sel.selectedRow = insertChannel(list, row);
            });
            break;
        case 1:
            apply(listTouch, [&](ChannelList& list, ChannelList& buffer) {
                sel.selectedRow = removeMarked(list, buffer, marks, false, row);
            });
            break;
        case 2:
            apply(listTouch | kTouchBuffer, [&](ChannelList& list, ChannelList& buffer) {
                sel.selectedRow = removeMarked(list, buffer, marks, true, row);
            });
            break;
        case 3: {
            const bool special = rng() % 2 == 0;
            const Marks bufferMarks = randomMarks(rng, ws.bufferList().size());
            const bool remove = rng() % 2 == 0;
            apply(listTouch | kTouchBuffer, [&](ChannelList& list, ChannelList& buffer) {
                sel.selectedRow = pasteEntries(list, buffer, row, special, bufferMarks, remove);
            });
            break;
        }
        case 4: {
            const int on = static_cast<int>(rng() % 2);
            apply(listTouch, [&](ChannelList& list, ChannelList&) { setVoltage(list, marks, on); });
            break;
        }
        case 5: {
            const int position = static_cast<int>(rng() % 48) + 1;
            apply(listTouch,
                  [&](ChannelList& list, ChannelList&) { setStabPosition(list, marks, position); });
            break;
        }
        case 6: {
            const auto order = static_cast<BufferOrder>(rng() % 3);
            apply(kTouchBuffer,
                  [&](ChannelList&, ChannelList& buffer) { orderBuffer(buffer, order); });
            break;
        }
        default:
            apply(listTouch, [&](ChannelList& list, ChannelList&) {
                sel.selectedRow = moveRows(list, marks, row);
            });
            break;
    }
    sel.marks.clear();
}

TEST(UndoHistory, RandomSequencesUndoAndRedoExactly) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Workspace ws = filled();
        UndoHistory history;
        ListSelection sel;
        std::vector<Snapshot> states{take(ws)};
        std::vector<ListSelection> before;
        const int steps = 5 + static_cast<int>(rng() % 20);
        for (int i = 0; i < steps; ++i) {
            ListSelection at = sel;
            randomCommand(rng, ws, history, sel);
            states.push_back(take(ws));
        }
        ASSERT_EQ(history.size(), static_cast<std::size_t>(steps));
        // Undo everything, checking each intermediate state.
        for (int i = steps; i > 0; --i) {
            auto shown = history.undo(ws, sel);
            ASSERT_TRUE(shown.has_value());
            sel = *shown;
            ASSERT_EQ(take(ws), states[static_cast<std::size_t>(i - 1)])
                << "seed " << seed << " step " << i;
        }
        EXPECT_FALSE(history.canUndo());
        EXPECT_FALSE(history.undo(ws, sel).has_value());
        for (int i = 1; i <= steps; ++i) {
            auto shown = history.redo(ws, sel);
            ASSERT_TRUE(shown.has_value());
            sel = *shown;
            ASSERT_EQ(take(ws), states[static_cast<std::size_t>(i)])
                << "seed " << seed << " redo " << i;
        }
        EXPECT_FALSE(history.canRedo());
    }
}

TEST(UndoHistory, SelectionAndSavedState) {
    Workspace ws = filled();
    UndoHistory history;
    ListSelection before{ListId::Radio, 3, {1, 2}};
    history.record(ws, kTouchRadio, before);
    ws.changeLists(kTouchRadio, [](EditableLists& l) { l.radio.clear(); });
    history.markSaved();
    EXPECT_TRUE(history.atSaved());
    ListSelection after{ListId::Radio, 1, {}};
    auto shown = history.undo(ws, after);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->list, ListId::Radio);
    EXPECT_EQ(shown->selectedRow, 3);
    EXPECT_EQ(shown->marks, (Marks{1, 2}));
    EXPECT_EQ(ws.radioList().size(), 10u);
    EXPECT_FALSE(history.atSaved());
    shown = history.redo(ws, *shown);
    EXPECT_EQ(shown->selectedRow, 1);
    EXPECT_TRUE(history.atSaved());
    EXPECT_TRUE(ws.radioList().empty());

    // A new change drops what could be redone.
    history.undo(ws, after);
    history.record(ws, kTouchTV, after);
    EXPECT_FALSE(history.canRedo());
    history.clear();
    EXPECT_FALSE(history.canUndo());
}

TEST(UndoHistory, OldestStepsGoBeyondTheMemoryBound) {
    Workspace ws = filled();
    UndoHistory history(3 * 40 * sizeof(ChannelRec) + 1000);
    for (int i = 0; i < 10; ++i)
        history.record(ws, kTouchTV | kTouchRadio, {});
    EXPECT_LT(history.size(), 10u);
    EXPECT_GE(history.size(), 1u);
}

}  // namespace
}  // namespace qel
