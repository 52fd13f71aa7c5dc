// The tables an FTA flash image is read into: records kept as hex text, the antenna
// entries, the settings record, the screen format and the channel name tables.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

inline constexpr std::size_t kNameTableSize = 1501;  // indices 0-1500, 0 unused
inline constexpr std::size_t kAntennaEntries = 8;

struct FtaImageTables {
    // Whole records (header included) as upper-case hex, in reading order. Index 0 is
    // unused and stays empty, so entry i is the i-th record read.
    std::vector<std::string> transponders{std::string()};  // types 0x9000-0x90FF
    std::vector<std::string> pids{std::string()};          // types 0x9500-0x95FF
    std::vector<std::string> others{std::string()};        // every type not handled otherwise

    // Entry i: 20 hex digits of its 10 bytes in record 0x8610 (LNB low and high local
    // oscillators, switch byte, DiSEqC byte), then its 8-character name from 0xE505.
    std::array<std::string, kAntennaEntries> antennas;

    std::string settingsRecord;         // record 0xE501 as hex, header included
    std::string screenFormat = "    ";  // hex of the 0x8602 value bytes, then of 0x8603

    // Entry i: the 10-byte head of a channel entry as 20 hex digits, then its name.
    std::vector<std::string> tvNames = std::vector<std::string>(kNameTableSize);
    std::vector<std::string> radioNames = std::vector<std::string>(kNameTableSize);

    int tvCount = 0;  // the counts the image's 0x8702 and 0x8703 records hold
    int radioCount = 0;
    bool imageTagged = false;  // the image carries this program's own tag record

    // The name of antenna entry i (0-7) as the image holds it, after its 20 hex digits.
    std::string_view antennaName(std::size_t i) const;
};

}  // namespace qel
