// qel-receiver-sim's side of the pseudo-terminal.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "receiver_sim/receiver_simulator.h"
#include "store_writer.h"

namespace qel {

// The receiver's side of the pseudo-terminal: bytes taken in and answers sent at the line's
// pace (or at once), one poll() at a time.
class PtyServer {
public:
    using Clock = std::chrono::steady_clock;

    PtyServer(ReceiverSimulator& sim, int master, std::size_t bytesPerSecond, StoreWriter& stores)
        : sim_(sim), master_(master), bytesPerSecond_(bytesPerSecond), stores_(stores) {}

    // Serves until a signal arrives on `signalFd` or the line is hung up.
    void serve(int signalFd);

private:
    struct Outgoing {
        Clock::time_point start;
        std::string bytes;
        std::size_t sent = 0;
        bool hangUp = false;
    };

    Clock::duration lineTime(std::size_t bytes) const {
        if (bytesPerSecond_ == 0) return Clock::duration::zero();
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::nanoseconds(static_cast<std::int64_t>(bytes) * 1'000'000'000 /
                                     static_cast<std::int64_t>(bytesPerSecond_)));
    }
    // How many bytes of `o` the line has carried by `t`.
    std::size_t allowed(const Outgoing& o, Clock::time_point t) const;
    // The time the line can carry `count` bytes of `o`.
    Clock::time_point whenAllowed(const Outgoing& o, std::size_t count) const {
        return o.start + lineTime(count);
    }
    void takeInput(Clock::time_point now);
    // Sends what is due; false once the line is hung up.
    bool sendDue(Clock::time_point now);
    std::optional<Clock::time_point> nextEvent(Clock::time_point now) const;

    ReceiverSimulator& sim_;
    int master_;
    std::size_t bytesPerSecond_;
    StoreWriter& stores_;
    std::optional<Clock::time_point> lastInput_;
    std::size_t chunk_ = 1;
    std::deque<Outgoing> out_;
    Clock::time_point outFree_{};
    Clock::time_point inFree_{};
    bool writeBlocked_ = false;
};

}  // namespace qel
