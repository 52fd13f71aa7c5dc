#include "receiver_settings/fta_settings.h"

#include <algorithm>

#include "bytes/conversions.h"

namespace qel {

namespace {

std::string pad4Hex(std::string_view decimal) {
    return pad4(toHex(static_cast<std::uint32_t>(decimalValue(trimBlanks(decimal)))));
}

}  // namespace

AntennaControls antennaControlsOf(std::string_view e) {
    AntennaControls c;
    std::string name(mid(e, 21));
    while (!name.empty() && (name.back() == '\0' || name.back() == ' '))
        name.pop_back();
    c.name = name;
    c.lnbLow = std::to_string(hexToDec(mid(e, 5, 4)));
    c.lnbHigh = std::to_string(hexToDec(mid(e, 13, 4)));
    c.diseqc = hexToDec(mid(e, 19, 2));
    const std::string b = toBinary(hexToDec(mid(e, 18, 1)), 4);
    c.aswitch = b[1] == '1' ? 0 : (b[3] == '1' ? 1 : 2);
    c.alof = b[2] == '1' ? 0 : 1;
    return c;
}

std::string rebuildAntennaEntry(std::string_view oldEntry, const AntennaControls& c) {
    std::string bits = "0000";
    if (c.aswitch == 0) bits[1] = '1';
    if (c.aswitch == 1) bits[3] = '1';
    if (c.alof == 0) bits[2] = '1';
    std::string setting(mid(oldEntry, 17, 1));
    if (setting.empty()) setting = "0";
    std::string name = c.name.substr(0, 8);
    name.resize(8, '\0');
    // A DiSEqC value the window cannot show stays as the entry holds it.
    const std::string diseqc = c.diseqc == antennaControlsOf(oldEntry).diseqc
                                   ? std::string(mid(oldEntry, 19, 2))
                                   : "0" + std::to_string(std::clamp(c.diseqc, 0, 6));
    return "0000" + pad4Hex(c.lnbLow) + "0000" + pad4Hex(c.lnbHigh) + setting +
           toHex(static_cast<std::uint32_t>(fromBinary(bits))) + diseqc + name;
}

ScreenFormat showScreenFormat(std::string_view text) {
    return {mid(text, 2, 1) == "1", mid(text, 6, 1) == "1"};
}

std::string storeScreenFormat(std::string_view text, ScreenFormat format) {
    std::string out(text);
    out.resize(8, '0');
    for (char& c : out) {
        if (c == ' ') c = '0';  // a format never read from an image
    }
    out[1] = format.is4_3 ? '1' : '0';
    out[5] = format.full ? '1' : '0';
    return out;
}

std::string showSecretCode(std::string_view settingsRecord) {
    return pad4(std::to_string(hexToDec(mid(settingsRecord, 33, 4))));
}

std::string storeSecretCode(std::string_view settingsRecord, std::string_view code) {
    std::string out(settingsRecord);
    if (out.size() < 36) return out;  // no settings record to hold the code
    out.replace(32, 4, pad4(toHex(static_cast<std::uint32_t>(decimalValue(code)))));
    return out;
}

}  // namespace qel
