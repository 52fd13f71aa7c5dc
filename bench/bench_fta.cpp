// Writing and reading an FTA image of 1000 TV and 400 RADIO channels on 250 transponders.
#include <benchmark/benchmark.h>

#include "bytes/conversions.h"
#include "files/fta_reader.h"
#include "files/fta_writer.h"

namespace {

using namespace qel;

std::string hex4(std::size_t v) {
    return pad4(toHex(static_cast<std::uint32_t>(v)));
}

// Short names and PIDs on every other channel, so that everything fits the image.
TvRadioLists largeLists() {
    TvRadioLists lists;
    for (std::size_t i = 0; i < 1400; ++i) {
        const std::size_t tp = i % 250;
        ChannelRec ch = emptyChannel();
        ch.ChName = (i < 1000 ? "TV" : "RA") + zeroPadDecimal(static_cast<std::int64_t>(i), 4);
        ch.Freq = zeroPadDecimal(static_cast<std::int64_t>(10700 + tp * 8), 6) + "00";
        ch.Srate = "275000";
        ch.Fec = "3";
        ch.Pol = tp % 2 == 0 ? "0" : "1";
        ch.NetId = hex4(1 + tp / 50);
        ch.TsId = hex4(tp);
        ch.SerId = hex4(i);
        ch.Ant = "0010";
        if (i % 2 == 0) {
            ch.VPid = hex4(0x100 + i % 0x400);
            ch.APid = hex4(0x200 + i % 0x400);
            ch.PPid = ch.VPid.str();
        }
        (i < 1000 ? lists.tv : lists.radio).push_back(ch);
    }
    return lists;
}

void BM_WriteFta(benchmark::State& state) {
    TvRadioLists lists = largeLists();
    const FtaImageTables tables;
    for (auto _ : state) {
        auto image = encodeFtaImage(lists.tv, lists.radio, tables, ImageSettings::Defaults);
        if (!image) state.SkipWithError("the image was refused");
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_WriteFta)->Unit(benchmark::kMillisecond);

void BM_ReadFta(benchmark::State& state) {
    TvRadioLists lists = largeLists();
    const std::string image =
        encodeFtaImage(lists.tv, lists.radio, FtaImageTables{}, ImageSettings::Defaults).value();
    for (auto _ : state) {
        auto tables = readFtaImage(image);
        TvRadioLists back = channelListsOf(*tables);
        if (back.tv.size() != 1000 || back.radio.size() != 400)
            state.SkipWithError("lost channels");
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_ReadFta)->Unit(benchmark::kMillisecond);

}  // namespace
