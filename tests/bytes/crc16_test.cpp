#include "bytes/crc16.h"

#include <gtest/gtest.h>

#include <string>

namespace qel {
namespace {

TEST(Crc16, KnownValues) {
    EXPECT_EQ(crc16(""), 0x0000);
    EXPECT_EQ(crc16("123456789"), 0x31C3);
    // The body of the loader's second block command.
    EXPECT_EQ(crc16(std::string("\x0A\x00\x04\x00\x00", 5)), 0x9A6E);
}

TEST(Crc16, StepsCarryOnWhereTheyLeftOff) {
    const std::string text = "123456789";
    std::uint16_t crc = crc16(text.substr(0, 4));
    for (char c : text.substr(4))
        crc = crc16Step(crc, static_cast<std::uint8_t>(c));
    EXPECT_EQ(crc, 0x31C3);
}

}  // namespace
}  // namespace qel
