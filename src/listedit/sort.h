// Sorting a channel list by name, frequency, service id or satellite. The sort is stable in
// both directions and gives the new order as a permutation, so that the marks and the
// selected row follow their channels.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "listedit/editing.h"
#include "model/channel_lists.h"

namespace qel {

enum class SortKey {
    Name,       // the shown name, without regard to case and to blanks at both ends
    Frequency,  // the frequency, then the polarisation (horizontal first)
    ServiceId,  // SerId, a hex number
    // The satellite a channel is received from: the satellite number (Sat, from the FTA
    // transponder table), then the antenna (Ant), then the DiSEqC port (TuneFlags). A DVB98
    // list tells its satellites apart by the DiSEqC port alone, an FTA image by the
    // satellite number and the antenna.
    Satellite,
};

struct SortOptions {
    SortKey key = SortKey::Name;
    bool descending = false;
    // Each satellite header entry (frequency "00000000", where the Tab key stops) keeps its
    // place and only the channels between two headers, and those before the first, are
    // sorted among themselves; otherwise the headers are sorted like channels.
    bool keepHeaders = true;

    friend bool operator==(const SortOptions&, const SortOptions&) = default;
};

// The new order: entry i is the old 0-based position of the channel that goes to position i.
using SortOrder = std::vector<std::size_t>;

// The order `options` gives `list`, in O(n log n). Channels with equal keys keep their order,
// descending as well as ascending.
SortOrder sortOrder(const ChannelList& list, const SortOptions& options);

// Puts `list` into `order` (a permutation of its positions).
void applyOrder(ChannelList& list, const SortOrder& order);

// Sorts `list` and gives the order it applied.
SortOrder sortChannels(ChannelList& list, const SortOptions& options);

// Where the marked channels went: their new positions, ascending.
Marks movedMarks(const Marks& marks, const SortOrder& order);

// The row (1-based) the channel of `row` went to; the blank row after the last channel stays.
int movedRow(int row, const SortOrder& order);

// The keys by their command-line names: "name", "freq", "sid", "sat".
std::optional<SortKey> sortKeyNamed(std::string_view name);

}  // namespace qel
