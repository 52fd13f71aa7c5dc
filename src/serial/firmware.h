// The firmware upgrade: the running DVB98 firmware takes a small flash routine, and the
// routine then takes the new firmware in 64 KB blocks, each LZW-compressed, protected by a
// CRC-16 and acknowledged three times: "B" (the CRC matched), "D" (decompressed) and "F"
// (written).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "serial/exchange.h"
#include "serial/link.h"
#include "serial/timing.h"
#include "serial/transfer_observer.h"

namespace qel {

inline constexpr std::size_t kFirmwareBlockSize = 65536;
// Four zero bytes: the routine stops taking blocks.
inline constexpr std::string_view kFirmwareEndMarker{"\0\0\0\0", 4};

// How many 64 KB blocks a firmware file of `size` bytes makes (the last one may be short).
std::size_t firmwareBlockCount(std::size_t size);
// Where block `index` (from 0) goes in the receiver's flash: (i + 1) × 65536 + 1 up to block
// 8, then (i − 8) × 65536 + 1.
std::uint32_t firmwareBlockTarget(std::size_t index);
// The 8 bytes before a block: its compressed length and its target, each as 4 bytes, least
// significant first.
std::string firmwareBlockHeader(std::uint32_t compressedLength, std::uint32_t target);
// Block `index` of a firmware file as it goes on the line: LZW-compressed (the Unix compress
// format).
std::string compressFirmwareBlock(std::string_view firmware, std::size_t index);

struct FirmwareRequest {
    // The flash routine, already padded or cut to its size (files/flash_routine.h).
    std::string routine;
    // The whole firmware file.
    std::string firmware;
    // "YY": the routine erases the whole flash; "NN": only the firmware's part of it.
    bool eraseAll = false;
};

struct FirmwareResult {
    // NoAnswer before the first block (the receiver was left as it was); FirmwareCrcError,
    // FirmwareDecompressError or FirmwareWriteError at a block; FirmwareIncomplete when
    // cancelled once the erase choice went out (TransferCancelled before it); EmptyFirmware
    // or NoFlashRoutine before any byte.
    Status status;
    bool cancelled = false;
    // Blocks acknowledged three times.
    std::size_t blocksWritten = 0;
    std::size_t blockCount = 0;
    // The routine was told to stop: after the last block, after a failed block, or after a
    // cancel once the erase choice had gone out.
    bool endMarkerSent = false;
};

// The whole upgrade, for a worker thread. RTS and DTR are on while it runs and off again on
// every path. The status line shows "Firmware upgrade", "Send soubroutine", "Wait Vandu",
// then per block "Compress 1 of  5", "Send 1 of 5", "Decompress 1 of 5", "Write 1 of 5", and
// "Com open" once the end marker has gone, or "Error" when a wait before the blocks ran out;
// the bytes field counts the compressed bytes sent, and the progress follows the file.
FirmwareResult upgradeFirmware(Link& link, TransferObserver& observer, const Timing& timing,
                               const FirmwareRequest& request);

}  // namespace qel
