#include "listedit/reorder.h"

#include <cstdint>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "bytes/conversions.h"
#include "listedit/find.h"
#include "listedit/list_view.h"

namespace qel {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// What a reference entry can be the partner of: a names file does not say.
enum class Kind : std::uint8_t { Channel, Header, Either };

struct Entry {
    Kind kind = Kind::Channel;
    std::string name;       // the key: trimmed, upper case
    std::uint64_t ids = 0;  // NetId, TsId, SerId in one number; 0 when they do not count
};

bool isHeader(const ChannelRec& ch) {
    return iconOf(ch) == RowIcon::Header;
}

std::string nameKey(std::string_view name) {
    return upperLatin1(trimBlanks(name));
}

// The three ids in one number, or 0 when one of them is blank, no hex number, or 0.
std::uint64_t idsKey(const ChannelRec& ch) {
    const std::int32_t net = hexToDec(ch.NetId.view());
    const std::int32_t ts = hexToDec(ch.TsId.view());
    const std::int32_t ser = hexToDec(ch.SerId.view());
    if (net <= 0 || ts <= 0 || ser <= 0) return 0;
    return (static_cast<std::uint64_t>(net) << 32) | (static_cast<std::uint64_t>(ts) << 16) |
           static_cast<std::uint64_t>(ser);
}

// The reference entries of one key, in reference order, and the first one not yet looked
// past. An entry taken by another key's candidates (a names-file entry is both a channel's and
// a header's) is skipped when reached; the cursor never goes back, so every lookup together
// costs no more than the entries.
struct Candidates {
    std::vector<std::size_t> entries;
    std::size_t next = 0;
};

template <class Key>
class Pool {
public:
    explicit Pool(std::size_t expected) { map_.reserve(expected); }
    void add(const Key& key, std::size_t entry) { map_[key].entries.push_back(entry); }
    // The first entry of `key` not yet used, marked used; kNone when there is none.
    std::size_t take(const Key& key, std::vector<bool>& used) {
        const auto found = map_.find(key);
        if (found == map_.end()) return kNone;
        Candidates& c = found->second;
        while (c.next < c.entries.size() && used[c.entries[c.next]])
            ++c.next;
        if (c.next == c.entries.size()) return kNone;
        const std::size_t entry = c.entries[c.next++];
        used[entry] = true;
        return entry;
    }

private:
    std::unordered_map<Key, Candidates> map_;
};

Reordering reorder(const ChannelList& list, const std::vector<Entry>& reference, bool byIds,
                   ReorderRest rest) {
    Pool<std::uint64_t> ids(byIds ? reference.size() : 0);
    Pool<std::string> channelNames(reference.size());
    Pool<std::string> headerNames(reference.size());
    for (std::size_t r = 0; r < reference.size(); ++r) {
        const Entry& e = reference[r];
        if (byIds && e.ids != 0 && e.kind == Kind::Channel) ids.add(e.ids, r);
        if (e.name.empty()) continue;
        if (e.kind != Kind::Header) channelNames.add(e.name, r);
        if (e.kind != Kind::Channel) headerNames.add(e.name, r);
    }

    std::vector<bool> used(reference.size(), false);
    std::vector<std::size_t> partner(list.size(), kNone);
    Reordering result;
    ReorderReport& report = result.report;
    // Every id pairing first: a channel's name never takes the partner another channel's
    // ids have.
    if (byIds) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (isHeader(list[i])) continue;
            const std::uint64_t key = idsKey(list[i]);
            if (key == 0) continue;
            partner[i] = ids.take(key, used);
            if (partner[i] != kNone) ++report.byIds;
        }
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const bool header = isHeader(list[i]);
        if (header) ++report.headers;
        if (partner[i] != kNone) continue;
        const std::string key = nameKey(list[i].ChName.view());
        if (!key.empty()) partner[i] = (header ? headerNames : channelNames).take(key, used);
        if (partner[i] == kNone) {
            if (!header) ++report.unmatched;
        } else {
            ++(header ? report.headersMatched : report.byName);
        }
    }

    // The matched entries in reference order: each reference entry has one partner at most.
    std::vector<std::size_t> byReference(reference.size(), kNone);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (partner[i] != kNone) byReference[partner[i]] = i;
    }
    std::vector<std::size_t> matched;
    matched.reserve(list.size());
    for (std::size_t i : byReference) {
        if (i != kNone) matched.push_back(i);
    }

    SortOrder& order = result.order;
    order.reserve(list.size());
    if (rest == ReorderRest::End) {
        order = matched;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (partner[i] == kNone) order.push_back(i);
        }
    } else {
        // The matched entries' rows, top down, take them in reference order.
        std::size_t k = 0;
        for (std::size_t i = 0; i < list.size(); ++i)
            order.push_back(partner[i] == kNone ? i : matched[k++]);
    }
    return result;
}

}  // namespace

Reordering reorderLike(const ChannelList& list, const ChannelList& reference,
                       const ReorderOptions& options) {
    std::vector<Entry> entries;
    entries.reserve(reference.size());
    for (const ChannelRec& ch : reference) {
        const bool header = isHeader(ch);
        entries.push_back({header ? Kind::Header : Kind::Channel, nameKey(ch.ChName.view()),
                           header ? 0 : idsKey(ch)});
    }
    return reorder(list, entries, options.match == ReorderMatch::IdsThenName, options.rest);
}

Reordering reorderByNames(const ChannelList& list, const std::vector<std::string>& names,
                          ReorderRest rest) {
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (const std::string& name : names)
        entries.push_back({Kind::Either, nameKey(name), 0});
    return reorder(list, entries, false, rest);
}

}  // namespace qel
