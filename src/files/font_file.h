// Font files: ".fos" (one set of system glyphs), ".oc1" (two sets) and any other name (the
// teletext font), raw glyph data of an exact size.
#pragma once

#include <string>
#include <string_view>

#include "model/errors.h"
#include "model/font_type.h"

namespace qel {

struct FontFile {
    FontType type = FontType::Teletext;
    std::string bytes;
};

// The type a file name gives (fontFileFormat): ".oc1" or ".fos"; any other name is a teletext
// font.
FontType fontTypeOfFileName(std::string_view path);

// Reads a font file; a size other than its type takes is refused with WrongFontLength.
Result<FontFile> readFontFile(const std::string& path);

// Writes the font's bytes through writeFileAtomic: the previous file survives a failed save.
Status writeFontFile(const std::string& path, std::string_view bytes);

// The 4096 bytes of set 0 or 1 of a system font (the second set of a two-set font starts at
// byte 4096); empty for a teletext font, a set the font does not have, or bytes of another
// size than the type takes.
std::string_view systemFontSet(std::string_view font, FontType type, int set);

}  // namespace qel
