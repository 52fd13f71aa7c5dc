// The FTA settings window's logic: an antenna entry shown as controls and rebuilt from
// them, the screen format digits and the receiver's secret code.
#pragma once

#include <string>
#include <string_view>

namespace qel {

struct AntennaControls {
    std::string name;      // up to 8 characters
    std::string lnbLow;    // decimal
    std::string lnbHigh;   // decimal
    int diseqc = 0;        // 0-6
    int switchOutput = 2;  // the 0/12 V switch: 0 inactive, 1 0 V, 2 12 V
    int lofSelection = 1;  // the local oscillator chosen: 0 by frequency, 1 by DiSEqC
    friend bool operator==(const AntennaControls&, const AntennaControls&) = default;
};

// An antenna entry (20 hex digits, then the name) as the controls show it.
AntennaControls antennaControlsOf(std::string_view entry);

// The entry rebuilt from the controls: oscillators (upper words 0000), the first digit of
// the setting byte as it was, the switch digit, the DiSEqC byte and the name.
std::string rebuildAntennaEntry(std::string_view oldEntry, const AntennaControls& c);

// The screen format: 4:3 and full picture are the digit "1" in their digits of the screen
// format text; the window shows and stores them the same way.
struct ScreenFormat {
    bool is4_3 = false;
    bool full = false;
};
ScreenFormat showScreenFormat(std::string_view text);
std::string storeScreenFormat(std::string_view text, ScreenFormat format);

// The secret code: the 16-bit word in the settings record text, shown as 4 decimal digits.
std::string showSecretCode(std::string_view settingsRecord);
std::string storeSecretCode(std::string_view settingsRecord, std::string_view code);

}  // namespace qel
