// The list check: what in the TV and RADIO lists the receiver cannot take or would show
// wrongly, found before the lists are saved or sent. Each finding names its list, row and
// field and carries a message id with its arguments; its text exists in English and
// Italian here, so that the window and qel-tool say the same.
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/channel_lists.h"
#include "model/font_type.h"
#include "model/fta_tables.h"

namespace qel {

enum class FindingLevel { Error, Warning };

enum class FindingKind { Duplicate, Range, Capacity, Structure, Name, Transponder };

enum class FindingMessage {
    SameAsRow,              // same service and PIDs as row 1
    OtherPidsThanRow,       // same service id and transponder as row 1, other PIDs
    PidAboveLimit,          // 1: the PID's digits
    PidNotHex,              // 1: the field's text
    FrequencyOutsideBands,  // 1: MHz
    FrequencyOutsideLnbs,   // 1: MHz, 2: the LNB bands
    NoTransponder,          // an image channel without its transponder
    SymbolRateOutside,      // 1: ksym/s
    FecOutside,             // 1: the code
    EmptyName,              //
    CharactersNotShown,     // 1: the characters
    TooManyDvb98Channels,   // 1: channels in both lists, 2: the limit
    TooManyImageChannels,   // 1: channels in the list, 2: the limit
    TooManyTransponders,    // 1: records needed, 2: the limit
    ImageFull,              //
    HeaderWithoutChannels,  //
    ChannelsBeforeHeader,   // 1: how many
    // Against a satellites.xml; 1: the satellite ("19.2E Astra 1KR..."), then the channel's
    // values, last the nearest transponder ("11494 MHz H 22000 ksym/s").
    SatNoFrequency,      // 2: MHz, 3: the window's +/- MHz, 4: nearest
    SatNoPolarization,   // 2: MHz, 3: H or V, 4: nearest
    SatOtherSymbolRate,  // 2: MHz, 3: H or V, 4: ksym/s, 5: nearest
};

struct Finding {
    FindingLevel level = FindingLevel::Warning;
    ListId list = ListId::TV;
    int row = 1;        // as the list shows it, from 1
    std::string field;  // the record field, empty for the whole channel
    FindingKind kind = FindingKind::Range;
    FindingMessage message = FindingMessage::EmptyName;
    std::vector<std::string> args;
    std::string name;  // the channel's name, trimmed
    friend bool operator==(const Finding&, const Finding&) = default;
};

// Which of the 256 character codes a font shows.
using ShownCharacters = std::bitset<256>;

// The characters the receiver's own font is taken to show when no font is loaded: the
// printable ASCII and Latin-1 characters.
ShownCharacters builtInCharacters();

// The characters of a loaded font the channel names are drawn with: the glyphs of the
// system font's first set that light a pixel, and the blank. Nothing for the teletext font,
// which names are not drawn with, or bytes shorter than the type takes.
std::optional<ShownCharacters> fontCharacters(std::string_view font, FontType type);

// Where the lists go, and what else is known about the receiver.
struct CheckInput {
    const ChannelList* tv = nullptr;
    const ChannelList* radio = nullptr;
    bool ftaImage = false;                        // an FTA image, else DVB98 records
    const FtaImageTables* imageTables = nullptr;  // the image's tables (the defaults without)
    std::string_view settingsImage;       // the DVB98 settings image when loaded, else empty
    std::optional<ShownCharacters> font;  // the loaded font's characters
};

// Every finding: capacity first, then each list's channels in order (TV first), each
// channel's findings in the order of its fields. Linear in the channels.
std::vector<Finding> checkLists(const CheckInput& input);

struct FindingCounts {
    std::size_t errors = 0;
    std::size_t warnings = 0;
};
FindingCounts countFindings(const std::vector<Finding>& findings);

enum class TextLanguage { English, Italian };

// The finding's text with its arguments in place; 8-bit characters (Latin-1) like the names.
std::string findingText(const Finding& finding, TextLanguage language);
// "error"/"warning" and its Italian.
std::string_view levelText(FindingLevel level, TextLanguage language);
// The names qel-tool's JSON gives: "error"/"warning", "duplicate"/"range"/...
std::string_view levelName(FindingLevel level);
std::string_view kindName(FindingKind kind);

// The bands a frequency is received in, in MHz, both ends included.
struct Band {
    int lowMhz = 0;
    int highMhz = 0;
    friend bool operator==(const Band&, const Band&) = default;
};
// The bands the LNB oscillators of a DVB98 settings image receive (an oscillator below the
// band it converts, as a Ku LNB's; above it, as a C band LNB's), merged where they overlap;
// empty when the image names no usable oscillator.
std::vector<Band> lnbBands(std::string_view settingsImage);

// "Remove duplicates": of each group of channels with equal MatchKey (satellite headers
// aside) the first stays and the others go. Gives, for each former row (0-based), the row of
// the channel that now stands for it: its own, or its group's first.
std::vector<std::size_t> removeDuplicates(ChannelList& list);

}  // namespace qel
