// Font files: the type their name gives, the exact size it takes, and the sets of a system
// font.
#include "files/font_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/temp_dir.h"

namespace qel {
namespace {

std::string fontBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

TEST(FontFile, TheNameGivesTheTypeAndItsSize) {
    using T = FontType;
    const struct {
        const char* name;
        std::size_t size;
        std::optional<FontType> type;  // nothing: refused
    } kCases[] = {
        {"A.FoS", 4096, T::SystemOneSet},
        {"oc1", 8192, T::SystemTwoSets},
        {"a.txt", 3190, T::Teletext},
        {"a.oc1", 4096, {}},
        {"a.fos", 8192, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " of " + std::to_string(c.size));
        test::TempDir dir;
        const std::string bytes = fontBytes(c.size);
        const auto font = readFontFile(dir.write(c.name, bytes));
        EXPECT_EQ(font.ok(), c.type.has_value());
        if (!font) {
            EXPECT_EQ(font.error(), ErrorCode::WrongFontLength);
            continue;
        }
        EXPECT_EQ(font->type, *c.type);
        EXPECT_TRUE(font->bytes == bytes);
    }
}

TEST(FontFile, ASystemFontSetIsAHalfOfATwoSetFont) {
    const std::string two = fontBytes(8192);
    EXPECT_TRUE(systemFontSet(two, FontType::SystemTwoSets, 1) == two.substr(4096));
    EXPECT_TRUE(systemFontSet(two, FontType::SystemTwoSets, 0) == two.substr(0, 4096));
    EXPECT_EQ(systemFontSet(two.substr(0, 4096), FontType::SystemOneSet, 1), "");
    EXPECT_EQ(systemFontSet(two.substr(0, 4096), FontType::SystemTwoSets, 0), "");
    EXPECT_EQ(systemFontSet(two.substr(0, 3190), FontType::Teletext, 0), "");
}

}  // namespace
}  // namespace qel
