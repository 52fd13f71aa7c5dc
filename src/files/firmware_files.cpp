#include "files/firmware_files.h"

#include <filesystem>
#include <system_error>

#include "files/file_io.h"

namespace qel {

Result<std::string> findFlashRoutine(const std::vector<std::string>& folders) {
    std::string looked;
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::filesystem::path candidate =
            pathFromUtf8(folder) / std::string(kFlashRoutineFileName);
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return utf8FromPath(candidate);
        looked += (looked.empty() ? "" : "\n") + folder;
    }
    return Error{ErrorCode::NoFlashRoutine, looked};
}

Result<std::string> readFlashRoutine(const std::string& path) {
    // Reading a little past the routine's size is enough to cut a longer file.
    Result<std::string> bytes = readFileBytes(path, std::size_t{1} << 20);
    if (!bytes) return bytes;
    if (bytes->empty()) return Error{ErrorCode::NoFlashRoutine, path + " is empty"};
    bytes->resize(kFlashRoutineSize, '\0');
    return bytes;
}

Result<std::string> readFirmwareFile(const std::string& path) {
    Result<std::string> bytes = readFileBytes(path, kMaxFirmwareSize);
    if (bytes && bytes->empty()) return ErrorCode::EmptyFirmware;
    return bytes;
}

}  // namespace qel
