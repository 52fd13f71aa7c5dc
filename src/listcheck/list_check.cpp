#include "listcheck/list_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/fta_writer.h"
#include "listedit/font_glyphs.h"
#include "listedit/list_view.h"
#include "receiver_settings/dvb98_settings.h"

namespace qel {

namespace {

// The bands a receiver without LNB settings is taken to tune, in MHz.
constexpr Band kCBand{3400, 4200};
constexpr Band kKuBand{10700, 12750};
// The intermediate frequencies a receiver's tuner takes from the LNB, in MHz.
constexpr int kIfLowMhz = 950;
constexpr int kIfHighMhz = 2150;
// An oscillator above this converts a band above it (Ku); below, a band below it (C band).
constexpr int kInvertingLnbBelowMhz = 8000;
constexpr int kLowestOscillatorMhz = 2000;
constexpr int kHighestOscillatorMhz = 30000;

constexpr std::int64_t kLowestSymbolRate = 10000;    // 1000 ksym/s in the field's 100 sym/s
constexpr std::int64_t kHighestSymbolRate = 450000;  // 45000 ksym/s
constexpr int kHighestFec = 5;
constexpr std::int32_t kHighestPid = 0x1FFF;

bool isNoTransponder(const ChannelRec& ch) {
    return trimBlanks(ch.Freq.view()) == "NO TS";
}

// A header entry; an image channel without a transponder reads as frequency 0 too, but is a
// channel.
bool isHeader(const ChannelRec& ch) {
    return isSatelliteHeader(ch) && !isNoTransponder(ch);
}

bool isBlankOrNul(char c) {
    return c == ' ' || c == '\0';
}

std::string trimmedName(const ChannelRec& ch) {
    std::string_view n = ch.ChName.view();
    while (!n.empty() && isBlankOrNul(n.front()))
        n.remove_prefix(1);
    while (!n.empty() && isBlankOrNul(n.back()))
        n.remove_suffix(1);
    return std::string(n);
}

bool allHexDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

// "12750" or "12750.25".
std::string mhzText(std::int64_t hundredths) {
    std::string s = std::to_string(hundredths / 100);
    if (const std::int64_t f = hundredths % 100; f != 0) {
        s += '.';
        s += static_cast<char>('0' + f / 10);
        if (f % 10 != 0) s += static_cast<char>('0' + f % 10);
    }
    return s;
}

// The field's 100 sym/s as ksym/s: "27500" or "27500.5".
std::string ksymText(std::int64_t units) {
    std::string s = std::to_string(units / 10);
    if (units % 10 != 0) s += "." + std::to_string(units % 10);
    return s;
}

std::string bandsText(const std::vector<Band>& bands) {
    std::string s;
    for (const Band& b : bands) {
        if (!s.empty()) s += ", ";
        s += std::to_string(b.lowMhz) + "-" + std::to_string(b.highMhz);
    }
    return s;
}

// The characters as the message lists them: printable ones in quotes, others as <hex>.
std::string charactersText(std::string_view chars) {
    std::string s;
    for (char c : chars) {
        if (!s.empty()) s += ", ";
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F && !(b >= 0x80 && b < 0xA0)) {
            s += '"';
            s += c;
            s += '"';
        } else {
            s += '<' + pad4(toHex(b)).substr(2) + '>';
        }
    }
    return s;
}

class Checker {
public:
    Checker(const CheckInput& in, std::vector<Finding>& out)
        : in_(in), out_(out), lnbBands_(lnbBands(in.settingsImage)) {}

    void capacity() {
        const ChannelList& tv = *in_.tv;
        const ChannelList& radio = *in_.radio;
        if (!in_.ftaImage) {
            const std::size_t total = tv.size() + radio.size();
            if (total <= kMaxDvb98Channels) return;
            // The first channel the receiver has no room for.
            const ListPlace over = tv.size() > kMaxDvb98Channels
                                       ? ListPlace{ListId::TV, kMaxDvb98Channels}
                                       : ListPlace{ListId::Radio, kMaxDvb98Channels - tv.size()};
            add(FindingLevel::Error, over, "", FindingKind::Capacity,
                FindingMessage::TooManyDvb98Channels,
                {std::to_string(total), std::to_string(kMaxDvb98Channels)});
            return;
        }
        const FtaImageTables noTables;
        const FtaImageFit fit =
            ftaImageFit(tv, radio, in_.imageTables != nullptr ? *in_.imageTables : noTables,
                        ImageSettings::FromTables);
        for (const ListId id : {ListId::TV, ListId::Radio}) {
            const ChannelList& list = id == ListId::TV ? tv : radio;
            if (id == ListId::TV ? fit.tvFits : fit.radioFits) continue;
            add(FindingLevel::Error, {id, kMaxFtaChannelsPerList}, "", FindingKind::Capacity,
                FindingMessage::TooManyImageChannels,
                {std::to_string(list.size()), std::to_string(kMaxFtaChannelsPerList)});
        }
        if (fit.firstTransponderOver) {
            add(FindingLevel::Error, *fit.firstTransponderOver, "", FindingKind::Capacity,
                FindingMessage::TooManyTransponders,
                {std::to_string(fit.transponders), std::to_string(kMaxFtaTransponders)});
        }
        if (!fit.areasFit) {
            // The record data is laid out in list order: what does not fit is at the end.
            const ListPlace last = radio.empty() ? ListPlace{ListId::TV, tv.size() - 1}
                                                 : ListPlace{ListId::Radio, radio.size() - 1};
            add(FindingLevel::Error, last, "", FindingKind::Capacity, FindingMessage::ImageFull,
                {});
        }
    }

    void list(ListId id) {
        const ChannelList& list = id == ListId::TV ? *in_.tv : *in_.radio;
        dupes_.clear();
        services_.clear();
        dupes_.reserve(list.size());
        services_.reserve(list.size());
        const auto firstHeader = std::find_if(list.begin(), list.end(), isHeader);
        const auto before = static_cast<std::size_t>(firstHeader - list.begin());
        for (std::size_t i = 0; i < list.size(); ++i) {
            const ChannelRec& ch = list[i];
            const ListPlace at{id, i};
            if (i == 0 && firstHeader != list.end() && before > 0) {
                add(FindingLevel::Warning, at, "", FindingKind::Structure,
                    FindingMessage::ChannelsBeforeHeader, {std::to_string(before)});
            }
            if (isHeader(ch)) {
                if (i + 1 == list.size() || isHeader(list[i + 1])) {
                    add(FindingLevel::Warning, at, "", FindingKind::Structure,
                        FindingMessage::HeaderWithoutChannels, {});
                }
                name(ch, at);
                continue;
            }
            duplicates(ch, at);
            name(ch, at);
            tuning(ch, at);
            pids(ch, at);
        }
    }

private:
    void add(FindingLevel level, ListPlace at, std::string field, FindingKind kind,
             FindingMessage message, std::vector<std::string> args) {
        const ChannelList& list = at.list == ListId::TV ? *in_.tv : *in_.radio;
        out_.push_back(Finding{level, at.list, static_cast<int>(at.index + 1), std::move(field),
                               kind, message, std::move(args), trimmedName(list[at.index])});
    }

    void duplicates(const ChannelRec& ch, ListPlace at) {
        const auto [same, fresh] =
            dupes_.try_emplace(std::string(buildMatchKey(ch).view()), at.index);
        if (!fresh) {
            add(FindingLevel::Warning, at, "", FindingKind::Duplicate, FindingMessage::SameAsRow,
                {std::to_string(same->second + 1)});
            return;
        }
        // Another entry of the same service on the same transponder: its PIDs have likely
        // changed since one of them was stored. An unknown service id says nothing.
        if (ch.SerId == "0000") return;
        const std::string service =
            ch.SerId.str() + ch.NetId.str() + ch.TsId.str() + ch.Freq.str() + ch.Pol.str();
        const auto [first, isFirst] = services_.try_emplace(service, at.index);
        if (!isFirst &&
            pidsOf((at.list == ListId::TV ? *in_.tv : *in_.radio)[first->second]) != pidsOf(ch)) {
            add(FindingLevel::Warning, at, "", FindingKind::Duplicate,
                FindingMessage::OtherPidsThanRow, {std::to_string(first->second + 1)});
        }
    }

    static std::string pidsOf(const ChannelRec& ch) {
        return ch.VPid.str() + ch.APid.str() + ch.PPid.str() + ch.PmtPid.str() + ch.PmcPid.str() +
               ch.TxtPid.str();
    }

    void name(const ChannelRec& ch, ListPlace at) {
        // The receiver shows the bracketed part of a name, when it has one.
        const std::string shown =
            trimmedName(ch).empty() ? std::string() : bracketText(ch.ChName.view());
        if (shown.empty()) {
            add(FindingLevel::Warning, at, "ChName", FindingKind::Name, FindingMessage::EmptyName,
                {});
            return;
        }
        const ShownCharacters& font = in_.font ? *in_.font : builtIn_;
        std::string missing;
        for (char c : shown) {
            const auto b = static_cast<unsigned char>(c);
            if (!font.test(b) && missing.find(c) == std::string::npos) missing += c;
        }
        if (!missing.empty()) {
            add(FindingLevel::Warning, at, "ChName", FindingKind::Name,
                FindingMessage::CharactersNotShown, {charactersText(missing)});
        }
    }

    void tuning(const ChannelRec& ch, ListPlace at) {
        if (isNoTransponder(ch)) {
            add(FindingLevel::Warning, at, "Freq", FindingKind::Range,
                FindingMessage::NoTransponder, {});
            return;
        }
        const std::int64_t freq = decimalValue(channel_part::kFreqMhz.in(ch.Freq.view())) * 100 +
                                  decimalValue(channel_part::kFreqFraction.in(ch.Freq.view()));
        const std::vector<Band>& bands = lnbBands_.empty() ? fixedBands_ : lnbBands_;
        const bool inside = std::any_of(bands.begin(), bands.end(), [freq](const Band& b) {
            return freq >= std::int64_t{b.lowMhz} * 100 && freq <= std::int64_t{b.highMhz} * 100;
        });
        if (!inside) {
            if (lnbBands_.empty()) {
                add(FindingLevel::Warning, at, "Freq", FindingKind::Range,
                    FindingMessage::FrequencyOutsideBands, {mhzText(freq)});
            } else {
                add(FindingLevel::Warning, at, "Freq", FindingKind::Range,
                    FindingMessage::FrequencyOutsideLnbs, {mhzText(freq), bandsText(lnbBands_)});
            }
        }
        const std::int64_t srate = decimalValue(ch.Srate.view());
        if (srate < kLowestSymbolRate || srate > kHighestSymbolRate) {
            add(FindingLevel::Warning, at, "Srate", FindingKind::Range,
                FindingMessage::SymbolRateOutside, {ksymText(srate)});
        }
        const char fec = ch.Fec[0];
        if (fec < '0' || fec > '0' + kHighestFec) {
            add(FindingLevel::Error, at, "Fec", FindingKind::Range, FindingMessage::FecOutside,
                {charactersText(std::string_view(&fec, 1))});
        }
    }

    void pids(const ChannelRec& ch, ListPlace at) {
        const std::array<std::pair<const char*, const FixedText<4>*>, 6> fields = {{
            {"VPid", &ch.VPid},
            {"APid", &ch.APid},
            {"PPid", &ch.PPid},
            {"PmtPid", &ch.PmtPid},
            {"PmcPid", &ch.PmcPid},
            {"TxtPid", &ch.TxtPid},
        }};
        for (const auto& [field, pid] : fields) {
            if (!allHexDigits(pid->view())) {
                add(FindingLevel::Error, at, field, FindingKind::Range, FindingMessage::PidNotHex,
                    {pid->str()});
            } else if (hexToDec(pid->view()) > kHighestPid) {
                add(FindingLevel::Error, at, field, FindingKind::Range,
                    FindingMessage::PidAboveLimit, {pid->str()});
            }
        }
    }

    const CheckInput& in_;
    std::vector<Finding>& out_;
    const std::vector<Band> lnbBands_;
    const std::vector<Band> fixedBands_{kCBand, kKuBand};
    const ShownCharacters builtIn_ = builtInCharacters();
    std::unordered_map<std::string, std::size_t> dupes_;     // MatchKey: its first row
    std::unordered_map<std::string, std::size_t> services_;  // service and transponder
};

}  // namespace

ShownCharacters builtInCharacters() {
    ShownCharacters shown;
    for (unsigned c = 0x20; c < 0x7F; ++c)
        shown.set(c);
    for (unsigned c = 0xA0; c < 0x100; ++c)
        shown.set(c);
    return shown;
}

std::optional<ShownCharacters> fontCharacters(std::string_view font, FontType type) {
    if (!isSystemFont(type) || font.size() < fontSize(type)) return std::nullopt;
    ShownCharacters shown;
    shown.set(' ');
    for (int c = 0; c < glyphsPerSet(type); ++c) {
        const std::optional<GlyphRows> rows = readGlyph(font, type, 0, c);
        if (rows && std::any_of(rows->begin(), rows->end(), [](std::uint8_t r) { return r != 0; }))
            shown.set(static_cast<std::size_t>(c));
    }
    return shown;
}

std::vector<Band> lnbBands(std::string_view settingsImage) {
    std::vector<Band> bands;
    if (!settingsImageLoaded(settingsImage)) return bands;
    for (const char* name :
         {"LNB1Lof1", "LNB1Lof2", "LNB2Lof1", "LNB2Lof2", "LNB3Lof1", "LNB3Lof2", "LNBLofC"}) {
        const SettingField* field = findSettingField(name);
        if (field == nullptr) continue;
        const std::int64_t lof = decimalValue(showSetting(settingsImage, *field).text);
        if (lof < kLowestOscillatorMhz || lof > kHighestOscillatorMhz) continue;
        const auto mhz = static_cast<int>(lof);
        bands.push_back(mhz < kInvertingLnbBelowMhz ? Band{mhz - kIfHighMhz, mhz - kIfLowMhz}
                                                    : Band{mhz + kIfLowMhz, mhz + kIfHighMhz});
    }
    std::sort(bands.begin(), bands.end(),
              [](const Band& a, const Band& b) { return a.lowMhz < b.lowMhz; });
    std::vector<Band> merged;
    for (const Band& b : bands) {
        if (!merged.empty() && b.lowMhz <= merged.back().highMhz) {
            merged.back().highMhz = std::max(merged.back().highMhz, b.highMhz);
        } else {
            merged.push_back(b);
        }
    }
    return merged;
}

std::vector<Finding> checkLists(const CheckInput& input) {
    std::vector<Finding> findings;
    const ChannelList none;
    CheckInput in = input;
    if (in.tv == nullptr) in.tv = &none;
    if (in.radio == nullptr) in.radio = &none;
    Checker checker(in, findings);
    checker.capacity();
    checker.list(ListId::TV);
    checker.list(ListId::Radio);
    return findings;
}

FindingCounts countFindings(const std::vector<Finding>& findings) {
    FindingCounts counts;
    for (const Finding& f : findings)
        ++(f.level == FindingLevel::Error ? counts.errors : counts.warnings);
    return counts;
}

std::vector<std::size_t> removeDuplicates(ChannelList& list) {
    std::vector<std::size_t> where(list.size());
    std::unordered_map<std::string, std::size_t> kept;  // MatchKey: its channel's new row
    kept.reserve(list.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!isHeader(list[i])) {
            const auto [first, fresh] =
                kept.try_emplace(std::string(buildMatchKey(list[i]).view()), next);
            if (!fresh) {
                where[i] = first->second;
                continue;
            }
        }
        if (next != i) list[next] = list[i];
        where[i] = next++;
    }
    list.resize(next);
    return where;
}

}  // namespace qel
