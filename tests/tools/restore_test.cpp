// qel-tool restore: a backup folder put back into qel-receiver-sim over a pseudo-terminal (what
// the receiver then holds, its own backup first, the question), and the folders refused before
// the port is opened: a folder of backups listed newest first, none, a damaged one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "bytes/checksum.h"
#include "support/channel_builder.h"
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
std::string keptSettingsBlock() {
    return test::settingsBlock(5, 9);
}

// A backup folder `name` in `dir` with the files given; an empty text leaves one out.
void keep(const TempDir& dir, const std::string& name, const std::string& channels,
          const std::string& settings) {
    std::filesystem::create_directories(dir.path() / name);
    if (!channels.empty()) dir.write(name + "/receiver.dvb", channels);
    if (!settings.empty()) dir.write(name + "/receiver.g98", settings);
}

std::string withSlashes(std::string text) {
    if (test::toolUnderWine()) std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

TEST(RestoreToReceiver, TheReceiverHoldsTheBackupsBytesAfterItsOwnBackup) {
    TempDir dir;
    const std::string held = dir.write("held.dvb", test::channelImage(5));
    const std::string heldSettings = dir.write("held.g98", g98Of(test::settingsBlock()));
    std::string kept = test::channelImage(30);
    kept += test::DvbRecord().type(2).name("RADIO 1").bytes();
    keep(dir, "bk/20240131-080509", kept, g98Of(keptSettingsBlock()));
    const std::string saved = dir.file("saved");
    ReceiverSim sim({"--channels", held, "--settings", heldSettings, "--save-dir", saved});
    ASSERT_FALSE(sim.device().empty());

    // Asked first: no sends nothing.
    const std::string question =
        "Restore the backup of 2024-01-31 08:05:09 to the receiver? (TV 30, RADIO 1) (y/N) ";
    const ToolRun no = runTool(
        "restore " + sim.port() + " bk/20240131-080509 --backup own --timeout-ms 1000", dir, "n\n");
    EXPECT_EQ(no.status, 2);
    EXPECT_EQ(no.err, question + "Transfer cancelled (restore: not confirmed)\n");
    EXPECT_FALSE(std::filesystem::exists(saved + "/channels.dvb"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("own")));

    const ToolRun yes =
        runTool("restore " + sim.port() + " bk/20240131-080509/ --backup own --timeout-ms 1000",
                dir, "y\n");
    ASSERT_EQ(yes.status, 0) << yes.err;
    EXPECT_EQ(yes.err, question);
    EXPECT_TRUE(TempDir::read(saved + "/channels.dvb") == kept);
    EXPECT_TRUE(TempDir::read(saved + "/settings.g98") == g98Of(keptSettingsBlock()));
    EXPECT_TRUE(TempDir::read(dir.file("own/receiver.dvb")) == TempDir::read(held));
    EXPECT_TRUE(TempDir::read(dir.file("own/receiver.g98")) == TempDir::read(heldSettings));
    EXPECT_EQ(sim.stop(), 0);
}

TEST(RestoreCommand, AFolderThatIsNoSingleBackupIsRefusedBeforeThePort) {
    TempDir dir;
    const std::string good = g98Of(test::settingsBlock());
    keep(dir, "root/20240101-120000", test::channelImage(3), good);
    keep(dir, "root/20240301-090000", test::channelImage(5), "");
    keep(dir, "root/20240201-100000", test::channelImage(2), good.substr(0, 1264) + "x");
    std::filesystem::create_directories(dir.path() / "empty" / "sub");
    keep(dir, "damaged", std::string(65, 'x'), good);
    const std::string port = "'" + dir.file("no-such-port") + "'";
    const struct {
        std::string args;
        int status;
        std::string err;
    } kCases[] = {
        {"root", 2,
         "root holds 3 backups; name the one to restore:\n"
         "  root/20240301-090000  2024-03-01 09:00:00  TV 5  RADIO 0  (channels only)\n"
         "  root/20240201-100000  2024-02-01 10:00:00  TV 2  RADIO 0  damaged: Wrong checksum "
         "(root/20240201-100000/receiver.g98)\n"
         "  root/20240101-120000  2024-01-01 12:00:00  TV 3  RADIO 0\n"},
        {"empty", 2, "empty holds no backup (receiver.dvb, receiver.g98)\n"},
        {"missing", 2, "missing holds no backup (receiver.dvb, receiver.g98)\n"},
        {"damaged --yes", 2, "Wrong file lenght (backup: damaged/receiver.dvb)\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.args);
        const ToolRun run = runTool("restore " + port + " " + c.args, dir);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(withSlashes(run.err), c.err);
    }
    // A good backup gets as far as the port.
    const ToolRun good1 = runTool("restore " + port + " root/20240101-120000 --yes", dir);
    EXPECT_EQ(good1.status, 2);
    EXPECT_EQ(good1.err.rfind("Error on COM (port: ", 0), 0u) << good1.err;
    for (const char* usage : {"restore", "restore /dev/null", "restore /dev/null root --bogus",
                              "restore /dev/null root --backup", "restore /dev/null root x"}) {
        EXPECT_EQ(runTool(usage, dir).status, 1) << usage;
    }
}

}  // namespace
}  // namespace qel
