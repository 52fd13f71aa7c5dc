#include "listedit/editing.h"

#include <algorithm>
#include <iterator>

#include "bytes/conversions.h"

namespace qel {

namespace {

std::size_t clamp(int row, std::size_t max) {
    if (row < 1) return 0;
    return std::min(static_cast<std::size_t>(row - 1), max);
}

// Splits `list` into the marked channels and the others, in order.
void split(ChannelList& list, const Marks& marks, ChannelList& marked, ChannelList& kept) {
    marked.reserve(marks.size());
    kept.reserve(list.size());
    auto m = marks.begin();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (m != marks.end() && *m == i) {
            marked.push_back(std::move(list[i]));
            ++m;
        } else {
            kept.push_back(std::move(list[i]));
        }
    }
}

}  // namespace

void insertEmptyChannel(ChannelList& list, std::size_t position) {
    position = std::min(position, list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), emptyChannel());
}

int insertChannel(ChannelList& list, int selectedRow) {
    const std::size_t position = clamp(selectedRow, list.size());
    insertEmptyChannel(list, position);
    return static_cast<int>(position) + 1;
}

int removeMarked(ChannelList& list, ChannelList& buffer, const Marks& marks, bool toBuffer,
                 int selectedRow) {
    if (marks.empty()) return selectedRow;
    const std::size_t first = marks.front();
    ChannelList marked;
    ChannelList kept;
    split(list, marks, marked, kept);
    for (ChannelRec& ch : kept)
        ch.ChName = trimBlanks(ch.ChName.view());
    if (toBuffer) {
        buffer.insert(buffer.end(), std::make_move_iterator(marked.begin()),
                      std::make_move_iterator(marked.end()));
    }
    list = std::move(kept);
    if (list.empty()) return 1;
    return static_cast<int>(std::min(first + 1, list.size()));
}

int pasteEntries(ChannelList& list, ChannelList& buffer, int selectedRow, bool special,
                 const Marks& bufferMarks, bool removeFromBuffer) {
    const std::size_t at = clamp(selectedRow, list.size());
    ChannelList pasted;
    if (!special) {
        pasted = std::move(buffer);
        buffer.clear();
    } else {
        ChannelList rest;
        auto m = bufferMarks.begin();
        for (std::size_t k = 0; k < buffer.size(); ++k) {
            const bool marked = m != bufferMarks.end() && *m == k;
            if (marked) ++m;
            if (marked) pasted.push_back(buffer[k]);
            if (!marked || !removeFromBuffer) rest.push_back(std::move(buffer[k]));
        }
        buffer = std::move(rest);
    }
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at),
                std::make_move_iterator(pasted.begin()), std::make_move_iterator(pasted.end()));
    return static_cast<int>(at + pasted.size()) + 1;
}

int moveRows(ChannelList& list, const Marks& marks, int beforeRow) {
    if (marks.empty()) return beforeRow;
    const std::size_t before = clamp(beforeRow, list.size());
    // Channels in front of the drop place that are not moved stay in front of the block.
    const auto marksBefore = static_cast<std::size_t>(
        std::lower_bound(marks.begin(), marks.end(), before) - marks.begin());
    ChannelList marked;
    ChannelList kept;
    split(list, marks, marked, kept);
    const std::size_t at = before - marksBefore;
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(at),
                std::make_move_iterator(marked.begin()), std::make_move_iterator(marked.end()));
    list = std::move(kept);
    return static_cast<int>(at) + 1;
}

}  // namespace qel
