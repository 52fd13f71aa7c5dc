// The safe save's Windows side: read-only files, devices, names outside the ANSI code page and
// the leftovers of a killed save.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "files/file_io.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace qel {
namespace {

using test::filesIn;
using test::TempDir;

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

TEST(WriteFileAtomicWindows, NamesOutsideTheAnsiCodePageSaveAndRead) {
    TempDir dir;
    // Greek, Cyrillic, Japanese and the euro sign: no single ANSI code page holds them all.
    const std::string name = "Canali \xCE\xA9 \xD0\x96 \xE6\x97\xA5\xE6\x9C\xAC \xE2\x82\xAC.dvb";
    const std::string path = utf8(dir.path()) + "\\" + name;
    ASSERT_TRUE(writeFileAtomic(path, "first").ok());
    ASSERT_TRUE(writeFileAtomic(path, "second").ok());
    EXPECT_EQ(*readFileBytes(path, 100), "second");
    ASSERT_EQ(filesIn(dir.path()), 1u);
    EXPECT_EQ(utf8(fs::directory_iterator(dir.path())->path().filename()), name);
    // The folder may carry such a name too.
    const std::string folder = utf8(dir.path()) + "\\\xE6\x97\xA5";
    fs::create_directory(fromUtf8(folder));
    ASSERT_TRUE(writeFileAtomic(folder + "\\a.dvb", "x").ok());
    EXPECT_EQ(*readFileBytes(folder + "\\a.dvb", 10), "x");
}

// A name relative to the current folder, or to the drive's root, replaces the file as a
// whole path does.
TEST(WriteFileAtomicWindows, RelativeNamesReplaceTheFile) {
    TempDir dir;
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const std::string rooted = utf8(dir.path()).substr(2) + "\\rooted.dvb";  // no drive letter
    std::string results;
    for (const std::string& name : {std::string("list.dvb"), std::string(".\\list.dvb"), rooted}) {
        for (const char* bytes : {"old", "new"})
            results += writeFileAtomic(name, bytes).ok() ? "+" : "-";
        results += TempDir::read(name) + " ";
    }
    fs::current_path(before);
    EXPECT_EQ(results, "++new ++new ++new ");
    EXPECT_EQ(filesIn(dir.path()), 2u);
}

TEST(WriteFileAtomicWindows, ReadOnlyFilesAndDevicesAreRefusedAndKept) {
    TempDir dir;
    const std::string locked = dir.write("locked.dvb", "keep");
    ASSERT_NE(::SetFileAttributesW(fs::path(locked).c_str(), FILE_ATTRIBUTE_READONLY), 0);
    const Status st = writeFileAtomic(locked, "x");
    EXPECT_EQ(st.error(), ErrorCode::CannotWriteFile);
    EXPECT_EQ(st.detail(), "Permission denied");
    EXPECT_EQ(TempDir::read(locked), "keep");
    EXPECT_NE(::GetFileAttributesW(fs::path(locked).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    // The reserved device names, in a folder or alone, are no files to replace.
    for (const std::string& device : {std::string("NUL"), std::string("CON"), dir.file("NUL"),
                                      dir.file("COM1"), std::string("\\\\.\\NUL")}) {
        EXPECT_EQ(writeFileAtomic(device, "x").error(), ErrorCode::CannotWriteFile) << device;
        EXPECT_FALSE(readFileBytes(device, 10).ok()) << device;
    }
    EXPECT_EQ(filesIn(dir.path()), 1u);  // no temporary file left behind
    ::SetFileAttributesW(fs::path(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WriteFileAtomicWindows, RemovesOnlyLeftoversWhoseWriterIsGone) {
    TempDir dir;
    const auto path = dir.write("list.dvb", "old");
    const std::string prefix = temporaryPrefixFor(path);
    // Process ids on Windows are multiples of four: 3 names no process. This process's file is
    // a running save's, unless it is so old that no save can still be writing it.
    const std::string self = std::to_string(::GetCurrentProcessId());
    const auto killed = dir.write(prefix + "3-0.tmp", "half");
    const auto running = dir.write(prefix + self + "-7.tmp", "writing");
    const auto stale = dir.write(prefix + self + "-8.tmp", "stale");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::minutes(10));
    const auto other = dir.write(temporaryPrefixFor(dir.file("other.dvb")) + "3-0.tmp", "not ours");
    ASSERT_TRUE(writeFileAtomic(path, "new").ok());
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(TempDir::read(path), "new");
}

}  // namespace
}  // namespace qel
