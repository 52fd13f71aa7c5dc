#include "serial/exchange.h"

#include <algorithm>

#include "serial/loader_frames.h"

namespace qel {

namespace {

using Clock = std::chrono::steady_clock;

// How long a resent command waits for its answer before it goes out again.
constexpr Millis kResendInterval{1};

Millis remainingUntil(Clock::time_point deadline, Clock::time_point now) {
    return std::chrono::ceil<Millis>(deadline - now);
}

// A command as it travels: a loader command in its frame, anything else as it is.
std::string wireOf(std::string_view command) {
    return isLoaderCommand(command) ? wrapLoaderCommand(command) : std::string(command);
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> parseSizeReply(std::string_view reply) {
    // An adapter or a firmware may end the number as a line: CR, LF, blanks or NULs after it.
    const std::size_t end = reply.find_last_not_of(std::string_view("\r\n \0", 4));
    reply = reply.substr(0, end == std::string_view::npos ? 0 : end + 1);
    if (reply.empty() || reply.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : reply) {
        const int digit = hexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

std::string describeCommand(std::string_view command) {
    const bool printable =
        std::all_of(command.begin(), command.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (printable) return "\"" + std::string(command) + "\"";
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (char c : command) {
        if (!hex.empty()) hex += ' ';
        hex += kDigits[static_cast<std::uint8_t>(c) >> 4];
        hex += kDigits[static_cast<std::uint8_t>(c) & 0x0F];
    }
    return hex;
}

bool isSilentReceiver(const Status& failure) {
    return failure.error() == ErrorCode::NoAnswer &&
           failure.detail() == "no answer to " + describeCommand("CBEG");
}

Status waitForQuietLine(Link& link, Millis quiet) {
    std::string dropped;
    Clock::time_point lastArrival = link.now();
    for (;;) {
        if (link.cancelled()) return ErrorCode::TransferCancelled;
        const Clock::time_point now = link.now();
        if (now - lastArrival >= quiet) return {};
        dropped.clear();
        if (Status st = link.receive(dropped, remainingUntil(lastArrival + quiet, now)); !st) {
            return st;
        }
        if (!dropped.empty()) lastArrival = link.now();
    }
}

Status withDetail(const Status& failure, std::string detail) {
    return Error{failure.error(), std::move(detail)};
}

namespace {

// How often the progress follows a piece on its way out.
constexpr Millis kProgressStep{100};

// Waits until a piece of `size` bytes sent at `offset` of `total` has left the port, or its
// time ran out (false). A piece takes about a second at the line's speed: meanwhile the
// progress follows the bytes as far as the line can have carried them.
bool drainShowingProgress(Exchange& exchange, std::size_t size, std::size_t offset,
                          std::size_t total) {
    Link& link = exchange.link();
    const Millis onLine = lineTime(size, kDvb98Speed);
    const Millis limit = exchange.timing().timeout + onLine;
    const Clock::time_point start = link.now();
    for (;;) {
        const auto spent = std::chrono::duration_cast<Millis>(link.now() - start);
        if (spent >= limit) return false;
        const Millis step = std::min(kProgressStep, limit - spent);
        if (link.drain(step)) return true;
        const auto moved = std::chrono::duration_cast<Millis>(link.now() - start);
        // Cancelled, or a line that was hung up: the drain ended before its time.
        if (link.cancelled() || moved - spent < step) return false;
        // Never the whole piece: only the drain says it has left.
        const std::size_t gone =
            std::min<std::size_t>(size - 1, size * static_cast<std::size_t>(moved.count()) /
                                                static_cast<std::size_t>(onLine.count()));
        exchange.observer().progress(offset + gone, total);
    }
}

}  // namespace

Status sendInPieces(Exchange& exchange, std::string_view data, bool showCount, bool stopWhenStuck) {
    Link& link = exchange.link();
    TransferObserver& observer = exchange.observer();
    const std::size_t pieceSize = std::clamp<std::size_t>(link.outputQueueSize(), 1, data.size());
    const std::size_t pieces = (data.size() + pieceSize - 1) / pieceSize;
    std::size_t sent = 0;
    for (std::size_t offset = 0; offset < data.size(); offset += pieceSize) {
        const std::string_view piece = data.substr(offset, pieceSize);
        sent += piece.size();
        if (showCount) observer.bytesShown(std::to_string(sent - 1));
        if (Status st = exchange.send(piece); !st) return st;
        // The timeout counts from when the piece could have left: a large queue takes longer
        // than a short timeout on the line.
        if (!drainShowingProgress(exchange, piece.size(), offset, data.size())) {
            if (link.cancelled()) return ErrorCode::TransferCancelled;
            // A line that was hung up ends the drain at once; the port is not to blame.
            if (Status st = exchange.receiveNow(); !st) return st;
            if (!stopWhenStuck) continue;  // the answer to the whole block decides
            return Error{ErrorCode::NoAnswer, "piece " + std::to_string(offset / pieceSize + 1) +
                                                  " of " + std::to_string(pieces) +
                                                  " did not leave the port"};
        }
        observer.progress(sent, data.size());
    }
    return {};
}

Exchange::Exchange(Link& link, TransferObserver& observer, const Timing& timing)
    : link_(link), observer_(observer), timing_(timing) {}

void Exchange::clearReceived() {
    // Bytes that arrived before now belong to no answer still to come. A line that keeps
    // bringing bytes is not read for ever: what comes later is judged by the next wait.
    constexpr int kMostReads = 64;
    for (int read = 0; read < kMostReads; ++read) {
        incoming_.clear();
        if (!link_.receive(incoming_, Millis{0}) || incoming_.empty()) break;
    }
    incoming_.clear();
    received_.clear();
    overflowed_ = false;
}

void Exchange::dropThrough(std::string_view text) {
    const std::size_t at = received_.find(text);
    received_.erase(0, at == std::string::npos ? received_.size() : at + text.size());
}

void Exchange::storeAnswered() {
    storedAt_ = link_.now();
}

void Exchange::waitAfterStore() {
    if (!storedAt_) return;
    const Clock::time_point until = *storedAt_ + timing_.timeout;
    storedAt_.reset();
    const Clock::time_point now = link_.now();
    if (now < until) link_.pause(remainingUntil(until, now));
}

Status Exchange::send(std::string_view bytes) {
    waitAfterStore();
    if (link_.cancelled()) return ErrorCode::TransferCancelled;
    Status st = link_.write(bytes);
    if (!st && st.error() != ErrorCode::TransferCancelled) lineFailure_ = st;
    return st;
}

Status Exchange::receiveFor(Clock::time_point deadline, Millis longest) {
    const Millis wait = std::min(longest, remainingUntil(deadline, link_.now()));
    incoming_.clear();
    Status st = link_.receive(incoming_, std::max(wait, Millis{0}));
    if (!st) lineFailure_ = st;
    const std::size_t room = kLongestAnswer - received_.size();
    if (incoming_.size() > room) overflowed_ = true;
    received_.append(incoming_, 0, std::min(room, incoming_.size()));
    incoming_.clear();
    return st;
}

Status Exchange::receiveNow() {
    return receiveFor(link_.now(), Millis{0});
}

Status Exchange::overflow() const {
    return Error{ErrorCode::NoAnswer, "the line brings more than any answer holds"};
}

template <class Done>
Status Exchange::waitUntil(Done done, Millis timeout) {
    const Clock::time_point deadline = link_.now() + timeout;
    for (;;) {
        if (done()) return {};
        if (link_.cancelled()) return ErrorCode::TransferCancelled;
        if (overflowed_) return overflow();
        if (link_.now() >= deadline) return ErrorCode::NoAnswer;
        if (Status st = receiveFor(deadline, timeout); !st) return st;
    }
}

Status Exchange::waitForText(std::string_view expected, Millis timeout) {
    if (expected.empty()) {
        return waitUntil([this] { return !received_.empty(); }, timeout);
    }
    // Each byte is searched once: the next search starts where a match could still begin.
    std::size_t from = 0;
    return waitUntil(
        [&] {
            if (received_.size() < expected.size()) return false;
            const bool found =
                std::string_view(received_).find(expected, from) != std::string::npos;
            from = received_.size() - expected.size() + 1;
            return found;
        },
        timeout);
}

Status Exchange::waitForBytes(std::size_t count, Millis timeout) {
    std::size_t shown = 0;
    return waitUntil(
        [&] {
            const std::size_t have = std::min(received_.size(), count);
            if (have != shown) {
                shown = have;
                observer_.progress(have, count);
            }
            return received_.size() >= count;
        },
        timeout);
}

Status Exchange::waitForQuiet(Millis timeout) {
    const Clock::time_point deadline = link_.now() + timeout;
    if (Status st = waitForText({}, timeout); !st) return st;
    Clock::time_point lastArrival = link_.now();
    for (;;) {
        if (link_.cancelled()) return ErrorCode::TransferCancelled;
        if (overflowed_) return overflow();
        const Clock::time_point now = link_.now();
        if (now >= deadline || now - lastArrival >= timing_.quiet) return {};
        const std::size_t before = received_.size();
        const Millis quietLeft = remainingUntil(lastArrival + timing_.quiet, now);
        if (Status st = receiveFor(deadline, quietLeft); !st) return st;
        if (received_.size() != before) lastArrival = link_.now();
    }
}

Status Exchange::sendCommand(std::string_view command, std::string_view expected, bool resend) {
    return sendCommand(command, expected, resend, timing_.timeout);
}

Status Exchange::sendCommand(std::string_view command, std::string_view expected, bool resend,
                             Millis timeout) {
    // Before the buffer is cleared: what a busy receiver sends meanwhile answers nothing.
    waitAfterStore();
    if (link_.cancelled()) return ErrorCode::TransferCancelled;
    // What is still on its way out may yet bring answers (or the rest of one that a wait for
    // any byte took at its first byte): the buffer is cleared once it has left, so that what
    // comes then answers this command.
    link_.drain(timeout);
    clearReceived();
    if (resend) return resendUntil(command, expected, timeout);
    if (Status st = send(wireOf(command)); !st) return st;
    Status st = waitForText(expected, timeout);
    if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
        return withDetail(st, "no answer to " + describeCommand(command));
    }
    return st;
}

Status Exchange::sendCommandNoWait(std::string_view command) {
    waitAfterStore();
    if (link_.cancelled()) return ErrorCode::TransferCancelled;
    clearReceived();
    return send(wireOf(command));
}

Status Exchange::resendUntil(std::string_view command, std::string_view expected, Millis timeout) {
    const std::string wire = wireOf(command);
    const Clock::time_point deadline = link_.now() + timeout;
    auto found = [&, from = std::size_t{0}]() mutable {
        if (expected.empty()) return !received_.empty();
        if (received_.size() < expected.size()) return false;
        const bool in = std::string_view(received_).find(expected, from) != std::string::npos;
        from = received_.size() - expected.size() + 1;
        return in;
    };
    for (;;) {
        if (link_.cancelled()) return ErrorCode::TransferCancelled;
        if (found()) return {};
        if (overflowed_) return overflow();
        if (link_.now() >= deadline) {
            return Error{ErrorCode::NoAnswer, "no answer to " + describeCommand(command)};
        }
        if (Status st = send(wire); !st) return st;
        // A command resent faster than the line carries it would only pile up in the port.
        link_.drain(std::max(remainingUntil(deadline, link_.now()), Millis{0}));
        if (Status st = receiveFor(deadline, kResendInterval); !st) return st;
    }
}

Result<std::int32_t> Exchange::handshakeAndSize() {
    observer_.status("Connecting");
    if (Status st = sendCommand("CBEG", "OK"); !st) return st;
    clearReceived();
    if (Status st = send("A"); !st) return st;
    if (Status st = waitForQuiet(timing_.timeout); !st) {
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            return withDetail(st, "no answer to " + describeCommand("A"));
        }
        return st;
    }
    const std::optional<std::int32_t> size = parseSizeReply(received_);
    if (!size) {
        return Error{ErrorCode::WrongChannelDataSize,
                     "the answer to \"A\" is not a hexadecimal number"};
    }
    observer_.bytesShown(std::to_string(*size));
    observer_.channelsShown(std::to_string(*size / 64));
    return *size;
}

}  // namespace qel
