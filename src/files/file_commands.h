// What the file commands do below their dialogs: loading a channel file by its
// extension, the save dispatch, and the collection of "Upgrade from file".
#pragma once

#include <string>
#include <string_view>

#include "files/file_formats.h"
#include "model/channel_lists.h"
#include "model/debug_log.h"
#include "model/errors.h"
#include "model/workspace.h"

namespace qel {

// Reads a channel file the document loads as its own, by its extension (file_formats.h): a
// ".dvb" channel table or a ".bin" FTA image; UnsupportedFileType for any other name.
Result<ChannelSet> readChannelFile(const std::string& path, DebugLog* log = nullptr);

// Writes the current data to `target` in the format formatToSave gives: the settings
// image for a ".g98" name; an FTA image for a ".bin" name, for a loaded image and when
// converting, but a ".dvb" name always gets DVB98 records; otherwise the DVB98 records. An
// image made from a DVB98 list carries the default settings block. A DVB98 write is refused
// with TooManyChannelsDvb when both lists together hold 3072 channels or more, an image as
// encodeFtaImage refuses it. Once an image is made, the lists take its normalized form
// (normalizeForFtaImage). A refused or failed save keeps the modified flags, and so does a
// conversion.
Status saveFile(Workspace& ws, const std::string& target, SaveOptions options = {});

// The name a conversion writes to: `current` with its last 4 characters replaced by ".bin".
std::string convertedName(const std::string& current);

// "Convert to bin": writes the lists as an FTA image with the default settings under
// convertedName(current) and gives that name.
Result<std::string> convertToBin(Workspace& ws, const std::string& current);

// The records "Upgrade from file" adds to the buffer: a header line, the TV upgrade
// records whose MatchKey is not in TVList, a second header, the RADIO upgrade records
// whose MatchKey is not in RadioList; separator lines ("---" names at frequency 0) are
// always taken, and runs of zero-frequency entries collapse to their last one.
ChannelList collectUpgrade(const ChannelList& tv, const ChannelList& radio,
                           const ChannelList& tvUpgrade, const ChannelList& radioUpgrade);

// "Upgrade from file": reads the .dvb file at `path` and appends to the buffer what
// collectUpgrade takes from it, marking the channels modified. Does nothing while the
// loaded lists are empty; a refused file changes nothing.
Status upgradeFromFile(Workspace& ws, const std::string& path, DebugLog* log = nullptr);

}  // namespace qel
