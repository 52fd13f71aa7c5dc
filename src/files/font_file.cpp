#include "files/font_file.h"

#include "files/file_formats.h"
#include "files/file_io.h"

namespace qel {

FontType fontTypeOfFileName(std::string_view path) {
    return fontFileFormat(path).fontType;
}

Result<FontFile> readFontFile(const std::string& path) {
    const FontType type = fontTypeOfFileName(path);
    const std::size_t size = fontSize(type);
    auto bytes = readFileBytes(path, size);
    if (!bytes) {
        if (bytes.error() != ErrorCode::FileTooLarge) return bytes.status();
        return Error{ErrorCode::WrongFontLength, "more than " + std::to_string(size) +
                                                     " bytes for a font of type " +
                                                     std::string(fontTypeTag(type))};
    }
    if (bytes->size() != size) {
        return Error{ErrorCode::WrongFontLength, std::to_string(bytes->size()) +
                                                     " bytes for a font of type " +
                                                     std::string(fontTypeTag(type))};
    }
    return FontFile{type, std::move(bytes.value())};
}

Status writeFontFile(const std::string& path, std::string_view bytes) {
    return writeFileAtomic(path, bytes);
}

std::string_view systemFontSet(std::string_view font, FontType type, int set) {
    if (!isSystemFont(type) || font.size() != fontSize(type) || set < 0 ||
        set >= fontSetCount(type)) {
        return {};
    }
    return font.substr(static_cast<std::size_t>(set) * kSystemFontSetSize, kSystemFontSetSize);
}

}  // namespace qel
