// A line in memory with a virtual clock: what the program writes goes to a Responder, whose
// answers arrive at the times the line's byte rate allows. Waits move the clock instead of
// sleeping, so a five-second timeout costs no real time.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/responder.h"
#include "serial/link.h"

namespace qel {

class SimulatedLink : public Link {
public:
    using Clock = std::chrono::steady_clock;

    // bytesPerSecond 0: bytes take no time on the line (3840 is 38400 baud, 8N1). On a line
    // with a byte rate, setSpeed sets the rate to a tenth of the speed.
    explicit SimulatedLink(Responder& farEnd, std::size_t bytesPerSecond = 0);

    Status setSpeed(int baud) override;
    void setRts(bool on) override { rts_ = on; }
    void setDtr(bool on) override { dtr_ = on; }
    Status write(std::string_view bytes) override;
    bool drain(Millis timeout) override;
    Status receive(std::string& received, Millis timeout) override;
    void pause(Millis duration) override;
    Clock::time_point now() const override { return now_; }
    std::size_t outputQueueSize() const override { return outputQueueSize_; }

    void setOutputQueueSize(std::size_t size) { outputQueueSize_ = size; }

    // A read gathers what arrives within this time after its first byte (a driver's latency);
    // by default 10 ms on a line with a byte rate, none on an instant one.
    void setReadLatency(Millis latency) { readLatency_ = latency; }
    // The link is cancelled when its clock reaches `when`.
    void cancelAt(Clock::time_point when) { cancelAt_ = when; }
    // Hangs the line up now.
    void hangUp();
    // A fresh line: the hang-up and everything still on the way are gone.
    void reconnect();

    Millis elapsed() const { return std::chrono::duration_cast<Millis>(now_ - start_); }
    const std::string& written() const { return written_; }
    const std::vector<std::string>& writes() const { return writes_; }
    int speed() const { return speed_; }
    // Every speed set, in order.
    const std::vector<int>& speeds() const { return speeds_; }
    bool rts() const { return rts_; }
    bool dtr() const { return dtr_; }

private:
    struct Segment {
        Clock::time_point start;
        std::string bytes;
        std::size_t delivered = 0;
    };

    Clock::duration lineTime(std::size_t bytes) const;
    std::size_t arrivedBy(const Segment& s, Clock::time_point t) const;
    std::optional<Clock::time_point> nextArrival() const;
    bool deliver(std::string& received);
    bool hungUp() const { return hangUpAt_ && now_ >= *hangUpAt_; }
    // Moves the clock to `target`, or only to the cancel time when that comes first.
    void advanceTo(Clock::time_point target);

    Responder& farEnd_;
    std::size_t bytesPerSecond_;
    Millis readLatency_;
    Clock::time_point start_;
    Clock::time_point now_;
    Clock::time_point txFree_;
    Clock::time_point rxFree_;
    std::deque<Segment> incoming_;
    std::optional<Clock::time_point> hangUpAt_;
    std::optional<Clock::time_point> cancelAt_;
    std::string written_;
    std::vector<std::string> writes_;
    int speed_ = 0;
    std::vector<int> speeds_;
    bool rts_ = false;
    bool dtr_ = false;
    std::size_t outputQueueSize_ = 4096;
};

}  // namespace qel
