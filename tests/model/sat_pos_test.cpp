#include "model/sat_pos.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qel {
namespace {

using test::TempDir;

TEST(LoadAntPos, MissingFileIsRebuiltWithTheDefaults) {
    TempDir dir;
    const auto path = dir.File("AntPos.txt");
    auto load = LoadAntPos(path);
    ASSERT_TRUE(load.ok());
    EXPECT_TRUE(load->rebuilt);
    ASSERT_EQ(load->table.size(), 22u);
    EXPECT_EQ(load->table[0].Number, 1);
    EXPECT_EQ(load->table[0].Name.view(), "HotBird        ");
    EXPECT_EQ(load->table[0].Position.view(), "13\260  E");
    EXPECT_EQ(load->table[1].Position.view(), "19.2\260E");
    EXPECT_EQ(load->table[21].Number, 22);
    EXPECT_EQ(load->table[21].Name.view(), "Turksat 1C     ");

    const std::string file = TempDir::Read(path);
    EXPECT_EQ(file.substr(0, 25), "01HotBird        13\260  E\r\n");
    EXPECT_EQ(file.size(), 22u * 25);

    auto again = LoadAntPos(path);
    ASSERT_TRUE(again.ok());
    EXPECT_FALSE(again->rebuilt);
    EXPECT_EQ(again->table.size(), 22u);
}

TEST(ParseAntPos, AtMost49LinesAnyLineEndShortLines) {
    std::string text;
    for (int i = 1; i <= 60; ++i) {
        if (i < 10) text += '0';
        text += std::to_string(i);
        text += "Sat\n";
    }
    const SatPosTable table = ParseAntPos(text);
    ASSERT_EQ(table.size(), 49u);
    EXPECT_EQ(table[48].Number, 49);
    EXPECT_EQ(table[0].Name.view(), "Sat            ");
    EXPECT_EQ(table[0].Position.view(), "      ");

    const SatPosTable mixed = ParseAntPos("05A\r06B\r\n07C");
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[2].Number, 7);
    EXPECT_TRUE(ParseAntPos("").empty());
}

}  // namespace
}  // namespace qel
