#include "listcheck/satellite_check.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "bytes/conversions.h"
#include "files/fta_writer.h"
#include "listedit/list_view.h"

namespace qel {

namespace {

constexpr std::int64_t kWideWindowFromUnits = 100000;  // 10000 ksym/s in 100 sym/s
constexpr std::int64_t kWideWindowKhz = 2000;
constexpr std::int64_t kNarrowWindowKhz = 1000;
constexpr int kFtaAntennas = 8;
constexpr std::string_view kPlaceholderPrefix = "TP ";

bool isNoTransponder(const ChannelRec& ch) {
    return trimBlanks(ch.Freq.view()) == "NO TS";
}

bool isHeader(const ChannelRec& ch) {
    return isSatelliteHeader(ch) && !isNoTransponder(ch);
}

std::string trimmedName(const ChannelRec& ch) {
    std::string_view n = ch.ChName.view();
    const auto blank = [](char c) { return c == ' ' || c == '\0'; };
    while (!n.empty() && blank(n.front()))
        n.remove_prefix(1);
    while (!n.empty() && blank(n.back()))
        n.remove_suffix(1);
    return std::string(n);
}

std::optional<SatGroup> ownGroup(const ChannelRec& ch, bool ftaImage) {
    if (ftaImage) {
        const std::string_view digit = channel_part::kAntennaDigit.in(ch.Ant.view());
        const int antenna = digit.size() == 1 ? digit.front() - '0' : 0;
        if (antenna < 1 || antenna > kFtaAntennas) return std::nullopt;
        return SatGroup{SatGroupKind::Antenna, {}, antenna};
    }
    const int bits = hexToDec(channel_part::kLowByte.in(ch.TuneFlags.view())) & 0x3;
    return SatGroup{SatGroupKind::DiseqcPort, {}, bits + 1};
}

bool hasHeader(const ChannelList& list) {
    return std::any_of(list.begin(), list.end(), isHeader);
}

// The channel's tuning in the file's units.
struct Tuning {
    std::int64_t khz = 0;
    std::int64_t srateUnits = 0;  // 100 sym/s
    bool vertical = false;
    std::int64_t symbolRate() const { return srateUnits * 100; }
};

Tuning tuningOf(const ChannelRec& ch) {
    const std::int64_t hundredths = decimalValue(channel_part::kFreqMhz.in(ch.Freq.view())) * 100 +
                                    decimalValue(channel_part::kFreqFraction.in(ch.Freq.view()));
    return {hundredths * 10, decimalValue(ch.Srate.view()), ch.Pol != "0"};
}

// A satellite's transponders sorted by frequency, one list for each polarization the
// receiver tunes (L with H, R with V).
struct SortedSat {
    const SatellitesSat* sat = nullptr;
    std::vector<std::size_t> byPol[2];  // indexes into sat->transponders: [0] H and L, [1] V and R

    explicit SortedSat(const SatellitesSat& s) : sat(&s) {
        for (std::size_t i = 0; i < s.transponders.size(); ++i)
            byPol[tunesVertical(s.transponders[i].polarization) ? 1 : 0].push_back(i);
        for (auto& list : byPol) {
            std::stable_sort(list.begin(), list.end(), [&s](std::size_t a, std::size_t b) {
                return s.transponders[a].frequencyKhz < s.transponders[b].frequencyKhz;
            });
        }
    }

    const SatTransponder& at(std::size_t i) const { return sat->transponders[i]; }

    // The transponders of one polarization whose frequency is within `tolerance` of `khz`.
    std::pair<std::vector<std::size_t>::const_iterator, std::vector<std::size_t>::const_iterator>
    window(bool vertical, std::int64_t khz, std::int64_t tolerance) const {
        const auto& list = byPol[vertical ? 1 : 0];
        const auto freqLess = [this](std::size_t i, std::int64_t f) {
            return at(i).frequencyKhz < f;
        };
        const auto lessFreq = [this](std::int64_t f, std::size_t i) {
            return f < at(i).frequencyKhz;
        };
        return {std::lower_bound(list.begin(), list.end(), khz - tolerance, freqLess),
                std::upper_bound(list.begin(), list.end(), khz + tolerance, lessFreq)};
    }

    // The transponder of one polarization nearest in frequency (the lower on a tie).
    std::optional<std::size_t> nearest(bool vertical, std::int64_t khz) const {
        const auto& list = byPol[vertical ? 1 : 0];
        if (list.empty()) return std::nullopt;
        const auto above = std::lower_bound(
            list.begin(), list.end(), khz,
            [this](std::size_t i, std::int64_t f) { return at(i).frequencyKhz < f; });
        if (above == list.begin()) return *above;
        const auto below = std::prev(above);
        if (above == list.end()) return *below;
        return khz - at(*below).frequencyKhz <= at(*above).frequencyKhz - khz ? *below : *above;
    }

    // Of the window's transponders, the one nearest in frequency.
    template <class It>
    std::size_t nearestIn(It first, It last, std::int64_t khz) const {
        return *std::min_element(first, last, [this, khz](std::size_t a, std::size_t b) {
            const auto da = std::abs(at(a).frequencyKhz - khz);
            const auto db = std::abs(at(b).frequencyKhz - khz);
            return da < db;
        });
    }
};

// 11494000 kHz -> "11494", 11494500 -> "11494.5".
std::string mhzOfKhz(std::int64_t khz) {
    std::string s = std::to_string(khz / 1000);
    std::int64_t rest = khz % 1000;
    if (rest == 0) return s;
    std::string digits = zeroPadDecimal(rest, 3);
    while (digits.back() == '0')
        digits.pop_back();
    return s + "." + digits;
}

std::string transponderText(const SatTransponder& tp) {
    return mhzOfKhz(tp.frequencyKhz) + " MHz " + std::string(polarizationLetter(tp.polarization)) +
           " " + mhzOfKhz(tp.symbolRate) + " ksym/s";
}

// The name in the one-byte characters the finding texts are in: UTF-8 sequences of
// characters up to 255 become that character, the others a '?'.
std::string latin1Of(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            continue;
        }
        std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size()) {
            out += static_cast<char>(((b & 0x03) << 6) |
                                     (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
        } else {
            out += '?';
        }
        i += std::min(length, utf8.size() - i) - 1;
    }
    return out;
}

// The satellite's label in the findings' one byte a character.
std::string satelliteText(const SatellitesSat& sat) {
    return latin1Of(satelliteLabel(sat));
}

// The satellites the assignment names, sorted once each.
class SatIndex {
public:
    SatIndex(const SatellitesFile& file, const SatAssignment& assignment) {
        for (const auto& [group, position] : assignment) {
            if (sorted_.contains(position)) continue;
            if (const SatellitesSat* sat = file.atPosition(position))
                sorted_.emplace(position, SortedSat(*sat));
        }
    }
    const SortedSat* find(const std::optional<SatGroup>& group,
                          const SatAssignment& assignment) const {
        if (!group) return nullptr;
        const auto assigned = assignment.find(*group);
        if (assigned == assignment.end()) return nullptr;
        const auto it = sorted_.find(assigned->second);
        return it == sorted_.end() ? nullptr : &it->second;
    }

private:
    std::map<int, SortedSat> sorted_;
};

// Calls f(list, index, channel, sorted sat) for every channel of an assigned group.
template <class F>
void forEachAssignedChannel(const SatelliteCheckInput& in, F&& f) {
    if (in.satellites == nullptr || in.assignment == nullptr || in.tv == nullptr ||
        in.radio == nullptr) {
        return;
    }
    const SatIndex index(*in.satellites, *in.assignment);
    const bool useHeaders = hasHeader(*in.tv) || hasHeader(*in.radio);
    for (const ListId id : {ListId::TV, ListId::Radio}) {
        const ChannelList& list = id == ListId::TV ? *in.tv : *in.radio;
        const std::vector<std::optional<SatGroup>> groups =
            groupsOfRows(list, useHeaders, in.ftaImage);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (isNoTransponder(list[i])) continue;
            if (const SortedSat* sat = index.find(groups[i], *in.assignment))
                f(id, i, list[i], *sat);
        }
    }
}

// The channel's Fec digit for a fec_inner code; nothing for the codes it has none for.
std::optional<char> fecDigit(int fecInner) {
    if (fecInner >= 0 && fecInner <= 5) return static_cast<char>('0' + fecInner);
    if (fecInner == 15) return '0';  // none: the channel's 0 stands for none and auto
    return std::nullopt;
}

std::int64_t srateUnitsOf(std::int64_t symbolRate) {
    return (symbolRate + 50) / 100;
}

// A placeholder entry for a transponder, on the antenna `like` is on.
ChannelRec placeholderFor(const SatTransponder& tp, const ChannelRec& like) {
    ChannelRec ch = emptyChannel();
    ch.ChName = placeholderName(tp);
    ch.Freq = zeroPadDecimal(tp.frequencyKhz / 10, 8);
    ch.Pol = tunesVertical(tp.polarization) ? "1" : "0";
    ch.Srate = zeroPadDecimal(srateUnitsOf(tp.symbolRate), 6);
    ch.Fec = std::string(1, fecDigit(tp.fec).value_or('0'));
    ch.Ant = like.Ant.view();
    ch.AntAux = like.AntAux.view();
    ch.Sat = like.Sat.view();
    return ch;
}

bool onAntenna(const ChannelRec& ch, int antenna) {
    const std::string_view digit = channel_part::kAntennaDigit.in(ch.Ant.view());
    return digit.size() == 1 && digit.front() == static_cast<char>('0' + antenna);
}

}  // namespace

std::vector<std::optional<SatGroup>> groupsOfRows(const ChannelList& list, bool useHeaders,
                                                  bool ftaImage) {
    std::vector<std::optional<SatGroup>> groups(list.size());
    std::optional<SatGroup> current;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ChannelRec& ch = list[i];
        if (isHeader(ch)) {
            current = SatGroup{SatGroupKind::Header, trimmedName(ch), 0};
        } else {
            groups[i] = useHeaders ? current : ownGroup(ch, ftaImage);
        }
    }
    return groups;
}

std::vector<SatGroup> satelliteGroups(const ChannelList& tv, const ChannelList& radio,
                                      bool ftaImage) {
    const bool useHeaders = hasHeader(tv) || hasHeader(radio);
    std::vector<SatGroup> out;
    std::set<SatGroup> seen;
    for (const ChannelList* list : {&tv, &radio}) {
        for (const ChannelRec& ch : *list) {
            std::optional<SatGroup> g;
            if (useHeaders) {
                if (isHeader(ch)) g = SatGroup{SatGroupKind::Header, trimmedName(ch), 0};
            } else {
                g = ownGroup(ch, ftaImage);
            }
            if (g && seen.insert(*g).second) out.push_back(*g);
        }
    }
    return out;
}

std::int64_t frequencyToleranceKhz(std::int64_t srateUnits) {
    return srateUnits >= kWideWindowFromUnits ? kWideWindowKhz : kNarrowWindowKhz;
}

std::vector<Finding> checkAgainstSatellites(const SatelliteCheckInput& input) {
    std::vector<Finding> out;
    forEachAssignedChannel(
        input, [&out](ListId list, std::size_t i, const ChannelRec& ch, const SortedSat& sat) {
            if (isHeader(ch)) return;
            const Tuning t = tuningOf(ch);
            const std::int64_t tolerance = frequencyToleranceKhz(t.srateUnits);
            const auto [first, last] = sat.window(t.vertical, t.khz, tolerance);
            const bool matches = std::any_of(first, last, [&](std::size_t k) {
                return std::abs(sat.at(k).symbolRate - t.symbolRate()) <= kSymbolRateToleranceSym;
            });
            if (matches) return;
            const std::string where = satelliteText(*sat.sat);
            const std::string mhz = mhzOfKhz(t.khz);
            const std::string pol = t.vertical ? "V" : "H";
            Finding f{FindingLevel::Warning,
                      list,
                      static_cast<int>(i + 1),
                      "",
                      FindingKind::Transponder,
                      FindingMessage::SatNoFrequency,
                      {},
                      trimmedName(ch)};
            if (first != last) {
                f.field = "Srate";
                f.message = FindingMessage::SatOtherSymbolRate;
                f.args = {where, mhz, pol, mhzOfKhz(t.symbolRate()),
                          transponderText(sat.at(sat.nearestIn(first, last, t.khz)))};
            } else if (const auto [ofirst, olast] = sat.window(!t.vertical, t.khz, tolerance);
                       ofirst != olast) {
                f.field = "Pol";
                f.message = FindingMessage::SatNoPolarization;
                f.args = {where, mhz, pol,
                          transponderText(sat.at(sat.nearestIn(ofirst, olast, t.khz)))};
            } else {
                f.field = "Freq";
                auto near = sat.nearest(t.vertical, t.khz);
                if (!near) near = sat.nearest(!t.vertical, t.khz);
                f.args = {where, mhz, std::to_string(tolerance / 1000),
                          near ? transponderText(sat.at(*near)) : std::string("-")};
            }
            out.push_back(std::move(f));
        });
    return out;
}

std::vector<TakeOverChange> proposeTakeOver(const SatelliteCheckInput& input) {
    std::vector<TakeOverChange> out;
    forEachAssignedChannel(input, [&out](ListId list, std::size_t i, const ChannelRec& ch,
                                         const SortedSat& sat) {
        if (isHeader(ch)) return;
        const Tuning t = tuningOf(ch);
        const auto [first, last] =
            sat.window(t.vertical, t.khz, frequencyToleranceKhz(t.srateUnits));
        if (std::distance(first, last) != 1) return;
        const SatTransponder& partner = sat.at(*first);
        TakeOverChange change{list, i, std::nullopt, std::nullopt, false, transponderText(partner)};
        const std::int64_t units = srateUnitsOf(partner.symbolRate);
        if (units != t.srateUnits) change.srate = zeroPadDecimal(units, 6);
        const std::optional<char> fec = fecDigit(partner.fec);
        if (!fec) {
            change.fecNotTaken = true;
        } else if (ch.Fec.view() != std::string_view(&*fec, 1)) {
            change.fec = *fec;
        }
        if (change.srate || change.fec) out.push_back(std::move(change));
    });
    return out;
}

void applyTakeOver(ChannelList& tv, ChannelList& radio, std::span<const TakeOverChange> changes) {
    for (const TakeOverChange& c : changes) {
        ChannelList& list = c.list == ListId::TV ? tv : radio;
        if (c.index >= list.size()) continue;
        if (c.srate) list[c.index].Srate = *c.srate;
        if (c.fec) list[c.index].Fec = std::string_view(&*c.fec, 1);
    }
}

std::string placeholderName(const SatTransponder& tp) {
    return std::string(kPlaceholderPrefix) + std::to_string(tp.frequencyKhz / 1000) + " " +
           (tunesVertical(tp.polarization) ? "V" : "H") + " " +
           std::to_string(tp.symbolRate / 1000);
}

bool isPlaceholder(const ChannelRec& ch) {
    return trimmedName(ch).starts_with(kPlaceholderPrefix) && ch.SerId == "0000" &&
           ch.VPid == "0000" && ch.APid == "0000" && ch.PPid == "0000";
}

FtaFill fillFtaTransponders(const TvRadioLists& lists, const FtaImageTables& tables,
                            const FtaFillRequest& request) {
    FtaFill fill;
    if (request.sat == nullptr || request.antenna < 1 || request.antenna > kFtaAntennas)
        return fill;
    const SatellitesSat& sat = *request.sat;
    const SortedSat sorted(sat);
    TvRadioLists out;
    std::vector<bool> covered(sat.transponders.size(), false);
    std::optional<ChannelRec> like;
    for (const ListId id : {ListId::TV, ListId::Radio}) {
        ChannelList& target = id == ListId::TV ? out.tv : out.radio;
        const ChannelList& source = id == ListId::TV ? lists.tv : lists.radio;
        target.reserve(source.size());
        for (const ChannelRec& original : source) {
            const bool mine = onAntenna(original, request.antenna);
            if (mine && isPlaceholder(original)) {
                ++fill.dropped;
                continue;
            }
            target.push_back(original);
            if (!mine || isHeader(original) || isNoTransponder(original)) continue;
            ChannelRec& ch = target.back();
            if (!like) like = ch;
            const Tuning t = tuningOf(ch);
            const auto [first, last] =
                sorted.window(t.vertical, t.khz, frequencyToleranceKhz(t.srateUnits));
            if (first == last) {
                ++fill.unmatched;
                continue;
            }
            covered[sorted.nearestIn(first, last, t.khz)] = true;
            if (std::distance(first, last) != 1) continue;
            const ChannelRec before = ch;
            const SatTransponder& tp = sorted.at(*first);
            ch.Freq = zeroPadDecimal(tp.frequencyKhz / 10, 8);
            ch.Srate = zeroPadDecimal(srateUnitsOf(tp.symbolRate), 6);
            if (const auto fec = fecDigit(tp.fec)) ch.Fec = std::string_view(&*fec, 1);
            if (!(ch == before)) ++fill.refreshed;
        }
    }
    if (!like) {
        like = emptyChannel();
        like->Ant = "00" + std::to_string(request.antenna) + "0";
    }
    // The transponders no channel of the antenna is on, in frequency order (H before V).
    std::vector<ChannelRec> placeholders;
    for (const auto& list : sorted.byPol) {
        for (const std::size_t i : list) {
            if (!covered[i]) placeholders.push_back(placeholderFor(sat.transponders[i], *like));
        }
    }
    std::stable_sort(
        placeholders.begin(), placeholders.end(),
        [](const ChannelRec& a, const ChannelRec& b) { return a.Freq.view() < b.Freq.view(); });
    fill.asked = placeholders.size();

    ChannelList& into = request.placeholders == ListId::TV ? out.tv : out.radio;
    const std::size_t base = into.size();
    const auto fitsWith = [&](std::size_t n) {
        into.resize(base);
        into.insert(into.end(), placeholders.begin(),
                    placeholders.begin() + static_cast<std::ptrdiff_t>(n));
        return ftaImageFit(out.tv, out.radio, tables, ImageSettings::FromTables).fits();
    };
    if (fitsWith(fill.asked)) {
        fill.fits = true;
        fill.fitting = fill.asked;
        fill.lists = std::move(out);
        return fill;
    }
    // The most that fit: each placeholder needs a record more, so what fits is a prefix.
    std::size_t low = 0;            // fits, or nothing does
    std::size_t high = fill.asked;  // does not fit
    while (high - low > 1) {
        const std::size_t mid = low + (high - low) / 2;
        (fitsWith(mid) ? low : high) = mid;
    }
    fill.fitting = low;
    return fill;
}

}  // namespace qel
