#include "listedit/attributes.h"

#include <gtest/gtest.h>

#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;

Channel Tuned() {
    return Channel("C").Freq("01100000");
}

TEST(Attributes, BitFieldsKeepTheOtherBits) {
    struct Case {
        const char* what;
        void (*op)(ChannelList&, const Marks&, int);
        int value;
        const char* before;
        const char* after;
        bool tuneFlags;
    };
    const Case cases[] = {
        {"12 V on", SetVoltage, 1, "C3", "D3", false},
        {"12 V off", SetVoltage, 0, "D3", "C3", false},
        {"12 V on, already on", SetVoltage, 1, "10", "10", false},
        {"DiSEqC port 4", SetDiseqC, 3, "120C", "120F", true},
        {"DiSEqC port 1", SetDiseqC, 0, "12FF", "12FC", true},
        {"inversion on", SetSpi, 2, "120F", "120B", true},
        {"inversion off", SetSpi, 1, "AB00", "AB04", true},
        {"inversion auto", SetSpi, 0, "00FF", "00F3", true},
    };
    for (const auto& c : cases) {
        ChannelRec ch = Tuned();
        if (c.tuneFlags) {
            ch.TuneFlags = c.before;
        } else {
            ch.AvFlags = c.before;
        }
        ChannelList list{ch, ch};
        c.op(list, {0}, c.value);
        EXPECT_EQ(c.tuneFlags ? list[0].TuneFlags.str() : list[0].AvFlags.str(), c.after) << c.what;
        EXPECT_EQ(list[1], ch) << c.what << ": an unmarked channel changed";
    }
}

TEST(Attributes, AntennaParentalAutomation) {
    ChannelList list{Tuned(), Tuned(), Tuned(), Channel("--- HEADER ---")};
    SetAntenna(list, {0, 2, 3}, 8);
    EXPECT_EQ(list[0].Ant.view(), "0080");
    EXPECT_EQ(list[1].Ant.view(), "0000");
    EXPECT_EQ(list[3].Ant.view(), "0080");
    SetParCtrl(list, {0, 3}, 1);
    EXPECT_EQ(list[0].Parental.view(), "1");
    EXPECT_EQ(list[3].Parental.view(), "0");  // header entries are skipped
    SetAutoPmt(list, {1}, 1);
    SetAutoPid(list, {2}, 1);
    EXPECT_EQ(list[1].AutoPmt.view(), "1");
    EXPECT_EQ(list[1].AutoPid.view(), "0");
    EXPECT_EQ(list[2].AutoPid.view(), "1");
    SetAutoPid(list, {2}, 0);
    EXPECT_EQ(list[2].AutoPid.view(), "0");
}

TEST(Attributes, StabPositionOnlyOnHeaders) {
    ChannelList list{Channel("--- A ---").APid("0000"), Tuned().APid("0123")};
    SetStab(list, {0, 1}, 12);
    EXPECT_EQ(list[0].APid.view(), "000C");
    EXPECT_EQ(list[1].APid.view(), "0123");
    SetStab(list, {0}, 48);
    EXPECT_EQ(list[0].APid.view(), "0030");
}

TEST(FindSat, StepsFromHeaderToHeader) {
    // Rows: 1 H, 2 C, 3 C, 4 H, 5 C, 6 C (blank row 7).
    ChannelList list{Channel("H1"), Tuned(), Tuned(), Channel("H2"), Tuned(), Tuned()};
    struct Case {
        int from;
        Direction dir;
        int to;
    };
    const Case cases[] = {
        {1, Direction::Next, 4},     {2, Direction::Next, 4},     {4, Direction::Next, 6},
        {7, Direction::Next, 6},     {6, Direction::Previous, 4}, {4, Direction::Previous, 1},
        {3, Direction::Previous, 1}, {1, Direction::Previous, 1}, {7, Direction::Previous, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindSat(list, c.from, c.dir), c.to) << c.from;
    }
    ChannelList noHeaders{Tuned(), Tuned(), Tuned()};
    EXPECT_EQ(FindSat(noHeaders, 1, Direction::Next), 3);
    EXPECT_EQ(FindSat(noHeaders, 3, Direction::Previous), 1);
}

}  // namespace
}  // namespace qel
