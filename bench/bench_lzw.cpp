// The LZW compression of one 64 KB firmware block, of noise and of text, and its decoding.
// Each case shows MB/s and the compressed size ("out_bytes").
#include <benchmark/benchmark.h>

#include <string>

#include "bytes/lzw.h"
#include "support/byte_blocks.h"

namespace {

using namespace qel;

constexpr std::size_t kBlockSize = 65536;

std::string block(bool text) {
    return text ? test::textBlock(kBlockSize, 2) : test::randomBlock(kBlockSize, 1);
}

void BM_LzwEncode64K(benchmark::State& state, bool text) {
    const std::string input = block(text);
    std::size_t size = 0;
    for (auto _ : state) {
        std::string stream = lzwCompress(input);
        size = stream.size();
        benchmark::DoNotOptimize(stream);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.counters["out_bytes"] = static_cast<double>(size);
}
BENCHMARK_CAPTURE(BM_LzwEncode64K, random, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LzwEncode64K, text, true)->Unit(benchmark::kMicrosecond);

void BM_LzwDecode64K(benchmark::State& state, bool text) {
    const std::string input = block(text);
    const std::string stream = lzwCompress(input);
    for (auto _ : state) {
        auto output = lzwDecompress(stream);
        if (!output || *output != input) state.SkipWithError("the block did not come back");
        benchmark::DoNotOptimize(output);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK_CAPTURE(BM_LzwDecode64K, random, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LzwDecode64K, text, true)->Unit(benchmark::kMicrosecond);

}  // namespace
