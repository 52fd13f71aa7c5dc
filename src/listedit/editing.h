// The structural edits of a channel list: insert, delete, move to the buffer, paste
// and reorder. Each works on a list, the buffer and the marked rows, in linear time, and
// returns the row the main list selects afterwards (1-based; the blank row after the
// last channel is channel count + 1).
#pragma once

#include <cstddef>
#include <vector>

#include "model/channel_lists.h"

namespace qel {

// 0-based positions of marked channels, ascending, without duplicates.
using Marks = std::vector<std::size_t>;

// Puts a copy of emptyChannel at `position` (0-based; the list size appends).
void insertEmptyChannel(ChannelList& list, std::size_t position);

// Insert: a new empty channel in front of the selected row (the blank row appends);
// the new channel is selected.
int insertChannel(ChannelList& list, int selectedRow);

// Delete (toBuffer false) or move to the buffer (true) the marked channels; moved ones
// go to the end of the buffer in list order. Names of the channels kept lose their
// blanks at both ends. The row of the first marked channel is selected afterwards (the
// last channel when that row is now the blank row; row 1 for an empty list). Without
// marks nothing changes and the selected row stays.
int removeMarked(ChannelList& list, ChannelList& buffer, const Marks& marks, bool toBuffer,
                 int selectedRow);

// Paste: the buffer entries (all, or the marked ones of `bufferMarks`) go in front of
// the selected row, which stays selected behind them. Paste all (`special` false)
// empties the buffer; paste special removes the pasted entries when `removeFromBuffer`.
int pasteEntries(ChannelList& list, ChannelList& buffer, int selectedRow, bool special,
                 const Marks& bufferMarks, bool removeFromBuffer);

// Moves the marked channels, in their order, in front of row `beforeRow` (1-based; the
// blank row moves them to the end). Gives the row of the first moved channel.
int moveRows(ChannelList& list, const Marks& marks, int beforeRow);

}  // namespace qel
