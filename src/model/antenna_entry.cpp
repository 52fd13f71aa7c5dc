#include "model/antenna_entry.h"

#include "bytes/conversions.h"

namespace qel {

namespace {

// The switch digit's bits as binary digits, most significant first.
constexpr std::size_t kSwitchInactiveBit = 1;
constexpr std::size_t kLofByFrequencyBit = 2;
constexpr std::size_t kZeroVoltBit = 3;

}  // namespace

AntennaValues antennaValuesOf(std::string_view e) {
    using namespace antenna_entry;
    AntennaValues v;
    std::string name(kName.in(e));
    while (!name.empty() && (name.back() == '\0' || name.back() == ' '))
        name.pop_back();
    v.name = name;
    v.lnbLow = hexToDec(kLnbLow.in(e));
    v.lnbHigh = hexToDec(kLnbHigh.in(e));
    v.diseqc = hexToDec(kDiseqc.in(e));
    const std::string b = toBinary(hexToDec(kSwitchDigit.in(e)), 4);
    v.switchOutput = b[kSwitchInactiveBit] == '1' ? 0 : (b[kZeroVoltBit] == '1' ? 1 : 2);
    v.lofSelection = b[kLofByFrequencyBit] == '1' ? 0 : 1;
    return v;
}

char antennaSwitchDigit(int switchOutput, int lofSelection) {
    std::string bits = "0000";
    if (switchOutput == 0) bits[kSwitchInactiveBit] = '1';
    if (switchOutput == 1) bits[kZeroVoltBit] = '1';
    if (lofSelection == 0) bits[kLofByFrequencyBit] = '1';
    return toHex(static_cast<std::uint32_t>(fromBinary(bits)))[0];
}

}  // namespace qel
