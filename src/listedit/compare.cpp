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

void compareList(ListId id, const ChannelList& first, const ChannelList& second,
                 ListComparison& out) {
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
        ChannelRec a = first[i];
        a.MatchKey = second[j].MatchKey;
        if (a == second[j]) continue;
        ChangedChannel change{id, i, j, shownName(first[i]), {}};
        const FieldViews one = fieldViews(first[i]);
        const FieldViews two = fieldViews(second[j]);
        for (std::size_t f = 1; f < kFieldCount; ++f) {  // 0 is MatchKey
            if (one[f].second != two[f].second) {
                change.fields.push_back(
                    {one[f].first, std::string(one[f].second), std::string(two[f].second)});
            }
        }
        out.changed.push_back(std::move(change));
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

ListComparison compareLists(const TvRadioLists& first, const TvRadioLists& second) {
    ListComparison out;
    compareList(ListId::TV, first.tv, second.tv, out);
    compareList(ListId::Radio, first.radio, second.radio, out);
    return out;
}

ChannelRec takenOver(const ChannelRec& second) {
    ChannelRec r = second;
    r.MatchKey = buildMatchKey(r);
    return r;
}

void takeOverChanges(ChannelList& firstTv, ChannelList& firstRadio, const TvRadioLists& second,
                     std::span<const ChangedChannel> chosen) {
    for (const ChangedChannel& c : chosen) {
        ChannelList& to = c.list == ListId::TV ? firstTv : firstRadio;
        const ChannelList& from = c.list == ListId::TV ? second.tv : second.radio;
        if (c.firstRow < to.size() && c.secondRow < from.size())
            to[c.firstRow] = takenOver(from[c.secondRow]);
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
