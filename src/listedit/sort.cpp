#include "listedit/sort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "bytes/conversions.h"
#include "listedit/find.h"
#include "listedit/list_view.h"

namespace qel {

namespace {

// A channel's key, worked out once per channel so that the n log n comparisons are cheap:
// the upper-cased name for the name, up to three numbers for the other keys.
struct Key {
    std::string text;
    std::array<std::int64_t, 3> numbers{};
};

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A frequency that is no number ("NO TS" of a channel without transponder) sorts after
// every real one.
std::int64_t frequencyOf(const ChannelRec& ch) {
    const std::string_view f = ch.Freq.view();
    return allDigits(f) ? decimalValue(f) : std::numeric_limits<std::int64_t>::max();
}

std::int64_t hexDigit(char c) {
    return hexToDec(std::string_view(&c, 1));
}

Key keyOf(const ChannelRec& ch, SortKey key) {
    Key k;
    switch (key) {
        case SortKey::Name:
            k.text = upperLatin1(bracketText(ch.ChName.view()));
            break;
        case SortKey::Frequency:
            k.numbers = {frequencyOf(ch), ch.Pol == "0" ? 0 : 1, 0};
            break;
        case SortKey::ServiceId:
            k.numbers = {hexToDec(ch.SerId.view()), 0, 0};
            break;
        case SortKey::Satellite:
            k.numbers = {decimalValue(ch.Sat.view()), hexDigit(ch.Ant[2]),
                         hexToDec(ch.TuneFlags.view().substr(2)) & 3};
            break;
    }
    return k;
}

bool headerEntry(const ChannelRec& ch) {
    return iconOf(ch) == RowIcon::Header;
}

// Stable-sorts the positions [first, last) of `order` by their keys.
void sortRange(SortOrder::iterator first, SortOrder::iterator last, const std::vector<Key>& keys,
               SortKey key, bool descending) {
    const auto less = [&](std::size_t a, std::size_t b) {
        return key == SortKey::Name ? keys[a].text < keys[b].text
                                    : keys[a].numbers < keys[b].numbers;
    };
    // Descending swaps the arguments, not the result: equal keys still keep their order.
    if (descending) {
        std::stable_sort(first, last, [&](std::size_t a, std::size_t b) { return less(b, a); });
    } else {
        std::stable_sort(first, last, less);
    }
}

}  // namespace

SortOrder sortOrder(const ChannelList& list, const SortOptions& options) {
    SortOrder order(list.size());
    std::vector<Key> keys;
    keys.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        order[i] = i;
        keys.push_back(keyOf(list[i], options.key));
    }
    if (!options.keepHeaders) {
        sortRange(order.begin(), order.end(), keys, options.key, options.descending);
        return order;
    }
    // Each run of channels between two headers is sorted on its own; the headers stay.
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i < list.size() && !headerEntry(list[i])) continue;
        const auto at = [&](std::size_t p) {
            return order.begin() + static_cast<std::ptrdiff_t>(p);
        };
        sortRange(at(begin), at(i), keys, options.key, options.descending);
        begin = i + 1;
    }
    return order;
}

// In place, one cycle of the permutation after the other: no second list of records.
void applyOrder(ChannelList& list, const SortOrder& order) {
    std::vector<bool> placed(list.size(), false);
    for (std::size_t start = 0; start < list.size(); ++start) {
        if (placed[start] || order[start] == start) continue;
        ChannelRec held = list[start];
        std::size_t to = start;
        while (order[to] != start) {
            list[to] = list[order[to]];
            placed[to] = true;
            to = order[to];
        }
        list[to] = held;
        placed[to] = true;
    }
}

SortOrder sortChannels(ChannelList& list, const SortOptions& options) {
    SortOrder order = sortOrder(list, options);
    applyOrder(list, order);
    return order;
}

Marks movedMarks(const Marks& marks, const SortOrder& order) {
    std::vector<bool> marked(order.size(), false);
    for (std::size_t m : marks) {
        if (m < order.size()) marked[m] = true;
    }
    Marks moved;
    moved.reserve(marks.size());
    for (std::size_t to = 0; to < order.size(); ++to) {
        if (marked[order[to]]) moved.push_back(to);
    }
    return moved;
}

int movedRow(int row, const SortOrder& order) {
    if (row < 1 || row > static_cast<int>(order.size())) return row;
    const auto from = static_cast<std::size_t>(row - 1);
    for (std::size_t to = 0; to < order.size(); ++to) {
        if (order[to] == from) return static_cast<int>(to) + 1;
    }
    return row;
}

std::optional<SortKey> sortKeyNamed(std::string_view name) {
    if (name == "name") return SortKey::Name;
    if (name == "freq") return SortKey::Frequency;
    if (name == "sid") return SortKey::ServiceId;
    if (name == "sat") return SortKey::Satellite;
    return std::nullopt;
}

}  // namespace qel
