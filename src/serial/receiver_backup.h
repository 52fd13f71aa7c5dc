// What the receiver held before an upload, kept as files: its channel records as a .dvb file
// and its settings block as a .g98 file, in a folder of their own. The program and qel-tool
// both keep their backups this way.
#pragma once

#include <string>
#include <string_view>

#include "model/errors.h"

namespace qel {

inline constexpr std::string_view kBackupChannelsName = "receiver.dvb";
inline constexpr std::string_view kBackupSettingsName = "receiver.g98";

// Writes the channel records as they came and the 1264-byte settings block as a .g98 file
// (the block and its checksum) into `folder`, made first when it is missing. Each file is
// saved as writeFileAtomic saves, so an earlier backup in the same folder survives a failed
// save. A file that cannot be written fails the backup with its error and the file's path as
// detail; a folder that cannot be made fails at the first file.
Status writeReceiverBackup(const std::string& folder, std::string_view channelImage,
                           std::string_view settingsBlock);

}  // namespace qel
