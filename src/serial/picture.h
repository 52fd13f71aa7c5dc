// The boot picture upload: a 280 × 240, 16-colour bitmap file sent whole into one of the
// receiver's two picture slots.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/boot_picture.h"
#include "model/errors.h"
#include "serial/exchange.h"
#include "serial/link.h"
#include "serial/timing.h"
#include "serial/transfer_observer.h"

namespace qel {

inline constexpr std::size_t kPictureFileSize = kBootPictureFileSize;
// Four zero bytes, the file, and the length of both as two bytes.
inline constexpr std::size_t kPictureBlockSize = 4 + kPictureFileSize + 2;

// What goes up for a picture file: four zero bytes, the file's bytes unchanged, then the
// length of those two, high byte first (33722: 83 BA).
std::string pictureBlock(std::string_view file);

// The exchange ("Sending Picture"): "CBEG" / "OK"; a pause, "O" and any byte; "CBEG4" (slot 1)
// or "CBEG5" (any other slot) / "OK"; a pause, then the picture block and its checksum in
// pieces of the port's output-queue size, the bytes field counting the bytes sent less one;
// and "OK". A file of any length but kPictureFileSize is refused with WrongPictureFile before
// any byte. A failed wait before the final one, or a piece that does not leave the port in
// time, ends it with NoAnswer and "Error" in the status line; the final "OK" is awaited with
// "Com open" in the status line either way.
Status uploadPicture(Exchange& exchange, std::string_view file, int slot);

struct PictureResult {
    Status status;
    // Cancelled through the link: unless the picture had gone up whole, the status is
    // TransferCancelled.
    bool cancelled = false;
};

// The picture button's transfer, for a worker thread.
PictureResult uploadPictureTransfer(Link& link, TransferObserver& observer, const Timing& timing,
                                    std::string_view file, int slot);

}  // namespace qel
