#include "listedit/sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "bytes/conversions.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;
using test::names;

constexpr const char* kFreq = "01100000";

ChannelRec header(const char* name) {
    return Channel(name).Freq("00000000");
}

std::string sorted(ChannelList list, SortOptions options) {
    const ChannelList before = list;
    const SortOrder order = sortChannels(list, options);
    // The order given is the one applied.
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(list[i], before[order[i]]) << i;
    return names(list);
}

TEST(SortList, EachKeyAscendingAndDescending) {
    struct Case {
        const char* what;
        ChannelList list;
        SortKey key;
        const char* ascending;
        const char* descending;
    };
    const Case cases[] = {
        {"names, without regard to case and outer blanks",
         {Channel("b").Freq(kFreq), Channel("  a").Freq(kFreq), Channel("B  ").Freq(kFreq),
          Channel("A").Freq(kFreq), Channel("c").Freq(kFreq)},
         SortKey::Name,
         "a,A,b,B,c",
         "c,b,B,a,A"},
        {"the shown part of a name",
         {Channel("x[Zed]").Freq(kFreq), Channel("[Abc] zzz").Freq(kFreq),
          Channel("Mid").Freq(kFreq)},
         SortKey::Name,
         "[Abc] zzz,Mid,x[Zed]",
         "x[Zed],Mid,[Abc] zzz"},
        {"Latin-1 letters without regard to case",
         {Channel("\xE8").Freq(kFreq), Channel("\xC0").Freq(kFreq), Channel("\xC8").Freq(kFreq)},
         SortKey::Name,
         "\xC0,\xE8,\xC8",
         "\xE8,\xC8,\xC0"},
        {"frequency, then polarisation; no transponder last",
         {Channel("f11000v").Freq("01100000").Pol("1"), Channel("noTs").Freq("NO TS"),
          Channel("f10700h").Freq("01070000").Pol("0"),
          Channel("f11000h").Freq("01100000").Pol("0"),
          Channel("f10700h2").Freq("01070000").Pol("0"),
          Channel("f10700.5").Freq("01070050").Pol("0")},
         SortKey::Frequency,
         "f10700h,f10700h2,f10700.5,f11000h,f11000v,noTs",
         "noTs,f11000v,f11000h,f10700.5,f10700h,f10700h2"},
        {"service id as a hex number",
         {Channel("sid000A").Freq(kFreq).SerId("000A"),
          Channel("sid0100").Freq(kFreq).SerId("0100"),
          Channel("sid0009").Freq(kFreq).SerId("0009"),
          Channel("sid00FF").Freq(kFreq).SerId("00FF")},
         SortKey::ServiceId,
         "sid0009,sid000A,sid00FF,sid0100",
         "sid0100,sid00FF,sid000A,sid0009"},
        {"satellite number, antenna, DiSEqC port",
         {Channel("sat2").Freq(kFreq).Sat("002"), Channel("port3").Freq(kFreq).TuneFlags("0102"),
          Channel("ant2").Freq(kFreq).Ant("0020"), Channel("plain").Freq(kFreq),
          Channel("sat10").Freq(kFreq).Sat("010"), Channel("port2").Freq(kFreq).TuneFlags("120D")},
         SortKey::Satellite,
         "plain,port2,port3,ant2,sat2,sat10",
         "sat10,sat2,ant2,port3,port2,plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sorted(c.list, {c.key, false, true}), c.ascending) << c.what;
        EXPECT_EQ(sorted(c.list, {c.key, true, true}), c.descending) << c.what;
    }
}

TEST(SortList, HeadersKeepTheirPlaceOrAreSortedAcross) {
    const ChannelList list = {Channel("Zeta").Freq(kFreq),
                              Channel("Yota").Freq(kFreq),
                              header("Hotbird"),
                              Channel("Charlie").Freq(kFreq),
                              Channel("NoTs").Freq("NO TS"),  // a channel, not a header
                              Channel("Alpha").Freq(kFreq),
                              header("Astra"),
                              header("Empty"),
                              Channel("Echo").Freq(kFreq),
                              Channel("Bravo").Freq(kFreq)};
    EXPECT_EQ(sorted(list, {SortKey::Name, false, true}),
              "Yota,Zeta,Hotbird,Alpha,Charlie,NoTs,Astra,Empty,Bravo,Echo");
    EXPECT_EQ(sorted(list, {SortKey::Name, true, true}),
              "Zeta,Yota,Hotbird,NoTs,Charlie,Alpha,Astra,Empty,Echo,Bravo");
    EXPECT_EQ(sorted(list, {SortKey::Name, false, false}),
              "Alpha,Astra,Bravo,Charlie,Echo,Empty,Hotbird,NoTs,Yota,Zeta");
    // By frequency across the headers, the headers (frequency 0) come first, in their order.
    EXPECT_EQ(sorted(list, {SortKey::Frequency, false, false}).substr(0, 20),
              "Hotbird,Astra,Empty,");
}

TEST(SortList, EmptyAndHeaderOnlyListsStayAsTheyAre) {
    EXPECT_EQ(sorted({}, {}), "");
    const ChannelList headers = {header("B"), header("A")};
    EXPECT_EQ(sorted(headers, {SortKey::Name, false, true}), "B,A");
    EXPECT_EQ(sorted(headers, {SortKey::Name, false, false}), "A,B");
}

// Random lists against what a sort must hold: a permutation, headers in place, each block
// in order, and equal keys in their old order.
TEST(SortList, RandomListsAreOrderedStablyWithinTheirBlocks) {
    std::mt19937 rng(23);
    for (int round = 0; round < 40; ++round) {
        ChannelList list;
        const std::size_t n = 1 + rng() % 300;
        for (std::size_t i = 0; i < n; ++i) {
            ChannelRec ch = rng() % 10 == 0 ? header("H") : Channel("C").Freq(kFreq);
            ch.SerId =
                pad4(toHex(static_cast<std::uint32_t>(rng() % 24)));  // few values: many equal keys
            list.push_back(ch);
        }
        const bool keep = round % 2 == 0;
        const bool descending = round % 4 >= 2;
        const SortOrder order = sortOrder(list, {SortKey::ServiceId, descending, keep});

        SortOrder seen = order;
        std::sort(seen.begin(), seen.end());
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(seen[i], i);

        const auto isHeader = [&](std::size_t i) { return list[i].Freq == "00000000"; };
        const auto sid = [&](std::size_t i) { return std::stoi(list[i].SerId.str(), nullptr, 16); };
        for (std::size_t i = 0; i < n; ++i) {
            if (keep && isHeader(i)) {
                EXPECT_EQ(order[i], i);
            }
            if (i == 0 || (keep && (isHeader(i) || isHeader(i - 1)))) continue;
            const int a = sid(order[i - 1]);
            const int b = sid(order[i]);
            EXPECT_TRUE(descending ? a >= b : a <= b) << round << " at " << i;
            if (a == b) {
                EXPECT_LT(order[i - 1], order[i]) << round << " at " << i;
            }
        }
    }
}

TEST(SortList, MarksAndTheSelectedRowFollowTheirChannels) {
    ChannelList list = {Channel("D").Freq(kFreq), Channel("B").Freq(kFreq), header("H"),
                        Channel("C").Freq(kFreq), Channel("A").Freq(kFreq)};
    const ChannelList before = list;
    const Marks marks = {0, 2, 4};
    const SortOrder order = sortChannels(list, {SortKey::Name, false, false});
    ASSERT_EQ(names(list), "A,B,C,D,H");
    const Marks moved = movedMarks(marks, order);
    ASSERT_EQ(moved.size(), marks.size());
    EXPECT_TRUE(std::is_sorted(moved.begin(), moved.end()));
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const auto it = std::find(list.begin(), list.end(), before[marks[i]]);
        EXPECT_NE(std::find(moved.begin(), moved.end(), std::size_t(it - list.begin())),
                  moved.end());
    }
    for (int row = 1; row <= 5; ++row) {
        const int to = movedRow(row, order);
        ASSERT_GE(to, 1);
        EXPECT_EQ(list[std::size_t(to - 1)], before[std::size_t(row - 1)]) << row;
    }
    EXPECT_EQ(movedRow(6, order), 6);  // the blank row
}

TEST(SortList, KeyNamesOfTheCommandLine) {
    EXPECT_EQ(sortKeyNamed("name"), SortKey::Name);
    EXPECT_EQ(sortKeyNamed("freq"), SortKey::Frequency);
    EXPECT_EQ(sortKeyNamed("sid"), SortKey::ServiceId);
    EXPECT_EQ(sortKeyNamed("sat"), SortKey::Satellite);
    EXPECT_FALSE(sortKeyNamed("Name"));
    EXPECT_FALSE(sortKeyNamed(""));
}

}  // namespace
}  // namespace qel
