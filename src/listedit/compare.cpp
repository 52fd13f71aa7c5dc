#include "listedit/compare.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <utility>

#include "bytes/conversions.h"
#include "listedit/list_view.h"

namespace qel {

namespace {

constexpr std::size_t kFieldCount = 28;
using FieldViews = std::array<std::pair<std::string_view, std::string_view>, kFieldCount>;

FieldViews fieldViews(const ChannelRec& r) {
    FieldViews views{};
    std::size_t i = 0;
    forEachField(r, [&](std::string_view name, const auto& field) {
        views[i++] = {name, field.view()};
    });
    return views;
}

std::string shownName(const ChannelRec& r) {
    return std::string(trimBlanks(r.ChName.view()));
}

// What pairs two records: a channel's three ids, a header's name. The first character keeps
// the two kinds apart.
std::string pairingKey(const ChannelRec& r) {
    std::string key;
    if (isSatelliteHeader(r)) {
        key = 'H';
        key += trimBlanks(r.ChName.view());
    } else {
        key.reserve(13);
        key = 'C';
        key += r.NetId.view();
        key += r.TsId.view();
        key += r.SerId.view();
    }
    return key;
}

// The places in the second list of the channels it shares with the first, in the order
// the keys come.
class SecondPlaces {
public:
    explicit SecondPlaces(const ChannelList& second) {
        places_.reserve(second.size());
        for (std::size_t j = 0; j < second.size(); ++j)
            places_[pairingKey(second[j])].rows.push_back(j);
    }

    // The next unpaired place of the key, if there is one.
    std::optional<std::size_t> take(const std::string& key) {
        auto it = places_.find(key);
        if (it == places_.end() || it->second.next == it->second.rows.size()) return std::nullopt;
        return it->second.rows[it->second.next++];
    }

private:
    struct Queue {
        std::vector<std::size_t> rows;
        std::size_t next = 0;
    };
    std::unordered_map<std::string, Queue> places_;
};

// Marks the pairs outside one longest run of increasing second places (patience sorting).
std::vector<bool> outOfOrder(const std::vector<std::size_t>& secondPlaces) {
    const std::size_t n = secondPlaces.size();
    std::vector<std::size_t> tails;  // tails[k]: index of the smallest end of a run of k + 1
    std::vector<std::size_t> before(n, n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), secondPlaces[i],
            [&](std::size_t index, std::size_t place) { return secondPlaces[index] < place; });
        if (at != tails.begin()) before[i] = *(at - 1);
        if (at == tails.end()) {
            tails.push_back(i);
        } else {
            *at = i;
        }
    }
    std::vector<bool> moved(n, true);
    for (std::size_t i = tails.empty() ? n : tails.back(); i != n; i = before[i])
        moved[i] = false;
    return moved;
}

// Whether two records differ, and which fields do; the values named are the records' own.
struct FieldComparer {
    bool ftaImage = false;

    bool differ(const ChannelRec& a, const ChannelRec& b) const {
        if (ftaImage) {
            const auto [heldA, heldB] = held(a, b);
            return heldA != heldB;
        }
        ChannelRec withKey = a;
        withKey.MatchKey = b.MatchKey;
        return withKey != b;
    }

    // What an image holds of each. A header (paired by its name) whose network and stream
    // ids are blank on one side has on the other the numbers the image writer gave them.
    static std::pair<ChannelRec, ChannelRec> held(const ChannelRec& a, const ChannelRec& b) {
        std::pair<ChannelRec, ChannelRec> out{heldByFtaImage(a), heldByFtaImage(b)};
        const auto blankIds = [](const ChannelRec& r) {
            return r.NetId == "0000" && r.TsId == "0000";
        };
        if (isSatelliteHeader(a) && isSatelliteHeader(b) && (blankIds(a) || blankIds(b))) {
            out.second.NetId = out.first.NetId;
            out.second.TsId = out.first.TsId;
        }
        return out;
    }

    std::vector<FieldDifference> fields(const ChannelRec& a, const ChannelRec& b) const {
        const FieldViews one = fieldViews(a);
        const FieldViews two = fieldViews(b);
        const auto [heldA, heldB] = ftaImage ? held(a, b) : std::pair<ChannelRec, ChannelRec>{};
        const FieldViews compareOne = ftaImage ? fieldViews(heldA) : one;
        const FieldViews compareTwo = ftaImage ? fieldViews(heldB) : two;
        std::vector<FieldDifference> out;
        for (std::size_t f = 1; f < kFieldCount; ++f) {  // 0 is MatchKey
            if (compareOne[f].second != compareTwo[f].second)
                out.push_back(
                    {one[f].first, std::string(one[f].second), std::string(two[f].second)});
        }
        return out;
    }
};

void compareList(ListId id, const ChannelList& first, const ChannelList& second,
                 const FieldComparer& comparer, ListComparison& out) {
    SecondPlaces places(second);
    std::vector<bool> paired(second.size(), false);
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // first row, second row
    pairs.reserve(std::min(first.size(), second.size()));
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (const auto j = places.take(pairingKey(first[i]))) {
            pairs.emplace_back(i, *j);
            paired[*j] = true;
        } else {
            out.onlyInFirst.push_back({id, i, shownName(first[i])});
        }
    }
    for (std::size_t j = 0; j < second.size(); ++j) {
        if (!paired[j]) out.onlyInSecond.push_back({id, j, shownName(second[j])});
    }

    for (const auto& [i, j] : pairs) {
        if (!comparer.differ(first[i], second[j])) continue;
        out.changed.push_back(
            {id, i, j, shownName(first[i]), comparer.fields(first[i], second[j])});
    }

    std::vector<std::size_t> secondPlaces;
    secondPlaces.reserve(pairs.size());
    for (const auto& pair : pairs)
        secondPlaces.push_back(pair.second);
    const std::vector<bool> moved = outOfOrder(secondPlaces);
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        if (moved[k]) {
            const auto [i, j] = pairs[k];
            out.moved.push_back({id, i, j, shownName(first[i])});
        }
    }
}

}  // namespace

ListComparison compareLists(const TvRadioLists& first, const TvRadioLists& second,
                            FileKind firstKind, FileKind secondKind) {
    // Two images, or two lists, hold the same fields: all are compared.
    const FieldComparer comparer{(firstKind == FileKind::BIN) != (secondKind == FileKind::BIN)};
    ListComparison out;
    compareList(ListId::TV, first.tv, second.tv, comparer, out);
    compareList(ListId::Radio, first.radio, second.radio, comparer, out);
    return out;
}

ChannelRec heldByFtaImage(const ChannelRec& r) {
    const ChannelRec& blank = emptyChannel();
    ChannelRec held = r;
    // Derived from the other fields: it never tells a difference of its own.
    held.MatchKey = blank.MatchKey;
    // The image keeps the name without the blanks around it.
    held.ChName = trimBlanks(r.ChName.view());
    // The writer sets the band from the frequency, whatever the record says.
    held.LoHi = blank.LoHi;
    // The writer makes it from TrId and the frequency; the record's own value is not kept.
    held.AntAux = blank.AntAux;
    // The image has no place for these: its reader fills in zeros (Parental stays unfilled).
    for (auto* f : {&held.PmtPid, &held.PmcPid, &held.TxtPid, &held.TuneFlags, &held.Aux292})
        *f = blank.PmtPid;
    held.Acbw = blank.Acbw;
    held.AvFlags = blank.AvFlags;
    held.ServType = blank.ServType;
    held.Parental = blank.Parental;
    held.AutoPid = blank.AutoPid;
    held.AutoPmt = blank.AutoPmt;

    const std::int64_t mhz = decimalValue(channel_part::kFreqMhz.in(r.Freq.view()));
    if (mhz >= 1000) {
        // A tuned transponder holds its polarisation as a number, "3" written as 4.
        if (r.Pol == "3") held.Pol = "4";
        return held;
    }
    // Of the transponder's fields an untuned one (a satellite header, a channel without a
    // transponder) holds only the frequency's whole MHz and fraction ("NO TS" has neither)
    // and the symbol rate.
    const bool noTs = trimBlanks(r.Freq.view()) == "NO TS";
    held.Freq =
        zeroPadDecimal(mhz, 6) +
        (noTs ? std::string("00") : std::string(channel_part::kFreqFraction.in(r.Freq.view())));
    held.Pol = blank.Pol;
    held.Fec = blank.Fec;
    held.Sat = blank.Sat;
    held.Ant = blank.Ant;
    return held;
}

void takeOverChanges(ChannelList& firstTv, ChannelList& firstRadio, const TvRadioLists& second,
                     std::span<const ChangedChannel> chosen) {
    for (const ChangedChannel& c : chosen) {
        ChannelList& to = c.list == ListId::TV ? firstTv : firstRadio;
        const ChannelList& from = c.list == ListId::TV ? second.tv : second.radio;
        if (c.firstRow >= to.size() || c.secondRow >= from.size()) continue;
        ChannelRec& r = to[c.firstRow];
        const FieldViews theirs = fieldViews(from[c.secondRow]);
        std::size_t f = 0;
        forEachField(r, [&](std::string_view name, auto& field) {
            const std::string_view value = theirs[f++].second;
            if (std::any_of(c.fields.begin(), c.fields.end(),
                            [&](const FieldDifference& d) { return d.field == name; }))
                field = value;
        });
        r.MatchKey = buildMatchKey(r);
    }
}

ChannelList recordsOf(const TvRadioLists& second, std::span<const UnpairedChannel> chosen) {
    ChannelList records;
    records.reserve(chosen.size());
    for (const UnpairedChannel& c : chosen) {
        const ChannelList& from = c.list == ListId::TV ? second.tv : second.radio;
        if (c.row < from.size()) records.push_back(from[c.row]);
    }
    return records;
}

}  // namespace qel
