#include "model/channel_lists.h"

#include <algorithm>

#include "model/conversions.h"

namespace qel {

void CompactList(ChannelList& list) {
    auto out = list.begin();
    for (auto& rec : list) {
        const std::string trimmed(TrimBlanks(rec.ChName.view()));
        if (trimmed == DeletedName) continue;
        rec.ChName = trimmed;
        if (&*out != &rec) *out = rec;
        ++out;
    }
    list.erase(out, list.end());
}

ChannelRec NamedEmptyChannel(std::string_view name) {
    ChannelRec r = EmptyChannel();
    r.ChName = name;
    return r;
}

}  // namespace qel
