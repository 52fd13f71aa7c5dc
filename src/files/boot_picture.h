// The receiver's boot picture: a 280 × 240 bitmap in 16 colours, exactly 33718 bytes. Any
// image, as pixels, becomes one (scaled to fit with black bars, a palette of 16 colours
// chosen for it, dithered); and bitmap files become pixels again for a preview.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"

namespace qel {

inline constexpr int kBootPictureWidth = 280;
inline constexpr int kBootPictureHeight = 240;
inline constexpr int kBootPictureColours = 16;
// The file and bitmap headers and the 16-entry palette, then 4 bits a pixel.
inline constexpr std::size_t kBootPictureHeaderSize = 118;
inline constexpr std::size_t kBootPictureFileSize =
    kBootPictureHeaderSize + kBootPictureWidth / 2 * kBootPictureHeight;

// The largest image taken in: each side and the pixels in all.
inline constexpr int kMaxImageSide = 16384;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;

// An image as rows of pixels, top row first, each 0xAARRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// The boot picture file of an image: scaled to fit 280 × 240 keeping its proportions (by
// area averaging when it shrinks, bilinear when it grows), centred on black, transparent parts
// shown over black. An image of at most 16 colours keeps them exactly; any other gets the 16
// that suit it best and is dithered (Floyd–Steinberg). Refused with WrongPictureFile: an empty
// image, one larger than kMaxImageSide or kMaxImagePixels, pixels that do not fill it.
Result<std::string> convertToBootPicture(const Pixels& image);

// The pixels of an uncompressed BMP file (1, 4, 8, 24 or 32 bits a pixel, rows bottom-up or
// top-down); ImageDamaged for one cut short (bmpCutShort), WrongPictureFile for anything
// else it does not read.
Result<Pixels> readBmp(std::string_view file);

// Whether `file` is a BMP that holds less than its headers promise: headers cut short, or
// (uncompressed or bit fields) fewer pixel bytes than its size and depth take. Other readers
// of BMP files fill what is missing without a word; this tells them the file is damaged.
bool bmpCutShort(std::string_view file);

// The pixels of a boot picture file for a preview: a BMP readBmp reads; a 33718-byte file that
// is none is read in the boot picture's layout (16 palette entries from byte 54, 280 × 240
// pixels of 4 bits from byte 118, bottom row first).
Result<Pixels> readBootPicture(std::string_view file);

}  // namespace qel
