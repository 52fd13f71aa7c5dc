// The two channel lists the save-under-kill test's child saves in turn: 3071 channels each,
// the second in the reverse order of the first.
#pragma once

#include <string>

#include "files/dvb_file.h"
#include "support/receiver_data.h"

namespace qel::test {

inline std::string savedList(int which) {
    const std::string first = channelImage(static_cast<int>(kMaxDvb98Channels));
    if (which % 2 == 0) return first;
    std::string second;
    second.reserve(first.size());
    for (std::size_t at = first.size(); at >= kDvbRecordSize; at -= kDvbRecordSize)
        second.append(first, at - kDvbRecordSize, kDvbRecordSize);
    return second;
}

}  // namespace qel::test
