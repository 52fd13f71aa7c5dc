#include "files/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace qel {
namespace {

using test::TempDir;

std::size_t filesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(ReadFileBytes, WholeFileMissingAndTooLarge) {
    TempDir dir;
    const std::string bytes("a\0b\xFF", 4);
    const auto path = dir.write("f.bin", bytes);
    EXPECT_EQ(*readFileBytes(path, 4), bytes);
    EXPECT_EQ(readFileBytes(path, 3).error(), ErrorCode::FileTooLarge);
    EXPECT_EQ(readFileBytes(dir.file("none"), 10).error(), ErrorCode::CannotOpenFile);
    EXPECT_EQ(readFileBytes(dir.path().string(), 10).error(), ErrorCode::CannotOpenFile);
}

TEST(WriteFileAtomic, ReplacesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const auto path = dir.write("list.dvb", "old content");
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    EXPECT_EQ(TempDir::read(path), "new");
    EXPECT_EQ(filesIn(dir.path()), 1u);
    ASSERT_TRUE(writeFileAtomic(dir.file("fresh.dvb"), "").ok());
    EXPECT_EQ(TempDir::read(dir.file("fresh.dvb")), "");
}

TEST(WriteFileAtomic, FailureKeepsThePreviousFile) {
    TempDir dir;
    // The target is a folder: the rename fails and nothing else is touched.
    fs::create_directory(dir.file("target.dvb"));
    EXPECT_EQ(writeFileAtomic(dir.file("target.dvb"), "x").error(), ErrorCode::CannotWriteFile);
    EXPECT_TRUE(fs::is_directory(dir.file("target.dvb")));
    EXPECT_EQ(filesIn(dir.path()), 1u);
    EXPECT_EQ(writeFileAtomic(dir.file("no/such/dir.dvb"), "x").error(),
              ErrorCode::CannotWriteFile);
}

TEST(WriteFileAtomic, KeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    const auto path = dir.write("a.dvb", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(path, dir.file("link.dvb"));
    ASSERT_TRUE(writeFileAtomic(dir.file("link.dvb"), "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.file("link.dvb")));
    EXPECT_EQ(TempDir::read(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WriteFileAtomic, RefusesWhatIsNotAWritableRegularFile) {
    TempDir dir;
    // A pipe, a link to a pipe, a link to a device and a write-protected file: each is refused
    // and stays what it was.
    const auto fifo = dir.file("pipe.dvb");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink(fifo, dir.file("to-pipe.dvb"));
    fs::create_symlink("/dev/null", dir.file("to-null.dvb"));
    const auto locked = dir.write("locked.dvb", "keep");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    for (const auto& target : {fifo, dir.file("to-pipe.dvb"), dir.file("to-null.dvb"), locked}) {
        EXPECT_EQ(writeFileAtomic(target, "x").error(), ErrorCode::CannotWriteFile) << target;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_symlink(dir.file("to-null.dvb")));
    EXPECT_EQ(TempDir::read(locked), "keep");
    EXPECT_EQ(filesIn(dir.path()), 4u);  // no temporary file left behind
}

TEST(WriteFileAtomic, NewFilesGetTheUsualModeAndLongNamesSave) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeFileAtomic(dir.file("new.dvb"), "x").ok());
    ::umask(mask);
    EXPECT_EQ(fs::status(dir.file("new.dvb")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    // A name as long as the folder allows: the temporary name stays short.
    const std::string longName = std::string(251, 'n') + ".dvb";
    ASSERT_TRUE(writeFileAtomic(dir.file(longName), "long").ok());
    EXPECT_EQ(TempDir::read(dir.file(longName)), "long");
    EXPECT_LT(temporaryPrefixFor(dir.file(longName)).size(), 20u);
}

TEST(WriteFileAtomic, ALeftoverOfAKilledSaveGoesAtTheNextSave) {
    TempDir dir;
    const auto path = dir.write("list.dvb", "old");
    const auto leftover = dir.write(temporaryPrefixFor(path) + "123-0.tmp", "half written");
    const auto other = dir.write(temporaryPrefixFor(dir.file("other.dvb")) + "9-0.tmp", "not ours");
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(TempDir::read(path), "new");
}

}  // namespace
}  // namespace qel
