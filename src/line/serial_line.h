// The serial line to the receiver: a serial device, or a pseudo-terminal standing in for one
// (qel-receiver-sim), as the exchanges' Link. The serial window and qel-tool both talk
// through it, so a transfer behaves the same from either.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "serial/link.h"

namespace qel {

// The device a port text names. On Linux "1"-"4" (as the options keep them) and "COM1"-"COM4"
// are the first four serial ports (/dev/ttyS0-/dev/ttyS3); on Windows "1"-"256" and "COMn"
// are \\.\COMn. Anything else is a device path as it stands.
std::string serialDevice(std::string_view portText);

// Why a device could not be opened, from the system's error number (on Windows its
// GetLastError code): on Linux PortNoPermission with the name of the group that owns the
// device as detail when access was refused (the user must belong to it); else PortError with
// the device and the system's reason (on Windows a port held by another program says so).
Status portOpenFailure(const std::string& device, int error);

class SerialLine final : public Link {
public:
    // Opens the device raw at `baud`, 8N1, no flow control, RTS and DTR off, and drops
    // anything already waiting on it.
    static Result<std::unique_ptr<SerialLine>> open(const std::string& device, int baud);
    ~SerialLine() override;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    const std::string& device() const { return device_; }
    int speed() const { return baud_; }

    Status setSpeed(int baud) override;
    bool lineLost() const override;
    void setRts(bool on) override;
    void setDtr(bool on) override;
    Status write(std::string_view bytes) override;
    // The driver's output queue is empty and the bytes' time on the line (ten bits a byte at
    // the set speed) has passed since they were handed over. A pseudo-terminal, whose queue
    // empties as soon as the other side reads, is thereby paced as the line it stands for.
    // A line that is hung up ends the wait at once (false); the next receive or write says so.
    bool drain(Millis timeout) override;
    // Reads every byte the driver holds (up to a bound a call), waiting for the first.
    Status receive(std::string& received, Millis timeout) override;
    // The driver's input queue is flushed: the bytes are never copied.
    void dropInput() override;
    void pause(Millis duration) override;
    std::chrono::steady_clock::time_point now() const override;

private:
#ifdef _WIN32
    using Handle = void*;  // the port's HANDLE
#else
    using Handle = int;  // the device's file descriptor
#endif
    SerialLine(Handle handle, std::string device) : handle_(handle), device_(std::move(device)) {}
    void setModemLine(int line, bool on);

    Handle handle_;
    std::string device_;
    int baud_ = 0;
    // A read or write found the line hung up.
    bool lost_ = false;
    // When the bytes written so far will have left at the line's speed.
    std::chrono::steady_clock::time_point lineFree_{};
};

}  // namespace qel
