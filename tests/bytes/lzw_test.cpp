#include "bytes/lzw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/byte_blocks.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::randomBlock;
using test::TempDir;
using test::textBlock;

std::string everyByteValue() {
    std::string s;
    for (int i = 0; i < 256; ++i)
        s += static_cast<char>(i);
    return s;
}

// gzip reads our streams too in the Linux build; a Windows build has no gzip to ask.
#ifdef _WIN32
constexpr bool kWithGzip = false;
#else
constexpr bool kWithGzip = true;
#endif

// What `gzip -dc` makes of a stream, or nothing when gzip refuses it.
std::optional<std::string> gzipDecoded(const TempDir& dir, const std::string& stream) {
    const std::string in = dir.write("stream.Z", stream);
    const std::string out = dir.file("stream.out");
    const std::string cmd = "gzip -dc <'" + in + "' >'" + out + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return std::nullopt;
    return TempDir::read(out);
}

// A stream written by hand: codes of the given widths, least significant bit first; a code
// of width 0 pads to the end of the current group of eight codes of `padWidth` bits.
std::string handStream(unsigned char flags, const std::vector<std::pair<unsigned, unsigned>>& codes,
                       unsigned padWidth = 9) {
    std::string s = {'\x1F', '\x9D', static_cast<char>(flags)};
    std::vector<bool> bits;
    std::size_t groupStart = 0;
    for (const auto& [code, width] : codes) {
        if (width == 0) {
            while ((bits.size() - groupStart) % (8 * padWidth) != 0)
                bits.push_back(false);
            groupStart = bits.size();
            continue;
        }
        for (unsigned b = 0; b < width; ++b)
            bits.push_back(((code >> b) & 1U) != 0);
    }
    for (std::size_t i = 0; i < bits.size(); i += 8) {
        unsigned byte = 0;
        for (std::size_t b = 0; b < 8 && i + b < bits.size(); ++b)
            byte |= (bits[i + b] ? 1U : 0U) << b;
        s += static_cast<char>(byte);
    }
    return s;
}

// Each input goes through our decoder and gzip, and the encoder fed piece by piece writes the
// one-shot stream however the input is cut: at every byte, in pieces around the check gap and
// the firmware block, and at odd places (through width changes, a full table and clear codes).
TEST(Lzw, RoundTripsThroughOurDecoderAndGzipAndInPieces) {
    // Text fills the table, then random bytes make the ratio drop.
    const std::string fillThenWorse = textBlock(400000, 7) + randomBlock(60000, 8);
    const struct {
        const char* name;
        std::string input;
        bool clears;  // whether the table fills and the ratio drops, so a clear code is sent
        std::vector<std::size_t> pieces;  // repeated until the input is used up
    } cases[] = {
        {"empty", "", false, {1}},
        {"one byte", "\xA5", false, {1}},
        {"64 KB of zeros", std::string(65536, '\0'), false, {1}},
        {"64 KB random", randomBlock(65536, 1), false, {1}},
        {"64 KB text", textBlock(65536, 2), false, {1}},
        {"every byte value, a run, random",
         everyByteValue() + std::string(1000, 'x') + everyByteValue() + randomBlock(9000, 4),
         false,
         {7, 9999, 1, 65536}},
        {"mixed", textBlock(100000, 4) + randomBlock(100000, 5), true, {7, 9999, 1, 65536}},
        {"filled and cleared, around the check gap", fillThenWorse, true, {10000, 9999, 10001}},
        {"filled and cleared, large pieces", fillThenWorse, true, {65536, 300000}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string stream = lzwCompress(c.input);
        ASSERT_GE(stream.size(), 3u);
        EXPECT_EQ(stream.substr(0, 3), "\x1F\x9D\x90");
        LzwStreamStats stats;
        EXPECT_EQ(lzwDecompressWithStats(stream, std::size_t{1} << 24, stats), c.input);
        EXPECT_EQ(stats.clears > 0, c.clears) << stats.clears;
        if (kWithGzip) {
            EXPECT_EQ(gzipDecoded(dir, stream), c.input);
        }
        LzwEncoder encoder;
        std::string pieces;
        std::size_t at = 0;
        for (std::size_t k = 0; at < c.input.size(); ++k) {
            const std::size_t size = std::min(c.pieces[k % c.pieces.size()], c.input.size() - at);
            const std::size_t before = pieces.size();
            encoder.write(std::string_view(c.input).substr(at, size), pieces);
            at += size;
            // What a piece added is final: the one-shot stream has the same bytes there.
            ASSERT_EQ(std::string_view(pieces).substr(before),
                      std::string_view(stream).substr(before, pieces.size() - before))
                << "piece " << k;
        }
        encoder.finish(pieces);
        EXPECT_EQ(pieces, stream);
    }
}

TEST(Lzw, CompressesAsExpectedOfLzw) {
    EXPECT_LT(lzwCompress(std::string(65536, '\0')).size(), 65536u / 100);
    EXPECT_LT(lzwCompress(textBlock(65536, 5)).size(), 65536u / 2);
    // Random bytes grow, but not beyond 16 bits a byte.
    EXPECT_LT(lzwCompress(randomBlock(65536, 6)).size(), 65536u * 3 / 2);
    LzwStreamStats stats;
    ASSERT_TRUE(lzwDecompressWithStats(lzwCompress(randomBlock(65536, 6)), 65536, stats));
    EXPECT_EQ(stats.widthChanges, 7u);  // 9 bits up to 16
    EXPECT_EQ(stats.maxBits, 16u);
}

// Lengths across the first width changes, where gzip reads garbage if the width grows one
// code early or late, and with every kind of last code and last partial byte.
TEST(Lzw, LengthsAroundWidthChangesDecode) {
    TempDir dir;
    const std::string data = randomBlock(2000, 9) + textBlock(3000, 10);
    std::string failures;
    for (std::size_t size = 300; size <= data.size(); size += 37) {
        const std::string input = data.substr(0, size);
        const std::string stream = lzwCompress(input);
        if (lzwDecompress(stream) != input) failures += " ours:" + std::to_string(size);
        if (kWithGzip && gzipDecoded(dir, stream) != input)
            failures += " gzip:" + std::to_string(size);
    }
    EXPECT_EQ(failures, "");
}

TEST(Lzw, DecodesStreamsWrittenByHand) {
    struct Case {
        const char* name;
        std::string stream;
        std::string expected;
    };
    const Case cases[] = {
        {"header only", handStream(0x90, {}), ""},
        // 257 = "ab", 258 = "ba", 259 = "aba" used as it is defined.
        {"string codes", handStream(0x90, {{'a', 9}, {'b', 9}, {257, 9}, {259, 9}}), "abababa"},
        // A clear code is followed by padding to the end of its group of eight.
        {"clear and padding",
         handStream(0x90, {{'a', 9}, {256, 9}, {0, 0}, {'b', 9}, {'c', 9}, {257, 9}}), "abcbc"},
        // Without block mode 256 is the first string, not a clear code.
        {"no block mode", handStream(0x10, {{'a', 9}, {'b', 9}, {256, 9}}), "abab"},
        {"trailing bits ignored", handStream(0x90, {{'z', 9}, {1, 3}}), "z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lzwDecompress(c.stream), c.expected);
    }
}

TEST(Lzw, RefusesDamagedStreams) {
    const std::string valid = lzwCompress(textBlock(1000, 13));
    struct Case {
        const char* name;
        std::string stream;
        std::size_t maxOutput;
    };
    const Case cases[] = {
        {"no bytes", "", 1000},
        {"truncated header", "\x1F\x9D", 1000},
        {"gzip magic", "\x1F\x8B\x90" + valid.substr(3), 1000},
        {"17-bit codes", "\x1F\x9D\x91" + valid.substr(3), 1000},
        {"8-bit codes", "\x1F\x9D\x88" + valid.substr(3), 1000},
        {"reserved flags", "\x1F\x9D\xB0" + valid.substr(3), 1000},
        {"first code not a byte", handStream(0x90, {{300, 9}}), 1000},
        {"first code the next free one", handStream(0x90, {{257, 9}}), 1000},
        {"code beyond the next free", handStream(0x90, {{'a', 9}, {'b', 9}, {259, 9}}), 1000},
        {"string code right after clear",
         handStream(0x90, {{'a', 9}, {'b', 9}, {256, 9}, {0, 0}, {257, 9}}), 1000},
        {"output over the limit", valid, 999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lzwDecompress(c.stream, c.maxOutput), std::nullopt);
    }
    EXPECT_EQ(lzwDecompress(valid, 1000), textBlock(1000, 13));
}

// A stream cut anywhere decodes to a beginning of the original, or is refused.
TEST(Lzw, CutStreamsGiveAPrefixOrNothing) {
    const std::string input = textBlock(3000, 14) + randomBlock(1000, 15);
    const std::string stream = lzwCompress(input);
    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
        const std::optional<std::string> out = lzwDecompress(stream.substr(0, cut));
        if (out) {
            ASSERT_LE(out->size(), input.size()) << cut;
            ASSERT_EQ(*out, input.substr(0, out->size())) << cut;
        } else {
            ASSERT_LT(cut, 3u);
        }
    }
}

}  // namespace
}  // namespace qel
