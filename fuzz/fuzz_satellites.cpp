// Fuzz harness for the satellites.xml reader: any bytes must be refused or read, never crash;
// what is read must hold only values in range, write back as a file that reads the same, and
// go through the check, the take-over and the FTA fill against a small list.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/satellites_xml.h"
#include "listcheck/satellite_check.h"

using namespace qel;

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string written(const SatellitesFile& file) {
    std::string out = "<?xml version=\"1.0\"?>\n<satellites>\n";
    for (const SatellitesSat& sat : file.sats) {
        out += "<sat name=\"" + escaped(sat.name) + "\" flags=\"" + std::to_string(sat.flags) +
               "\" position=\"" + std::to_string(sat.position) + "\">\n";
        for (const SatTransponder& tp : sat.transponders) {
            out += "<transponder frequency=\"" + std::to_string(tp.frequencyKhz) +
                   "\" symbol_rate=\"" + std::to_string(tp.symbolRate) + "\" polarization=\"" +
                   std::to_string(static_cast<int>(tp.polarization)) + "\" fec_inner=\"" +
                   std::to_string(tp.fec) + "\" system=\"" + std::to_string(tp.system) +
                   "\" modulation=\"" + std::to_string(tp.modulation) + "\"/>\n";
        }
        out += "</sat>\n";
    }
    return out + "</satellites>\n";
}

bool inRange(const SatellitesFile& file) {
    for (const SatellitesSat& sat : file.sats) {
        if (sat.position < -1800 || sat.position > 1800) return false;
        for (const SatTransponder& tp : sat.transponders) {
            if (tp.frequencyKhz <= 0 || tp.symbolRate <= 0) return false;
            const int pol = static_cast<int>(tp.polarization);
            if (pol < 0 || pol > 3 || tp.fec < 0 || tp.fec > 15) return false;
        }
    }
    return true;
}

ChannelRec channel(std::string_view freq, std::string_view pol, std::string_view ant) {
    ChannelRec ch = emptyChannel();
    ch.ChName = "CH";
    ch.Freq = freq;
    ch.Pol = pol;
    ch.Srate = "275000";
    ch.Ant = ant;
    ch.NetId = "0001";
    ch.TsId = "0001";
    return ch;
}

void useAgainstLists(const SatellitesFile& file) {
    if (file.sats.empty()) return;
    const ChannelList tv = {channel("01149400", "0", "0010"), channel("01260300", "1", "0010"),
                            channel("NO TS", "0", "0010")};
    const ChannelList radio = {channel("01072900", "1", "0020")};
    SatAssignment assignment;
    assignment[SatGroup{SatGroupKind::Antenna, {}, 1}] = file.sats.front().position;
    assignment[SatGroup{SatGroupKind::Antenna, {}, 2}] = file.sats.back().position;
    const SatelliteCheckInput in{&tv, &radio, true, &file, &assignment};
    const auto findings = checkAgainstSatellites(in);
    for (const Finding& f : findings) {
        if (findingText(f, TextLanguage::English).empty()) std::abort();
    }
    ChannelList tvCopy = tv;
    ChannelList radioCopy = radio;
    applyTakeOver(tvCopy, radioCopy, proposeTakeOver(in));
    // The fill's work grows with the transponders; keep the runs quick.
    if (file.sats.front().transponders.size() <= 64) {
        const FtaFill fill =
            fillFtaTransponders({tv, radio}, {}, {1, &file.sats.front(), ListId::Radio});
        if (fill.fits != (fill.fitting == fill.asked)) std::abort();
        if (!fill.fits && (!fill.lists.tv.empty() || !fill.lists.radio.empty())) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size < 16) (void)parsePosition(bytes);
    auto first = parseSatellitesXml(bytes);
    if (!first) {
        if (first.error() != ErrorCode::SatellitesXmlDamaged &&
            first.error() != ErrorCode::SatellitesXmlRefused)
            std::abort();
        if (first.detail().empty()) std::abort();
        return 0;
    }
    if (!inRange(*first)) std::abort();
    auto second = parseSatellitesXml(written(*first));
    if (!second || second->sats.size() != first->sats.size()) std::abort();
    for (std::size_t i = 0; i < first->sats.size(); ++i) {
        const SatellitesSat& a = first->sats[i];
        const SatellitesSat& b = second->sats[i];
        if (a.name != b.name || a.position != b.position || a.flags != b.flags ||
            a.transponders != b.transponders)
            std::abort();
    }
    useAgainstLists(*first);
    return 0;
}
