// The comparison of two channel files' lists: which channels only one of them holds, which
// the two hold with different values, and which stand in another order; and taking the
// other file's values over for chosen channels.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/channel_lists.h"
#include "model/workspace.h"

namespace qel {

// A channel that only one of the two holds. `row` is its 0-based place in its list.
struct UnpairedChannel {
    ListId list = ListId::TV;
    std::size_t row = 0;
    std::string name;  // the channel's name without its padding blanks
};

// One field whose value differs, both values as the records hold them.
struct FieldDifference {
    std::string_view field;  // the record field's name, as forEachField names it
    std::string first;
    std::string second;
};

// The same channel in both lists, with different values. `name` is the first list's.
struct ChangedChannel {
    ListId list = ListId::TV;
    std::size_t firstRow = 0;
    std::size_t secondRow = 0;
    std::string name;
    std::vector<FieldDifference> fields;  // in record order; MatchKey never, it is derived
};

// The same channel in both lists, out of its order among the others.
struct MovedChannel {
    ListId list = ListId::TV;
    std::size_t firstRow = 0;
    std::size_t secondRow = 0;
    std::string name;
};

// Each kind lists its channels TV list first, each list in the first list's order (the
// channels only the second holds in the second's order).
struct ListComparison {
    std::vector<UnpairedChannel> onlyInFirst;
    std::vector<UnpairedChannel> onlyInSecond;
    std::vector<ChangedChannel> changed;
    std::vector<MovedChannel> moved;
    bool equal() const {
        return onlyInFirst.empty() && onlyInSecond.empty() && changed.empty() && moved.empty();
    }
};

// Compares the TV list with the TV list and the RADIO list with the RADIO list.
//
// Pairing: a channel is the same channel in both when its NetId, TsId and SerId are equal;
// among several channels with the same three ids the first of the first list pairs with the
// first of the second, the second with the second, and so on. Satellite headers (frequency
// 0) pair with headers only, by their name (blanks around it ignored), in the same way. A
// channel left without a partner is only in its list.
//
// Changed: a pair whose records differ in any field but MatchKey. When exactly one of the
// two lists was read from an FTA image, only the fields an image holds are compared, each as
// the image holds it (heldByFtaImage): the rest is what the image's reader fills in, not a
// difference between the lists.
//
// Moved: of the pairs, those whose order relative to the other pairs differs. The pairs,
// taken in the first list's order, keep a longest run whose places in the second list
// increase; every pair outside that run is moved. So a channel inserted or removed moves
// nothing, and a channel taken out and put elsewhere is the one moved, not the channels it
// passed. When two runs are equally long the one with the earliest places is kept.
//
// Linear in the channels, but the order: n log n.
ListComparison compareLists(const TvRadioLists& first, const TvRadioLists& second,
                            FileKind firstKind = FileKind::None,
                            FileKind secondKind = FileKind::None);

// A record as an FTA image holds it, for comparing: the fields an image does not hold set to
// the blank record's values, the others as writing the image and reading it back gives them.
ChannelRec heldByFtaImage(const ChannelRec& r);

// Gives the first list's channels of `chosen` the second list's values of the fields their
// change names (so a field the comparison left out keeps the first list's value), with
// MatchKey rebuilt. Entries whose rows are no longer in the lists are passed over.
void takeOverChanges(ChannelList& firstTv, ChannelList& firstRadio, const TvRadioLists& second,
                     std::span<const ChangedChannel> chosen);

// The second list's records of `chosen`, in the order given.
ChannelList recordsOf(const TvRadioLists& second, std::span<const UnpairedChannel> chosen);

}  // namespace qel
