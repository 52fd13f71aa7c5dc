// qel-tool lzw: a whole file as one compress stream that gzip reads back, whatever its size;
// with --blocks, the firmware upgrade's per-block streams in numbered files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "bytes/lzw.h"
#include "support/byte_blocks.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::runTool;
using test::TempDir;

// Text, runs of zeros and noise in turn: the table fills, the ratio drops, the table is
// cleared and fills again.
std::string mixedData(std::size_t size) {
    std::string s;
    for (std::uint32_t seed = 1; s.size() < size; ++seed) {
        s += test::textBlock(300000, seed);
        s += std::string(40000 + seed * 1000, '\0');
        s += test::randomBlock(120000, seed);
    }
    s.resize(size);
    return s;
}

// What `gzip -dc` makes of a file, or nothing when gzip refuses it.
std::optional<std::string> gzipDecoded(const TempDir& dir, const std::string& name) {
    const std::string out = dir.file("gzip.out");
    const std::string cmd = "gzip -dc <'" + dir.file(name) + "' >'" + out + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return std::nullopt;
    return TempDir::read(out);
}

std::string blockName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "out.Z.%03zu", index);
    return name;
}

TEST(LzwTool, TheWholeFileIsOneStreamGzipReads) {
    // Around the firmware's block size, and more than the tool reads at a time.
    const std::size_t sizes[] = {0, 1, 5000, 65535, 65536, 65537, 3 * 65536 + 5, 3500000};
    TempDir dir;
    for (const std::size_t size : sizes) {
        SCOPED_TRACE(size);
        const std::string input = mixedData(size);
        dir.write("in.bin", input);
        const test::ToolRun run = runTool("lzw in.bin out.Z", dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(gzipDecoded(dir, "out.Z"), input);
        EXPECT_EQ(TempDir::read(dir.file("out.Z")), lzwCompress(input));
    }
}

TEST(LzwTool, BlocksAreTheFirmwaresStreamsInNumberedFiles) {
    struct Case {
        std::size_t size;
        std::size_t blocks;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {65536, 1}, {65537, 2}, {11 * 65536 + 7, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        TempDir dir;
        const std::string input = mixedData(c.size);
        dir.write("in.bin", input);
        // The option anywhere after the command.
        const char* args =
            c.size % 2 == 0 ? "lzw --blocks in.bin out.Z" : "lzw in.bin out.Z --blocks";
        const test::ToolRun run = runTool(args, dir);
        ASSERT_EQ(run.status, 0) << args << ": " << run.err;
        for (std::size_t block = 0; block < c.blocks; ++block) {
            SCOPED_TRACE(block);
            const std::string original = input.substr(block * 65536, 65536);
            ASSERT_TRUE(std::filesystem::exists(dir.file(blockName(block))));
            EXPECT_EQ(gzipDecoded(dir, blockName(block)), original);
            EXPECT_EQ(TempDir::read(dir.file(blockName(block))), lzwCompress(original));
        }
        EXPECT_FALSE(std::filesystem::exists(dir.file(blockName(c.blocks))));
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.Z")));
    }
}

TEST(LzwTool, RefusalsAndUsage) {
    TempDir dir;
    dir.write("in.bin", "data");
    std::filesystem::create_directory(dir.file("folder"));
    struct Case {
        const char* args;
        int status;
    };
    const Case cases[] = {
        {"lzw missing.bin out.Z", 2},           {"lzw folder out.Z", 2},
        {"lzw in.bin no-such-folder/out.Z", 2}, {"lzw --blocks missing.bin out.Z", 2},
        {"lzw --blocks folder out.Z", 2},       {"lzw in.bin", 1},
        {"lzw in.bin out.Z extra", 1},          {"lzw --blocks in.bin", 1},
        {"lzw --block in.bin out.Z", 1},        {"lzw in.bin out.Z --bogus", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const test::ToolRun run = runTool(c.args, dir);
        EXPECT_EQ(run.status, c.status);
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.Z")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.Z.000")));
    }
}

}  // namespace
}  // namespace qel
