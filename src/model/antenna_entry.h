// An FTA antenna entry as the image tables hold it: its fields, and its values as the
// channel data editor and the FTA settings window show them.
#pragma once

#include <string>
#include <string_view>

#include "bytes/field.h"

namespace qel {

// An antenna entry: the hex digits of its 10 oscillator-record bytes, then its name.
namespace antenna_entry {
inline constexpr Field kLowUpper{0, 4};  // the upper words of the oscillators: written 0
inline constexpr Field kLnbLow{4, 4};    // the low-band oscillator, MHz
inline constexpr Field kHighUpper{8, 4};
inline constexpr Field kLnbHigh{12, 4};      // the high-band oscillator, MHz
inline constexpr Field kSettingWord{16, 4};  // the setting digit, the switch digit, DiSEqC
inline constexpr Field kSettingDigit{16, 1};
// Bit 2: the 0/12 V switch inactive; bit 1: the LOF chosen by frequency; bit 0: 0 V.
inline constexpr Field kSwitchDigit{17, 1};
inline constexpr Field kDiseqc{18, 2};
inline constexpr Field kHex{0, 20};
inline constexpr Field kName{20};
inline constexpr std::size_t kNameSize = 8;
}  // namespace antenna_entry

struct AntennaValues {
    std::string name;      // without the trailing zero bytes and blanks
    int lnbLow = 0;        // MHz
    int lnbHigh = 0;       // MHz
    int switchOutput = 2;  // the 0/12 V switch: 0 inactive, 1 0 V, 2 12 V
    int lofSelection = 1;  // the local oscillator chosen: 0 by frequency, 1 by DiSEqC
    int diseqc = 0;        // the DiSEqC byte as it stands
};

AntennaValues antennaValuesOf(std::string_view entry);

// The switch digit for a switch and a LOF selection.
char antennaSwitchDigit(int switchOutput, int lofSelection);

}  // namespace qel
