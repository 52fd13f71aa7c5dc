#include "files/ant_pos_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qel {
namespace {

using test::TempDir;

// An entry as "number|name|position".
std::string entry(const SatPosTable& table, std::size_t i) {
    return std::to_string(table[i].number) + "|" + table[i].name.str() + "|" +
           table[i].position.str();
}

TEST(LoadAntPos, MissingFileIsRebuiltWithTheDefaults) {
    TempDir dir;
    const auto path = dir.file("AntPos.txt");
    auto load = loadAntPos(path);
    ASSERT_TRUE(load.ok());
    EXPECT_TRUE(load->rebuilt);
    ASSERT_EQ(load->table.size(), 22u);
    EXPECT_EQ(entry(load->table, 0), "1|HotBird        |13\260  E");
    EXPECT_EQ(load->table[1].position.view(), "19.2\260E");
    EXPECT_EQ(entry(load->table, 21), "22|Turksat 1C     |" + load->table[21].position.str());

    const std::string file = TempDir::read(path);
    EXPECT_EQ(file.substr(0, 25), "01HotBird        13\260  E\r\n");
    EXPECT_EQ(file.size(), 22u * 25);

    auto again = loadAntPos(path);
    ASSERT_TRUE(again.ok());
    EXPECT_FALSE(again->rebuilt);
    EXPECT_EQ(again->table.size(), 22u);
}

TEST(ParseAntPos, AtMost49LinesAnyLineEndShortLines) {
    std::string text;
    for (int i = 1; i <= 60; ++i)
        text += (i < 10 ? "0" : "") + std::to_string(i) + "Sat\n";
    const SatPosTable table = parseAntPos(text);
    ASSERT_EQ(table.size(), 49u);
    EXPECT_EQ(table[48].number, 49);
    EXPECT_EQ(entry(table, 0), "1|Sat            |      ");

    const SatPosTable mixed = parseAntPos("05A\r06B\r\n07C");
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[2].number, 7);
    EXPECT_TRUE(parseAntPos("").empty());
}

}  // namespace
}  // namespace qel
