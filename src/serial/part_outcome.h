// How one part of a transfer (the channels, the settings, a font) ended, and whether the next
// part may start at all: the download and the upload gate their parts the same way.
#pragma once

#include <cstddef>

#include "model/errors.h"
#include "serial/exchange.h"

namespace qel {

// How one part ended: attempted and not ok is the Ko mark, ok the Ok mark. The status says why
// it failed. The texts a window shows for a download's failures: NoAnswer ("Error"), PortError and
// WrongChecksum only in the status line, which the download has already set; DownloadFailed and
// WrongChannelDataSize also in a message box; TransferCancelled (a cancel, or a question
// answered No: detail "not confirmed") nowhere.
struct PartOutcome {
    bool attempted = false;
    bool ok = false;
    Status status;
    // An upload read back and found different (VerifyFailed): the first channel (channels) or
    // byte (settings) that differs, counted from 1; 0 when it could not be read back.
    std::size_t differsAt = 0;
};

// Marks the part attempted and says whether it may start. When it may not, its status says
// why: `stopped` when the transfer was stopped before its parts (a failure, not ok), else a
// cancel through the link, else the failure of the line: once the line has failed, a later
// part fails the same way without trying.
bool mayStartPart(Exchange& exchange, PartOutcome& outcome, const Status& stopped = {});

}  // namespace qel
