// qel-receiver-sim: a DVB98 receiver, or the FTA loader of a receiver being powered up, behind
// a pseudo-terminal, so that QEL and qel-tool can talk to a receiver where there is none. It
// prints the device's path as its first line and serves until SIGINT or SIGTERM (or until a
// hang-up fault has hung the line up).
//   qel-receiver-sim [--firmware dvb98|fta] [--channels FILE.dvb] [--settings FILE.g98]
//                    [--flash FILE.bin] [--save-dir DIR] [--link PATH] [--pace]
//                    [--speed 38400|19200] [--fault NAME[:COMMAND[:N]]]... [--late-ms N]
//                    [--busy-ms N]
#include <fcntl.h>
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
#include "pty_server.h"
#include "receiver_sim/receiver_simulator.h"
#include "store_writer.h"

namespace {

using namespace qel;

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
