// Where glyphs are in a font's bytes, their pixels, and the preview that shows them.
#include "listedit/font_glyphs.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

constexpr FontType kOne = FontType::SystemOneSet;
constexpr FontType kTwo = FontType::SystemTwoSets;
constexpr FontType kText = FontType::Teletext;

std::string numbered(std::size_t size) {
    std::string font(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        font[i] = static_cast<char>(i % 251);
    return font;
}

TEST(FontGlyphs, EachGlyphStartsWhereItsTypeAndSetPutIt) {
    const struct {
        FontType type;
        int set;
        int glyph;
        std::optional<std::size_t> offset;
    } kCases[] = {
        {kOne, 0, 1, 16},  {kOne, 0, 255, 4080},  {kOne, 0, 256, {}},   {kOne, 1, 0, {}},
        {kOne, 0, -1, {}}, {kTwo, 1, 0, 4096},    {kTwo, 1, 255, 8176}, {kTwo, 2, 0, {}},
        {kText, 0, 1, 10}, {kText, 0, 318, 3180}, {kText, 0, 319, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(fontTypeTag(c.type)) + " set " + std::to_string(c.set) +
                     " glyph " + std::to_string(c.glyph));
        EXPECT_EQ(glyphOffset(c.type, c.set, c.glyph), c.offset);
        const std::string font = numbered(fontSize(c.type));
        const std::optional<GlyphRows> rows = readGlyph(font, c.type, c.set, c.glyph);
        ASSERT_EQ(rows.has_value(), c.offset.has_value());
        if (!rows) continue;
        ASSERT_EQ(rows->size(), c.type == kText ? 10u : 16u);
        EXPECT_TRUE(
            std::equal(rows->begin(), rows->end(), font.begin() + *c.offset,
                       [](std::uint8_t r, char b) { return r == static_cast<std::uint8_t>(b); }));
    }
}

TEST(FontGlyphs, AnEditedGlyphChangesOnlyItsOwnPixels) {
    for (const auto& [type, set, glyph] :
         {std::tuple{kOne, 0, 255}, std::tuple{kTwo, 1, 0}, std::tuple{kText, 0, 318}}) {
        SCOPED_TRACE(fontTypeTag(type));
        const std::string before = numbered(fontSize(type));
        std::string font = before;
        GlyphRows rows = *readGlyph(font, type, set, glyph);
        const int last = glyphRowCount(type) - 1;
        // The high bit is the leftmost pixel; the grid's rows past the glyph's cannot change.
        const bool lit = glyphPixel(rows, 0, 0);
        ASSERT_TRUE(toggleGlyphPixel(rows, 0, 0));
        EXPECT_NE(glyphPixel(rows, 0, 0), lit);
        ASSERT_TRUE(toggleGlyphPixel(rows, last, 7));
        EXPECT_FALSE(toggleGlyphPixel(rows, last + 1, 0));
        EXPECT_FALSE(toggleGlyphPixel(rows, 0, 8));
        EXPECT_FALSE(glyphPixel(rows, kGridRows - 1, 0));
        ASSERT_TRUE(writeGlyph(font, type, set, glyph, rows));
        const std::size_t at = *glyphOffset(type, set, glyph);
        for (std::size_t i = 0; i < font.size(); ++i) {
            const int flipped = i == at ? 0x80 : i == at + last ? 0x01 : 0;
            ASSERT_EQ((font[i] ^ before[i]) & 0xFF, flipped) << "byte " << i;
        }
        // Rows of another glyph's height, or a font cut short, change nothing.
        rows.push_back(0xFF);
        EXPECT_FALSE(writeGlyph(font, type, set, glyph, rows));
        rows.pop_back();
        std::string cut = before.substr(0, at + rows.size() - 1);
        EXPECT_FALSE(writeGlyph(cut, type, set, glyph, rows));
        EXPECT_FALSE(readGlyph(cut, type, set, glyph));
        EXPECT_TRUE(cut == before.substr(0, at + rows.size() - 1));
    }
}

TEST(FontGlyphs, APressInThePreviewPicksTheGlyphDrawnThere) {
    const struct {
        FontType type;
        int x;
        int y;
        std::optional<int> glyph;
    } kCases[] = {
        {kOne, 8, 16, 0},      {kOne, 9, 0, 1},      {kOne, 0, 17, 29},  {kText, 0, 11, 29},
        {kText, 0, 10, 0},     {kOne, 260, 0, 28},   {kOne, 261, 0, {}}, {kOne, -1, 0, {}},
        {kOne, 207, 136, 255}, {kOne, 216, 136, {}}, {kTwo, 0, 153, {}}, {kText, 252, 110, 318},
        {kText, 0, 121, {}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(glyphAtPreview(c.type, c.x, c.y), c.glyph)
            << fontTypeTag(c.type) << " at " << c.x << "," << c.y;
    }
    // Every glyph's pixels are drawn inside its cell, a blank column to their left, where a
    // press picks that glyph.
    for (FontType type : {kOne, kText}) {
        for (int n = 0; n < glyphsPerSet(type); ++n) {
            const PreviewRect cell = previewCell(type, n);
            ASSERT_LE(cell.top + cell.height, previewHeight(type));
            for (const auto& [row, column] : {std::pair{0, 0}, {glyphRowCount(type) - 1, 7}}) {
                const PreviewPoint p = previewPixel(type, n, row, column);
                ASSERT_EQ(p.x, cell.left + column + 1);
                ASSERT_EQ(p.y, cell.top + row);
                ASSERT_EQ(glyphAtPreview(type, p.x, p.y), n);
            }
        }
    }
}

}  // namespace
}  // namespace qel
