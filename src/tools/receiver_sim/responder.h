// The far end of a simulated line: what it answers to the bytes it takes in, and when.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "serial/link.h"

namespace qel {

// One piece of an answer. `after` counts from the moment the bytes that caused it were taken
// in; a piece never starts before the one ahead of it has gone out.
struct ReplyPiece {
    Millis after{0};
    std::string bytes;
    bool hangUp = false;  // the line is hung up once these bytes have gone out
};

class Responder {
public:
    virtual ~Responder() = default;
    // Takes bytes from the line; gives the pieces of whatever they complete an answer to.
    virtual std::vector<ReplyPiece> take(std::string_view bytes) = 0;
    // The same, told when the last of the bytes arrived on the line's clock: for a far end
    // whose answers depend on time.
    virtual std::vector<ReplyPiece> takeAt(std::string_view bytes,
                                           std::chrono::steady_clock::time_point arrived) {
        (void)arrived;
        return take(bytes);
    }
    // The line was dropped: forget anything half received.
    virtual void lineReset() {}
};

}  // namespace qel
