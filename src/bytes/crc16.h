// The CRC-16 that protects the FTA loader's commands and data frames and the firmware
// blocks: polynomial 0x1021, initial value 0, most significant bit first, no final XOR
// (the parameters known as CRC-16/XMODEM).
#pragma once

#include <cstdint>
#include <string_view>

namespace qel {

// The CRC after one more byte.
std::uint16_t crc16Step(std::uint16_t crc, std::uint8_t byte);

// The CRC of bytes, starting from 0.
std::uint16_t crc16(std::string_view bytes);

}  // namespace qel
