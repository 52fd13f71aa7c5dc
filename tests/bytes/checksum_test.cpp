#include "bytes/checksum.h"

#include <gtest/gtest.h>

#include <string>

namespace qel {
namespace {

TEST(BlockChecksum, XorOfEveryByteStartingFrom55) {
    EXPECT_EQ(blockChecksum(""), 0x55);
    EXPECT_EQ(blockChecksum("\x55"), 0x00);
    EXPECT_EQ(blockChecksum(std::string("\x00", 1)), 0x55);
    EXPECT_EQ(blockChecksum("\x01\x02\x04"), 0x55 ^ 0x07);
    // Order does not matter, and a byte given twice cancels out.
    EXPECT_EQ(blockChecksum("ABCD"), blockChecksum("DCBA"));
    EXPECT_EQ(blockChecksum("ABBA"), 0x55);
}

}  // namespace
}  // namespace qel
