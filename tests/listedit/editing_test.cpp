#include "listedit/editing.h"

#include <gtest/gtest.h>

#include "bytes/conversions.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;
using test::names;

ChannelList named(std::initializer_list<const char*> names) {
    ChannelList list;
    for (const char* n : names)
        list.push_back(Channel(n).Freq("01100000"));
    return list;
}

ChannelList numbered(int n) {
    ChannelList list;
    for (int i = 1; i <= n; ++i)
        list.push_back(Channel("C" + std::to_string(i)).Freq("01100000"));
    return list;
}

TEST(Insert, AtTheSelectedRowOrTheEnd) {
    struct Case {
        int size, selected;
        int row;
        std::string names;
    };
    const Case cases[] = {
        {3, 2, 2, "C1,,C2,C3"},
        {3, 4, 4, "C1,C2,C3,"},  // the blank row appends
        {0, 1, 1, ""},           // the first channel of an empty list
        {3, 1, 1, ",C1,C2,C3"},
    };
    for (const auto& c : cases) {
        ChannelList list = numbered(c.size);
        EXPECT_EQ(insertChannel(list, c.selected), c.row);
        EXPECT_EQ(names(list), c.names);
        EXPECT_EQ(list[static_cast<std::size_t>(c.row - 1)], emptyChannel());
    }
}

TEST(RemoveMarked, DeleteSelectsTheRowOfTheFirstMarked) {
    struct Case {
        int size;
        Marks marks;
        int row;
        std::string names;
    };
    const Case cases[] = {
        {10, {2, 3, 6}, 3, "C1,C2,C5,C6,C8,C9,C10"},
        {5, {3, 4}, 3, "C1,C2,C3"},  // the last channels: the new last channel
        {3, {0, 1, 2}, 1, ""},       // every channel: the blank row of the empty list
        {3, {}, 2, "C1,C2,C3"},      // nothing marked: nothing happens
    };
    for (const auto& c : cases) {
        ChannelList list = numbered(c.size);
        ChannelList buffer = named({"KEEP"});
        EXPECT_EQ(removeMarked(list, buffer, c.marks, false, 2), c.row);
        EXPECT_EQ(names(list), c.names);
        EXPECT_EQ(names(buffer), "KEEP");
    }
}

TEST(RemoveMarked, MoveToBufferAppendsInListOrderAndTrimsKeptNames) {
    ChannelList list = numbered(6);
    list[0].ChName = "  C1";
    list[1].ChName = "##########";  // a real name, not a deletion mark
    ChannelList buffer = named({"A", "B"});
    EXPECT_EQ(removeMarked(list, buffer, {1, 4}, true, 2), 2);
    EXPECT_EQ(names(buffer), "A,B,##########,C5");
    EXPECT_EQ(names(list), "C1,C3,C4,C6");
    EXPECT_EQ(list[0].ChName.view(), "C1                  ");
    ChannelList empty;
    ChannelList one = numbered(2);
    removeMarked(one, empty, {1}, true, 2);
    EXPECT_EQ(names(empty), "C2");
}

TEST(PasteEntries, AllSpecialMoveAndCopy) {
    struct Case {
        bool special;
        Marks bufferMarks;
        bool remove;
        int selected;
        int row;
        std::string list, buffer;
    };
    const Case cases[] = {
        {false, {}, true, 4, 7, "C1,C2,C3,A,B,C,C4,C5", ""},
        {false, {}, true, 6, 9, "C1,C2,C3,C4,C5,A,B,C", ""},  // behind the last channel
        {true, {0, 2}, true, 2, 4, "C1,A,C,C2,C3,C4,C5", "B"},
        {true, {0, 2}, false, 2, 4, "C1,A,C,C2,C3,C4,C5", "A,B,C"},
        {true, {0, 1, 2}, true, 1, 4, "A,B,C,C1,C2,C3,C4,C5", ""},
        {true, {}, true, 3, 3, "C1,C2,C3,C4,C5", "A,B,C"},
    };
    for (const auto& c : cases) {
        ChannelList list = numbered(5);
        ChannelList buffer = named({"A", "B", "C"});
        EXPECT_EQ(pasteEntries(list, buffer, c.selected, c.special, c.bufferMarks, c.remove),
                  c.row);
        EXPECT_EQ(names(list), c.list);
        EXPECT_EQ(names(buffer), c.buffer);
    }
}

TEST(MoveRows, MarkedChannelsGoInFrontOfTheDropRow) {
    struct Case {
        Marks marks;
        int before;
        int row;
        std::string names;
    };
    const Case cases[] = {
        {{0, 1}, 5, 3, "C3,C4,C1,C2,C5"}, {{3, 4}, 1, 1, "C4,C5,C1,C2,C3"},
        {{1, 3}, 6, 4, "C1,C3,C5,C2,C4"},  // the blank row: to the end
        {{1, 3}, 3, 2, "C1,C2,C4,C3,C5"},  // onto a moved row
        {{2}, 3, 3, "C1,C2,C3,C4,C5"},
    };
    for (const auto& c : cases) {
        ChannelList list = numbered(5);
        EXPECT_EQ(moveRows(list, c.marks, c.before), c.row);
        EXPECT_EQ(names(list), c.names);
    }
}

}  // namespace
}  // namespace qel
