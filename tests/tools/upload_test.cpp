// qel-tool upload against qel-receiver-sim over a real pseudo-terminal: what the receiver then
// holds (as its --save-dir shows it and as a download brings it back), what is said and the
// exit status, the operator's prompt, the backup, and inputs refused before the port is opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "bytes/checksum.h"
#include "support/receiver_data.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::g98Of;
using test::ReceiverSim;
using test::runTool;
using test::TempDir;
using test::ToolRun;

// Settings other than those the receiver starts with.
std::string newSettingsBlock() {
    return test::settingsBlock(11, 1);
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

TEST(UploadToReceiver, Dvb98ChannelsAndSettingsGoUpAndComeBackIdentical) {
    TempDir dir;
    const std::string oldChannels = dir.write("old.dvb", test::channelImage(5));
    const std::string oldSettings = dir.write("old.g98", g98Of(test::settingsBlock()));
    const std::string channels = dir.write("new.dvb", test::channelImage(30));
    const std::string settings = dir.write("new.g98", g98Of(newSettingsBlock()));
    const std::string saved = dir.file("saved");
    ReceiverSim sim({"--channels", oldChannels, "--settings", oldSettings, "--save-dir", saved});
    ASSERT_FALSE(sim.device().empty());

    const ToolRun run =
        runTool("upload " + sim.port() + " --channels new.dvb --settings new.g98 --backup bk" +
                    " --timeout-ms 1000",
                dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(TempDir::read(saved + "/channels.dvb") == TempDir::read(channels));
    EXPECT_TRUE(TempDir::read(saved + "/settings.g98") == TempDir::read(settings));
    EXPECT_FALSE(std::filesystem::exists(saved + "/flash.bin"));
    EXPECT_TRUE(TempDir::read(dir.file("bk/receiver.dvb")) == TempDir::read(oldChannels));
    EXPECT_TRUE(TempDir::read(dir.file("bk/receiver.g98")) == TempDir::read(oldSettings));

    const ToolRun back = runTool("download " + sim.port() + " --timeout-ms 1000", dir);
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_TRUE(TempDir::read(dir.file("download.dvb")) == TempDir::read(channels));
    EXPECT_TRUE(TempDir::read(dir.file("download.g98")) == TempDir::read(settings));
    EXPECT_EQ(sim.stop(), 0);
}

// What each ending says and its exit status, and which store was written (the faults
// themselves are the serial tests'; how the window ends them, the finishers'; the image's bytes
// arriving whole, the paced window test's).
TEST(UploadToReceiver, FailuresAreToldWithTheProgramsMessage) {
    const std::string unplug = "Unplug Vandu main power\n";
    const std::string notConfirmed = "Transfer cancelled (channels: not confirmed)\n";
    const struct {
        std::vector<std::string> simArgs;
        std::string toolArgs, input;
        int status;
        std::string err, written;  // the store the receiver saved, if any
    } kCases[] = {
        // clang-format off
        // The operator confirms with Enter that the receiver is unplugged.
        {{"--firmware", "fta"}, "--channels image.bin", "\n", 0,
         unplug + "(Enter when done, Ctrl+D to stop) ", "flash.bin"},
        // The loader need not answer a block: a warning, and the image went up.
        {{"--firmware", "fta", "--fault", "no-block-answer"}, "--channels image.bin --yes", "", 0,
         unplug + "Warning: 1 of the 48 blocks got no answer from the receiver (channels)\n",
         "flash.bin"},
        {{"--fault", "mis-store:C"}, "--channels new.dvb", "", 2,
         "The receiver does not hold what was sent (channels: channel 16)\n", "channels.dvb"},
        {{"--fault", "mis-store:C"}, "--channels new.dvb --no-verify", "", 0, "", "channels.dvb"},
        // The folder cannot be made where a file is: the operator is asked, and says no.
        {{}, "--channels new.dvb --backup new.dvb", "n\n", 2,
         "Cannot write the file (backup: new.dvb/receiver.dvb: Not a directory)\n"
         "The receiver's channels and settings could not be kept first.\nUpload anyway? (y/N) " +
             notConfirmed, ""},
        {{"--firmware", "fta"}, "--channels image.bin", "", 2,
         unplug + "(Enter when done, Ctrl+D to stop) " + notConfirmed, ""},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.toolArgs);
        TempDir dir;
        dir.write("new.dvb", test::channelImage(30));
        const std::string image = dir.write("image.bin", std::string(49152, '\x5A'));
        const std::string saved = dir.file("saved");
        std::vector<std::string> simArgs = {"--save-dir", saved};
        simArgs.insert(simArgs.end(), c.simArgs.begin(), c.simArgs.end());
        ReceiverSim sim(simArgs);
        ASSERT_FALSE(sim.device().empty());
        const ToolRun run =
            runTool("upload " + sim.port() + " " + c.toolArgs + " --timeout-ms 300", dir, c.input);
        EXPECT_EQ(run.status, c.status);
        std::string err = run.err;
        if (test::toolUnderWine()) std::replace(err.begin(), err.end(), '\\', '/');
        EXPECT_EQ(err, c.err);
        for (const char* store : {"channels.dvb", "flash.bin"})
            EXPECT_EQ(std::filesystem::exists(saved + "/" + store), c.written == store) << store;
        if (c.written == "flash.bin") {
            EXPECT_TRUE(TempDir::read(saved + "/flash.bin") == TempDir::read(image));
        }
    }
}

TEST(UploadCommand, ARefusedInputSendsNothingAndAWrongCallIsUsage) {
    TempDir dir;
    dir.write("many.dvb", test::channelImage(3072));
    dir.write("short.bin", std::string(49151, '\xFF'));
    dir.write("other.g98", g98Of("OSVD" + newSettingsBlock().substr(4)));
    dir.write("ok.g98", g98Of(newSettingsBlock()));
    dir.write("list.txt", "");
    // The port does not exist: a message about anything but the port shows that the input was
    // refused before it was opened.
    const std::string port = quoted(dir.file("no-such-port"));
    const struct {
        std::string args;
        int status;
        std::string err;
    } kCases[] = {
        {"--channels many.dvb --settings ok.g98", 2,
         "Too many channels for DVB 98 : no Upload/Save  (channels: 3072 channels)\n"},
        {"--channels short.bin", 2, "Wrong file lenght (channels)\n"},
        {"--settings other.g98", 2, "Error (settings: the settings do not begin with 4456534F)\n"},
        {"--channels missing.dvb", 2, "Cannot open the file (channels)\n"},
        {"--channels list.txt", 2, "qel-tool: unsupported file type: list.txt\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.args);
        const ToolRun run = runTool("upload " + port + " " + c.args, dir);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.err);
        // The same with the options before the port.
        EXPECT_EQ(runTool("upload " + c.args + " " + port, dir).err, c.err);
    }
    // A missing port, the options before it or after; wrong calls are usage, for either way.
    for (const std::string& args :
         {"upload " + port + " --settings ok.g98", "download --timeout-ms 100 " + port}) {
        const ToolRun missing = runTool(args, dir);
        EXPECT_EQ(missing.status, 2);
        EXPECT_EQ(missing.err.rfind("Error on COM (port: ", 0), 0u) << missing.err;
    }
    for (const char* usage :
         {"upload", "upload /dev/null", "upload /dev/null --yes", "upload /dev/null --channels",
          "upload /dev/null --bogus x", "upload /dev/null --settings ok.g98 --timeout-ms 0",
          "download", "download /dev/null --channels", "download /dev/null --bogus x",
          "download /dev/null --timeout-ms 0"}) {
        EXPECT_EQ(runTool(usage, dir).status, 1) << usage;
    }
}

}  // namespace
}  // namespace qel
