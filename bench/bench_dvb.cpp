// Reading and writing the largest DVB98 channel table (3071 channels) in memory.
#include <benchmark/benchmark.h>

#include "model/dvb_file.h"
#include "support/channel_builder.h"

namespace {

using namespace qel;

std::string LargestTable() {
    std::string bytes;
    for (unsigned i = 0; i < 3071; ++i) {
        bytes += test::DvbRecord()
                     .SerId(i)
                     .PmtPid(0x100 + i % 50)
                     .FreqMHz(10700 + i % 2000)
                     .SrateKs(27500)
                     .FecCode(1 + i % 7)
                     .TuneFlags(i % 16)
                     .VPid(0x200 + i)
                     .APid(0x300 + i)
                     .PPid(0x200 + i)
                     .Type(i % 5 == 0 ? 2 : 1)
                     .Automation(i % 4)
                     .Parental(i % 9 == 0)
                     .Name("CHANNEL " + std::to_string(i))
                     .NetId(i % 40)
                     .TsId(i % 250);
    }
    return bytes;
}

void BM_ReadDvb3071(benchmark::State& state) {
    const std::string bytes = LargestTable();
    for (auto _ : state) {
        auto lists = ParseDvb(bytes);
        benchmark::DoNotOptimize(lists);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadDvb3071)->Unit(benchmark::kMillisecond);

void BM_WriteDvb3071(benchmark::State& state) {
    auto lists = ParseDvb(LargestTable());
    for (auto _ : state) {
        std::string out = EncodeDvb(lists->tv, lists->radio);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_WriteDvb3071)->Unit(benchmark::kMillisecond);

}  // namespace
