// One dialect the simulated receiver speaks (DVB98, its flash routine, the FTA loader), and
// what the dialects share: the bytes taken in and not yet used, the faults, how often each
// store changed, and the time (known only when the bytes came through takeAt).
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/responder.h"
#include "receiver_sim/sim_faults.h"

namespace qel {

struct SimShared {
    std::string_view pending() const { return std::string_view(input).substr(start); }
    void consume(std::size_t count) { start += count; }
    void clearInput() {
        input.clear();
        start = 0;
    }
    void stored(SimStore store) { ++revisions[static_cast<std::size_t>(store)]; }

    std::string input;  // bytes taken in, used up to start
    std::size_t start = 0;
    SimFaults faults;
    std::array<std::size_t, kSimStores> revisions{};
    // When the bytes being taken arrived; until when the receiver is busy after a store, and
    // for how long a store makes it busy.
    std::optional<std::chrono::steady_clock::time_point> arrived;
    std::optional<std::chrono::steady_clock::time_point> busyUntil;
    Millis busyFor{3000};
};

class SimDialect : public Responder {
public:
    explicit SimDialect(SimShared& shared) : shared_(shared) {}
    SimDialect(const SimDialect&) = delete;
    SimDialect& operator=(const SimDialect&) = delete;

    std::vector<ReplyPiece> take(std::string_view bytes) final {
        shared_.input += bytes;
        std::vector<ReplyPiece> replies;
        run(replies);
        // Keep the used bytes from piling up in front of the unused ones.
        if (shared_.start > 4096 && shared_.start * 2 > shared_.input.size()) {
            shared_.input.erase(0, shared_.start);
            shared_.start = 0;
        }
        return replies;
    }
    // Answers whatever the pending bytes complete.
    virtual void run(std::vector<ReplyPiece>& replies) = 0;

protected:
    SimShared& shared_;
};

}  // namespace qel
