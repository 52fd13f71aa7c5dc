#include "model/g98_file.h"

#include "model/conversions.h"
#include "model/file_io.h"
#include "model/workspace.h"
#include "serial/checksum.h"

namespace qel {

Result<std::string> DecodeG98(std::string_view bytes) {
    if (bytes.size() != kG98FileSize) return ErrorCode::WrongFileLength;
    // BytesToHex doubles an odd last byte; the image keeps 2 digits per byte.
    return BytesToHex(bytes).substr(0, kSettingsImageLength);
}

std::string EncodeG98(std::string_view image) {
    std::string block = HexToBytes(image.substr(0, 2 * kSettingsBlockSize));
    block.resize(kSettingsBlockSize, '\0');
    block += static_cast<char>(CheckSum(block));
    return block;
}

Status OpenDVB98Settings(Workspace& ws, const std::string& path) {
    // Anything larger than the settings file is refused without reading it whole.
    auto bytes = ReadFileBytes(path, kG98FileSize);
    if (!bytes) {
        return bytes.error() == ErrorCode::FileTooLarge ? ErrorCode::WrongFileLength
                                                        : bytes.error();
    }
    auto image = DecodeG98(*bytes);
    if (!image) return image.error();
    ws.DVB98Settings = *image;
    ws.DVB98SettingsWork = *image;
    ws.SettingsModified = false;
    return {};
}

}  // namespace qel
