#include "model/channel_lists.h"

#include <gtest/gtest.h>

#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;

TEST(ChannelRec, NeverFilledIsCodeZeroAndAssignmentPadsOrCuts) {
    ChannelRec r;
    EXPECT_EQ(r.ChName.view(), std::string(20, '\0'));
    r.ChName = "ABC";
    EXPECT_EQ(r.ChName.view(), "ABC                 ");
    r.ChName = "123456789012345678901234";
    EXPECT_EQ(r.ChName.view(), "12345678901234567890");
}

TEST(ChannelRec, EmptyChannelDefaults) {
    const ChannelRec& e = emptyChannel();
    EXPECT_EQ(e.MatchKey.view(), std::string(52, ' '));
    EXPECT_EQ(e.ChName.view(), std::string(20, ' '));
    EXPECT_EQ(e.Freq.view(), "00000000");
    EXPECT_EQ(e.Srate.view(), "000000");
    EXPECT_EQ(e.Sat.view(), "000");
    EXPECT_EQ(e.TuneFlags.view(), "0000");
    EXPECT_EQ(e.AvFlags.view(), "00");
    EXPECT_EQ(e.AutoPmt.view(), "0");
}

TEST(ChannelRec, MatchKeyConcatenatesTuningAndPids) {
    Channel c("X");
    c.Freq("01175000").Srate("275000").Fec("3").Pol("1").NetId("0001").TsId("0002");
    c.SerId("0003").APid("0004").VPid("0005").PPid("0006").PmtPid("0007").PmcPid("0008");
    const ChannelRec r = c.TxtPid("0009");
    EXPECT_EQ(buildMatchKey(r).view(),
              "01175000275000310001000200030004000500060007000800"
              "09");
}

TEST(CompactList, DropsDeletedAndTrimsKept) {
    ChannelList list = {Channel("  A  "), Channel("##########"), Channel(" ########## "),
                        Channel("B")};
    compactList(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].ChName.view(), "A                   ");
    EXPECT_EQ(list[1].ChName.view(), "B                   ");
    // Every record deleted: an empty list.
    ChannelList deleted(5, Channel("##########"));
    compactList(deleted);
    EXPECT_TRUE(deleted.empty());
}

TEST(BracketText, ShownPartOfTheName) {
    const std::pair<std::string, std::string> cases[] = {
        {"  RAI UNO      ", "RAI UNO"},
        {"[RAI] UNO", "RAI"},
        {"x[RAI]y[ 1 ]z", "RAI 1"},
        {"[  SKY   ]", "SKY"},
        {"RAI [UNO", "RAI [UNO"},  // no closing bracket anywhere: the whole name
        {"RAI ]UNO", "RAI ]UNO"},  // no opening bracket anywhere
        {"[A] [B", "AB"},          // an unclosed bracket after a pair keeps what follows it
        {"a]b[c]", "c"},           // a stray closing bracket is outside every pair
        {"[]", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(bracketText(in), out) << in;
}

}  // namespace
}  // namespace qel
