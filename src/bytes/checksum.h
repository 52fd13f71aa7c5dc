// The one-byte checksum that closes every DVB98 data block and .g98 file.
#pragma once

#include <cstdint>
#include <string_view>

namespace qel {

// 0x55 XOR every byte of data.
std::uint8_t blockChecksum(std::string_view data);

}  // namespace qel
