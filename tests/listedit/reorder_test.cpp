#include "listedit/reorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;
using test::names;

// A channel (tuned, so not a header) with the ids "NNNN/TTTT/SSSS", or none.
ChannelRec ch(const char* name, const char* ids = "0000/0000/0000") {
    const std::string i = ids;
    return Channel(name)
        .Freq("01176600")
        .NetId(i.substr(0, 4))
        .TsId(i.substr(5, 4))
        .SerId(i.substr(10, 4));
}

ChannelRec header(const char* name) {
    return Channel(name).Freq("00000000");
}

std::string reordered(ChannelList list, const SortOrder& order) {
    EXPECT_EQ(order.size(), list.size());
    applyOrder(list, order);
    return names(list);
}

constexpr ReorderOptions kIdsEnd{ReorderMatch::IdsThenName, ReorderRest::End};
constexpr ReorderOptions kNameEnd{ReorderMatch::NameOnly, ReorderRest::End};
constexpr ReorderOptions kIdsKeep{ReorderMatch::IdsThenName, ReorderRest::Keep};

TEST(ReorderLike, MatchingAndPlacingRules) {
    struct Case {
        const char* what;
        ChannelList list;
        ChannelList reference;
        ReorderOptions options;
        const char* order;
        ReorderReport report;  // byIds, byName, unmatched, headersMatched, headers
    };
    const ChannelList renamed = {ch("News", "0001/0001/0001"), ch("Sport", "0002/0002/0002"),
                                 ch("Zed")};
    const ChannelList renamedReference = {ch("zed"), ch("Sport", "0001/0001/0001"),
                                          ch("News", "0002/0002/0002")};
    const ChannelList fiveChannels = {ch("a"), ch("x"), ch("b"), ch("y"), ch("c")};
    const ChannelList threeOfThem = {ch("c"), ch("b"), ch("a")};
    const Case cases[] = {
        {"the ids decide before the names",
         renamed,
         renamedReference,
         kIdsEnd,
         "Zed,News,Sport",
         {2, 1, 0, 0, 0}},
        {"by name the ids play no part",
         renamed,
         renamedReference,
         kNameEnd,
         "Zed,Sport,News",
         {0, 3, 0, 0, 0}},
        // Matched one channel after the other, "Rai" would take r0 (whose ids are Zed's).
        {"every id pairing before any name",
         {ch("Rai"), ch("Zed", "0005/0005/0005")},
         {ch("Rai", "0005/0005/0005"), ch("rai")},
         kIdsEnd,
         "Zed,Rai",
         {1, 1, 0, 0, 0}},
        {"an id of 0 or blank counts as none",
         {ch("A", "0000/0007/0007"), ch("C", "0007/0000/0007"), ch("D", "0007/0007/0000"),
          ch("B", "0001/0001/0001"), ch("E", "    /0007/0007")},
         {ch("Q", "0000/0007/0007"), ch("R", "0007/0000/0007"), ch("S", "0007/0007/0000"),
          ch("T", "    /0007/0007"), ch("Bee", "0001/0001/0001"), ch("e"), ch("d"), ch("c"),
          ch("a")},
         kIdsEnd,
         "B,E,D,C,A",
         {1, 4, 0, 0, 0}},
        {"names without regard to case and outer blanks; one partner each",
         {ch("Rai 1"), ch(" rai 1  "), ch("RAI 1"), ch("Zed")},
         {ch("zed"), ch("RAI 1"), ch("rai 1 ")},
         kIdsEnd,
         "Zed,Rai 1,rai 1,RAI 1",
         {0, 3, 1, 0, 0}},
        {"equal names pair in the order of both lists",
         {ch("Zed"), ch("rai"), ch("Rai")},
         {ch("RAI"), ch("zed"), ch("RAI")},
         kIdsEnd,
         "rai,Zed,Rai",
         {0, 3, 0, 0, 0}},
        {"a blank name matches nothing",
         {ch("   "), ch("a")},
         {ch(""), ch("a")},
         kIdsEnd,
         "a,",
         {0, 1, 1, 0, 0}},
        {"the unmatched go after the matched, in their own order",
         fiveChannels,
         threeOfThem,
         kIdsEnd,
         "c,b,a,x,y",
         {0, 3, 2, 0, 0}},
        {"or keep their rows", fiveChannels, threeOfThem, kIdsKeep, "c,x,b,y,a", {0, 3, 2, 0, 0}},
        {"headers follow the reference's headers, channels go under theirs",
         {header("Hotbird"), ch("a"), ch("b"), header("Astra"), ch("c")},
         {header("ASTRA"), ch("c"), ch("a"), header("hotbird"), ch("b")},
         kIdsEnd,
         "Astra,c,a,Hotbird,b",
         {0, 3, 0, 2, 2}},
        {"a header never matches a channel of its name",
         {ch("Astra"), header("Zed"), ch("q")},
         {ch("q"), header("Astra"), ch("Zed")},
         kIdsEnd,
         "q,Astra,Zed",
         {0, 1, 1, 0, 1}},
        {"an unmatched header stays before the unmatched channels after it",
         {header("Hot"), ch("a"), header("New"), ch("x"), ch("y")},
         {ch("a"), header("hot")},
         kIdsEnd,
         "a,Hot,New,x,y",
         {0, 1, 2, 1, 2}},
        {"an unmatched header keeps its row",
         {header("Hot"), ch("a"), header("New"), ch("b")},
         {ch("b"), ch("a"), header("Hot")},
         kIdsKeep,
         "b,a,New,Hot",
         {0, 2, 0, 1, 2}},
        {"nothing to follow", fiveChannels, {}, kIdsEnd, "a,x,b,y,c", {0, 0, 5, 0, 0}},
        {"an empty list", {}, threeOfThem, kIdsKeep, "", {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Reordering r = reorderLike(c.list, c.reference, c.options);
        EXPECT_EQ(reordered(c.list, r.order), c.order) << c.what;
        EXPECT_EQ(r.report, c.report) << c.what;
    }
}

// A name of a names file stands for a header or a channel, once.
TEST(ReorderLike, NamesStandForHeadersOrChannels) {
    const ChannelList list = {ch("c"), header("Astra"), ch("ASTRA"), ch("x"), ch("b")};
    const std::vector<std::string> names = {"astra", "C", "Astra", "b"};
    Reordering r = reorderByNames(list, names, ReorderRest::End);
    EXPECT_EQ(reordered(list, r.order), "Astra,c,ASTRA,b,x");
    EXPECT_EQ(r.report, (ReorderReport{0, 3, 1, 1, 1}));
    r = reorderByNames(list, names, ReorderRest::Keep);
    EXPECT_EQ(reordered(list, r.order), "Astra,c,ASTRA,x,b");
    // Ids never count for names, even when the list has them.
    r = reorderByNames({ch("b", "0001/0001/0001"), ch("a", "0001/0001/0001")}, {"a", "b"},
                       ReorderRest::End);
    EXPECT_EQ(r.order, (SortOrder{1, 0}));
    EXPECT_EQ(r.report, (ReorderReport{0, 2, 0, 0, 0}));
}

// The marks and the selected row go with their channels, as after a sort.
TEST(ReorderLike, MarksAndTheSelectedRowFollow) {
    const ChannelList list = {ch("a"), ch("b"), ch("c"), ch("d")};
    const Reordering r = reorderLike(list, {ch("d"), ch("b")}, kIdsKeep);
    ASSERT_EQ(r.order, (SortOrder{0, 3, 2, 1}));
    EXPECT_EQ(movedMarks({1, 2}, r.order), (Marks{2, 3}));
    EXPECT_EQ(movedRow(4, r.order), 2);
    EXPECT_EQ(movedRow(1, r.order), 1);
}

}  // namespace
}  // namespace qel
