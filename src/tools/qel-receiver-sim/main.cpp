// qel-receiver-sim: a DVB98 receiver, or the FTA loader of a receiver being powered up, behind
// a pseudo-terminal, so that QEL and qel-tool can talk to a receiver where there is none. It
// prints the device's path as its first line and serves until SIGINT or SIGTERM (or until a
// hang-up fault has hung the line up).
//   qel-receiver-sim [--firmware dvb98|fta] [--channels FILE.dvb] [--settings FILE.g98]
//                    [--flash FILE.bin] [--save-dir DIR] [--link PATH] [--pace]
//                    [--speed 38400|19200] [--fault NAME[:COMMAND[:N]]]... [--late-ms N]
//                    [--busy-ms N]
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/g98_file.h"
#include "receiver_sim/receiver_simulator.h"

namespace {

using namespace qel;
using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kPowerCycleSilence{20};
// Later than this after the line fell free, the bytes read began a new stream.
constexpr std::chrono::milliseconds kLateWakeUp{3};

struct Options {
    bool loader = false;
    std::string channels;
    std::string settings;
    std::string flash;
    std::string saveDir;
    std::string link;
    bool pace = false;
    std::optional<int> speed;
    std::vector<FaultPlan> faults;
    std::optional<Millis> lateBy;
    std::optional<Millis> busyFor;
};

int usage() {
    std::cerr << "usage: qel-receiver-sim [--firmware dvb98|fta] [--channels FILE.dvb]\n"
                 "         [--settings FILE.g98] [--flash FILE.bin] [--save-dir DIR]\n"
                 "         [--link PATH] [--pace] [--speed 38400|19200]\n"
                 "         [--fault NAME[:COMMAND[:N]]]... [--late-ms N] [--busy-ms N]\n"
                 "  faults: "
              << faultNames()
              << "\n"
                 "  commands: CBEG, A, B, G, C, H, F, V, O, CBEG4 (a picture into either\n"
                 "            slot), D; the flash routine's routine, erase, fw-block (1-n);\n"
                 "            the loader's wake-up, wait (1-3), block (1-48)\n"
                 "            (N: only the N-th one)\n"
                 "  busy: after its \"OK\" to a store (C unless H, F, V or CBEG4 is named)\n"
                 "        the receiver drops what arrives for --busy-ms (3000 by default)\n";
    return 1;
}

std::optional<int> positiveNumber(const std::string& text) {
    if (text.empty() || text.size() > 7 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const auto value = static_cast<int>(decimalValue(text));
    if (value <= 0) return std::nullopt;
    return value;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--pace") {
            options.pace = true;
            continue;
        }
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& value = args[++i];
        if (arg == "--firmware" && (value == "dvb98" || value == "fta")) {
            options.loader = value == "fta";
        } else if (arg == "--channels") {
            options.channels = value;
        } else if (arg == "--flash") {
            options.flash = value;
        } else if (arg == "--save-dir") {
            options.saveDir = value;
        } else if (arg == "--settings") {
            options.settings = value;
        } else if (arg == "--link") {
            options.link = value;
        } else if (arg == "--speed" && (value == "38400" || value == "19200")) {
            options.speed = static_cast<int>(decimalValue(value));
        } else if (arg == "--fault") {
            const std::optional<FaultPlan> plan = parseFaultPlan(value);
            if (!plan) return std::nullopt;
            options.faults.push_back(*plan);
        } else if (arg == "--late-ms" || arg == "--busy-ms") {
            const std::optional<int> ms = positiveNumber(value);
            if (!ms) return std::nullopt;
            (arg == "--late-ms" ? options.lateBy : options.busyFor) = Millis{*ms};
        } else {
            return std::nullopt;
        }
    }
    return options;
}

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool failed(std::string_view what) {
    std::cerr << "qel-receiver-sim: " << what << ": " << std::strerror(errno) << '\n';
    return false;
}

// Writes what the receiver holds into a folder whenever it has changed: channels.dvb,
// settings.g98, flash.bin, sysfont.bin (the 4096 bytes of the set that went up), teletext.bin
// (the 12800 bytes it took), picture1.bmp and picture2.bmp, firmware.bin (the blocks of a
// firmware upgrade, decompressed, in order) with firmware-log.json (each block's target,
// compressed length and checks), each replaced whole.
class StoreWriter {
public:
    StoreWriter(const ReceiverSimulator& sim, std::string dir) : sim_(sim), dir_(std::move(dir)) {
        for (SimStore store : kStores)
            seen_[index(store)] = sim.revision(store);
    }

    void writeChanged() {
        if (dir_.empty()) return;
        for (SimStore store : kStores) {
            const std::size_t revision = sim_.revision(store);
            if (revision == seen_[index(store)]) continue;
            seen_[index(store)] = revision;
            const std::string path = dir_ + "/" + fileName(store);
            write(path, content(store));
            if (store == SimStore::Firmware)
                write(dir_ + "/firmware-log.json", sim_.firmwareLogJson());
        }
    }

private:
    static void write(const std::string& path, std::string_view bytes) {
        if (Status st = writeFileAtomic(path, bytes); !st) {
            std::cerr << "qel-receiver-sim: " << path << ": " << errorText(st.error()) << '\n';
        }
    }
    static constexpr SimStore kStores[] = {
        SimStore::Channels,     SimStore::Settings, SimStore::Flash,    SimStore::SystemFont,
        SimStore::TeletextFont, SimStore::Picture1, SimStore::Picture2, SimStore::Firmware};
    static std::size_t index(SimStore store) { return static_cast<std::size_t>(store); }
    static std::string fileName(SimStore store) {
        switch (store) {
            case SimStore::Channels:
                return "channels.dvb";
            case SimStore::Settings:
                return "settings.g98";
            case SimStore::Flash:
                return "flash.bin";
            case SimStore::SystemFont:
                return "sysfont.bin";
            case SimStore::TeletextFont:
                return "teletext.bin";
            case SimStore::Picture1:
                return "picture1.bmp";
            case SimStore::Picture2:
                return "picture2.bmp";
            case SimStore::Firmware:
                return "firmware.bin";
        }
        return {};
    }
    std::string content(SimStore store) const {
        switch (store) {
            case SimStore::Channels:
                return sim_.channelImage();
            case SimStore::Settings: {
                std::string file = sim_.settingsBlock();
                file += static_cast<char>(blockChecksum(sim_.settingsBlock()));
                return file;
            }
            case SimStore::Flash:
                return sim_.flash();
            case SimStore::SystemFont:
                return sim_.systemFont();
            case SimStore::TeletextFont:
                return sim_.teletextFont();
            case SimStore::Picture1:
                return sim_.pictureFile(1);
            case SimStore::Picture2:
                return sim_.pictureFile(2);
            case SimStore::Firmware:
                return sim_.firmware();
        }
        return {};
    }

    const ReceiverSimulator& sim_;
    std::string dir_;
    std::array<std::size_t, kSimStores> seen_{};
};

// The receiver's side of the pseudo-terminal: bytes taken in and answers sent at the line's
// pace (or at once), one poll() at a time.
class PtyServer {
public:
    PtyServer(ReceiverSimulator& sim, int master, std::size_t bytesPerSecond, StoreWriter& stores)
        : sim_(sim), master_(master), bytesPerSecond_(bytesPerSecond), stores_(stores) {}

    // Serves until a signal arrives on `signalFd` or the line is hung up.
    void serve(int signalFd);

private:
    struct Outgoing {
        Clock::time_point start;
        std::string bytes;
        std::size_t sent = 0;
        bool hangUp = false;
    };

    Clock::duration lineTime(std::size_t bytes) const {
        if (bytesPerSecond_ == 0) return Clock::duration::zero();
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::nanoseconds(static_cast<std::int64_t>(bytes) * 1'000'000'000 /
                                     static_cast<std::int64_t>(bytesPerSecond_)));
    }
    // How many bytes of `o` the line has carried by `t`.
    std::size_t allowed(const Outgoing& o, Clock::time_point t) const;
    // The time the line can carry `count` bytes of `o`.
    Clock::time_point whenAllowed(const Outgoing& o, std::size_t count) const {
        return o.start + lineTime(count);
    }
    void takeInput(Clock::time_point now);
    // Sends what is due; false once the line is hung up.
    bool sendDue(Clock::time_point now);
    std::optional<Clock::time_point> nextEvent(Clock::time_point now) const;

    ReceiverSimulator& sim_;
    int master_;
    std::size_t bytesPerSecond_;
    StoreWriter& stores_;
    std::optional<Clock::time_point> lastInput_;
    std::size_t chunk_ = 1;
    std::deque<Outgoing> out_;
    Clock::time_point outFree_{};
    Clock::time_point inFree_{};
    bool writeBlocked_ = false;
};

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

bool loadReceiver(const Options& options, ReceiverSimulator& sim) {
    if (!options.channels.empty()) {
        auto bytes = readFileBytes(options.channels, kMaxDvbFileSize);
        if (!bytes) {
            std::cerr << "qel-receiver-sim: " << options.channels << ": "
                      << errorText(bytes.error()) << '\n';
            return false;
        }
        sim.setChannelImage(std::move(bytes.value()));
    }
    if (!options.flash.empty()) {
        auto bytes = readFileBytes(options.flash, kSimFlashSize);
        if (!bytes || bytes->size() != kSimFlashSize) {
            std::cerr << "qel-receiver-sim: " << options.flash << ": "
                      << errorText(bytes ? ErrorCode::WrongFileLength : bytes.error()) << '\n';
            return false;
        }
        sim.setFlash(std::move(bytes.value()));
    }
    if (!options.settings.empty()) {
        auto bytes = readFileBytes(options.settings, kG98FileSize);
        if (!bytes || bytes->size() != kG98FileSize) {
            std::cerr << "qel-receiver-sim: " << options.settings << ": "
                      << errorText(bytes ? ErrorCode::WrongFileLength : bytes.error()) << '\n';
            return false;
        }
        sim.setSettingsBlock(bytes->substr(0, kSettingsBlockSize));
    }
    for (const FaultPlan& plan : options.faults)
        sim.addFault(plan);
    if (options.lateBy) sim.setLateBy(*options.lateBy);
    if (options.busyFor) sim.setBusyFor(*options.busyFor);
    if (options.loader) sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
    return true;
}

// Points `link` at `device`: a new link, or one that replaces a symbolic link there. Anything
// else at that path (a file, a folder, a device) is not ours to replace and is refused.
bool makeLink(const std::string& link, const std::string& device) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) != 0) {
        if (errno != ENOENT) return failed(link);
        // symlink() does not replace what may have appeared there since.
        if (::symlink(device.c_str(), link.c_str()) != 0) return failed(link);
        return true;
    }
    if (!S_ISLNK(st.st_mode)) {
        std::cerr << "qel-receiver-sim: " << link
                  << ": exists and is not a symbolic link; it is left as it is\n";
        return false;
    }
    const std::string temporary = link + ".qel-receiver-sim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(device.c_str(), temporary.c_str()) != 0) return failed(link);
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return failed(link);
    }
    return true;
}

void removeLink(const std::string& link, const std::string& device) {
    char target[4096];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == device) {
        ::unlink(link.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options =
        parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) return usage();
    ReceiverSimulator sim;
    if (!loadReceiver(*options, sim)) return 2;

    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        failed("openpty");
        return 2;
    }
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
    // The simulator keeps its own descriptor of the device open, so the line does not read as
    // hung up while no program has it open.
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    const char* name = ::ttyname(slave);
    if (name == nullptr) {
        failed("ttyname");
        return 2;
    }
    const std::string device = name;

    if (::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        failed("pipe");
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    if (!options->saveDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options->saveDir, ec);
        if (ec) {
            std::cerr << "qel-receiver-sim: " << options->saveDir << ": " << ec.message() << '\n';
            return 2;
        }
    }
    if (!options->link.empty() && !makeLink(options->link, device)) return 2;
    std::cout << device << std::endl;

    const int speed = options->speed.value_or(options->loader ? 19200 : 38400);
    const std::size_t bytesPerSecond = options->pace ? static_cast<std::size_t>(speed) / 10 : 0;
    StoreWriter stores(sim, options->saveDir);
    PtyServer server(sim, master, bytesPerSecond, stores);
    server.serve(signalPipe[0]);

    ::close(master);
    ::close(slave);
    if (!options->link.empty()) removeLink(options->link, device);
    return 0;
}
