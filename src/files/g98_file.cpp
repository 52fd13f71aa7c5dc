#include "files/g98_file.h"

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "files/file_io.h"
#include "model/workspace.h"

namespace qel {

Result<std::string> decodeG98(std::string_view bytes) {
    if (bytes.size() != kG98FileSize) return ErrorCode::WrongFileLength;
    // bytesToHex doubles an odd last byte; the image keeps 2 digits per byte.
    return bytesToHex(bytes).substr(0, kSettingsImageLength);
}

std::string encodeG98(std::string_view image) {
    std::string block = hexToBytes(image.substr(0, 2 * kSettingsBlockSize));
    block.resize(kSettingsBlockSize, '\0');
    block += static_cast<char>(blockChecksum(block));
    return block;
}

std::string settingsImageOf(std::string_view settingsBlock) {
    std::string file(settingsBlock);
    file += static_cast<char>(blockChecksum(settingsBlock));
    return bytesToHex(file).substr(0, 2 * file.size());
}

Result<std::string> readSettingsFile(const std::string& path) {
    // Anything larger than the settings file is refused without reading it whole.
    auto bytes = readFileBytes(path, kG98FileSize);
    if (!bytes) {
        return bytes.error() == ErrorCode::FileTooLarge ? ErrorCode::WrongFileLength
                                                        : bytes.error();
    }
    return decodeG98(*bytes);
}

}  // namespace qel
