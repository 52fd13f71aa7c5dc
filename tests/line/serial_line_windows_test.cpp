// The Windows serial line's names and refusals; its transfers run in qel-tool.exe's tests,
// through Wine's COM ports over the simulator's pseudo-terminal.
#include <windows.h>

#include <gtest/gtest.h>

#include "line/serial_line.h"

namespace qel {
namespace {

TEST(SerialLineWindows, PortTextsNameTheirDevices) {
    const struct {
        const char* text;
        const char* device;
    } cases[] = {
        {"1", "\\\\.\\COM1"},
        {"4", "\\\\.\\COM4"},
        {"COM7", "\\\\.\\COM7"},
        {" com12 ", "\\\\.\\COM12"},
        {"COM256", "\\\\.\\COM256"},
        {"256", "\\\\.\\COM256"},
        // Not a port number: the text is taken as the device's own name.
        {"COM257", "COM257"},
        {"COM0", "COM0"},
        {"COM07", "COM07"},
        {"0", "0"},
        {"COM", "COM"},
        {"\\\\.\\COM9", "\\\\.\\COM9"},
        {"COM1a", "COM1a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(serialDevice(c.text), c.device) << c.text;
}

TEST(SerialLineWindows, MissingBusyAndNonSerialDevicesAreRefusedWithTheirReason) {
    // No Wine prefix or Windows has a COM port 249.
    const auto missing = SerialLine::open("\\\\.\\COM249", 38400);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(), ErrorCode::PortError);
    EXPECT_EQ(missing.detail().rfind("\\\\.\\COM249: ", 0), 0u) << missing.detail();

    const Status busy = portOpenFailure("\\\\.\\COM3", ERROR_ACCESS_DENIED);
    EXPECT_EQ(busy.error(), ErrorCode::PortError);
    EXPECT_EQ(busy.detail(), "\\\\.\\COM3: the port is in use by another program");
    // Any other reason is the system's own words (Windows and Wine word them apart).
    const std::string other = portOpenFailure("\\\\.\\COM3", ERROR_FILE_NOT_FOUND).detail();
    EXPECT_EQ(other.rfind("\\\\.\\COM3: ", 0), 0u) << other;
    EXPECT_GT(other.size(), 12u);
    EXPECT_EQ(other.find("in use"), std::string::npos) << other;

    // A device that is no serial port: the null device.
    const auto nul = SerialLine::open("NUL", 38400);
    ASSERT_FALSE(nul.ok());
    EXPECT_EQ(nul.error(), ErrorCode::PortError);
}

}  // namespace
}  // namespace qel
