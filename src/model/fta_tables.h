// The tables an FTA flash image is read into: records kept as hex text, the antenna
// entries, the settings record, the screen format and the channel name tables.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/field.h"
#include "model/antenna_entry.h"

namespace qel {

inline constexpr std::size_t kNameTableSize = 1500;
inline constexpr std::size_t kAntennaEntries = 8;

// The settings records an image holds, each kind once, and the place of one of the other
// records (a record of a type the tables do not read).
enum class SettingsPart {
    Other,
    AntennaNames,
    AntennaOscillators,
    ScreenFormat,
    PictureFormat,
    SettingsRecord
};
inline constexpr std::size_t kSettingsParts = 6;
struct SettingsPlace {
    SettingsPart part = SettingsPart::Other;
    std::size_t other = 0;  // for SettingsPart::Other: its index in `others`
    friend bool operator==(const SettingsPlace&, const SettingsPlace&) = default;
};

struct FtaImageTables {
    // Whole records (header included) as upper-case hex, in reading order.
    std::vector<std::string> transponders;  // types 0x9000-0x90FF
    std::vector<std::string> pids;          // types 0x9500-0x95FF
    std::vector<std::string> others;        // every type not handled otherwise

    // Entry i: 20 hex digits of its 10 bytes in record 0x8610 (LNB low and high local
    // oscillators, switch byte, DiSEqC byte), then its 8-character name from 0xE505.
    std::array<std::string, kAntennaEntries> antennas;

    std::string settingsRecord;         // record 0xE501 as hex, header included
    std::string screenFormat = "    ";  // hex of the 0x8602 value bytes, then of 0x8603

    // Entry i: the 10-byte head of channel entry i (from 0) as 20 hex digits, then its name.
    std::vector<std::string> tvNames = std::vector<std::string>(kNameTableSize);
    std::vector<std::string> radioNames = std::vector<std::string>(kNameTableSize);

    // The settings records in the order the image held them (the first of each kind), so
    // that an image is written back in its own order; empty for tables no image filled.
    std::vector<SettingsPlace> settingsOrder;

    // The image the tables were read from, and the image the writer made of it then: while
    // the lists and tables still make that image, the file is written as it was.
    std::string sourceImage;
    std::string sourceRewritten;

    int tvCount = 0;  // the counts the image's 0x8702 and 0x8703 records hold
    int radioCount = 0;
    bool imageTagged = false;  // the image carries this program's own tag record

    // The name of antenna entry i (0-7) as the image holds it, after its 20 hex digits.
    std::string_view antennaName(std::size_t i) const;
};

// The screen format text: the hex of the 0x8602 value word, then of the 0x8603 one. A
// "1" as the second digit of each means 4:3 and full picture.
namespace screen_format {
inline constexpr Field kScreenWord{0, 4};
inline constexpr Field kPictureWord{4, 4};
inline constexpr Field kIs4_3Digit{1, 1};
inline constexpr Field kFullDigit{5, 1};
}  // namespace screen_format

// The settings record text (hex, header included): the receiver's secret code word.
namespace settings_record {
inline constexpr Field kSecretCode{32, 4};
}  // namespace settings_record

}  // namespace qel
