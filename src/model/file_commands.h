// What the file commands do below their dialogs: loading a channel file by its
// extension, the save dispatch, and the collection of "Upgrade from file".
#pragma once

#include <string>
#include <string_view>

#include "model/channel_lists.h"
#include "model/debug_log.h"
#include "model/errors.h"

namespace qel {

struct Workspace;

// The last three characters of a file name, upper-cased ("DVB", "BIN", "G98", ...).
std::string FileExtension3(std::string_view path);

// Loads a channel file by its extension; UnsupportedFileType for names that end in
// neither ".dvb" nor ".bin". Nothing changes when the load fails.
Status LoadChannels(Workspace& ws, const std::string& path, DebugLog* log = nullptr);

// Writes the current data to `target`: the settings image for a ".g98" name; an FTA
// image for a ".bin" name, for a loaded image and while converting (ConvertToBin), but
// a ".dvb" name always gets DVB98 records; otherwise the DVB98 records. An image made
// from a DVB98 list carries the default settings block. A DVB98 write is refused with
// TooManyChannelsDvb when both lists together hold 3072 channels or more, an FTA write
// as MakeStr_Save refuses. A refused or failed save keeps the modified flags, and so
// does a conversion, which leaves the current file unsaved.
Status Save_File(Workspace& ws, const std::string& target);

// The name a conversion writes to: `current` with its last 4 characters replaced by ".bin".
std::string ConvertedName(const std::string& current);

// "Convert to bin": writes the lists as an FTA image with the default settings under
// ConvertedName(current) and gives that name.
Result<std::string> DVB2Bin(Workspace& ws, const std::string& current);

// The records "Upgrade from file" adds to the buffer: a header line, the TV upgrade
// records whose MatchKey is not in TVList, a second header, the RADIO upgrade records
// whose MatchKey is not in RadioList; separator lines ("---" names at frequency 0) are
// always taken, and runs of zero-frequency entries collapse to their last one.
ChannelList CollectUpgrade(const ChannelList& tv, const ChannelList& radio,
                           const ChannelList& tvUpgrade, const ChannelList& radioUpgrade);

// "Upgrade from file": reads `path` into the upgrade lists and appends the collection
// to the buffer. Does nothing while the loaded lists are empty.
Status UpgradeFromFile(Workspace& ws, const std::string& path, DebugLog* log = nullptr);

}  // namespace qel
