#include "files/file_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace qel {
namespace {

using test::filesIn;
using test::TempDir;

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

TEST(WriteFileAtomic, FailuresNameTheSystemsReason) {
    TempDir dir;
    fs::create_directory(dir.file("folder.dvb"));
    const auto locked = dir.write("locked.dvb", "keep");
    fs::permissions(locked, fs::perms::owner_read);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {dir.file("folder.dvb"), "Is a directory"},
        {locked, "Permission denied"},
        {dir.file("no/such/folder.dvb"), "No such file or directory"},
        {locked + "/below.dvb", "Not a directory"},
    };
    for (const auto& c : cases) {
        const Status st = writeFileAtomic(c.path, "x");
        EXPECT_EQ(st.error(), ErrorCode::CannotWriteFile) << c.path;
        EXPECT_EQ(st.detail(), c.reason) << c.path;
    }
    // Nothing else is touched, and no temporary file is left behind.
    EXPECT_TRUE(fs::is_directory(dir.file("folder.dvb")));
    EXPECT_EQ(TempDir::read(locked), "keep");
    EXPECT_EQ(filesIn(dir.path()), 2u);
}

TEST(SystemErrorText, TheProgramsOwnTextsAndTheSystemsForTheRest) {
    EXPECT_EQ(systemErrorText(ENOSPC), "No space left on device");
    EXPECT_EQ(systemErrorText(EACCES), "Permission denied");
    EXPECT_EQ(systemErrorText(EROFS), "Read-only file system");
#ifndef _WIN32
    EXPECT_EQ(systemErrorText(EXDEV), "Invalid cross-device link");
#endif
}

}  // namespace
}  // namespace qel
