// qel-tool lzw: files compressed as the firmware blocks are, checked against gzip and
// against the core's encoder block by block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bytes/lzw.h"
#include "support/byte_blocks.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::runTool;
using test::TempDir;

std::string firmwareLike(std::size_t size) {
    return test::textBlock(size / 2, 1) + test::randomBlock(size - size / 2, 2);
}

TEST(LzwTool, SmallFileIsOneStreamGzipReads) {
    TempDir dir;
    const std::string input = firmwareLike(5000);
    dir.write("small.bin", input);
    const test::ToolRun run = runTool("lzw small.bin small.Z", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(
        std::system(
            ("gzip -dc <'" + dir.file("small.Z") + "' >'" + dir.file("small.out") + "'").c_str()),
        0);
    EXPECT_EQ(TempDir::read(dir.file("small.out")), input);
}

TEST(LzwTool, LargerFilesGoInBlocksOf64K) {
    struct Case {
        std::size_t size;
        std::size_t streams;
    };
    const Case cases[] = {{0, 1}, {65536, 1}, {65537, 2}, {70000, 2}, {3 * 65536 + 5, 4}};
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string input = firmwareLike(c.size);
        dir.write("in.bin", input);
        const test::ToolRun run = runTool("lzw in.bin out.Z", dir);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string written = TempDir::read(dir.file("out.Z"));

        // Each stream decodes to its block; they follow one another with nothing between.
        std::size_t at = 0;
        for (std::size_t block = 0; block < c.streams; ++block) {
            const std::string original = input.substr(std::min(input.size(), block * 65536), 65536);
            const std::string stream = lzwCompress(original);
            ASSERT_EQ(written.substr(at, stream.size()), stream) << "block " << block;
            EXPECT_EQ(lzwDecompress(written.substr(at, stream.size())), original);
            at += stream.size();
        }
        EXPECT_EQ(at, written.size());
    }
}

TEST(LzwTool, RefusalsAndUsage) {
    TempDir dir;
    dir.write("in.bin", "data");
    struct Case {
        const char* args;
        int status;
    };
    const Case cases[] = {
        {"lzw missing.bin out.Z", 2},
        {"lzw in.bin no-such-folder/out.Z", 2},
        {"lzw in.bin", 1},
        {"lzw in.bin out.Z extra", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const test::ToolRun run = runTool(c.args, dir);
        EXPECT_EQ(run.status, c.status);
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.Z")));
    }
}

}  // namespace
}  // namespace qel
