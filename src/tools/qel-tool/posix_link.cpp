#include "posix_link.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace qel::tool {

namespace {

using Clock = std::chrono::steady_clock;

// The longest a wait sleeps before it looks at the cancel flag again.
constexpr Millis kCancelCheck{50};
// A write that cannot hand over a single byte for this long gives up.
constexpr Millis kWriteStall{5000};
constexpr std::size_t kReadChunk = 64 * 1024;

Status portError(std::string_view what) {
    return Error{ErrorCode::PortError, std::string(what) + ": " + std::strerror(errno)};
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

Result<std::unique_ptr<PosixLink>> PosixLink::open(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return portError(device);
    std::unique_ptr<PosixLink> link(new PosixLink(fd));
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return portError(device);
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB | PARENB);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return portError(device);
    if (Status st = link->setSpeed(38400); !st) return st;
    ::tcflush(fd, TCIOFLUSH);
    return link;
}

PosixLink::~PosixLink() {
    ::close(fd_);
}

Status PosixLink::setSpeed(int baud) {
    const speed_t code = speedCode(baud);
    if (code == B0) return Error{ErrorCode::PortError, "speed " + std::to_string(baud)};
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return portError("speed");
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS8;
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) return portError("speed");
    baud_ = baud;
    return {};
}

void PosixLink::setModemLine(int line, bool on) {
    // A pseudo-terminal has no modem lines; it refuses with ENOTTY or EINVAL, which is fine.
    ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line);
}

void PosixLink::setRts(bool on) {
    setModemLine(TIOCM_RTS, on);
}

void PosixLink::setDtr(bool on) {
    setModemLine(TIOCM_DTR, on);
}

Status PosixLink::write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (cancelled()) return ErrorCode::TransferCancelled;
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            // 8N1: ten bits a byte.
            const auto onLine = std::chrono::nanoseconds(n * std::int64_t{10'000'000'000} / baud_);
            lineFree_ = std::max(lineFree_, Clock::now()) +
                        std::chrono::duration_cast<Clock::duration>(onLine);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return portError("write");
        const int ready = waitFor(*this, fd_, POLLOUT, kWriteStall);
        if (ready < 0) return portError("write");
        if (ready == 0 && !cancelled()) {
            return Error{ErrorCode::PortError, "write: the line takes no more bytes"};
        }
        if ((ready & (POLLHUP | POLLERR)) != 0) {
            return Error{ErrorCode::PortError, "write: the line was hung up"};
        }
    }
    return {};
}

bool PosixLink::drain(Millis timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 && ::tcdrain(fd_) != 0) return false;
        const Clock::time_point now = Clock::now();
        if (queued == 0 && now >= lineFree_) return true;
        if (cancelled() || now >= deadline) return false;
        // A byte at 19200 baud takes half a millisecond; a few at a time is close enough.
        Clock::duration wait = std::chrono::milliseconds(2);
        if (queued == 0) wait = std::min(lineFree_ - now, Clock::duration(kCancelCheck));
        wait = std::min(wait, deadline - now);
        const timespec pause{
            0,
            static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count())};
        ::nanosleep(&pause, nullptr);
    }
}

Status PosixLink::receive(std::string& received, Millis timeout) {
    const int ready = waitFor(*this, fd_, POLLIN, timeout);
    if (ready < 0) return portError("read");
    if (ready == 0) return {};
    char buffer[kReadChunk];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
        received.append(buffer, static_cast<std::size_t>(n));
        return {};
    }
    const bool lineGone = (ready & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    if (n < 0 && (errno == EAGAIN || errno == EINTR) && !lineGone) return {};
    // End of file, EIO or a hang-up: the other end is gone.
    if (n == 0 || errno == EIO || lineGone) {
        return Error{ErrorCode::PortError, "the line was hung up"};
    }
    return portError("read");
}

void PosixLink::pause(Millis duration) {
    const Clock::time_point deadline = Clock::now() + duration;
    while (!cancelled()) {
        const auto left = std::chrono::ceil<Millis>(deadline - Clock::now());
        if (left <= Millis{0}) return;
        ::poll(nullptr, 0, static_cast<int>(std::min(left, kCancelCheck).count()));
    }
}

std::chrono::steady_clock::time_point PosixLink::now() const {
    return Clock::now();
}

}  // namespace qel::tool
