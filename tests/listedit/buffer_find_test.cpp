#include <gtest/gtest.h>

#include "bytes/conversions.h"
#include "listedit/buffer_ops.h"
#include "listedit/find.h"
#include "listedit/list_view.h"
#include "support/channel_builder.h"

namespace qel {
namespace {

using test::Channel;
using test::names;

TEST(OrderBuffer, ThreeKeysStable) {
    ChannelList byName{Channel("b"), Channel("A"), Channel("a"), Channel("B")};
    orderBuffer(byName, BufferOrder::ByName);
    EXPECT_EQ(names(byName), "A,B,a,b");

    // Names equal in their first ten characters keep their order under every sort.
    for (BufferOrder order :
         {BufferOrder::ByName, BufferOrder::ByFrequency, BufferOrder::Motorized}) {
        ChannelList ties{Channel("SAMENAME10 second"), Channel("SAMENAME10 first"), Channel(" Z")};
        orderBuffer(ties, order);
        EXPECT_EQ(names(ties), "Z,SAMENAME10 second,SAMENAME10 first");
    }

    ChannelList byFreq{Channel("B").Freq("01200000"), Channel("A").Freq("01200000"),
                       Channel("Z").Freq("00950000")};
    orderBuffer(byFreq, BufferOrder::ByFrequency);
    EXPECT_EQ(names(byFreq), "Z,A,B");

    ChannelList motor{Channel("1").LoHi("1").Pol("0"), Channel("2").LoHi("0").Pol("1"),
                      Channel("3").LoHi("0").Pol("0"), Channel("4").LoHi("1").Pol("1")};
    orderBuffer(motor, BufferOrder::Motorized);
    EXPECT_EQ(names(motor), "3,2,1,4");

    ChannelList one{Channel("X")};
    orderBuffer(one, BufferOrder::ByName);
    EXPECT_EQ(names(one), "X");
}

TEST(DeleteBufferEntries, SelectsTheRowAboveTheFirstDeleted) {
    ChannelList buffer{Channel("A"), Channel("B"), Channel("C"), Channel("D")};
    EXPECT_EQ(deleteBufferEntries(buffer, {1, 3}), 1);
    EXPECT_EQ(names(buffer), "A,C");
    ChannelList b2{Channel("A"), Channel("B"), Channel("C"), Channel("D")};
    EXPECT_EQ(deleteBufferEntries(b2, {2}), 2);
    EXPECT_EQ(deleteBufferEntries(b2, {0, 1, 2}), 1);
    EXPECT_TRUE(b2.empty());
}

std::vector<std::string> rowTexts(std::initializer_list<const char*> names) {
    std::vector<std::string> rows;
    std::size_t i = 0;
    for (const char* n : names)
        rows.push_back(rowText(i++, Channel(n)));
    return rows;
}

TEST(FindMatch, FromStartNeverOnTheSelectedRowNoWrap) {
    const auto rows = rowTexts({"RAI 1", "rai 2", "Canale 5", "RAI 3"});
    struct Case {
        const char* text;
        int start, selected;
        std::optional<int> match;
        int lastSearched;
    };
    const Case cases[] = {
        {"rai", 1, 1, 2, 2},  // find starts at row 1 but skips the selected row
        {"RAI", 1, 3, 1, 1},    {"rai", 2, 2, 4, 4},  // find next from the selected row
        {"rai", 4, 4, {}, 4},                         // the last match selected: not found, no wrap
        {"canale", 1, 1, 3, 3}, {"0002", 1, 1, 2, 2},  // row numbers are part of the row text
        {"", 1, 1, 2, 2},  // an empty text matches the first row but the selected
        {"xyz", 1, 2, {}, 4},
    };
    for (const auto& c : cases) {
        const FindOutcome out = findMatch(rows, c.text, c.start, c.selected);
        EXPECT_EQ(out.match, c.match) << c.text << " from " << c.start;
        EXPECT_EQ(out.lastSearched, c.lastSearched) << c.text << " from " << c.start;
    }
    EXPECT_EQ(upperLatin1("\xE8t\xE9"), "\xC8T\xC9");
}

}  // namespace
}  // namespace qel
