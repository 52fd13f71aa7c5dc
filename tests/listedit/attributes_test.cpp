#include "listedit/attributes.h"

#include <gtest/gtest.h>

#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;

Channel tuned() {
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
        {"12 V on", setVoltage, 1, "C3", "D3", false},
        {"12 V off", setVoltage, 0, "D3", "C3", false},
        {"12 V on, already on", setVoltage, 1, "10", "10", false},
        {"DiSEqC port 4", setDiseqcPort, 3, "120C", "120F", true},
        {"DiSEqC port 1", setDiseqcPort, 0, "12FF", "12FC", true},
        {"inversion on", setSpectralInversion, 2, "120F", "120B", true},
        {"inversion off", setSpectralInversion, 1, "AB00", "AB04", true},
        {"inversion auto", setSpectralInversion, 0, "00FF", "00F3", true},
    };
    for (const auto& c : cases) {
        ChannelRec ch = tuned();
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
    ChannelList list{tuned(), tuned(), tuned(), Channel("--- HEADER ---")};
    setAntenna(list, {0, 2, 3}, 8);
    EXPECT_EQ(list[0].Ant.view(), "0080");
    EXPECT_EQ(list[1].Ant.view(), "0000");
    EXPECT_EQ(list[3].Ant.view(), "0080");
    setParentalLock(list, {0, 3}, 1);
    EXPECT_EQ(list[0].Parental.view(), "1");
    EXPECT_EQ(list[3].Parental.view(), "0");  // header entries are skipped
    setAutoPmt(list, {1}, 1);
    setAutoPid(list, {2}, 1);
    EXPECT_EQ(list[1].AutoPmt.view(), "1");
    EXPECT_EQ(list[1].AutoPid.view(), "0");
    EXPECT_EQ(list[2].AutoPid.view(), "1");
    setAutoPid(list, {2}, 0);
    EXPECT_EQ(list[2].AutoPid.view(), "0");
}

TEST(Attributes, StabPositionOnlyOnHeaders) {
    ChannelList list{Channel("--- A ---").APid("0000"), tuned().APid("0123")};
    setStabPosition(list, {0, 1}, 12);
    EXPECT_EQ(list[0].APid.view(), "000C");
    EXPECT_EQ(list[1].APid.view(), "0123");
    setStabPosition(list, {0}, 48);
    EXPECT_EQ(list[0].APid.view(), "0030");
}

TEST(FindSatelliteHeader, StepsFromHeaderToHeader) {
    // Rows: 1 H, 2 C, 3 C, 4 H, 5 C, 6 C (blank row 7).
    ChannelList list{Channel("H1"), tuned(), tuned(), Channel("H2"), tuned(), tuned()};
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
        EXPECT_EQ(findSatelliteHeader(list, c.from, c.dir), c.to) << c.from;
    }
    ChannelList noHeaders{tuned(), tuned(), tuned()};
    EXPECT_EQ(findSatelliteHeader(noHeaders, 1, Direction::Next), 3);
    EXPECT_EQ(findSatelliteHeader(noHeaders, 3, Direction::Previous), 1);
}

}  // namespace
}  // namespace qel
