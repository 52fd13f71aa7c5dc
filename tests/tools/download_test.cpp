// qel-tool download against qel-receiver-sim over a real pseudo-terminal: what is written,
// what is said and the exit status, for a whole receiver and for a few of its faults.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "bytes/checksum.h"
#include "support/receiver_data.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::ReceiverSim;
using test::runTool;
using test::TempDir;
using test::ToolRun;

std::string g98File() {
    const std::string block = test::settingsBlock();
    return block + static_cast<char>(blockChecksum(block));
}

// The whole receiver arriving as download.dvb and download.g98 is the upload test's round trip.
TEST(DownloadFromReceiver, OnlyWhatIsAskedForThroughALinkToTheDevice) {
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

TEST(DownloadFromReceiver, AFailedPartWritesNothingAndSaysWhy) {
    const struct {
        const char* fault;
        const char* err;
        bool settingsArrive;
    } kCases[] = {
        {"wrong-checksum", "Error during download (channels: wrong checksum)\n", true},
        {"silence",
         "Error (channels: no answer to \"CBEG\")\nError (settings: no answer to \"CBEG\")\n",
         false},
        {"hang-up",
         "Error during download (channels: the line was hung up)\n"
         "Error on COM (settings: the line was hung up)\n",
         false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.fault);
        // A Windows COM port is never hung up: a pseudo-terminal's hang-up reaches Wine's
        // port as silence, then as a port that is not ready.
        if (test::toolUnderWine() && std::string(c.fault) == "hang-up") continue;
        TempDir dir;
        const std::string channels = dir.write("receiver.dvb", test::channelImage(10));
        const std::string settings = dir.write("receiver.g98", g98File());
        ReceiverSim sim({"--channels", channels, "--settings", settings, "--fault", c.fault});
        ASSERT_FALSE(sim.device().empty());
        const ToolRun run = runTool("download " + sim.port() + " --timeout-ms 300", dir);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.err);
        EXPECT_FALSE(std::filesystem::exists(dir.file("download.dvb")));
        EXPECT_EQ(std::filesystem::exists(dir.file("download.g98")), c.settingsArrive);
    }
}

// Ctrl+C in the middle of a download at the line's pace (64 KB, 17 s at 38400 baud): the tool
// stops within a second or so, says so, and writes nothing.
TEST(DownloadFromReceiver, CtrlCCancelsAndWritesNothing) {
    TempDir dir;
    const std::string channels = dir.write("receiver.dvb", test::channelImage(1000));
    ReceiverSim sim({"--channels", channels, "--pace"});
    ASSERT_FALSE(sim.device().empty());
    test::RunningTool tool("download " + sim.port() + " --channels got.dvb", dir);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto interrupted = std::chrono::steady_clock::now();
    tool.interrupt();
    const ToolRun run = tool.finish();
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(3));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Transfer cancelled (channels)\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("got.dvb")));
}

}  // namespace
}  // namespace qel
