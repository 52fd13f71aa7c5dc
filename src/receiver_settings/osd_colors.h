// The receiver's on-screen colours: YUV values with a 2-bit transparency in the DVB98
// settings block, their conversion to and from RGB, and the 13 coloured elements.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// 8 hex digits (Y, Y again, Cb, Cr; transparency in bits 7-6 of each byte) to the RGB
// colour number R + 256 G + 65536 B the receiver shows.
std::uint32_t yuvToRgb(std::string_view value);

// An RGB colour number and a transparency as two binary digits ("00"-"11") to 8 hex digits.
std::string rgbToYuv(std::uint32_t rgb, std::string_view transparency);

// 0-3 as two binary digits; anything else gives an empty text.
std::string transparencyBits(int n);

// The transparency (0-3) of a colour value.
int transparencyOf(std::string_view value);

// The context the windows translate the element names in.
inline constexpr const char* kColorNameContext = "qel::OsdColors";

struct ColorItem {
    const char* name;  // English; shown translated in kColorNameContext
    int offset;
    int alsoAt;  // a second offset the value is written to, or -1
};

inline constexpr std::size_t kColorItems = 13;
const std::array<ColorItem, kColorItems>& colorItems();

// The 13 values of a settings image (hex text of the block), and writing them back;
// a value left as it was read is not written.
std::array<std::string, kColorItems> readColors(std::string_view image);
void writeColors(std::string& image, const std::array<std::string, kColorItems>& values);

}  // namespace qel
