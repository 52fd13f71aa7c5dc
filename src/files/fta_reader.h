// Reading an FTA flash image: the records of its three areas into the image tables,
// and the TV and RADIO lists built from those tables.
#pragma once

#include <string_view>

#include "model/channel_lists.h"
#include "model/debug_log.h"
#include "model/errors.h"
#include "model/fta_tables.h"

namespace qel {

// Reads a 49152-byte image into fresh tables; any other length is refused with
// WrongFileLength. The reader never leaves the image or the area it reads, whatever
// the bytes say:
//  - an area ends at its first 0xFFFF record type, at a record whose length runs past
//    the area (into the marker words), or where no whole record header fits;
//  - a channel entry whose head runs past its record ends that record's entries; one whose
//    name runs past it keeps the name's bytes that are there, and is the record's last;
//  - channel entries that would go past index 1500 of a name table are dropped;
//  - short values give short fields: nothing is read beyond a record's value.
// Every record stored or dropped goes to the debug log, but a foreign tag record.
Result<FtaImageTables> readFtaImage(std::string_view image, DebugLog* log = nullptr);

// The TV and RADIO lists an image holds: its name tables joined with the PID and
// transponder tables. Fields the image does not hold keep their code-0 characters.
TvRadioLists channelListsOf(const FtaImageTables& tables);

}  // namespace qel
