// The line to the receiver as the exchanges see it: bytes out, bytes in, waits bounded by a
// time, and a cancel flag. The program drives a serial port through it, the tests a
// simulated receiver in virtual time.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/errors.h"

namespace qel {

using Millis = std::chrono::milliseconds;

// The speeds of the receiver's two dialects: the DVB98 firmware's and the FTA loader's.
inline constexpr int kDvb98Speed = 38400;
inline constexpr int kLoaderSpeed = 19200;

// The time `bytes` take on a line at `baud` with 8N1 framing (ten bits a byte), rounded up
// to whole milliseconds.
constexpr Millis lineTime(std::size_t bytes, int baud) {
    const auto bits = static_cast<std::int64_t>(bytes) * 10 * 1000;
    return Millis{(bits + baud - 1) / baud};
}

// Used from one thread at a time (the one running the exchange); only the cancel flag may be
// set from any thread. Every wait returns early once the flag is set.
class Link {
public:
    virtual ~Link() = default;

    // 8 data bits, no parity, 1 stop bit, no handshaking.
    virtual Status setSpeed(int baud) = 0;
    // The line was hung up (the device went away, the far side closed): nothing goes over it
    // any more, though opening the device again may bring it back.
    virtual bool lineLost() const { return false; }
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;
    // Queues bytes to send.
    virtual Status write(std::string_view bytes) = 0;
    // Waits until every queued byte has left; false when the time ran out first.
    virtual bool drain(Millis timeout) = 0;
    // The size of the driver's transmit buffer: the pieces an upload hands over at a time.
    virtual std::size_t outputQueueSize() const { return 4096; }
    // Waits at most `timeout` for bytes and appends what arrived to `received`; returns as soon
    // as some bytes arrived, the time ran out, or the link was cancelled. A line that failed
    // (hung up) gives a failed Status.
    virtual Status receive(std::string& received, Millis timeout) = 0;
    // Drops what the line has brought and nobody read. Between transfers the line is kept
    // open but nothing waits for its bytes: they are dropped as they come, so that a device
    // that keeps sending fills no buffer and the next transfer starts on a clean line.
    virtual void dropInput() {
        std::string dropped;
        (void)receive(dropped, Millis{0});
    }
    // Waits for `duration`, or until cancelled.
    virtual void pause(Millis duration) = 0;
    // The link's clock: every wait of an exchange is measured on it.
    virtual std::chrono::steady_clock::time_point now() const = 0;

    void cancel() { cancelled_ = true; }
    void resetCancel() { cancelled_ = false; }
    bool cancelled() const { return cancelled_; }

private:
    std::atomic<bool> cancelled_{false};
};

}  // namespace qel
