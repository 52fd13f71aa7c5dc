// The three kinds of font the receiver takes, and what each holds: raw glyph data, one byte
// per pixel row, without header or checksum.
#pragma once

#include <cstddef>
#include <string_view>

namespace qel {

enum class FontType {
    SystemOneSet,   // ".fos": one set of 256 system glyphs
    SystemTwoSets,  // ".oc1": two sets of 256 system glyphs, the second from byte 4096
    Teletext,       // any other name: 319 teletext glyphs
};

// The bytes of one set of system glyphs: what the receiver takes as its system font.
inline constexpr std::size_t kSystemFontSetSize = 4096;
inline constexpr std::size_t kTeletextFontSize = 3190;

// "SYSTEMFOS", "SYSTEM" or "TELETEXT", as the program names the types to the user.
constexpr std::string_view fontTypeTag(FontType type) {
    switch (type) {
        case FontType::SystemOneSet:
            return "SYSTEMFOS";
        case FontType::SystemTwoSets:
            return "SYSTEM";
        case FontType::Teletext:
            return "TELETEXT";
    }
    return "TELETEXT";
}

// The exact size of a font file of the type.
constexpr std::size_t fontSize(FontType type) {
    switch (type) {
        case FontType::SystemOneSet:
            return kSystemFontSetSize;
        case FontType::SystemTwoSets:
            return 2 * kSystemFontSetSize;
        case FontType::Teletext:
            return kTeletextFontSize;
    }
    return kTeletextFontSize;
}

constexpr bool isSystemFont(FontType type) {
    return type != FontType::Teletext;
}

// How many glyph sets the font holds: 2 for the two-set system font, else 1.
constexpr int fontSetCount(FontType type) {
    return type == FontType::SystemTwoSets ? 2 : 1;
}

}  // namespace qel
