#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/firmware_files.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

TEST(FlashRoutine, TheFirstFolderThatHoldsItWinsAndAMissingOneNamesEveryPlace) {
    test::TempDir user;
    test::TempDir beside;
    test::TempDir installed;
    const std::vector<std::string> places = {user.path().string(), beside.path().string(),
                                             installed.path().string()};
    const Result<std::string> none = findFlashRoutine(places);
    ASSERT_EQ(none.error(), ErrorCode::NoFlashRoutine);
    EXPECT_EQ(none.detail(), places[0] + "\n" + places[1] + "\n" + places[2]);

    installed.write("rodflash.sbr", "x");
    EXPECT_EQ(*findFlashRoutine(places), installed.file("rodflash.sbr"));
    beside.write("rodflash.sbr", "y");
    EXPECT_EQ(*findFlashRoutine(places), beside.file("rodflash.sbr"));
    // A folder of that name is no routine.
    std::filesystem::create_directory(user.path() / "rodflash.sbr");
    EXPECT_EQ(*findFlashRoutine(places), beside.file("rodflash.sbr"));
}

TEST(FlashRoutine, ItIsReadAsItsSizePaddedOrCutAndAnEmptyFileIsRefused) {
    test::TempDir dir;
    const struct {
        std::size_t size;
        bool ok;
    } kCases[] = {{0, false}, {1, true}, {1715, true}, {1716, true}, {5000, true}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.size);
        std::string bytes(c.size, '\0');
        for (std::size_t i = 0; i < c.size; ++i)
            bytes[i] = static_cast<char>(i % 251 + 1);
        const Result<std::string> routine = readFlashRoutine(dir.write("r.sbr", bytes));
        ASSERT_EQ(routine.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(routine.error(), ErrorCode::NoFlashRoutine);
            continue;
        }
        ASSERT_EQ(routine->size(), kFlashRoutineSize);
        const std::size_t kept = std::min(c.size, kFlashRoutineSize);
        EXPECT_TRUE(routine->substr(0, kept) == bytes.substr(0, kept));
        EXPECT_EQ(routine->find_first_not_of('\0', kept), std::string::npos);
    }
    EXPECT_EQ(readFlashRoutine(dir.file("missing.sbr")).error(), ErrorCode::CannotOpenFile);
}

TEST(FirmwareFile, AnEmptyFileIsRefused) {
    test::TempDir dir;
    EXPECT_EQ(readFirmwareFile(dir.write("empty.bin", "")).error(), ErrorCode::EmptyFirmware);
    EXPECT_EQ(*readFirmwareFile(dir.write("one.bin", "\x01")), "\x01");
    EXPECT_EQ(readFirmwareFile(dir.file("none.bin")).error(), ErrorCode::CannotOpenFile);
}

}  // namespace
}  // namespace qel
