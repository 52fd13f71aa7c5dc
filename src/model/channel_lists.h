// The channel lists: TV, RADIO and the holding buffer, each a plain vector of
// its channels in display order.
#pragma once

#include <string_view>
#include <vector>

#include "model/channel_rec.h"

namespace qel {

using ChannelList = std::vector<ChannelRec>;

enum class ListId { TV, Radio };

// "TV" or "RADIO", as the lists are named in exports and reports.
std::string_view listName(ListId list);

// The two lists a channel file or image holds.
struct TvRadioLists {
    ChannelList tv;
    ChannelList radio;
};

// Drops the records named kDeletedName and trims the names of the records it keeps.
void compactList(ChannelList& list);

// A copy of emptyChannel with the given name (the header lines of the buffer).
ChannelRec namedEmptyChannel(std::string_view name);

}  // namespace qel
