// The FTA loader's framing: its commands ("B" and 14 hex digits, sent between a frame header
// and trailer), the commands the program sends, and the escaped, CRC-terminated data frames
// that carry the 48 KB flash image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"

namespace qel {

class TransferObserver;

inline constexpr std::string_view kLoaderFrameHeader = "\x2A\x2A\x18";
inline constexpr std::string_view kLoaderFrameTrailer = "\x0A\x8A";
// What the program sends to wake the loader up while the receiver powers on.
inline constexpr std::string_view kLoaderWakeUp = "\x91\x11";

// The fixed loader commands, named after their 5-byte bodies.
inline constexpr std::string_view kLoader0900000000 = "B0900000000a87c";
inline constexpr std::string_view kLoader0902000000 = "B09020000004514";
inline constexpr std::string_view kLoader0904000000 = "B0904000000628d";
inline constexpr std::string_view kLoader010000012B = "B010000012b0c69";
inline constexpr std::string_view kLoader0800000000 = "B0800000000022d";
inline constexpr std::string_view kLoader0410000000 = "B041000000092a1";
inline constexpr std::string_view kLoader0A00000000 = "B0a0000000046ae";
inline constexpr std::string_view kLoader0B08000000 = "B0b08000000693c";
inline constexpr std::string_view kLoader0B09000000 = "B0b090000001f88";
inline constexpr std::string_view kLoader0B00C00000 = "B0b00c00000ca08";
inline constexpr std::string_view kLoader0B00000000 = "B0b00000000ecff";

inline constexpr std::size_t kFtaImageSize = 49152;
inline constexpr std::size_t kFtaBlockSize = 1024;
inline constexpr std::size_t kFtaBlockCount = kFtaImageSize / kFtaBlockSize;

// A loader command's text: "B", the body as 10 lower-case hex digits, its CRC as 4.
std::string loaderCommand(const std::array<std::uint8_t, 5>& body);

// The command that announces block i (0-47) of the flash image: body 0A 00 4i 00 00.
std::string blockCommand(std::size_t block);

// Whether a command is a loader command: "B" followed by exactly 14 hex digits. The one-letter
// DVB98 command "B" is not.
bool isLoaderCommand(std::string_view command);

// Header, command, trailer: the 20 bytes a loader command travels as.
std::string wrapLoaderCommand(std::string_view command);

// Whether the loader escapes a byte inside a data frame: 11, 13, 18, 91 and 93.
bool loaderEscapes(std::uint8_t byte);

// A payload as the loader takes it: every escaped byte b as 18, b XOR 40; then 18 6B; then the
// CRC of the payload and the byte 6B, high byte first, each escaped the same way.
std::string loaderDataFrame(std::string_view payload);

// The 48 data frames of a flash image, one per 1024 bytes; the observer's status line counts
// the blocks ("Prepare block  1" ... "Prepare block  48"). Refused with WrongFileLength unless
// the image is 49152 bytes.
Result<std::vector<std::string>> loaderDataFrames(std::string_view image,
                                                  TransferObserver& observer);

}  // namespace qel
