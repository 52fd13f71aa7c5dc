#include "serial/checksum.h"

#include <gtest/gtest.h>

#include <string>

namespace qel {
namespace {

TEST(CheckSum, XorOfEveryByteStartingFrom55) {
    EXPECT_EQ(CheckSum(""), 0x55);
    EXPECT_EQ(CheckSum("\x55"), 0x00);
    EXPECT_EQ(CheckSum(std::string("\x00", 1)), 0x55);
    EXPECT_EQ(CheckSum("\x01\x02\x04"), 0x55 ^ 0x07);
    // Order does not matter, and a byte given twice cancels out.
    EXPECT_EQ(CheckSum("ABCD"), CheckSum("DCBA"));
    EXPECT_EQ(CheckSum("ABBA"), 0x55);
}

}  // namespace
}  // namespace qel
