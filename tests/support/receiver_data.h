// What a simulated receiver holds in the serial tests: channel images of any size and a
// settings block, built from the raw record builder.
#pragma once

#include <string>

#include "bytes/checksum.h"
#include "support/channel_builder.h"

namespace qel::test {

// `count` TV channels, each with its own name and frequency, in records that the program's
// reader and writer give back unchanged.
inline std::string channelImage(int count) {
    constexpr unsigned kFecCodes[] = {1, 2, 3, 4, 6};
    std::string image;
    image.reserve(static_cast<std::size_t>(count) * 64);
    for (int i = 0; i < count; ++i) {
        image += DvbRecord()
                     .freqMHz(10700 + static_cast<unsigned>(i % 2000))
                     .fecCode(kFecCodes[i % 5])
                     .SerId(static_cast<unsigned>(i))
                     .name("CH " + std::to_string(i))
                     .bytes();
    }
    return image;
}

// 1264 bytes starting with "DVSO", every byte value in it; another `step` gives other
// settings.
inline std::string settingsBlock(int step = 7, int offset = 3) {
    std::string block = "DVSO";
    for (int i = 0; block.size() < 1264; ++i)
        block += static_cast<char>((i * step + offset) & 0xFF);
    return block;
}

// A settings block as a .g98 file holds it: the block, then its checksum.
inline std::string g98Of(const std::string& block) {
    return block + static_cast<char>(blockChecksum(block));
}

}  // namespace qel::test
