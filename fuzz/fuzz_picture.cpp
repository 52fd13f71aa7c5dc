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

void checkPicture(std::string_view bytes) {
    const Result<Pixels> image = readBootPicture(bytes);
    if (!image) {
        if (bytes.size() == kBootPictureFileSize) std::abort();
        return;
    }
    if (image->argb.size() != static_cast<std::size_t>(image->width) * image->height) std::abort();
    // Each conversion makes a whole 280 x 240 picture, which takes its time: small images, and
    // only about one input in 256, are enough to try it on every shape the reader gives.
    if (image->argb.size() > 4096 || bytes.size() % 256 != 0) return;
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
