#include "receiver_settings/dvb98_settings.h"

#include <array>
#include <cstdint>

#include "bytes/conversions.h"
#include "bytes/field.h"

namespace qel {

namespace {

using C = SettingCodec;

const std::vector<SettingField> kGeneral = {
    {"Baudrate", 14, 1, C::Baud, 0, 0, {"2400", "4800", "1800", "9600", "19200", "38400"}},
    {"LNB1Lof1", 24, 4, C::Number},
    {"LNB1Lof2", 28, 4, C::Number},
    {"SwitchFreq1", 32, 4, C::Number},
    {"LNBLofC", 36, 4, C::Number},
    {"LastPrgTV", 64, 2, C::PlusOne},
    {"LastPrgRa", 66, 2, C::PlusOne},
    {"Ctrl", 74, 1, C::Choice, 0x01, 0, {"Diseqc", "12V 1/2"}},
    {"CAMStatus", 152, 1, C::Check, 0xFF, 0x00},
    {"NumInBrowser", 175, 1, C::Check, 0xFF, 0x00},
    {"ChScrollMode", 179, 1, C::PlusOne},
    {"DispDimNormal", 220, 1, C::Number},
    {"DispDimStdby", 221, 1, C::Number},
    {"TimeOffset", 230, 1, C::TimeOffset},
    {"DispFreqName", 248, 1, C::Index, 0, 0, {"Frequency", "Names"}},
    {"SCSIDetect", 264, 1, C::Check, 0x00, 0x01},
    {"Intro", 265, 1, C::Index, 0, 0, {"None", "Bones", "Other"}},
    {"SCSI_ID", 266, 1, C::Number},
    {"OSD", 268, 1, C::Index, 0, 0, {"OSD without EI", "OSD current", "OSD current/next"}},
    {"useVolt1", 344, 2, C::Index, 0, 0, {"Pol.", "High", "Low", "Band"}},
    {"useVolt2", 346, 2, C::Index, 0, 0, {"Pol.", "High", "Low", "Band"}},
    {"useVolt3", 348, 2, C::Index, 0, 0, {"Pol.", "High", "Low", "Band"}},
    {"useVolt4", 350, 2, C::Index, 0, 0, {"Pol.", "High", "Low", "Band"}},
    {"ParenCtr", 1088, 2, C::HexWord},
    {"LNB2Lof1", 1092, 4, C::Number},
    {"LNB2Lof2", 1096, 4, C::Number},
    {"LNB3Lof1", 1100, 4, C::Number},
    {"LNB3Lof2", 1104, 4, C::Number},
    {"SwitchFreq2", 1108, 4, C::Number},
    {"SwitchFreq3", 1112, 4, C::Number},
};

const std::vector<SettingField> kFurther = {
    {"Sat", 54, 1, C::Choice, 0xFF, 0, {"Off", "Auto"}},
    {"Vcr", 56, 1, C::Choice, 0xFF, 0, {"Off", "Auto"}},
    {"Priority", 58, 1, C::Choice, 0xFF, 0, {"SAT", "VCR"}},
    {"RgbOut", 174, 1, C::Check, 0x00, 0xFF},
    {"VoltageCtrl",
     176,
     1,
     C::Index,
     0,
     0,
     {"Low", "High", "C-Band low", "C-Band high", "Channel low", "Channel high"}},
    {"LNBPower", 178, 1, C::Index, 0, 0, {"+0,5 V", "+0 V"}},
    {"LNBonoff", 183, 1, C::Check, 0x01, 0x00},
    {"Diseqaddr", 244, 1, C::HexByte},
    {"LnbWarn", 247, 1, C::Check, 0x00, 0x01},
    {"Mode", 254, 1, C::Index, 0, 0, {"Channel Mode", "Global Mode"}},
    {"Cband", 255, 1, C::Index, 0, 0, {"LNB 1", "LNB 2", "LNB 3", "LNB 4"}},
    {"Bit0", 256, 1, C::Index, 0, 0, {"Low", "High", "Band"}},
    {"khz", 257, 1, C::Index, 0, 0, {"Band", "High", "Low"}},
    {"Bit1", 262, 1, C::Index, 0, 0, {"Low", "High", "Polarity"}},
};

std::size_t charPos(const SettingField& f) {
    return static_cast<std::size_t>(f.offset) * 2;
}
std::size_t hexWidth(const SettingField& f) {
    return static_cast<std::size_t>(f.size) * 2;
}

std::string_view fieldHex(std::string_view image, const SettingField& f) {
    return Field{charPos(f), hexWidth(f)}.in(image);
}

// The unsigned value of hex digits; text that is not hex counts as 0.
std::uint64_t unsignedValue(std::string_view hex) {
    std::uint64_t v = 0;
    for (char c : hex) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0) return 0;
        v = v * 16 + static_cast<std::uint64_t>(d);
    }
    return v;
}

// v as hex, zero-filled on the left to `width` digits and cut to the last ones.
std::string fixedHex(std::int64_t v, std::size_t width) {
    const auto bits = static_cast<unsigned>(width * 4);
    std::uint64_t u = static_cast<std::uint64_t>(v);
    if (bits < 64) u &= (std::uint64_t{1} << bits) - 1;
    std::string s;
    for (std::size_t i = 0; i < width; ++i, u >>= 4)
        s.insert(s.begin(), "0123456789ABCDEF"[u & 15]);
    return s;
}

// The number a text holds; texts without a number count as 0.
std::int64_t numberIn(std::string_view text) {
    return decimalValue(trimBlanks(text));
}

void put(std::string& image, const SettingField& f, const std::string& hex) {
    if (image.size() < charPos(f) + hexWidth(f)) return;
    image.replace(charPos(f), hexWidth(f), hex.substr(0, hexWidth(f)));
}

}  // namespace

std::span<const SettingField> generalSettingFields() {
    return kGeneral;
}
std::span<const SettingField> furtherSettingFields() {
    return kFurther;
}

const SettingField* findSettingField(std::string_view name) {
    for (const auto* table : {&kGeneral, &kFurther}) {
        for (const SettingField& f : *table) {
            if (name == f.name) return &f;
        }
    }
    return nullptr;
}

std::string showTimeOffset(std::string_view two) {
    const std::int64_t v = decimalValue(two);
    if (v > 87) return "-" + std::to_string(100 - v);
    return "+" + std::string(two);
}

std::string timeOffsetDigits(std::string_view text) {
    std::int64_t v = numberIn(text);
    if (v < 0) v = -v;
    // "-2" is kept as 98, "+3" as 03.
    if (text.find('-') != std::string_view::npos) v = 100 - v % 100;
    const std::string digits = zeroPadDecimal(v, 2);
    return digits.substr(digits.size() - 2);
}

SettingValue showSetting(std::string_view image, const SettingField& f) {
    SettingValue out;
    const std::string_view hex = fieldHex(image, f);
    const std::uint64_t v = unsignedValue(hex);
    const int entries = static_cast<int>(f.entries.size());
    switch (f.codec) {
        case C::Baud:
            out.index = v >= 0x08 && v <= 0x0D ? static_cast<int>(v - 0x08) : -1;
            break;
        case C::Index:
            out.index = v < static_cast<std::uint64_t>(entries) ? static_cast<int>(v) : -1;
            break;
        case C::Choice:
            out.index = v == 0 ? 0 : 1;
            break;
        case C::Check:
            out.checked = v == static_cast<std::uint64_t>(f.on);
            break;
        case C::Number:
            out.text = std::to_string(v);
            break;
        case C::PlusOne:
            out.text = std::to_string(v + 1);
            break;
        case C::TimeOffset:
            out.text = showTimeOffset(hex);
            break;
        case C::HexWord:
        case C::HexByte:
            out.text = std::string(hex);
            break;
    }
    return out;
}

void writeSetting(std::string& image, const SettingField& f, const SettingValue& value) {
    if (value == showSetting(image, f)) return;
    const std::size_t width = hexWidth(f);
    switch (f.codec) {
        case C::Baud:
            if (value.index >= 0 && value.index <= 5)
                put(image, f, fixedHex(0x08 + value.index, width));
            break;
        case C::Index:
            if (value.index >= 0) put(image, f, fixedHex(value.index, width));
            break;
        case C::Choice:
            if (value.index >= 0) put(image, f, fixedHex(value.index == 0 ? 0 : f.on, width));
            break;
        case C::Check:
            put(image, f, fixedHex(value.checked ? f.on : f.off, width));
            break;
        case C::Number:
            put(image, f, fixedHex(numberIn(value.text), width));
            break;
        case C::PlusOne:
            // An empty field, or 0, would store -1: it stores 0.
            put(image, f, fixedHex(std::max<std::int64_t>(numberIn(value.text) - 1, 0), width));
            break;
        case C::TimeOffset:
            put(image, f, timeOffsetDigits(value.text));
            break;
        case C::HexWord: {
            // The characters as they stand: a shorter text replaces the first ones only.
            std::string hex(showSetting(image, f).text);
            const std::string_view typed = std::string_view(value.text).substr(0, width);
            hex.replace(0, typed.size(), typed);
            put(image, f, hex);
            break;
        }
        case C::HexByte: {
            std::string hex(trimBlanks(value.text));
            if (hex.size() < width) hex.insert(0, width - hex.size(), '0');
            put(image, f, hex.substr(hex.size() - width));
            break;
        }
    }
}

}  // namespace qel
