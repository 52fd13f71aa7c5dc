// A serial device (or pseudo-terminal) as a Link, with termios and poll: qel-tool's port,
// without Qt.
#pragma once

#include <memory>
#include <string>

#include "model/errors.h"
#include "serial/link.h"

namespace qel::tool {

class PosixLink final : public Link {
public:
    // Opens the device raw, at 38400 baud 8N1 with no flow control, and drops anything
    // already waiting on it. Refused with PortError.
    static Result<std::unique_ptr<PosixLink>> open(const std::string& device);
    ~PosixLink() override;
    PosixLink(const PosixLink&) = delete;
    PosixLink& operator=(const PosixLink&) = delete;

    Status setSpeed(int baud) override;
    void setRts(bool on) override;
    void setDtr(bool on) override;
    Status write(std::string_view bytes) override;
    bool drain(Millis timeout) override;
    Status receive(std::string& received, Millis timeout) override;
    void pause(Millis duration) override;
    std::chrono::steady_clock::time_point now() const override;

private:
    explicit PosixLink(int fd) : fd_(fd) {}
    void setModemLine(int line, bool on);

    int fd_;
    int baud_ = 38400;
    // When the bytes written so far will have left at the line's speed. A pseudo-terminal
    // reports an empty output queue at once; a real port's queue is empty by then too, give
    // or take its transmit FIFO.
    std::chrono::steady_clock::time_point lineFree_{};
};

}  // namespace qel::tool
