#include "receiver_sim/simulated_link.h"

#include <algorithm>

namespace qel {

namespace {

using Nanos = std::chrono::nanoseconds;
constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

Status hungUpStatus() {
    return Error{ErrorCode::PortError, "the line was hung up"};
}

}  // namespace

SimulatedLink::SimulatedLink(Responder& farEnd, std::size_t bytesPerSecond)
    : farEnd_(farEnd),
      bytesPerSecond_(bytesPerSecond),
      readLatency_(bytesPerSecond == 0 ? Millis{0} : Millis{10}),
      // Any fixed point will do; a day in keeps every time computed from it positive.
      start_(Clock::time_point{} + std::chrono::hours(24)),
      now_(start_),
      txFree_(start_),
      rxFree_(start_) {}

Status SimulatedLink::setSpeed(int baud) {
    speed_ = baud;
    speeds_.push_back(baud);
    // 8N1: ten bits a byte.
    if (bytesPerSecond_ != 0 && baud >= 10) bytesPerSecond_ = static_cast<std::size_t>(baud) / 10;
    return {};
}

SimulatedLink::Clock::duration SimulatedLink::lineTime(std::size_t bytes) const {
    if (bytesPerSecond_ == 0) return Clock::duration::zero();
    const auto ns = (static_cast<std::int64_t>(bytes) * kNanosPerSecond +
                     static_cast<std::int64_t>(bytesPerSecond_) - 1) /
                    static_cast<std::int64_t>(bytesPerSecond_);
    return std::chrono::duration_cast<Clock::duration>(Nanos{ns});
}

std::size_t SimulatedLink::arrivedBy(const Segment& s, Clock::time_point t) const {
    if (t < s.start) return 0;
    if (bytesPerSecond_ == 0) return s.bytes.size();
    const std::int64_t ns = std::chrono::duration_cast<Nanos>(t - s.start).count();
    const auto arrived = static_cast<std::size_t>(
        ns / kNanosPerSecond * static_cast<std::int64_t>(bytesPerSecond_) +
        ns % kNanosPerSecond * static_cast<std::int64_t>(bytesPerSecond_) / kNanosPerSecond);
    return std::min(arrived, s.bytes.size());
}

std::optional<SimulatedLink::Clock::time_point> SimulatedLink::nextArrival() const {
    for (const Segment& s : incoming_) {
        if (s.delivered < s.bytes.size()) return s.start + lineTime(s.delivered + 1);
    }
    return std::nullopt;
}

bool SimulatedLink::deliver(std::string& received) {
    bool any = false;
    while (!incoming_.empty()) {
        Segment& s = incoming_.front();
        const std::size_t arrived = arrivedBy(s, now_);
        if (arrived > s.delivered) {
            received.append(s.bytes, s.delivered, arrived - s.delivered);
            s.delivered = arrived;
            any = true;
        }
        if (s.delivered < s.bytes.size()) break;
        incoming_.pop_front();
    }
    return any;
}

void SimulatedLink::advanceTo(Clock::time_point target) {
    if (cancelAt_ && *cancelAt_ <= target) {
        now_ = std::max(now_, *cancelAt_);
        cancelAt_.reset();
        cancel();
        return;
    }
    now_ = std::max(now_, target);
}

Status SimulatedLink::write(std::string_view bytes) {
    if (hungUp()) return hungUpStatus();
    written_ += bytes;
    writes_.emplace_back(bytes);
    const Clock::time_point sent = std::max(now_, txFree_) + lineTime(bytes.size());
    txFree_ = sent;
    for (ReplyPiece& piece : farEnd_.takeAt(bytes, sent)) {
        if (hangUpAt_) break;  // nothing comes after a hang-up
        const Clock::time_point begin = std::max(sent + piece.after, rxFree_);
        rxFree_ = begin + lineTime(piece.bytes.size());
        if (!piece.bytes.empty()) incoming_.push_back({begin, std::move(piece.bytes), 0});
        if (piece.hangUp) hangUpAt_ = rxFree_;
    }
    return {};
}

bool SimulatedLink::drain(Millis timeout) {
    if (txFree_ <= now_) return true;
    if (!cancelled()) advanceTo(std::min(txFree_, now_ + timeout));
    return txFree_ <= now_;
}

Status SimulatedLink::receive(std::string& received, Millis timeout) {
    const Clock::time_point deadline = now_ + timeout;
    for (;;) {
        if (deliver(received)) return {};
        if (hungUp()) {
            incoming_.clear();
            return hungUpStatus();
        }
        if (cancelAt_ && *cancelAt_ <= now_) advanceTo(now_);
        if (cancelled() || now_ >= deadline) return {};
        Clock::time_point target = deadline;
        if (const auto next = nextArrival()) target = std::min(target, *next + readLatency_);
        if (hangUpAt_) target = std::min(target, std::max(*hangUpAt_, now_));
        advanceTo(target);
    }
}

void SimulatedLink::pause(Millis duration) {
    if (!cancelled()) advanceTo(now_ + duration);
}

void SimulatedLink::hangUp() {
    hangUpAt_ = now_;
}

void SimulatedLink::reconnect() {
    hangUpAt_.reset();
    incoming_.clear();
    txFree_ = rxFree_ = now_;
    farEnd_.lineReset();
}

}  // namespace qel
