#include "bytes/conversions.h"

#include <gtest/gtest.h>

#include <string>

namespace qel {
namespace {

TEST(Pad4, FillsOrKeepsTheLastFour) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "0000"}, {"A", "000A"}, {"1FFF", "1FFF"}, {"12345", "2345"}, {"11170", "1170"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(pad4(in), out) << in;
}

TEST(HexToDec, ValidInvalidAndWidth) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"", 0},          {"0", 0},
        {"1a", 26},       {"1A", 26},
        {"FFFF", 65535},  {"1FFF", 8191},
        {"G1", 0},        {"12 3", 0},
        {" 1A ", 26},     {"7FFFFFFF", 0x7FFFFFFF},
        {"FFFFFFFF", -1}, {"123456789", 0},
        {"-1", 0},        {std::string("\0\0", 2), 0},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(hexToDec(in), out) << in;
}

TEST(DecimalValue, LeadingNumberOnly) {
    const std::pair<std::string, std::int64_t> cases[] = {
        {"", 0}, {"NO TS  ", 0}, {"011750", 11750}, {"  42x", 42}, {"-3", -3}, {"+3", 3}, {"7A", 7},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(decimalValue(in), out) << in;
}

TEST(WordChars, ClampAndRoundTripEveryByte) {
    EXPECT_EQ(wordToChars(70000), std::string("\xFF\xFF", 2));
    EXPECT_EQ(wordToChars(65536), std::string("\xFF\xFF", 2));
    EXPECT_EQ(wordToChars(-1), std::string("\0\0", 2));
    EXPECT_EQ(wordToChars(0x1234), "\x12\x34");
    EXPECT_EQ(charsToWord("A"), 0x4141);
    EXPECT_EQ(charsToWord(""), 0);
    for (int hi = 0; hi < 256; hi += 17) {
        for (int lo = 0; lo < 256; ++lo) {
            const int w = hi * 256 + lo;
            ASSERT_EQ(charsToWord(wordToChars(w)), w);
        }
    }
}

TEST(BytesToHex, TwoDigitsPerByteAndOddLastByteTwice) {
    EXPECT_EQ(bytesToHex(""), "");
    EXPECT_EQ(bytesToHex(std::string("\x01\x02\x03", 3)), "01020303");
    EXPECT_EQ(bytesToHex(std::string("\x00\xFF", 2)), "00FF");
    EXPECT_EQ(bytesToHex("DVSO"), "4456534F");
}

TEST(HexToBytes, EveryByteValueRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string hex = bytesToHex(all);
    ASSERT_EQ(hex.size(), 512u);
    EXPECT_EQ(hex.substr(0, 8), "00010203");
    EXPECT_EQ(hex.substr(504), "FCFDFEFF");
    EXPECT_EQ(hexToBytes(hex), all);
}

TEST(HexToBytes, InvalidGroupsAndShortTail) {
    EXPECT_EQ(hexToBytes("12G4ABCD"), std::string("\0\0\xAB\xCD", 4));
    EXPECT_EQ(hexToBytes("abcd"), "\xAB\xCD");
    EXPECT_EQ(hexToBytes("1234AB"), std::string("\x12\x34\x00\xAB", 4));
    EXPECT_EQ(hexToBytes(""), "");
}

TEST(Binary, ToBinaryFromBinaryAndBitsToBytes) {
    EXPECT_EQ(toBinary(5, 4), "0101");
    EXPECT_EQ(toBinary(0, 10), "0000000000");
    EXPECT_EQ(toBinary(1023, 10), "1111111111");
    EXPECT_EQ(toBinary(1024, 10), "0000000000");
    EXPECT_EQ(toBinary(0xFFFF, 16), "1111111111111111");
    for (int v = 0; v < 1024; ++v)
        ASSERT_EQ(fromBinary(toBinary(v, 10)), v);
    EXPECT_EQ(fromBinary("12"), 4);  // each digit weighted, not only 0 and 1

    EXPECT_EQ(bitsToBytes("0100000101000010"), "AB");
    EXPECT_EQ(bitsToBytes(""), "");
    EXPECT_FALSE(bitsToBytes("0101").has_value());
    EXPECT_FALSE(bitsToBytes("010000010").has_value());
}

TEST(KeyFilters, EveryKeyCode) {
    for (int key = 0; key < 256; ++key) {
        const char c = static_cast<char>(key);
        const bool dec = c >= '0' && c <= '9';
        const bool upperHex = dec || (c >= 'A' && c <= 'F');
        const bool lowerHex = c >= 'a' && c <= 'f';
        EXPECT_EQ(decimalKeyFilter(key), dec ? key : 0) << key;
        EXPECT_EQ(hexKeyFilter(key), upperHex ? key : (lowerHex ? key - 32 : 0)) << key;
    }
    EXPECT_EQ(hexKeyFilter('a'), 'A');
    EXPECT_EQ(hexKeyFilter('g'), 0);
}

TEST(TrimBlanks, OnlyBlanks) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("    "), "");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace qel
