#include "listedit/font_glyphs.h"

namespace qel {

int glyphRowCount(FontType type) {
    return isSystemFont(type) ? 16 : 10;
}

int glyphsPerSet(FontType type) {
    return isSystemFont(type) ? 256 : 319;
}

std::optional<std::size_t> glyphOffset(FontType type, int set, int glyph) {
    if (set < 0 || set >= fontSetCount(type) || glyph < 0 || glyph >= glyphsPerSet(type)) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(set) * kSystemFontSetSize +
           static_cast<std::size_t>(glyph) * static_cast<std::size_t>(glyphRowCount(type));
}

std::optional<GlyphRows> readGlyph(std::string_view font, FontType type, int set, int glyph) {
    const std::optional<std::size_t> offset = glyphOffset(type, set, glyph);
    const auto rows = static_cast<std::size_t>(glyphRowCount(type));
    if (!offset || *offset + rows > font.size()) return std::nullopt;
    GlyphRows out(rows);
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = static_cast<std::uint8_t>(font[*offset + r]);
    return out;
}

bool writeGlyph(std::string& font, FontType type, int set, int glyph, const GlyphRows& rows) {
    const std::optional<std::size_t> offset = glyphOffset(type, set, glyph);
    if (!offset || rows.size() != static_cast<std::size_t>(glyphRowCount(type)) ||
        *offset + rows.size() > font.size()) {
        return false;
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        font[*offset + r] = static_cast<char>(rows[r]);
    return true;
}

namespace {

bool inGlyph(const GlyphRows& rows, int row, int column) {
    return row >= 0 && static_cast<std::size_t>(row) < rows.size() && column >= 0 &&
           column < kGlyphColumns;
}

std::uint8_t columnBit(int column) {
    return static_cast<std::uint8_t>(0x80U >> column);
}

}  // namespace

bool glyphPixel(const GlyphRows& rows, int row, int column) {
    return inGlyph(rows, row, column) && (rows[row] & columnBit(column)) != 0;
}

bool toggleGlyphPixel(GlyphRows& rows, int row, int column) {
    if (!inGlyph(rows, row, column)) return false;
    rows[row] = static_cast<std::uint8_t>(rows[row] ^ columnBit(column));
    return true;
}

int previewCellHeight(FontType type) {
    return isSystemFont(type) ? 17 : 11;
}

int previewWidth() {
    return kPreviewGlyphsPerLine * kPreviewCellWidth;
}

int previewHeight(FontType type) {
    const int lines = (glyphsPerSet(type) + kPreviewGlyphsPerLine - 1) / kPreviewGlyphsPerLine;
    return lines * previewCellHeight(type);
}

PreviewRect previewCell(FontType type, int glyph) {
    return {glyph % kPreviewGlyphsPerLine * kPreviewCellWidth,
            glyph / kPreviewGlyphsPerLine * previewCellHeight(type), kPreviewCellWidth,
            previewCellHeight(type)};
}

PreviewPoint previewPixel(FontType type, int glyph, int row, int column) {
    const PreviewRect cell = previewCell(type, glyph);
    return {cell.left + column + 1, cell.top + row};
}

std::optional<int> glyphAtPreview(FontType type, int x, int y) {
    if (x < 0 || y < 0 || x >= previewWidth() || y >= previewHeight(type)) return std::nullopt;
    const int glyph = y / previewCellHeight(type) * kPreviewGlyphsPerLine + x / kPreviewCellWidth;
    if (glyph >= glyphsPerSet(type)) return std::nullopt;
    return glyph;
}

}  // namespace qel
