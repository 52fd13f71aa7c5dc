#include "receiver_settings/fta_settings.h"

#include <algorithm>

#include "bytes/conversions.h"
#include "model/fta_tables.h"

namespace qel {

namespace {

std::string pad4Hex(std::string_view decimal) {
    return pad4(toHex(static_cast<std::uint32_t>(decimalValue(trimBlanks(decimal)))));
}

}  // namespace

AntennaControls antennaControlsOf(std::string_view e) {
    const AntennaValues v = antennaValuesOf(e);
    AntennaControls c;
    c.name = v.name;
    c.lnbLow = std::to_string(v.lnbLow);
    c.lnbHigh = std::to_string(v.lnbHigh);
    c.diseqc = v.diseqc;
    c.switchOutput = v.switchOutput;
    c.lofSelection = v.lofSelection;
    return c;
}

std::string rebuildAntennaEntry(std::string_view oldEntry, const AntennaControls& c) {
    using namespace antenna_entry;
    std::string entry(kHex.length, '0');
    std::string setting(kSettingDigit.in(oldEntry));
    if (setting.empty()) setting = "0";
    putField(entry, kLnbLow, pad4Hex(c.lnbLow));
    putField(entry, kLnbHigh, pad4Hex(c.lnbHigh));
    putField(entry, kSettingDigit, setting);
    putField(entry, kSwitchDigit,
             std::string(1, antennaSwitchDigit(c.switchOutput, c.lofSelection)));
    // A DiSEqC value the window cannot show stays as the entry holds it.
    const std::string_view heldDiseqc = kDiseqc.in(oldEntry);
    const std::string diseqc = c.diseqc == antennaValuesOf(oldEntry).diseqc
                                   ? std::string(heldDiseqc)
                                   : "0" + std::to_string(std::clamp(c.diseqc, 0, 6));
    std::string name = c.name.substr(0, kNameSize);
    name.resize(kNameSize, '\0');
    return entry.substr(0, kDiseqc.offset) + diseqc + name;
}

ScreenFormat showScreenFormat(std::string_view text) {
    return {screen_format::kIs4_3Digit.in(text) == "1", screen_format::kFullDigit.in(text) == "1"};
}

std::string storeScreenFormat(std::string_view text, ScreenFormat format) {
    std::string out(text);
    out.resize(8, '0');
    for (char& c : out) {
        if (c == ' ') c = '0';  // a format never read from an image
    }
    putField(out, screen_format::kIs4_3Digit, format.is4_3 ? "1" : "0");
    putField(out, screen_format::kFullDigit, format.full ? "1" : "0");
    return out;
}

std::string showSecretCode(std::string_view settingsRecord) {
    return pad4(std::to_string(hexToDec(settings_record::kSecretCode.in(settingsRecord))));
}

std::string storeSecretCode(std::string_view settingsRecord, std::string_view code) {
    std::string out(settingsRecord);
    if (out.size() < settings_record::kSecretCode.end()) return out;  // no record to hold it
    putField(out, settings_record::kSecretCode,
             pad4(toHex(static_cast<std::uint32_t>(decimalValue(code)))));
    return out;
}

}  // namespace qel
