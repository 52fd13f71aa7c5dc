#include "listedit/buffer_ops.h"

#include <algorithm>

namespace qel {

namespace {

struct KeyLess {
    BufferOrder order;

    static std::string_view name10(const ChannelRec& ch) { return ch.ChName.view().substr(0, 10); }

    static int compare(std::string_view a, std::string_view b) {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (x != y) return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }

    bool operator()(const ChannelRec& a, const ChannelRec& b) const {
        int c = 0;
        if (order == BufferOrder::ByFrequency) c = compare(a.Freq.view(), b.Freq.view());
        if (order == BufferOrder::Motorized) {
            c = compare(a.LoHi.view(), b.LoHi.view());
            if (c == 0) c = compare(a.Pol.view(), b.Pol.view());
        }
        if (c == 0) c = compare(name10(a), name10(b));
        return c < 0;
    }
};

}  // namespace

void orderBuffer(ChannelList& buffer, BufferOrder order) {
    std::stable_sort(buffer.begin(), buffer.end(), KeyLess{order});
}

int deleteBufferEntries(ChannelList& buffer, const Marks& marks) {
    if (marks.empty()) return 1;
    ChannelList scratch;
    const int row = static_cast<int>(marks.front());  // the row above the first deleted one
    removeMarked(buffer, scratch, marks, false, 1);
    return std::max(row, 1);
}

}  // namespace qel
