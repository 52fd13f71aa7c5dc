// The list check on the largest DVB98 list: 3071 channels in satellite blocks, with
// duplicates and faulty values among them, so that every kind of finding is looked for;
// and "Remove duplicates" on the same list.
#include <benchmark/benchmark.h>

#include <random>

#include "bytes/conversions.h"
#include "listcheck/list_check.h"

namespace {

using namespace qel;

ChannelList channels(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    ChannelList list;
    list.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        ChannelRec ch = emptyChannel();
        if (i % 100 == 0) {
            ch.ChName = "SAT " + std::to_string(i / 100);
            list.push_back(ch);
            continue;
        }
        // One channel in 20 repeats an earlier service; the rest are services of their own.
        const std::uint32_t sid = rng() % 20 == 0 ? static_cast<std::uint32_t>(rng() % (i + 1))
                                                  : static_cast<std::uint32_t>(i);
        ch.ChName = "CHANNEL " + std::to_string(sid);
        ch.Freq = zeroPadDecimal(10700 + static_cast<std::int64_t>(sid % 2100), 6) + "00";
        ch.Pol = sid % 2 ? "1" : "0";
        ch.Srate = "275000";
        ch.Fec = std::to_string(sid % 7);  // 6 is a fault
        ch.SerId = pad4(toHex(sid));
        ch.VPid = pad4(toHex(static_cast<std::uint32_t>(0x100 + sid % 0x2100)));
        ch.APid = pad4(toHex(static_cast<std::uint32_t>(0x101 + sid % 0x1000)));
        list.push_back(ch);
    }
    return list;
}

void BM_Check3071(benchmark::State& state) {
    const ChannelList tv = channels(3071, 1);
    const ChannelList radio;
    CheckInput in;
    in.tv = &tv;
    in.radio = &radio;
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<Finding> findings = checkLists(in);
        found = findings.size();
        benchmark::DoNotOptimize(findings.data());
    }
    state.counters["findings"] = static_cast<double>(found);
}
BENCHMARK(BM_Check3071)->Unit(benchmark::kMillisecond);

void BM_RemoveDuplicates3071(benchmark::State& state) {
    const ChannelList list = channels(3071, 2);
    for (auto _ : state) {
        state.PauseTiming();
        ChannelList l = list;
        state.ResumeTiming();
        benchmark::DoNotOptimize(removeDuplicates(l).data());
    }
}
BENCHMARK(BM_RemoveDuplicates3071)->Unit(benchmark::kMillisecond);

}  // namespace
