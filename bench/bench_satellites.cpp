// satellites.xml: reading a generated 2 MB file of 16 000 transponders (the public file is
// about 0.4 MB with 3 400), and the check and the take-over of the largest DVB98 list
// (3071 channels under 31 satellite headers) against it.
#include <benchmark/benchmark.h>

#include <string>

#include "bytes/conversions.h"
#include "files/satellites_xml.h"
#include "listcheck/satellite_check.h"

namespace {

using namespace qel;

constexpr int kSats = 80;
constexpr int kTranspondersPerSat = 200;

// The transponders of satellite s: every 5 MHz from 10700 MHz, alternating polarization, with
// an attribute the reader passes over, as Enigma2's files have.
std::string satellitesXml() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- generated -->\n"
        "<satellites>\n";
    for (int s = 0; s < kSats; ++s) {
        const int position = s * 20 - 700;
        text += "\t<sat name=\"" + positionText(position) + " Satellite " + std::to_string(s) +
                " &amp; Co\" flags=\"1\" position=\"" + std::to_string(position) + "\">\n";
        for (int t = 0; t < kTranspondersPerSat; ++t) {
            text += "\t\t<transponder frequency=\"" + std::to_string(10700000 + t * 5000) +
                    "\" symbol_rate=\"" + std::to_string(t % 3 == 0 ? 22000000 : 27500000) +
                    "\" polarization=\"" + std::to_string(t % 2) + "\" fec_inner=\"" +
                    std::to_string(t % 10) + "\" system=\"" + std::to_string(t % 2) +
                    "\" modulation=\"" + std::to_string(1 + t % 2) + "\" pilot=\"2\"/>\n";
        }
        text += "\t</sat>\n";
    }
    return text + "</satellites>\n";
}

std::size_t heapBytes(const SatellitesFile& file) {
    std::size_t bytes = file.sats.capacity() * sizeof(SatellitesSat);
    for (const SatellitesSat& s : file.sats)
        bytes += s.name.capacity() + s.transponders.capacity() * sizeof(SatTransponder);
    return bytes;
}

void BM_ReadSatellitesXml2MB(benchmark::State& state) {
    const std::string text = satellitesXml();
    std::size_t transponders = 0;
    std::size_t heap = 0;
    for (auto _ : state) {
        auto file = parseSatellitesXml(text);
        if (!file) {
            state.SkipWithError(file.detail().c_str());
            return;
        }
        transponders = 0;
        for (const SatellitesSat& s : file->sats)
            transponders += s.transponders.size();
        heap = heapBytes(*file);
        benchmark::DoNotOptimize(file->sats.data());
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
    state.counters["transponders"] = static_cast<double>(transponders);
    state.counters["result_bytes"] = static_cast<double>(heap);
}
BENCHMARK(BM_ReadSatellitesXml2MB)->Unit(benchmark::kMillisecond);

// 31 headers of 98 channels, each header a satellite of the file; one channel in four is
// off its transponder (frequency, polarization or symbol rate), so every kind of finding is
// looked for.
struct Fixture {
    SatellitesFile file;
    ChannelList tv;
    ChannelList radio;
    SatAssignment assignment;

    Fixture() : file(parseSatellitesXml(satellitesXml()).value()) {
        for (std::size_t i = 0; tv.size() < 3071; ++i) {
            if (i % 99 == 0) {
                const int s = static_cast<int>(i / 99);
                ChannelRec header = emptyChannel();
                header.ChName = "SAT " + std::to_string(s);
                tv.push_back(header);
                assignment[SatGroup{SatGroupKind::Header, "SAT " + std::to_string(s), 0}] =
                    file.sats[static_cast<std::size_t>(s)].position;
                continue;
            }
            const std::int64_t t = static_cast<std::int64_t>(i % kTranspondersPerSat);
            ChannelRec ch = emptyChannel();
            ch.ChName = "CHANNEL " + std::to_string(i);
            const std::int64_t mhz = 10700 + t * 5 + (i % 4 == 1 ? 3 : 0);
            ch.Freq = zeroPadDecimal(mhz, 6) + "00";
            ch.Pol = (t % 2 == 0) != (i % 4 == 2) ? "0" : "1";
            ch.Srate = i % 4 == 3 ? "300000" : (t % 3 == 0 ? "220000" : "275000");
            ch.Fec = "3";
            tv.push_back(ch);
        }
    }
    SatelliteCheckInput input() const { return {&tv, &radio, false, &file, &assignment}; }
};

void BM_CheckAgainstSatellites3071(benchmark::State& state) {
    const Fixture f;
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<Finding> findings = checkAgainstSatellites(f.input());
        found = findings.size();
        benchmark::DoNotOptimize(findings.data());
    }
    state.counters["findings"] = static_cast<double>(found);
}
BENCHMARK(BM_CheckAgainstSatellites3071)->Unit(benchmark::kMillisecond);

void BM_TakeOverProposals3071(benchmark::State& state) {
    const Fixture f;
    std::size_t proposed = 0;
    for (auto _ : state) {
        const std::vector<TakeOverChange> changes = proposeTakeOver(f.input());
        proposed = changes.size();
        benchmark::DoNotOptimize(changes.data());
    }
    state.counters["proposals"] = static_cast<double>(proposed);
}
BENCHMARK(BM_TakeOverProposals3071)->Unit(benchmark::kMillisecond);

}  // namespace
