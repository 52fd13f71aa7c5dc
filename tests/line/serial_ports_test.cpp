// The COM ports read from a DOS device list, as the Options window's list on Windows gets them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line/serial_ports.h"

namespace qel {
namespace {

using namespace std::string_literals;

TEST(SerialPorts, DeviceListsGiveTheirComPortsOnce) {
    const struct {
        std::string list;
        std::vector<std::string> ports;
    } cases[] = {
        {""s, {}},
        {"\0"s, {}},
        {"COM1\0\0"s, {"COM1"}},
        // Other devices, numbers out of range or with a leading zero, and names that only
        // begin like a port are left out.
        {"LPT1\0COM3\0AUX\0COM0\0COM257\0COM07\0COMX\0COM3A\0NUL\0COM256\0\0"s, {"COM3", "COM256"}},
        // Each port once, as the list spells it, in the list's order.
        {"com12\0COM2\0COM12\0COM2\0\0"s, {"com12", "COM2"}},
        // A list cut short of its closing NUL, and one that goes on after the empty name.
        {"COM5\0COM6"s, {"COM5", "COM6"}},
        {"COM5\0\0COM6\0\0"s, {"COM5"}},
        // A blank inside or around a name does not make a port.
        {"COM 4\0 COM4\0COM4 \0\0"s, {}},
        // What Wine reports for its prefix's links, among the drive letters.
        {"C:\0Z:\0COM1\0COM33\0\0"s, {"COM1", "COM33"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(comPortsInDeviceList(c.list), c.ports) << testing::PrintToString(c.list);
}

}  // namespace
}  // namespace qel
