// The DVB98 generic settings file (.g98): the 1264-byte settings block and its checksum byte.
#pragma once

#include <string>
#include <string_view>

#include "model/errors.h"

namespace qel {

inline constexpr std::size_t kG98FileSize = 1265;
inline constexpr std::size_t kSettingsBlockSize = 1264;

// The 1265 bytes of a .g98 file as the 2530-character hex image; any other length
// is refused with WrongFileLength.
Result<std::string> decodeG98(std::string_view bytes);

// The file bytes of an image: its first 1264 bytes, then their blockChecksum.
std::string encodeG98(std::string_view image);

// The settings image of a 1264-byte settings block as it comes from the receiver: the image
// that reading a .g98 file of the block and its checksum gives.
std::string settingsImageOf(std::string_view settingsBlock);

// Reads a .g98 file as the settings image.
Result<std::string> readSettingsFile(const std::string& path);

}  // namespace qel
