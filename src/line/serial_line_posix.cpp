// The serial line on POSIX systems: termios for the framing, poll for the waits, TIOCOUTQ and
// the line's own time for the drain.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "line/line_timing.h"
#include "line/port_text.h"
#include "line/serial_line.h"

namespace qel {

namespace {

using namespace line;

Status systemError(std::string_view what, int error) {
    return Error{ErrorCode::PortError, std::string(what) + ": " + std::strerror(error)};
}

// Waits for an event on fd for at most `timeout` (0: only looks), or until cancelled; the
// revents, 0 when the time ran out, -1 on an error.
int waitFor(const Link& link, int fd, short events, Millis timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        if (link.cancelled()) return 0;
        const auto left = std::max(std::chrono::ceil<Millis>(deadline - Clock::now()), Millis{0});
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(std::min(left, kCancelCheck).count()));
        if (n < 0 && errno != EINTR) return -1;
        if (n > 0) return p.revents;
        if (left == Millis{0}) return 0;
    }
}

// Whether the other end of the line is gone (a pseudo-terminal's far side closed, a USB
// adapter pulled out).
bool hungUp(int fd) {
    pollfd p{fd, 0, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void sleepFor(Clock::duration wait) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    const timespec pause{static_cast<time_t>(ns / 1'000'000'000),
                         static_cast<long>(ns % 1'000'000'000)};
    ::nanosleep(&pause, nullptr);
}

speed_t speedCode(int baud) {
    switch (baud) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

}  // namespace

std::string serialDevice(std::string_view portText) {
    const line::PortText port = line::readPortText(portText, 4);
    if (port.number > 0) return "/dev/ttyS" + std::to_string(port.number - 1);
    return std::string(port.text);
}

Status portOpenFailure(const std::string& device, int error) {
    if (error == EACCES || error == EPERM) {
        struct stat info {};
        if (::stat(device.c_str(), &info) == 0) {
            if (const group* owner = ::getgrgid(info.st_gid); owner != nullptr) {
                return Error{ErrorCode::PortNoPermission, owner->gr_name};
            }
            return Error{ErrorCode::PortNoPermission, std::to_string(info.st_gid)};
        }
    }
    return systemError(device, error);
}

Result<std::unique_ptr<SerialLine>> SerialLine::open(const std::string& device, int baud) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return portOpenFailure(device, errno);
    std::unique_ptr<SerialLine> line(new SerialLine(fd, device));
    if (::isatty(fd) == 0) return Error{ErrorCode::PortError, device + ": not a serial port"};
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return systemError(device, errno);
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB | PARENB);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return systemError(device, errno);
    if (Status st = line->setSpeed(baud); !st) return st;
    // Another program opening the port meanwhile would take bytes meant for this one.
    ::ioctl(fd, TIOCEXCL);
    line->setRts(false);
    line->setDtr(false);
    ::tcflush(fd, TCIOFLUSH);
    return line;
}

SerialLine::~SerialLine() {
    // A pseudo-terminal kept open by its other side would stay exclusive after this close.
    ::ioctl(handle_, TIOCNXCL);
    ::close(handle_);
}

bool SerialLine::lineLost() const {
    return lost_ || hungUp(handle_);
}

Status SerialLine::setSpeed(int baud) {
    const speed_t code = speedCode(baud);
    if (code == B0) return Error{ErrorCode::PortError, "speed " + std::to_string(baud)};
    termios t{};
    if (::tcgetattr(handle_, &t) != 0) return systemError(device_, errno);
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS8;
    if (::tcsetattr(handle_, TCSANOW, &t) != 0) return systemError(device_, errno);
    baud_ = baud;
    return {};
}

void SerialLine::setModemLine(int line, bool on) {
    // A pseudo-terminal has no modem lines; it refuses with ENOTTY or EINVAL, which is fine.
    ::ioctl(handle_, on ? TIOCMBIS : TIOCMBIC, &line);
}

void SerialLine::setRts(bool on) {
    setModemLine(TIOCM_RTS, on);
}

void SerialLine::setDtr(bool on) {
    setModemLine(TIOCM_DTR, on);
}

Status SerialLine::write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (cancelled()) return ErrorCode::TransferCancelled;
        const ssize_t n = ::write(handle_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            lineFree_ = std::max(lineFree_, Clock::now()) +
                        exactLineTime(static_cast<std::size_t>(n), baud_);
            continue;
        }
        // EIO: the other end is gone.
        if (n < 0 && errno == EIO) return Error{ErrorCode::PortError, std::string(kHungUp)};
        if (n < 0 && errno != EAGAIN && errno != EINTR) return systemError(device_, errno);
        const int ready = waitFor(*this, handle_, POLLOUT, kWriteStall);
        if (ready < 0) return systemError(device_, errno);
        if (ready == 0 && !cancelled()) {
            return Error{ErrorCode::PortError, device_ + ": the line takes no more bytes"};
        }
        if ((ready & (POLLHUP | POLLERR)) != 0) {
            return Error{ErrorCode::PortError, std::string(kHungUp)};
        }
    }
    return {};
}

bool SerialLine::drain(Millis timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        // Bytes never leave a line that was hung up: there is nothing to wait for.
        if (hungUp(handle_)) return false;
        int queued = 0;
        if (::ioctl(handle_, TIOCOUTQ, &queued) != 0) queued = 0;
        const Clock::time_point now = Clock::now();
        if (queued <= 0 && now >= lineFree_) return true;
        if (cancelled() || now >= deadline) return false;
        // What is still queued leaves at the line's speed; look again about when it has.
        Clock::duration wait =
            queued > 0 ? exactLineTime(static_cast<std::size_t>(queued), baud_) : lineFree_ - now;
        wait = std::clamp<Clock::duration>(wait, std::chrono::milliseconds(1), kCancelCheck);
        sleepFor(std::min(wait, deadline - now));
    }
}

Status SerialLine::receive(std::string& received, Millis timeout) {
    const int ready = waitFor(*this, handle_, POLLIN, timeout);
    if (ready < 0) return systemError(device_, errno);
    if (ready == 0) return {};
    const bool lineGone = (ready & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    std::size_t taken = 0;
    char buffer[kReadChunk];
    while (taken < kMostReadAtOnce) {
        const ssize_t n = ::read(handle_, buffer, std::min(sizeof buffer, kMostReadAtOnce - taken));
        if (n > 0) {
            received.append(buffer, static_cast<std::size_t>(n));
            taken += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (taken > 0) return {};
        // End of file, EIO or a hang-up: the other end is gone.
        const bool gone = n == 0 || lineGone || errno == EIO;
        if (gone) return Error{ErrorCode::PortError, std::string(kHungUp)};
        if (errno == EAGAIN) return {};
        return systemError(device_, errno);
    }
    return {};
}

void SerialLine::dropInput() {
    ::tcflush(handle_, TCIFLUSH);
}

void SerialLine::pause(Millis duration) {
    const Clock::time_point deadline = Clock::now() + duration;
    while (!cancelled()) {
        const auto left = std::chrono::ceil<Millis>(deadline - Clock::now());
        if (left <= Millis{0}) return;
        ::poll(nullptr, 0, static_cast<int>(std::min(left, kCancelCheck).count()));
    }
}

std::chrono::steady_clock::time_point SerialLine::now() const {
    return Clock::now();
}

}  // namespace qel
