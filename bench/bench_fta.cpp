// Writing and reading an FTA image of 1000 TV and 400 RADIO channels on 250 transponders.
#include <benchmark/benchmark.h>

#include "model/conversions.h"
#include "receiver_settings/fta_reader.h"
#include "receiver_settings/fta_writer.h"

namespace {

using namespace qel;

std::string Hex4(std::size_t v) {
    return Pad4(ToHex(static_cast<std::uint32_t>(v)));
}

// Short names and PIDs on every other channel, so that everything fits the image.
TvRadioLists LargeLists() {
    TvRadioLists lists;
    for (std::size_t i = 0; i < 1400; ++i) {
        const std::size_t tp = i % 250;
        ChannelRec ch = EmptyChannel();
        ch.ChName = (i < 1000 ? "TV" : "RA") + ZeroPadDecimal(static_cast<std::int64_t>(i), 4);
        ch.Freq = ZeroPadDecimal(static_cast<std::int64_t>(10700 + tp * 8), 6) + "00";
        ch.Srate = "275000";
        ch.Fec = "3";
        ch.Pol = tp % 2 == 0 ? "0" : "1";
        ch.NetId = Hex4(1 + tp / 50);
        ch.TsId = Hex4(tp);
        ch.SerId = Hex4(i);
        ch.Ant = "0010";
        if (i % 2 == 0) {
            ch.VPid = Hex4(0x100 + i % 0x400);
            ch.APid = Hex4(0x200 + i % 0x400);
            ch.PPid = ch.VPid.str();
        }
        (i < 1000 ? lists.tv : lists.radio).push_back(ch);
    }
    return lists;
}

void BM_WriteFta(benchmark::State& state) {
    TvRadioLists lists = LargeLists();
    const FtaImageTables tables;
    for (auto _ : state) {
        auto image = MakeStr_Save(lists.tv, lists.radio, tables, true);
        if (!image) state.SkipWithError("the image was refused");
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_WriteFta)->Unit(benchmark::kMillisecond);

void BM_ReadFta(benchmark::State& state) {
    TvRadioLists lists = LargeLists();
    const std::string image = MakeStr_Save(lists.tv, lists.radio, FtaImageTables{}, true).value();
    for (auto _ : state) {
        auto tables = Fill_Array(image);
        TvRadioLists back = Fill_View_Array(*tables);
        if (back.tv.size() != 1000 || back.radio.size() != 400)
            state.SkipWithError("lost channels");
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_ReadFta)->Unit(benchmark::kMillisecond);

}  // namespace
