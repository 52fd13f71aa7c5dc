// Compare two full DVB98 lists (3071 channels): a tenth of the channels changed, some
// removed, added and moved, with satellite headers among them; every field compared, or (arg 1)
// a list against an FTA image, only the fields an image holds.
#include <benchmark/benchmark.h>

#include <random>

#include "bytes/conversions.h"
#include "listedit/compare.h"

namespace {

using namespace qel;

ChannelList fullList(std::mt19937& rng) {
    ChannelList list;
    list.reserve(3071);
    for (std::size_t i = 0; i < 3071; ++i) {
        ChannelRec ch = emptyChannel();
        ch.ChName = "CH" + std::to_string(i);
        if (i % 100 == 0) {
            ch.Freq = "00000000";  // a satellite header
        } else {
            ch.Freq = zeroPadDecimal(10700 + static_cast<std::int64_t>(rng() % 2000), 6) + "00";
            ch.NetId = zeroPadDecimal(static_cast<std::int64_t>(rng() % 50), 4);
            ch.TsId = zeroPadDecimal(static_cast<std::int64_t>(rng() % 500), 4);
            ch.SerId = zeroPadDecimal(static_cast<std::int64_t>(i % 9000), 4);
        }
        ch.MatchKey = buildMatchKey(ch);
        list.push_back(ch);
    }
    return list;
}

void BM_Compare3071With3071(benchmark::State& state) {
    std::mt19937 rng(11);
    const ChannelList first = fullList(rng);
    ChannelList second = first;
    for (std::size_t i = 5; i < second.size(); i += 10)
        second[i].APid = "0ABC";
    for (std::size_t i = 0; i < 30; ++i) {
        const std::size_t from = rng() % second.size();
        const std::size_t to = rng() % second.size();
        const ChannelRec moved = second[from];
        second.erase(second.begin() + static_cast<std::ptrdiff_t>(from));
        second.insert(second.begin() + static_cast<std::ptrdiff_t>(to), moved);
    }
    second.erase(second.begin() + 700, second.begin() + 720);
    second.insert(second.begin() + 1500, first.begin() + 100, first.begin() + 120);
    const TvRadioLists a{first, {}};
    const TvRadioLists b{second, {}};
    const FileKind secondKind = state.range(0) == 1 ? FileKind::BIN : FileKind::DVB;
    for (auto _ : state)
        benchmark::DoNotOptimize(compareLists(a, b, FileKind::DVB, secondKind));
}
BENCHMARK(BM_Compare3071With3071)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
