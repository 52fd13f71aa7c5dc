#include "model/channel_lists.h"

#include <algorithm>

#include "bytes/conversions.h"

namespace qel {

void compactList(ChannelList& list) {
    auto out = list.begin();
    for (auto& rec : list) {
        const std::string trimmed(trimBlanks(rec.ChName.view()));
        if (trimmed == kDeletedName) continue;
        rec.ChName = trimmed;
        if (&*out != &rec) *out = rec;
        ++out;
    }
    list.erase(out, list.end());
}

ChannelRec namedEmptyChannel(std::string_view name) {
    ChannelRec r = emptyChannel();
    r.ChName = name;
    return r;
}

std::string_view listName(ListId list) {
    return list == ListId::TV ? "TV" : "RADIO";
}

}  // namespace qel
