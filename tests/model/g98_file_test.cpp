#include "model/g98_file.h"

#include <gtest/gtest.h>

#include "model/conversions.h"
#include "model/workspace.h"
#include "serial/checksum.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::TempDir;

// A settings block as the receiver sends it: the tag, then varied bytes, then the checksum.
std::string SettingsFile(char fill = 0) {
    std::string block = "DVSO";
    for (std::size_t i = block.size(); i < kSettingsBlockSize; ++i) {
        block += static_cast<char>(fill != 0 ? fill : static_cast<char>(i * 7));
    }
    return block + static_cast<char>(CheckSum(block));
}

TEST(G98, OnlyTheExactLengthIsAccepted) {
    for (std::size_t size : {0u, 1264u, 1266u, 2530u}) {
        EXPECT_EQ(DecodeG98(std::string(size, 'a')).error(), ErrorCode::WrongFileLength) << size;
    }
    auto image = DecodeG98(std::string(kG98FileSize, '\xEE'));
    ASSERT_TRUE(image.ok());  // any content of the right length
    EXPECT_EQ(image->size(), kSettingsImageLength);
    EXPECT_FALSE(SettingsImageLoaded(*image));
}

TEST(G98, ImageIsTheHexOfAllBytesAndWritesBack) {
    const std::string file = SettingsFile();
    auto image = DecodeG98(file);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(*image,
              BytesToHex(file.substr(0, 1264)) + BytesToHex(file.substr(1264)).substr(0, 2));
    EXPECT_TRUE(SettingsImageLoaded(*image));
    EXPECT_EQ(EncodeG98(*image), file);
}

TEST(G98, WriterRecomputesTheChecksum) {
    std::string file = SettingsFile();
    file.back() = 'x';  // a wrong checksum in the file is not carried over
    const std::string written = EncodeG98(*DecodeG98(file));
    ASSERT_EQ(written.size(), kG98FileSize);
    EXPECT_EQ(written.substr(0, 1264), file.substr(0, 1264));
    EXPECT_EQ(static_cast<unsigned char>(written.back()), CheckSum(file.substr(0, 1264)));
}

TEST(OpenDVB98Settings, LoadsImageAndWorkingCopy) {
    TempDir dir;
    Workspace ws;
    ws.SettingsModified = true;
    ASSERT_TRUE(OpenDVB98Settings(ws, dir.Write("a.g98", SettingsFile())).ok());
    EXPECT_TRUE(SettingsImageLoaded(ws.DVB98Settings));
    EXPECT_EQ(ws.DVB98SettingsWork, ws.DVB98Settings);
    EXPECT_FALSE(ws.SettingsModified);
}

TEST(OpenDVB98Settings, RefusedFileKeepsTheLoadedImage) {
    TempDir dir;
    Workspace ws;
    ASSERT_TRUE(OpenDVB98Settings(ws, dir.Write("good.g98", SettingsFile())).ok());
    const std::string loaded = ws.DVB98Settings;
    ws.DVB98SettingsWork[10] = 'F';  // an edit in progress
    const std::string work = ws.DVB98SettingsWork;
    for (std::size_t size : {1264u, 1266u, 100000u}) {
        const auto path = dir.Write("bad.g98", std::string(size, 'x'));
        EXPECT_EQ(OpenDVB98Settings(ws, path).error(), ErrorCode::WrongFileLength) << size;
        EXPECT_EQ(ws.DVB98Settings, loaded);
        EXPECT_EQ(ws.DVB98SettingsWork, work);
    }
    EXPECT_EQ(OpenDVB98Settings(ws, dir.File("none.g98")).error(), ErrorCode::CannotOpenFile);
    EXPECT_EQ(ws.DVB98Settings, loaded);
}

}  // namespace
}  // namespace qel
