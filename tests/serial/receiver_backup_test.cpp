// The receiver's backup files: the channel records as they came, the settings block as a .g98
// file, and which file a failed backup names.
#include "serial/receiver_backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bytes/checksum.h"
#include "files/g98_file.h"
#include "serial/download.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::TempDir;

std::string settingsBlock(char fill) {
    return "DVSO" + std::string(kSettingsBlockSize - 4, fill);
}

TEST(ReceiverBackupTest, WritesTheRecordsAndTheSettingsFileIntoANewFolder) {
    TempDir dir;
    const std::string folder = dir.file("backups/20240101-120000");
    const std::string channels(3 * 64, '\x41');
    const std::string block = settingsBlock('\x22');
    ASSERT_TRUE(writeReceiverBackup(folder, channels, block).ok());

    EXPECT_EQ(TempDir::read(folder + "/receiver.dvb"), channels);
    // The .g98 file is the block and its checksum byte, and reads back as the block's image.
    const std::string g98 = TempDir::read(folder + "/receiver.g98");
    EXPECT_EQ(g98, block + static_cast<char>(blockChecksum(block)));
    const Result<std::string> image = readSettingsFile(folder + "/receiver.g98");
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(*image, settingsImageOf(block));
    EXPECT_EQ(encodeG98(*image), g98);

    // A second backup into the same folder replaces both files.
    const std::string other = settingsBlock('\x07');
    ASSERT_TRUE(writeReceiverBackup(folder, "", other).ok());
    EXPECT_EQ(TempDir::read(folder + "/receiver.dvb"), "");
    EXPECT_EQ(TempDir::read(folder + "/receiver.g98"),
              other + static_cast<char>(blockChecksum(other)));
}

TEST(ReceiverBackupTest, AFailedBackupNamesTheFileThatCouldNotBeWritten) {
    const struct {
        const char* name;
        // Prepares the temporary folder; gives the backup folder and the file named.
        std::string (*prepare)(const TempDir&);
        const char* named;
        const char* reason;
    } kCases[] = {
        {"the folder is a file", [](const TempDir& dir) { return dir.write("taken", "x"); },
         "receiver.dvb", "Not a directory"},
        {"the settings file is a folder",
         [](const TempDir& dir) {
             std::filesystem::create_directories(dir.path() / "bk" / "receiver.g98");
             return dir.file("bk");
         },
         "receiver.g98", "Is a directory"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string folder = c.prepare(dir);
        const Status st = writeReceiverBackup(folder, std::string(64, 'a'), settingsBlock('1'));
        EXPECT_EQ(st.error(), ErrorCode::CannotWriteFile);
        EXPECT_EQ(st.detail(),
                  (std::filesystem::path(folder) / c.named).string() + ": " + c.reason);
    }
}

}  // namespace
}  // namespace qel
