// qel-tool download against qel-receiver-sim over a real pseudo-terminal: what is written,
// what is said and the exit status, for a whole receiver and for a few of its faults.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "support/receiver_data.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::TempDir;

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
    }
    ~ReceiverSim() { stop(); }
    ReceiverSim(const ReceiverSim&) = delete;
    ReceiverSim& operator=(const ReceiverSim&) = delete;

    const std::string& device() const { return device_; }

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
};

struct ToolRun {
    int status = -1;
    std::string err;
};

// Runs qel-tool in `dir`, where the outputs land by default.
ToolRun runTool(const std::string& args, const TempDir& dir) {
    const std::string errFile = dir.file("stderr.txt");
    const std::string cmd = "cd '" + dir.path().string() + "' && " + QEL_TOOL_PATH + " " + args +
                            " 2>'" + errFile + "' >/dev/null";
    const int rc = std::system(cmd.c_str());
    ToolRun run;
    run.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    run.err = TempDir::read(errFile);
    return run;
}

std::string g98File() {
    const std::string block = test::settingsBlock();
    return block + static_cast<char>(blockChecksum(block));
}

TEST(DownloadCommand, TheWholeReceiverArrivesByteForByte) {
    TempDir dir;
    const std::string channels = dir.write("receiver.dvb", test::channelImage(3071));
    const std::string settings = dir.write("receiver.g98", g98File());
    ReceiverSim sim({"--channels", channels, "--settings", settings});
    ASSERT_EQ(sim.device().rfind("/dev/", 0), 0u) << sim.device();

    const ToolRun run = runTool("download " + sim.device(), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(TempDir::read(dir.file("download.dvb")) == TempDir::read(channels));
    EXPECT_TRUE(TempDir::read(dir.file("download.g98")) == g98File());
    EXPECT_EQ(sim.stop(), 0);
}

TEST(DownloadCommand, OnlyWhatIsAskedForThroughALinkToTheDevice) {
    TempDir dir;
    const std::string link = dir.file("vandu");
    ReceiverSim sim({"--link", link});
    ASSERT_FALSE(sim.device().empty());
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.device());

    // An empty receiver: a channel file without channels.
    const ToolRun run = runTool("download '" + link + "' --channels empty.dvb", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("empty.dvb")));
    EXPECT_EQ(std::filesystem::file_size(dir.file("empty.dvb")), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("download.g98")));

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(DownloadCommand, AFailedPartWritesNothingAndSaysWhy) {
    const struct {
        const char* fault;
        const char* err;
        bool settingsArrive;
    } kCases[] = {
        {"wrong-checksum", "Error during download (channels: wrong checksum)\n", true},
        {"silence",
         "Error (channels: no answer to \"CBEG\")\n"
         "Error (settings: no answer to \"CBEG\")\n",
         false},
        {"hang-up",
         "Error during download (channels: the line was hung up)\n"
         "Error on COM (settings: the line was hung up)\n",
         false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.fault);
        TempDir dir;
        const std::string channels = dir.write("receiver.dvb", test::channelImage(10));
        const std::string settings = dir.write("receiver.g98", g98File());
        ReceiverSim sim({"--channels", channels, "--settings", settings, "--fault", c.fault});
        ASSERT_FALSE(sim.device().empty());
        const ToolRun run = runTool("download " + sim.device() + " --timeout-ms 300", dir);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.err);
        EXPECT_FALSE(std::filesystem::exists(dir.file("download.dvb")));
        EXPECT_EQ(std::filesystem::exists(dir.file("download.g98")), c.settingsArrive);
    }
}

TEST(DownloadCommand, WrongUsageAndAMissingPort) {
    TempDir dir;
    EXPECT_EQ(runTool("download", dir).status, 1);
    EXPECT_EQ(runTool("download /dev/null --channels", dir).status, 1);
    EXPECT_EQ(runTool("download /dev/null --bogus x", dir).status, 1);
    EXPECT_EQ(runTool("download /dev/null --timeout-ms 0", dir).status, 1);
    const ToolRun run = runTool("download " + dir.file("no-such-port"), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("Error on COM (port: ", 0), 0u) << run.err;
}

}  // namespace
}  // namespace qel
