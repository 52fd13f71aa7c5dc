// A pseudo-terminal for the tests of the real serial line: the code under test opens the
// device by its path, as it opens a serial port; the test plays the far end on the other
// side, by hand or with a Responder (a simulated receiver) on a thread of its own.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "receiver_sim/responder.h"

namespace qel::test {

class PtyLine {
public:
    PtyLine() {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        // The test keeps its own descriptor of the device, as qel-receiver-sim does: the line
        // does not read as hung up while the code under test has it closed.
        if (const char* name = ::ttyname(slave_)) device_ = name;
    }
    ~PtyLine() {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    const std::string& device() const { return device_; }
    int master() const { return master_; }

    // The line's settings as the code under test made them (the master reads the device's).
    termios settings() const {
        termios t{};
        ::tcgetattr(master_, &t);
        return t;
    }

    // Bytes from the far end.
    void send(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            } else {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 100);
            }
        }
    }

    // What has arrived at the far end within `wait`.
    std::string take(std::chrono::milliseconds wait) const {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + wait;
        for (;;) {
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                got.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) return got;
            pollfd p{master_, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(left.count()));
        }
    }

    // The far end goes away: the code under test sees a hang-up.
    void hangUp() {
        ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
};

// A Responder on the far side of a pseudo-terminal, answering as fast as the line brings its
// input (each piece after its delay). The responder is touched only by the thread until stop().
class PtyResponder {
public:
    explicit PtyResponder(Responder& responder) : responder_(responder) {
        thread_ = std::thread([this] { serve(); });
    }
    ~PtyResponder() { stop(); }
    PtyResponder(const PtyResponder&) = delete;
    PtyResponder& operator=(const PtyResponder&) = delete;

    const PtyLine& line() const { return line_; }
    const std::string& device() const { return line_.device(); }

    void stop() {
        stopping_ = true;
        if (thread_.joinable()) thread_.join();
    }

private:
    void serve() {
        while (!stopping_) {
            pollfd p{line_.master(), POLLIN, 0};
            if (::poll(&p, 1, 10) != 1 || (p.revents & POLLIN) == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(line_.master(), buffer, sizeof buffer);
            if (n <= 0) continue;
            const auto taken = std::chrono::steady_clock::now();
            for (const ReplyPiece& piece :
                 responder_.takeAt(std::string_view(buffer, static_cast<std::size_t>(n)), taken)) {
                while (!stopping_ && std::chrono::steady_clock::now() < taken + piece.after)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                line_.send(piece.bytes);
            }
        }
    }

    Responder& responder_;
    PtyLine line_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qel::test
