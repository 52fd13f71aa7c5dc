// "Order like another list" on the largest DVB98 list: 3071 channels (a satellite header every
// 100) ordered like a shuffled copy of themselves, in which a third lost their ids and a tenth
// were renamed, so that both the ids and the names are looked up.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "bytes/conversions.h"
#include "listedit/reorder.h"

namespace {

using namespace qel;

ChannelList channels(std::size_t n, std::mt19937& rng) {
    ChannelList list;
    list.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        ChannelRec ch = emptyChannel();
        ch.ChName = "Channel " + std::to_string(rng() % 100000);
        ch.Freq = i % 100 == 0 ? "00000000" : "01176600";
        ch.NetId = pad4(toHex(static_cast<std::uint32_t>(1 + rng() % 0xFFFF)));
        ch.TsId = pad4(toHex(static_cast<std::uint32_t>(1 + rng() % 0xFFFF)));
        ch.SerId = pad4(toHex(static_cast<std::uint32_t>(1 + rng() % 0xFFFF)));
        list.push_back(ch);
    }
    return list;
}

void BM_Reorder3071(benchmark::State& state) {
    std::mt19937 rng(11);
    const ChannelList list = channels(3071, rng);
    ChannelList reference = list;
    std::shuffle(reference.begin(), reference.end(), rng);
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (i % 3 == 0) reference[i].SerId = "0000";
        if (i % 10 == 0) reference[i].ChName = "Renamed " + std::to_string(i);
    }
    const ReorderOptions options{static_cast<ReorderMatch>(state.range(0)),
                                 static_cast<ReorderRest>(state.range(1))};
    for (auto _ : state)
        benchmark::DoNotOptimize(reorderLike(list, reference, options));
}
// Match: 0 ids then name, 1 name only; rest: 0 end, 1 keep.
BENCHMARK(BM_Reorder3071)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"match", "rest"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
