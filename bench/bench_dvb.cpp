// Reading and writing the largest DVB98 channel table (3071 channels) in memory.
#include <benchmark/benchmark.h>

#include "files/dvb_file.h"
#include "support/channel_builder.h"

namespace {

using namespace qel;

std::string largestTable() {
    std::string bytes;
    for (unsigned i = 0; i < 3071; ++i) {
        bytes += test::DvbRecord()
                     .SerId(i)
                     .PmtPid(0x100 + i % 50)
                     .freqMHz(10700 + i % 2000)
                     .srateKs(27500)
                     .fecCode(1 + i % 7)
                     .TuneFlags(i % 16)
                     .VPid(0x200 + i)
                     .APid(0x300 + i)
                     .PPid(0x200 + i)
                     .type(i % 5 == 0 ? 2 : 1)
                     .automation(i % 4)
                     .Parental(i % 9 == 0)
                     .name("CHANNEL " + std::to_string(i))
                     .NetId(i % 40)
                     .TsId(i % 250);
    }
    return bytes;
}

void BM_ReadDvb3071(benchmark::State& state) {
    const std::string bytes = largestTable();
    for (auto _ : state) {
        auto lists = parseDvb(bytes);
        benchmark::DoNotOptimize(lists);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadDvb3071)->Unit(benchmark::kMillisecond);

void BM_WriteDvb3071(benchmark::State& state) {
    auto lists = parseDvb(largestTable());
    for (auto _ : state) {
        std::string out = encodeDvb(lists->tv, lists->radio);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_WriteDvb3071)->Unit(benchmark::kMillisecond);

}  // namespace
