#include "files/g98_file.h"

#include <gtest/gtest.h>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "model/workspace.h"

namespace qel {
namespace {

// A settings block as the receiver sends it: the tag, then varied bytes, then the checksum.
std::string settingsFile(char fill = 0) {
    std::string block = "DVSO";
    for (std::size_t i = block.size(); i < kSettingsBlockSize; ++i) {
        block += static_cast<char>(fill != 0 ? fill : static_cast<char>(i * 7));
    }
    return block + static_cast<char>(blockChecksum(block));
}

TEST(G98, AnyContentOfTheRightLengthIsRead) {
    auto image = decodeG98(std::string(kG98FileSize, '\xEE'));
    ASSERT_TRUE(image.ok());  // any content of the right length
    EXPECT_EQ(image->size(), kSettingsImageLength);
    EXPECT_FALSE(settingsImageLoaded(*image));
}

TEST(G98, ImageIsTheHexOfAllBytesAndWritesBack) {
    const std::string file = settingsFile();
    auto image = decodeG98(file);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(*image,
              bytesToHex(file.substr(0, 1264)) + bytesToHex(file.substr(1264)).substr(0, 2));
    EXPECT_TRUE(settingsImageLoaded(*image));
    EXPECT_EQ(encodeG98(*image), file);
}

TEST(G98, WriterRecomputesTheChecksum) {
    std::string file = settingsFile();
    file.back() = 'x';  // a wrong checksum in the file is not carried over
    const std::string written = encodeG98(*decodeG98(file));
    ASSERT_EQ(written.size(), kG98FileSize);
    EXPECT_EQ(written.substr(0, 1264), file.substr(0, 1264));
    EXPECT_EQ(static_cast<unsigned char>(written.back()), blockChecksum(file.substr(0, 1264)));
}

}  // namespace
}  // namespace qel
