// The text export and import of the largest DVB98 channel table (3071 channels).
#include <benchmark/benchmark.h>

#include "bytes/conversions.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "support/channel_builder.h"

namespace {

using namespace qel;

TvRadioLists largestLists() {
    TvRadioLists lists;
    for (unsigned i = 0; i < 3071; ++i) {
        const std::string n = std::to_string(i);
        ChannelRec ch = test::Channel("CHANNEL \xE8 " + n)
                            .NetId(pad4(toHex(i % 40)))
                            .TsId(pad4(toHex(i % 250)))
                            .SerId(pad4(toHex(i)))
                            .Freq(zeroPadDecimal(10700 + i % 2000, 6) + "00")
                            .Srate("275000")
                            .Fec(std::to_string(i % 6))
                            .VPid(pad4(toHex(0x200 + i)))
                            .APid(pad4(toHex(0x300 + i)))
                            .TuneFlags(pad4(toHex(i % 16)))
                            .ServType(i % 5 == 0 ? "02" : "01");
        (i % 5 == 0 ? lists.radio : lists.tv).push_back(ch);
    }
    return lists;
}

ExportTexts englishTexts() {
    return {"QEL - Version 0.1.0",
            "channels.dvb",
            "01/01/26",
            "TELEVISION CHANNELS",
            "RADIO CHANNELS    ",
            "Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in "
            "hexadecimal format",
            "All values are in decimal format",
            "Name"};
}

void BM_ExportHeaded3071(benchmark::State& state) {
    const TvRadioLists lists = largestLists();
    const ExportTexts texts = englishTexts();
    for (auto _ : state) {
        std::string out = latin1ToUtf8(exportText(lists.tv, lists.radio, ExportOptions{}, texts));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ExportHeaded3071)->Unit(benchmark::kMillisecond);

// The same export cut into its pages, as printing and the PDF take it.
void BM_ExportPages3071(benchmark::State& state) {
    const TvRadioLists lists = largestLists();
    const ExportTexts texts = englishTexts();
    for (auto _ : state) {
        std::vector<std::string> pages = exportPages(lists.tv, lists.radio, ExportOptions{}, texts);
        benchmark::DoNotOptimize(pages);
    }
}
BENCHMARK(BM_ExportPages3071)->Unit(benchmark::kMillisecond);

void BM_Import3071(benchmark::State& state) {
    const TvRadioLists lists = largestLists();
    ExportOptions options;
    options.form = TextForm::ImportCompatible;
    const std::string text = latin1ToUtf8(exportText(lists.tv, lists.radio, options, {}));
    for (auto _ : state) {
        auto back = parseImportText(text);
        if (!back || back->tv.size() + back->radio.size() != 3071) state.SkipWithError("refused");
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Import3071)->Unit(benchmark::kMillisecond);

}  // namespace
