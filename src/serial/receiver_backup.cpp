#include "serial/receiver_backup.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "files/file_io.h"
#include "files/g98_file.h"

namespace qel {

Status writeReceiverBackup(const std::string& folder, std::string_view channelImage,
                           std::string_view settingsBlock) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path root(folder);
    const std::pair<std::string, std::string> files[] = {
        {(root / kBackupChannelsName).string(), std::string(channelImage)},
        {(root / kBackupSettingsName).string(), encodeG98(settingsImageOf(settingsBlock))},
    };
    for (const auto& [path, bytes] : files) {
        if (Status st = writeFileAtomic(path, bytes); !st) {
            // The file that could not be written, and the system's reason why.
            return Error{st.error(), st.detail().empty() ? path : path + ": " + st.detail()};
        }
    }
    return {};
}

}  // namespace qel
