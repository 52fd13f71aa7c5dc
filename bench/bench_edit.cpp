// Editing commands on the largest lists: paste a full buffer, delete half the list,
// sort a full buffer by each key.
#include <benchmark/benchmark.h>

#include <random>

#include "bytes/conversions.h"
#include "listedit/buffer_ops.h"
#include "listedit/editing.h"

namespace {

using namespace qel;

ChannelList channels(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    ChannelList list;
    list.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        ChannelRec ch = emptyChannel();
        ch.ChName = "CH" + std::to_string(rng() % 100000);
        ch.Freq = zeroPadDecimal(10700 + static_cast<std::int64_t>(rng() % 2000), 6) + "00";
        ch.LoHi = rng() % 2 ? "1" : "0";
        ch.Pol = rng() % 2 ? "1" : "0";
        list.push_back(ch);
    }
    return list;
}

void BM_Paste3000Into3071(benchmark::State& state) {
    const ChannelList list = channels(3071, 1);
    const ChannelList buffer = channels(3000, 2);
    for (auto _ : state) {
        state.PauseTiming();
        ChannelList l = list;
        ChannelList b = buffer;
        state.ResumeTiming();
        benchmark::DoNotOptimize(pasteEntries(l, b, 1500, false, {}, true));
    }
}
BENCHMARK(BM_Paste3000Into3071)->Unit(benchmark::kMillisecond);

void BM_Delete1500Of3071(benchmark::State& state) {
    const ChannelList list = channels(3071, 3);
    Marks marks;
    for (std::size_t i = 0; i < 3000; i += 2)
        marks.push_back(i);
    for (auto _ : state) {
        state.PauseTiming();
        ChannelList l = list;
        ChannelList b;
        state.ResumeTiming();
        benchmark::DoNotOptimize(removeMarked(l, b, marks, false, 1));
    }
}
BENCHMARK(BM_Delete1500Of3071)->Unit(benchmark::kMillisecond);

void BM_SortBuffer3000(benchmark::State& state) {
    const ChannelList buffer = channels(3000, 4);
    const auto order = static_cast<BufferOrder>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ChannelList b = buffer;
        state.ResumeTiming();
        orderBuffer(b, order);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_SortBuffer3000)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgNames({"key"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
