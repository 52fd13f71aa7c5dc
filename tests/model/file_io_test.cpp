#include "model/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace qel {
namespace {

using test::TempDir;

std::size_t FilesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(ReadFileBytes, WholeFileMissingAndTooLarge) {
    TempDir dir;
    const std::string bytes("a\0b\xFF", 4);
    const auto path = dir.Write("f.bin", bytes);
    EXPECT_EQ(*ReadFileBytes(path, 4), bytes);
    EXPECT_EQ(ReadFileBytes(path, 3).error(), ErrorCode::FileTooLarge);
    EXPECT_EQ(ReadFileBytes(dir.File("none"), 10).error(), ErrorCode::CannotOpenFile);
    EXPECT_EQ(ReadFileBytes(dir.path().string(), 10).error(), ErrorCode::CannotOpenFile);
}

TEST(WriteFileAtomic, ReplacesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const auto path = dir.Write("list.dvb", "old content");
    ASSERT_TRUE(WriteFileAtomic(path, "new").ok());
    EXPECT_EQ(TempDir::Read(path), "new");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
    ASSERT_TRUE(WriteFileAtomic(dir.File("fresh.dvb"), "").ok());
    EXPECT_EQ(TempDir::Read(dir.File("fresh.dvb")), "");
}

TEST(WriteFileAtomic, FailureKeepsThePreviousFile) {
    TempDir dir;
    // The target is a folder: the rename fails and nothing else is touched.
    fs::create_directory(dir.File("target.dvb"));
    EXPECT_EQ(WriteFileAtomic(dir.File("target.dvb"), "x").error(), ErrorCode::CannotWriteFile);
    EXPECT_TRUE(fs::is_directory(dir.File("target.dvb")));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
    EXPECT_EQ(WriteFileAtomic(dir.File("no/such/dir.dvb"), "x").error(),
              ErrorCode::CannotWriteFile);
}

TEST(WriteFileAtomic, KeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    const auto path = dir.Write("a.dvb", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(path, dir.File("link.dvb"));
    ASSERT_TRUE(WriteFileAtomic(dir.File("link.dvb"), "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.File("link.dvb")));
    EXPECT_EQ(TempDir::Read(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace qel
