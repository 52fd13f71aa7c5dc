// The glyphs of a font as the font editor sees them: where each glyph's rows are in the
// font's bytes, its pixels, and the preview that shows every glyph of a set, 29 a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/font_type.h"

namespace qel {

// One byte per pixel row, top row first; the most significant bit is the leftmost pixel, a
// set bit a lit pixel.
using GlyphRows = std::vector<std::uint8_t>;

inline constexpr int kGlyphColumns = 8;
// The editor's grid has room for the tallest glyph; a teletext glyph leaves rows 10-15 unused.
inline constexpr int kGridRows = 16;

inline constexpr int kPreviewGlyphsPerLine = 29;
inline constexpr int kPreviewCellWidth = 9;

// 16 rows a system glyph, 10 a teletext glyph.
int glyphRowCount(FontType type);
// 256 glyphs a system set, 319 in the teletext font.
int glyphsPerSet(FontType type);

// Where glyph n of set s begins: n × rows, plus 4096 for the second set. Nothing for a glyph
// or set the type does not have.
std::optional<std::size_t> glyphOffset(FontType type, int set, int glyph);

// The rows of a glyph; nothing when the type has no such glyph or the font is too short.
std::optional<GlyphRows> readGlyph(std::string_view font, FontType type, int set, int glyph);
// Writes a glyph's rows into the font; false, and the font unchanged, when the type has no
// such glyph, the font is too short, or the rows are not as many as the type's glyphs have.
bool writeGlyph(std::string& font, FontType type, int set, int glyph, const GlyphRows& rows);

// Whether the pixel at (row, column 0-7) is lit; false outside the glyph.
bool glyphPixel(const GlyphRows& rows, int row, int column);
// Lights an unlit pixel and darkens a lit one; false, and nothing changed, outside the glyph
// (a teletext glyph's rows 10-15).
bool toggleGlyphPixel(GlyphRows& rows, int row, int column);

// The preview, in its own pixels: each glyph a cell 9 wide and 17 (system) or 11 (teletext)
// high, 29 cells a line.
int previewCellHeight(FontType type);
int previewWidth();
int previewHeight(FontType type);

struct PreviewRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
// The cell of glyph n: left (n mod 29) × 9, top floor(n / 29) × the cell height.
PreviewRect previewCell(FontType type, int glyph);

struct PreviewPoint {
    int x = 0;
    int y = 0;
};
// Where pixel (row, column 0-7) of glyph n is drawn: one pixel right of the cell's left edge
// for column 0, so that a blank column separates the glyphs.
PreviewPoint previewPixel(FontType type, int glyph, int row, int column);

// The glyph a press at (x, y) of the preview picks: floor(y / h) × 29 + floor(x / 9); nothing
// outside the preview's 29 columns of cells or past the set's last glyph.
std::optional<int> glyphAtPreview(FontType type, int x, int y);

}  // namespace qel
