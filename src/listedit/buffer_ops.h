// What the buffer window does to the buffer: sort it three ways and delete entries.
#pragma once

#include "listedit/editing.h"

namespace qel {

enum class BufferOrder { ByName = 0, ByFrequency = 1, Motorized = 2 };

// A stable sort: entries with equal keys keep their order. Keys compare character
// codes: the first 10 characters of the name; the frequency then the name; band,
// polarisation, then the name.
void orderBuffer(ChannelList& buffer, BufferOrder order);

// Deletes the marked entries; the names of the others lose their blanks at both ends.
// Gives the row to select: the one just above the first deleted entry (row 1 at the top).
int deleteBufferEntries(ChannelList& buffer, const Marks& marks);

}  // namespace qel
