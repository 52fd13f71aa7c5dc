#include "pty_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qel {

using Clock = PtyServer::Clock;

namespace {

// After this long without a byte the operator may have power-cycled the receiver.
constexpr std::chrono::seconds kPowerCycleSilence{20};
// Later than this after the line fell free, the bytes read began a new stream.
constexpr std::chrono::milliseconds kLateWakeUp{3};

}  // namespace

std::size_t PtyServer::allowed(const Outgoing& o, Clock::time_point t) const {
    if (t < o.start) return 0;
    if (bytesPerSecond_ == 0) return o.bytes.size();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t - o.start).count();
    const auto carried = static_cast<std::size_t>(
        ns / 1'000'000'000 * static_cast<std::int64_t>(bytesPerSecond_) +
        ns % 1'000'000'000 * static_cast<std::int64_t>(bytesPerSecond_) / 1'000'000'000);
    return std::min(carried, o.bytes.size());
}

void PtyServer::takeInput(Clock::time_point now) {
    char buffer[64 * 1024];
    // At the line's pace the receiver takes a few milliseconds' worth of bytes at a time. A
    // wake-up a little late is no pause on the line: the bytes the line carried meanwhile
    // are taken too, and the line's time goes on from where it was.
    const bool continuing = bytesPerSecond_ != 0 && now - inFree_ <= kLateWakeUp;
    std::size_t most = bytesPerSecond_ == 0 ? sizeof buffer : chunk_;
    if (continuing) {
        const auto behind =
            std::chrono::duration_cast<std::chrono::microseconds>(now - inFree_).count();
        most += static_cast<std::size_t>(behind) * bytesPerSecond_ / 1'000'000;
    }
    const ssize_t n = ::read(master_, buffer, std::min(most, sizeof buffer));
    if (n <= 0) return;
    // After a long silence the operator has had time to pull the plug: a loader that was
    // left half way starts over. No exchange of the program is silent this long.
    if (lastInput_ && now - *lastInput_ > kPowerCycleSilence &&
        sim_.dialect() == ReceiverSimulator::Dialect::FtaLoader) {
        sim_.lineReset();
    }
    lastInput_ = now;
    Clock::time_point taken = now;
    if (bytesPerSecond_ != 0) {
        inFree_ = (continuing ? inFree_ : now) + lineTime(static_cast<std::size_t>(n));
        taken = inFree_;
    }
    for (ReplyPiece& piece :
         sim_.takeAt(std::string_view(buffer, static_cast<std::size_t>(n)), taken)) {
        const Clock::time_point start = std::max(taken + piece.after, outFree_);
        outFree_ = start + lineTime(piece.bytes.size());
        out_.push_back({start, std::move(piece.bytes), 0, piece.hangUp});
    }
    stores_.writeChanged();
}

bool PtyServer::sendDue(Clock::time_point now) {
    writeBlocked_ = false;
    while (!out_.empty()) {
        Outgoing& o = out_.front();
        const std::size_t due = allowed(o, now);
        if (due > o.sent) {
            const ssize_t n = ::write(master_, o.bytes.data() + o.sent, due - o.sent);
            if (n < 0) {
                writeBlocked_ = errno == EAGAIN || errno == EINTR;
                return true;
            }
            o.sent += static_cast<std::size_t>(n);
        }
        if (o.sent < o.bytes.size()) {
            if (o.sent < due) writeBlocked_ = true;
            return true;
        }
        const bool hangUp = o.hangUp;
        out_.pop_front();
        if (hangUp) return false;
    }
    return true;
}

std::optional<Clock::time_point> PtyServer::nextEvent(Clock::time_point now) const {
    std::optional<Clock::time_point> next;
    if (!out_.empty() && !writeBlocked_) {
        const Outgoing& o = out_.front();
        next = whenAllowed(o, std::min(o.bytes.size(), o.sent + chunk_));
    }
    if (bytesPerSecond_ != 0 && inFree_ > now) next = next ? std::min(*next, inFree_) : inFree_;
    return next;
}

void PtyServer::serve(int signalFd) {
    // A few milliseconds of the line at a time: fewer wake-ups, on both sides.
    chunk_ = std::max<std::size_t>(1, bytesPerSecond_ / 200);
    for (;;) {
        Clock::time_point now = Clock::now();
        if (!sendDue(now)) return;
        const std::optional<Clock::time_point> next = nextEvent(now);
        int timeout = -1;
        if (next) {
            timeout = static_cast<int>(
                std::max<std::int64_t>(0, std::chrono::ceil<Millis>(*next - now).count()));
        }
        const bool mayRead = bytesPerSecond_ == 0 || inFree_ <= now;
        pollfd fds[2] = {
            {master_, static_cast<short>((mayRead ? POLLIN : 0) | (writeBlocked_ ? POLLOUT : 0)),
             0},
            {signalFd, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) return;
        if ((fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & (POLLHUP | POLLERR)) != 0 && (fds[0].revents & POLLIN) == 0) {
            ::poll(nullptr, 0, 50);  // nobody on the other side just now
            continue;
        }
        if ((fds[0].revents & POLLIN) != 0) takeInput(Clock::now());
    }
}

}  // namespace qel
