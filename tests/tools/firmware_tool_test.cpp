// qel-tool firmware: the refusals before anything is sent, and a five-block firmware sent to
// qel-receiver-sim over a pseudo-terminal, arriving whole at its targets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tool_process.h"

namespace qel {
namespace {

using test::runTool;
using test::TempDir;
using test::ToolRun;

std::string firmwareBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t noise = 7;
    for (std::size_t i = 0; i < size; ++i) {
        noise = noise * 1664525 + 1013904223;
        // Mostly code-like runs, which compress well: the line is paced at 38400 baud.
        bytes[i] = static_cast<char>(i % 8192 < 64 ? noise >> 24 : i / 100);
    }
    return bytes;
}

// The per-user data folder the tool looks in first, inside the test's folder.
void useDataFolder(const TempDir& dir) {
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
}

TEST(FirmwareToReceiver, FiveBlocksArriveWholeAtTheirTargets) {
    TempDir dir;
    useDataFolder(dir);
    std::filesystem::create_directories(dir.file("data/QEL/QEL"));
    dir.write("data/QEL/QEL/rodflash.sbr", std::string(1716, '\x21'));
    const std::string saved = dir.file("saved");
    test::ReceiverSim sim{{"--save-dir", saved}};
    ASSERT_FALSE(sim.device().empty());
    const std::string firmware = firmwareBytes(4 * 65536 + 4321);
    dir.write("new.bin", firmware);
    // Under Wine the routine is named: Wine keeps %APPDATA% in its own prefix.
    const std::string routine =
        test::toolUnderWine() ? " --routine '" + dir.file("data/QEL/QEL/rodflash.sbr") + "'" : "";
    const ToolRun run =
        runTool("firmware " + sim.port() + " new.bin --timeout-ms 300" + routine, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(TempDir::read(saved + "/firmware.bin") == firmware);
    const std::string log = TempDir::read(saved + "/firmware-log.json");
    EXPECT_EQ(log.rfind("{\n  \"erase_all\": false,\n  \"ended\": true,\n  \"blocks\": [", 0), 0u)
        << log;
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NE(
            log.find("{\"target\": " + std::to_string(i * 65536 + 1) + ", \"compressed_length\": "),
            std::string::npos)
            << i;
    }
    EXPECT_EQ(log.find("false}"), std::string::npos) << log;  // every block checked and written
}

}  // namespace
}  // namespace qel
