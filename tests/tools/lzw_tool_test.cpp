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

// Around the firmware's block size, and more than the tool reads at a time: one stream, or
// with --blocks (anywhere after the command) a stream per 64 KB block in numbered files.
TEST(LzwTool, StreamsGzipReadsWholeOrByBlock) {
    struct Case {
        std::size_t size;
        const char* args;
        std::size_t blocks;  // 0: one stream in out.Z
    };
    const Case cases[] = {
        {0, "lzw in.bin out.Z", 0},
        {1, "lzw in.bin out.Z", 0},
        {65535, "lzw in.bin out.Z", 0},
        {65537, "lzw in.bin out.Z", 0},
        {3500000, "lzw in.bin out.Z", 0},
        {0, "lzw --blocks in.bin out.Z", 0},
        {1, "lzw in.bin out.Z --blocks", 1},
        {65536, "lzw --blocks in.bin out.Z", 1},
        {65537, "lzw in.bin out.Z --blocks", 2},
        {11 * 65536 + 7, "lzw --blocks in.bin out.Z", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.args) + " " + std::to_string(c.size));
        TempDir dir;
        const std::string input = mixedData(c.size);
        dir.write("in.bin", input);
        const test::ToolRun run = runTool(c.args, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        const bool blocks = std::string(c.args).find("--blocks") != std::string::npos;
        if (!blocks) {
            EXPECT_EQ(gzipDecoded(dir, "out.Z"), input);
            EXPECT_EQ(TempDir::read(dir.file("out.Z")), lzwCompress(input));
            continue;
        }
        for (std::size_t block = 0; block < c.blocks; ++block) {
            const std::string original = input.substr(block * 65536, 65536);
            EXPECT_EQ(gzipDecoded(dir, blockName(block)), original) << block;
            EXPECT_EQ(TempDir::read(dir.file(blockName(block))), lzwCompress(original)) << block;
        }
        EXPECT_FALSE(std::filesystem::exists(dir.file(blockName(c.blocks))));
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.Z")));
    }
}

}  // namespace
}  // namespace qel
