// "Order like another list": the shown list put into the order of a reference, another list
// of the same kind (TV or RADIO) or a list of names. The result is a permutation like a
// sort's, so that the marks and the selected row follow their channels (movedMarks,
// movedRow in listedit/sort.h).
//
// Matching. A channel takes a reference channel as its partner:
//   1. by ids (only with ReorderMatch::IdsThenName): the same NetId, TsId and SerId, when all
//      three are hex numbers other than 0 on both sides (a channel whose ids are blank or 0
//      is matched by name alone);
//   2. by name: the same name, blanks at both ends aside, without regard to case (Latin-1);
//      a blank name matches nothing.
// Each reference entry is the partner of one entry at most; equal keys pair in the order of
// both lists (the first "RAI 1" with the first "RAI 1"). Satellite headers (frequency
// "00000000") match reference headers by name only, channels match channels only; a name of
// a names file can stand for either.
//
// Order. The matched entries (headers included) follow the reference's order, so a matched
// channel lands under the header it sits under in the reference, provided that header is in
// the list too. The unmatched entries either go after all matched ones in their own order
// (ReorderRest::End: an unmatched header stays in front of the unmatched channels that
// followed it), or keep their rows while the matched entries fill the other rows in the
// reference's order (ReorderRest::Keep).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "listedit/sort.h"
#include "model/channel_lists.h"

namespace qel {

enum class ReorderMatch {
    IdsThenName,  // ids first, then names for those the ids left
    NameOnly,
};

enum class ReorderRest {
    End,   // after the matched entries, in their own order
    Keep,  // in their rows
};

struct ReorderOptions {
    ReorderMatch match = ReorderMatch::IdsThenName;
    ReorderRest rest = ReorderRest::End;

    friend bool operator==(const ReorderOptions&, const ReorderOptions&) = default;
};

// How the entries of the list found their partners. The three channel counts add up to the
// list's channels; the headers are counted apart.
struct ReorderReport {
    std::size_t byIds = 0;
    std::size_t byName = 0;
    std::size_t unmatched = 0;
    std::size_t headersMatched = 0;
    std::size_t headers = 0;

    friend bool operator==(const ReorderReport&, const ReorderReport&) = default;
};

struct Reordering {
    SortOrder order;  // entry i: the old position of the entry that goes to position i
    ReorderReport report;
};

// The order of `reference` given to `list`, in linear time (hash maps).
Reordering reorderLike(const ChannelList& list, const ChannelList& reference,
                       const ReorderOptions& options);
// The order of `names` (one a channel or a header) given to `list`; ids play no part.
Reordering reorderByNames(const ChannelList& list, const std::vector<std::string>& names,
                          ReorderRest rest);

}  // namespace qel
