// The pieces every exchange with the receiver is built from: one receive buffer, commands
// sent and their answers awaited on the link's clock, and the opening handshake with the
// query of how much channel data the receiver holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "serial/link.h"
#include "serial/timing.h"
#include "serial/transfer_observer.h"

namespace qel {

// The largest channel data a receiver can hold: 3072 channels of 64 bytes.
inline constexpr std::int32_t kMaxChannelDataSize = 3072 * 64;
// The longest answer any exchange waits for: the whole channel data and its checksum byte (a
// settings block is 1265 bytes, the loader's answers and the rest a few). The receive buffer
// holds no more; a line that brings more before the answer is complete is not a receiver,
// and the wait fails.
inline constexpr std::size_t kLongestAnswer = std::size_t{kMaxChannelDataSize} + 1;

// The receiver's answer to "A": 1 to 8 hex digits (either case), read as a 32-bit signed
// number (so 8 digits above 7FFFFFFF are negative), perhaps followed by any run of CR, LF,
// blanks and NULs; nothing when it is anything else.
std::optional<std::int32_t> parseSizeReply(std::string_view reply);

// One exchange at a time over a link. Failures of the waits: NoAnswer when the time ran out,
// TransferCancelled once the link is cancelled, or the link's own failure (then lineFailure()).
class Exchange {
public:
    Exchange(Link& link, TransferObserver& observer, const Timing& timing = {});

    Link& link() { return link_; }
    TransferObserver& observer() { return observer_; }
    const Timing& timing() const { return timing_; }

    // Every byte received since the buffer was last cleared, in order of arrival, up to
    // kLongestAnswer of them.
    const std::string& received() const { return received_; }
    // Empties the buffer, dropping also what the line has brought and nobody read yet.
    void clearReceived();
    // Drops the received bytes up to and including the first `text` (all of them when it is
    // not there): what follows answers what comes next.
    void dropThrough(std::string_view text);

    // Writes bytes as they are (once a receiver that took a store has had its time).
    Status send(std::string_view bytes);
    // The receiver answered "OK" to a store (channels, settings, a font): it may still be
    // writing its flash and drop or garble what comes meanwhile. The next exchange waits
    // until a full Timing::timeout has passed since.
    void storeAnswered();
    // Takes what the line has brought into the receive buffer without waiting; the line's
    // failure when it failed (a hang-up).
    Status receiveNow();

    // Clears the receive buffer once what was sent before has left the port, sends a command
    // and waits up to the timeout for `expected` anywhere in what comes back. A loader command
    // travels in its frame; everything else, the one-letter "B" too, as it is. An empty
    // `expected` is met by any byte; with `resend` the command goes out again and again until
    // the answer comes.
    Status sendCommand(std::string_view command, std::string_view expected, bool resend = false);
    // The same with its own timeout in place of Timing::timeout.
    Status sendCommand(std::string_view command, std::string_view expected, bool resend,
                       Millis timeout);
    // Clears the receive buffer and sends a command as sendCommand does, but waits neither for
    // what was sent before to leave nor for an answer.
    Status sendCommandNoWait(std::string_view command);
    // Sends the command again and again, each time only once the one before has left the
    // port, until `expected` (empty: any byte) is in the receive buffer, which it does not
    // clear first.
    Status resendUntil(std::string_view command, std::string_view expected, Millis timeout);

    // Waits until `expected` is in the receive buffer (an empty text: until it holds a byte).
    Status waitForText(std::string_view expected, Millis timeout);
    // Waits until the receive buffer holds at least `count` bytes; the observer's progress
    // follows them.
    Status waitForBytes(std::size_t count, Millis timeout);
    // Waits for a first byte, then until the line has been quiet for Timing::quiet; when the
    // time runs out after the first byte, what has arrived counts.
    Status waitForQuiet(Millis timeout);

    // "Connecting": the handshake "CBEG" / "OK", then "A": the size in bytes of the
    // receiver's channel data, shown as bytes and as whole channels. An answer to "A" that is
    // not a number is refused with WrongChannelDataSize.
    Result<std::int32_t> handshakeAndSize();

    // Whether the line itself failed (as opposed to the receiver staying silent), and how.
    bool lineFailed() const { return !lineFailure_.ok(); }
    const Status& lineFailure() const { return lineFailure_; }

private:
    template <class Done>
    Status waitUntil(Done done, Millis timeout);
    // Waits what is left of the time a store takes, if one was answered.
    void waitAfterStore();
    Status receiveFor(std::chrono::steady_clock::time_point deadline, Millis longest);
    // The failure of a wait whose answer would not fit the buffer.
    Status overflow() const;

    Link& link_;
    TransferObserver& observer_;
    Timing timing_;
    std::string received_;
    // What one receive brought, before it joins received_ as far as there is room.
    std::string incoming_;
    // Bytes were dropped because the buffer was full: the answer cannot be complete.
    bool overflowed_ = false;
    Status lineFailure_;
    // When the last store was answered, until the next exchange has waited for it.
    std::optional<std::chrono::steady_clock::time_point> storedAt_;
};

// Sends a block in pieces of the port's output-queue size, each once the one before has left
// the port; the observer's progress follows them, and with `showCount` the bytes field shows
// the count sent less one after each piece. A piece that has not left within the timeout (and
// its own time on the line) fails the block with NoAnswer when `stopWhenStuck`; otherwise the
// next piece goes all the same.
Status sendInPieces(Exchange& exchange, std::string_view data, bool showCount, bool stopWhenStuck);

// A command as a failure detail names it: printable text in quotes, other bytes in hex.
std::string describeCommand(std::string_view command);

// Whether a failure is the receiver's silence at the opening handshake ("CBEG"): nothing
// answers on the line at all, as far as the transfer can tell.
bool isSilentReceiver(const Status& failure);

// Reads and drops whatever the line brings until it has been quiet for `quiet`: a receiver
// that is still sending the rest of an answer nobody waits for any more. Ends early with
// TransferCancelled once the link is cancelled, or with the line's failure.
Status waitForQuietLine(Link& link, Millis quiet);

// The same failure with another detail.
Status withDetail(const Status& failure, std::string detail);

}  // namespace qel
