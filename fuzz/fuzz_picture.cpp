// Fuzz harness for the bitmap reader and the font glyphs: any bytes are refused or read; a
// bitmap that is read converts to a boot picture that reads back at 280 x 240; bytes of a
// font's size give every glyph, and writing each back changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/boot_picture.h"
#include "listedit/font_glyphs.h"

using namespace qel;

namespace {

// FNV-1a.
std::uint32_t hashOf(std::string_view bytes) {
    std::uint32_t hash = 2166136261U;
    for (char c : bytes)
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619U;
    return hash;
}

void checkPicture(std::string_view bytes) {
    const Result<Pixels> image = readBootPicture(bytes);
    if (!image) {
        if (bytes.size() == kBootPictureFileSize) std::abort();
        return;
    }
    if (image->argb.size() != static_cast<std::size_t>(image->width) * image->height) std::abort();
    // Each conversion makes a whole 280 x 240 picture, a thousand times the work of reading a
    // small bitmap: small images, and one input in 256, are enough to try it on every shape
    // the reader gives. The input is chosen by a hash of its bytes, not by its size, which
    // most of the fuzzer's changes keep (a seed of a size it picks would be converted with
    // nearly every one of its variants).
    if (image->argb.size() > 4096 || (hashOf(bytes) & 0xFF) != 0) return;
    const Result<std::string> picture = convertToBootPicture(*image);
    if (!picture || picture->size() != kBootPictureFileSize) std::abort();
    const Result<Pixels> back = readBmp(*picture);
    if (!back || back->width != kBootPictureWidth || back->height != kBootPictureHeight) {
        std::abort();
    }
}

void checkFont(std::string_view bytes) {
    for (FontType type : {FontType::SystemOneSet, FontType::SystemTwoSets, FontType::Teletext}) {
        if (bytes.size() != fontSize(type)) continue;
        std::string font(bytes);
        for (int set = 0; set < fontSetCount(type); ++set) {
            for (int n = 0; n < glyphsPerSet(type); ++n) {
                const auto rows = readGlyph(font, type, set, n);
                if (!rows || !writeGlyph(font, type, set, n, *rows)) std::abort();
            }
        }
        if (font != bytes) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkPicture(bytes);
    checkFont(bytes);
    return 0;
}
