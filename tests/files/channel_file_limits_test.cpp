// The limits every channel file reader keeps: a file with no channel is refused, one with
// more channels than any list holds too, and what a reader takes in memory stays in
// proportion to the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "files/csv_file.h"
#include "files/dvb_file.h"
#include "files/file_formats.h"
#include "files/text_import.h"
#include "support/channel_builder.h"
#include "support/csv_rows.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::DvbRecord;
using test::TempDir;

const std::string& kHeader = test::kCsvHeader;
const std::string& kRow = test::kCsvRow;
const std::string kTextRow =
    "RAI UNO              013E 2775 D431 011766 V 27500 3/4 0200 0201 0202 0000 0102 0203 0A5 1 "
    "4 01 BEEF";
const std::string kTextHeader = "--- HOTBIRD 13E --- ";

std::string repeat(const std::string& line, std::size_t times) {
    std::string out;
    out.reserve(line.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += line;
    return out;
}

TEST(ChannelFileLimits, NoChannelsOrTooManyAreRefusedWhole) {
    const std::size_t max = kMaxChannelsInFile;
    const std::string header = kHeader + "\r\n";
    const struct {
        const char* what;
        const char* extension;
        std::string bytes;
        std::optional<ErrorCode> code;  // nullopt: read
        std::size_t channels;
    } cases[] = {
        {"a byte-order mark alone", "txt", "\xEF\xBB\xBF", ErrorCode::NoChannelsInFile, 0},
        {"only line ends", "txt", repeat("\r\n", 1000) + repeat("\n", 1000),
         ErrorCode::NoChannelsInFile, 0},
        {"one header entry", "txt", kTextHeader + "\n\n", std::nullopt, 1},
        {"as many text rows as a file holds", "txt", repeat(kTextHeader + "\n", max), std::nullopt,
         max},
        {"one text row more", "txt", repeat(kTextHeader + "\n", max + 1), ErrorCode::FileTooLarge,
         0},
        {"CSV of line ends", "csv", repeat("\r\n", 1000), ErrorCode::NoChannelsInFile, 0},
        {"CSV header alone", "csv", header, ErrorCode::NoChannelsInFile, 0},
        {"CSV header and empty lines", "csv", header + "\r\n\n\r\n", ErrorCode::NoChannelsInFile,
         0},
        {"one CSV row", "csv", header + kRow, std::nullopt, 1},
        {"as many CSV rows as a file holds", "csv", header + repeat(kRow + "\n", max), std::nullopt,
         max},
        {"one CSV row more", "csv", header + repeat(kRow + "\n", max + 1), ErrorCode::FileTooLarge,
         0},
        {"as many records as a file holds", "dvb", repeat(DvbRecord().bytes(), max), std::nullopt,
         max},
        {"one record more", "dvb", repeat(DvbRecord().bytes(), max + 1), ErrorCode::FileTooLarge,
         0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        ImportProblem problem;
        const auto read = readChannels(dir.write(std::string("f.") + c.extension, c.bytes),
                                       {.problem = &problem});
        if (!c.code) {
            ASSERT_TRUE(read.ok()) << c.what << ": " << importMessage(read.status());
            EXPECT_EQ(read->lists.tv.size() + read->lists.radio.size(), c.channels) << c.what;
            continue;
        }
        ASSERT_FALSE(read.ok()) << c.what;
        EXPECT_EQ(read.error(), *c.code) << c.what;
        EXPECT_EQ(problem.row, 0u) << c.what;
    }
    EXPECT_EQ(importMessage(parseImportText("\n").status()), "No channels in the file");
}

TEST(ChannelFileLimits, AHeaderOrRowOfMillionsOfFieldsNamesTheFirstFault) {
    const std::string commas(1'000'000, ',');
    ImportProblem problem;
    auto lists = parseCsv(commas, &problem);
    ASSERT_FALSE(lists.ok());
    EXPECT_EQ(lists.error(), ErrorCode::CsvUnknownColumn);
    EXPECT_EQ(problem.row, 1u);
    EXPECT_EQ(problem.column, 1u);

    lists = parseCsv(kHeader + "," + commas, &problem);
    ASSERT_FALSE(lists.ok());
    EXPECT_EQ(lists.error(), ErrorCode::CsvUnknownColumn);
    EXPECT_EQ(problem.column, 29u);

    lists = parseCsv(kHeader + "\r\n" + kRow + "\r\n" + kRow + commas, &problem);
    ASSERT_FALSE(lists.ok());
    EXPECT_EQ(lists.error(), ErrorCode::CsvWrongFieldCount);
    EXPECT_EQ(problem.row, 3u);
}

// The process's peak resident memory in kB ("VmHWM" of /proc/self/status); -1 if unknown.
long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// Sets the peak back to what the process holds now.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

// Runs `read` in a child process and ends it with 0 when its peak memory grew by at most
// ten times the file's size and 8 MB, with 1 otherwise (the growth on stderr).
void readWithinBound(const std::function<void()>& read, std::size_t fileSize) {
    if (!resetPeak()) std::_Exit(0);
    const long before = peakKb();
    read();
    const long grown = peakKb() - before;
    const long bound = static_cast<long>(fileSize * 10 / 1024) + 8 * 1024;
    std::fprintf(stderr, "grew %ld kB of %ld\n", grown, bound);
    std::_Exit(before >= 0 && grown <= bound ? 0 : 1);
}

TEST(ChannelFileLimits, ReadersTakeMemoryInProportionToTheFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory hides the readers'";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's own memory hides the readers'";
#endif
#endif
    if (!resetPeak()) GTEST_SKIP() << "no /proc/self/clear_refs to reset the peak";

    const std::size_t size = kMaxImportFileSize;
    const std::string wide = repeat("\xC4\x80", 20);  // 20 characters above 255
    const std::size_t fitting = kMaxChannelsInFile - 1;
    const std::string wideRow = "TV," + wide + kRow.substr(kRow.find(',', 3));
    const struct {
        const char* name;
        std::function<std::string()> bytes;
    } files[] = {
        {"commas.csv", [&] { return std::string(size, ','); }},
        {"row-of-commas.csv",
         [&] { return kHeader + "\n" + std::string(size - kHeader.size() - 1, ','); }},
        {"rows.csv",
         [&] { return kHeader + "\n" + repeat(kRow + "\n", size / (kRow.size() + 1) - 2); }},
        {"wide-names.csv",
         [&] { return kHeader + "\n" + repeat(wideRow + "\n", size / (wideRow.size() + 1) - 2); }},
        {"newlines.txt", [&] { return std::string(size, '\n'); }},
        {"rows.txt", [&] { return repeat(kTextRow + "\n", fitting); }},
        {"headers.txt", [&] { return repeat(kTextHeader + "\n", fitting); }},
        {"too-many-headers.txt", [&] { return repeat(kTextHeader + "\n", size / 21); }},
        {"wide-headers.txt", [&] { return repeat(wide + "\n", size / (wide.size() + 1)); }},
        {"full.dvb", [&] { return repeat(DvbRecord().bytes(), kMaxChannelsInFile); }},
    };
    TempDir dir;
    for (const auto& f : files) {
        const std::string name = f.name;
        std::size_t bytes = 0;
        std::string path;
        {
            const std::string content = f.bytes();
            ASSERT_LE(content.size(), size) << name;
            bytes = content.size();
            path = dir.write(name, content);
        }
        EXPECT_EXIT(readWithinBound([path] { (void)readChannels(path); }, bytes),
                    testing::ExitedWithCode(0), "grew")
            << name;
    }
}

}  // namespace
}  // namespace qel
