#include "listedit/compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "bytes/conversions.h"
#include "files/file_commands.h"
#include "support/channel_builder.h"
#include "support/temp_dir.h"
#include "support/workspace_builder.h"

namespace qel {
namespace {

using test::Channel;

// A channel whose three ids come from `n`, with its MatchKey as a reader builds it.
ChannelRec channel(const std::string& name, unsigned n) {
    const std::string id = zeroPadDecimal(n, 4);
    Channel c(name);
    c.Freq("01176600").Srate("275000").NetId("0001").TsId(id).SerId(id);
    return c.withMatchKey();
}

ChannelRec header(const std::string& name) {
    return Channel(name).Freq("00000000");
}

ChannelList numbered(unsigned count) {
    ChannelList list;
    for (unsigned n = 1; n <= count; ++n)
        list.push_back(channel("C" + std::to_string(n), n));
    return list;
}

// "TV 3 C3" for each entry, joined by "; ".
template <class Entries>
std::string rows(const Entries& entries) {
    std::string s;
    for (const auto& e : entries) {
        if (!s.empty()) s += "; ";
        s += std::string(listName(e.list)) + ' ';
        if constexpr (requires { e.row; }) {
            s += std::to_string(e.row);
        } else {
            s += std::to_string(e.firstRow) + '>' + std::to_string(e.secondRow);
        }
        s += ' ' + e.name;
    }
    return s;
}

TEST(CompareLists, EachWayTwoListsDiffer) {
    // What is only in the first, only in the second, changed and moved, between bars.
    struct Case {
        const char* what;
        TvRadioLists first, second;
        std::string expected;
    };
    const ChannelList base = numbered(4);
    auto edited = [&](auto change) {
        ChannelList l = base;
        change(l);
        return TvRadioLists{l, {}};
    };
    ChannelRec renamed = base[1];
    renamed.ChName = "NEW NAME";
    ChannelRec twin = channel("C2 AGAIN", 2);  // the ids of C2
    const TvRadioLists tv{base, {}};
    const Case cases[] = {
        {"equal", tv, tv, "|||"},
        {"added", tv, edited([](ChannelList& l) { l.insert(l.begin() + 1, channel("NEW", 9)); }),
         "|TV 1 NEW||"},
        {"removed", tv, edited([](ChannelList& l) { l.erase(l.begin() + 2); }), "TV 2 C3|||"},
        {"renamed", tv, edited([&](ChannelList& l) { l[1] = renamed; }), "||TV 1>1 C2|"},
        {"moved to the end", tv,
         edited([](ChannelList& l) { std::rotate(l.begin(), l.begin() + 1, l.end()); }),
         "|||TV 0>3 C1"},
        {"header renamed",
         {{header("ASTRA"), base[0], header("HOTBIRD"), base[1]}, {}},
         {{header("ASTRA"), base[0], header("HOT BIRD"), base[1]}, {}},
         "TV 2 HOTBIRD|TV 2 HOT BIRD||"},
        // The blanks around the name are a change of ChName.
        {"headers pair by name, not by their ids",
         {{header("ASTRA"), base[0]}, {}},
         {{base[0], header(" ASTRA ")}, {}},
         "||TV 0>1 ASTRA|TV 0>1 ASTRA"},
        {"equal ids pair in order",
         {{base[0], base[1], twin}, {}},
         {{base[0], base[1], renamed}, {}},
         "||TV 2>2 C2 AGAIN|"},
        {"a second of the same ids left over",
         {{base[1], twin}, {}},
         {{base[1]}, {}},
         "TV 1 C2 AGAIN|||"},
        {"TV and RADIO are compared apart",
         tv,
         {{base[0], base[1], base[2]}, {base[3]}},
         "TV 3 C4|RADIO 0 C4||"},
    };
    for (const Case& c : cases) {
        const ListComparison result = compareLists(c.first, c.second);
        EXPECT_EQ(rows(result.onlyInFirst) + '|' + rows(result.onlyInSecond) + '|' +
                      rows(result.changed) + '|' + rows(result.moved),
                  c.expected)
            << c.what;
        EXPECT_EQ(result.equal(), c.expected == "|||") << c.what;
    }
}

TEST(CompareLists, ChangedNamesEveryDifferingFieldWithBothValuesButNotMatchKey) {
    const ChannelRec a = channel("RAI 1", 1);
    const ChannelRec b = Channel(a).name("RAI UNO").Freq("01180000").AutoPmt("1").withMatchKey();
    ASSERT_NE(a.MatchKey, b.MatchKey);
    const ListComparison result = compareLists({{}, {a}}, {{}, {b}});
    ASSERT_EQ(result.changed.size(), 1u);
    const ChangedChannel& c = result.changed[0];
    EXPECT_EQ(c.list, ListId::Radio);
    EXPECT_EQ(c.name, "RAI 1");
    ASSERT_EQ(c.fields.size(), 3u);
    const std::pair<const char*, std::pair<std::string, std::string>> expected[] = {
        {"ChName", {a.ChName.str(), b.ChName.str()}},
        {"Freq", {"01176600", "01180000"}},
        {"AutoPmt", {"0", "1"}},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(c.fields[i].field, expected[i].first);
        EXPECT_EQ(c.fields[i].first, expected[i].second.first);
        EXPECT_EQ(c.fields[i].second, expected[i].second.second);
    }
    // A MatchKey alone (a list whose keys were never built) is no change.
    ChannelRec keyless = a;
    keyless.MatchKey = emptyChannel().MatchKey;
    EXPECT_TRUE(compareLists({{a}, {}}, {{keyless}, {}}).equal());
}

// The length of a longest increasing run, the slow way.
std::size_t longestIncreasingRun(const std::vector<std::size_t>& v) {
    std::vector<std::size_t> best(v.size(), 1);
    std::size_t longest = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        for (std::size_t k = 0; k < i; ++k) {
            if (v[k] < v[i]) best[i] = std::max(best[i], best[k] + 1);
        }
        longest = std::max(longest, best[i]);
    }
    return longest;
}

TEST(CompareLists, MovedAreTheFewestChannelsThatExplainTheNewOrder) {
    const ChannelList list = numbered(60);
    // One channel inserted anywhere, or one removed, moves nothing.
    for (std::size_t at = 0; at <= list.size(); ++at) {
        ChannelList more = list;
        more.insert(more.begin() + static_cast<std::ptrdiff_t>(at), channel("NEW", 999));
        EXPECT_TRUE(compareLists({list, {}}, {more, {}}).moved.empty()) << at;
        EXPECT_TRUE(compareLists({more, {}}, {list, {}}).moved.empty()) << at;
    }
    // Two neighbours swapped: one of them moved.
    ChannelList swapped = list;
    std::swap(swapped[10], swapped[11]);
    const ListComparison swap = compareLists({list, {}}, {swapped, {}});
    ASSERT_EQ(swap.moved.size(), 1u);
    EXPECT_TRUE(swap.moved[0].firstRow == 10 || swap.moved[0].firstRow == 11);
    // Shuffled: exactly the channels outside a longest increasing run, and the rest keep
    // their order in both lists.
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::size_t> order(list.size());
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end() - round, rng);
        ChannelList shuffled;
        for (std::size_t i : order)
            shuffled.push_back(list[i]);
        const ListComparison result = compareLists({list, {}}, {shuffled, {}});
        std::vector<std::size_t> places(list.size());
        for (std::size_t j = 0; j < order.size(); ++j)
            places[order[j]] = j;
        EXPECT_EQ(result.moved.size(), list.size() - longestIncreasingRun(places)) << round;
        std::vector<std::size_t> kept;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const bool moved = std::any_of(result.moved.begin(), result.moved.end(),
                                           [i](const MovedChannel& m) { return m.firstRow == i; });
            if (!moved) kept.push_back(places[i]);
        }
        EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end())) << round;
        for (const MovedChannel& m : result.moved)
            EXPECT_EQ(m.secondRow, places[m.firstRow]);
    }
}

TEST(CompareLists, TakeOverGivesTheSecondsValuesWithItsKeyRebuilt) {
    const ChannelList first = numbered(5);
    ChannelList second = first;
    second[1] = Channel(second[1]).name("TWO").APid("0100");  // MatchKey left stale
    second[3] = Channel(second[3]).Freq("01200000").Parental("1");
    second.push_back(channel("EXTRA", 77));
    const TvRadioLists theirs{{}, second};
    const ListComparison before = compareLists({{}, first}, theirs);
    ASSERT_EQ(before.changed.size(), 2u);

    ChannelList tv;
    ChannelList radio = first;
    takeOverChanges(tv, radio, theirs, std::span(before.changed).first(1));
    EXPECT_EQ(radio[1].ChName.view(), second[1].ChName.view());
    EXPECT_EQ(radio[1].APid, "0100");
    EXPECT_EQ(radio[1].MatchKey, buildMatchKey(radio[1]));
    EXPECT_NE(radio[1].MatchKey, second[1].MatchKey);
    EXPECT_EQ(radio[3], first[3]);  // not chosen
    const ListComparison after = compareLists({{}, radio}, theirs);
    EXPECT_EQ(rows(after.changed), "RADIO 3>3 C4");
    EXPECT_EQ(rows(after.onlyInSecond), "RADIO 5 EXTRA");

    // Rows no longer there are passed over.
    ChangedChannel gone = before.changed[1];
    gone.firstRow = 40;
    takeOverChanges(tv, radio, theirs, std::span(&gone, 1));
    EXPECT_EQ(radio[3], first[3]);

    const ChannelList records = recordsOf(theirs, after.onlyInSecond);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], second[5]);
}

// "C2: ChName APid; C4: Freq" for the changed channels.
std::string changedFields(const ListComparison& c) {
    std::string s;
    for (const ChangedChannel& e : c.changed) {
        if (!s.empty()) s += "; ";
        s += e.name + ':';
        for (const FieldDifference& f : e.fields)
            s += ' ' + std::string(f.field);
    }
    return s;
}

// A list with what an image keeps in its own way or not at all, made into an image and read
// back.
struct MadeIntoAnImage {
    ChannelList tv;
    ChannelList radio{channel("RADIO 1", 100)};
    TvRadioLists image;

    MadeIntoAnImage() {
        tv = numbered(6);
        // Ids of their own, as received channels have: the image numbers blank ones from 1.
        for (ChannelRec& ch : tv)
            ch = Channel(ch).NetId("013E").withMatchKey();
        tv.insert(tv.begin(),
                  Channel("  ASTRA 19.2E").Freq("00000000").Sat("192").Fec("3").TsId("0099"));
        tv[2] = Channel(tv[2]).Freq("01220000").Pol("3").LoHi("0").TrId("0100").withMatchKey();
        tv[3] =
            Channel(tv[3]).VPid("00A0").APid("0050").PmtPid("0064").Parental("1").withMatchKey();
        tv[4] =
            Channel(tv[4]).Ant("0010").Sat("130").AvFlags("C0").TuneFlags("0103").withMatchKey();
        tv[5] = Channel(tv[5]).Freq("NO TS  ").withMatchKey();
        // A header with blank ids: the image numbers the transponder it writes for it.
        tv.push_back(Channel("HOTBIRD 13E").Freq("00000000"));
        test::TempDir dir;
        Workspace ws = test::loadedWorkspace(tv, radio);
        auto converted = convertToBin(ws, dir.file("list.dvb"));
        EXPECT_TRUE(converted) << static_cast<int>(converted.error());
        auto read = readChannelFile(converted ? *converted : std::string());
        EXPECT_TRUE(read && read->fileType == FileKind::BIN);
        if (read) image = read->lists;
    }
};

TEST(CompareLists, AnImageAgainstTheListItWasMadeFrom) {
    const MadeIntoAnImage made;
    ASSERT_EQ(made.image.tv.size(), made.tv.size());

    // Unedited: equal either way round, though every field compared gives differences.
    EXPECT_TRUE(
        compareLists({made.tv, made.radio}, made.image, FileKind::DVB, FileKind::BIN).equal());
    EXPECT_TRUE(
        compareLists(made.image, {made.tv, made.radio}, FileKind::BIN, FileKind::DVB).equal());
    EXPECT_FALSE(compareLists({made.tv, made.radio}, made.image).changed.empty());

    // Edited: a channel renamed, one removed, one added, a PID and a frequency changed, and
    // fields the image does not hold changed, which leave no trace.
    ChannelList edited = made.tv;
    edited[2].ChName = "RENAMED";
    edited[3].APid = "0051";
    edited[4].Freq = "01250000";
    edited[4].PmtPid = "0200";
    edited[1].Parental = "1";
    edited[1].AutoPid = "1";
    edited.erase(edited.begin() + 6);
    edited.push_back(channel("LATER", 50));
    const ListComparison result =
        compareLists({edited, made.radio}, made.image, FileKind::DVB, FileKind::BIN);
    EXPECT_EQ(rows(result.onlyInFirst), "TV 7 LATER");
    EXPECT_EQ(rows(result.onlyInSecond), "TV 6 C6");
    EXPECT_EQ(rows(result.changed), "TV 2>2 RENAMED; TV 3>3 C3; TV 4>4 C4");
    EXPECT_EQ(changedFields(result), "RENAMED: ChName; C3: APid; C4: Freq");
    EXPECT_TRUE(result.moved.empty());
    // The values named are the records' own.
    ASSERT_EQ(result.changed.size(), 3u);
    EXPECT_EQ(result.changed[2].fields[0].first, "01250000");
    EXPECT_EQ(result.changed[2].fields[0].second, "01176600");

    // Taking the image's values over keeps what the image does not hold.
    ChannelList taken = edited;
    ChannelList radio = made.radio;
    takeOverChanges(taken, radio, made.image, result.changed);
    EXPECT_EQ(taken[3].APid, "0050");
    EXPECT_EQ(taken[4].Freq, "01176600");
    EXPECT_EQ(taken[4].PmtPid, "0200");
    EXPECT_EQ(taken[4].AvFlags, "C0");
    EXPECT_EQ(taken[4].MatchKey, buildMatchKey(taken[4]));
    EXPECT_TRUE(
        compareLists({taken, radio}, made.image, FileKind::DVB, FileKind::BIN).changed.empty());
}

TEST(CompareLists, EveryFieldCountsUnlessExactlyOneSideIsAnImage) {
    const ChannelList list = numbered(3);
    ChannelList other = list;
    other[1].PmtPid = "0200";
    other[1].LoHi = "1";
    other[1].ChName = " C2";
    const struct {
        FileKind first, second;
        std::string changed;
    } cases[] = {
        {FileKind::DVB, FileKind::DVB, "C2: ChName LoHi PmtPid"},
        {FileKind::BIN, FileKind::BIN, "C2: ChName LoHi PmtPid"},
        {FileKind::None, FileKind::None, "C2: ChName LoHi PmtPid"},
        {FileKind::DVB, FileKind::BIN, ""},
        {FileKind::BIN, FileKind::DVB, ""},
    };
    for (const auto& c : cases) {
        const ListComparison result = compareLists({list, {}}, {other, {}}, c.first, c.second);
        EXPECT_EQ(changedFields(result), c.changed)
            << static_cast<int>(c.first) << ' ' << static_cast<int>(c.second);
    }
}

}  // namespace
}  // namespace qel
