// qel-receiver-sim and qel-tool as processes for the end-to-end tests over a pseudo-terminal.
// The same tests drive the Windows build's qel-tool.exe under Wine: QEL_TOOL_COMMAND then runs
// the tool ("wine64 .../qel-tool.exe") and QEL_TOOL_WINE_DOSDEVICES names the Wine prefix's
// dosdevices folder, where a comN link makes the simulator's pseudo-terminal the port COMn.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qel::test {

// The command that runs qel-tool.
inline std::string toolCommand() {
    const char* command = std::getenv("QEL_TOOL_COMMAND");
    return command != nullptr && *command != '\0' ? command : QEL_TOOL_PATH;
}

// Whether the tool is the Windows build's under Wine.
inline bool toolUnderWine() {
    const char* dosdevices = std::getenv("QEL_TOOL_WINE_DOSDEVICES");
    return dosdevices != nullptr && *dosdevices != '\0';
}

// The serial device as qel-tool is given it: the device itself, or under Wine the COM port
// of a comN link (10-256) made to it in the dosdevices folder, removed again when the
// simulator ends. A link whose device is gone is a killed run's and is taken over.
class ToolPort {
public:
    explicit ToolPort(const std::string& device) : name_(device) {
        const char* dosdevices = std::getenv("QEL_TOOL_WINE_DOSDEVICES");
        if (dosdevices == nullptr || *dosdevices == '\0' || device.empty()) return;
        for (int n = 10; n <= 256; ++n) {
            const std::string link = std::string(dosdevices) + "/com" + std::to_string(n);
            struct stat st {};
            if (::lstat(link.c_str(), &st) == 0 && ::stat(link.c_str(), &st) != 0) {
                ::unlink(link.c_str());
            }
            if (::symlink(device.c_str(), link.c_str()) == 0) {
                link_ = link;
                name_ = "COM" + std::to_string(n);
                return;
            }
        }
        name_.clear();  // no free port: the test fails on the empty name
    }
    ~ToolPort() {
        if (!link_.empty()) ::unlink(link_.c_str());
    }
    ToolPort(const ToolPort&) = delete;
    ToolPort& operator=(const ToolPort&) = delete;

    const std::string& name() const { return name_; }

private:
    std::string name_;
    std::string link_;
};

// qel-receiver-sim running for one test, its device read from its first line.
class ReceiverSim {
public:
    explicit ReceiverSim(const std::vector<std::string>& args) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv{const_cast<char*>(QEL_RECEIVER_SIM_PATH)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        // The first line, waited for at most five seconds.
        char c = 0;
        pollfd p{out[0], POLLIN, 0};
        while (::poll(&p, 1, 5000) == 1 && ::read(out[0], &c, 1) == 1 && c != '\n')
            device_ += c;
        ::close(out[0]);
        port_.emplace(device_);
    }
    ~ReceiverSim() { stop(); }
    ReceiverSim(const ReceiverSim&) = delete;
    ReceiverSim& operator=(const ReceiverSim&) = delete;

    const std::string& device() const { return device_; }
    // The port to give qel-tool for the device.
    const std::string& port() const { return port_ ? port_->name() : device_; }

    // Ends the simulator as SIGTERM does; its exit status.
    int stop() {
        if (pid_ <= 0) return -1;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    std::string device_;
    std::optional<ToolPort> port_;
};

struct ToolRun {
    int status = -1;
    std::string err;
    std::string out;
};

// A run that ended with `waitStatus`, what it said in the files of `dir`; status -1 for a tool
// ended by a signal.
inline ToolRun endedRun(int waitStatus, const TempDir& dir) {
    return {WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1,
            TempDir::read(dir.file("stderr.txt")), TempDir::read(dir.file("stdout.txt"))};
}

// Runs qel-tool in `dir`, where the outputs land by default, with `input` on its stdin.
inline ToolRun runTool(const std::string& args, const TempDir& dir, const std::string& input = {}) {
    const std::string errFile = dir.file("stderr.txt");
    const std::string outFile = dir.file("stdout.txt");
    const std::string inFile = dir.write("stdin.txt", input);
    const std::string cmd = "cd '" + dir.path().string() + "' && " + toolCommand() + " " + args +
                            " <'" + inFile + "' 2>'" + errFile + "' >'" + outFile + "'";
    return endedRun(std::system(cmd.c_str()), dir);
}

// qel-tool running beside the test, in `dir`, its output in files there: for what must happen
// while it runs (Ctrl+C).
class RunningTool {
public:
    RunningTool(const std::string& args, const TempDir& dir) : dir_(dir) {
        const std::string cmd = "cd '" + dir.path().string() + "' && exec " + toolCommand() + " " +
                                args + " </dev/null 2>'" + dir.file("stderr.txt") + "' >'" +
                                dir.file("stdout.txt") + "'";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~RunningTool() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;

    // Ctrl+C, as the terminal sends it.
    void interrupt() const { ::kill(pid_, SIGINT); }

    // Waits for the end; its exit status and what it said.
    ToolRun finish() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return endedRun(status, dir_);
    }

private:
    const TempDir& dir_;
    pid_t pid_ = -1;
};

// A call that must end before the receiver: its arguments, in which "P" stands for a port that
// does not exist (any message but the port's shows the input refused before it was opened),
// its exit status, and how its message begins.
struct RefusedCall {
    std::string args;
    int status;
    std::string err;
};

inline void expectRefused(const std::vector<RefusedCall>& calls, const TempDir& dir) {
    const std::string port = "'" + dir.file("no-such-port") + "'";
    for (const RefusedCall& c : calls) {
        std::string args = c.args;
        for (std::size_t p = args.find(" P"); p != std::string::npos; p = args.find(" P", p + 1)) {
            if (p + 2 == args.size() || args[p + 2] == ' ') args.replace(p + 1, 1, port);
        }
        ToolRun run = runTool(args, dir);
        // Wine now and then loses what a program that ends at once wrote to a redirected
        // stream (its bug 56459); a refused call changes nothing, so it is made once more.
        if (toolUnderWine() && run.err.empty() && !c.err.empty()) run = runTool(args, dir);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.args << ": " << run.err;
    }
}

}  // namespace qel::test
