// The serial ports Windows reports, for the Options window's list (on Linux the window asks
// Qt). Windows names its ports in two places: the registry key
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM (one value a port: the driver's device, "\Device\Serial0",
// holding the port's name, "COM5"), and the DOS device names (QueryDosDevice), where a port
// that a driver registered elsewhere, or one of Wine's, also appears.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

struct ReportedPort {
    std::string name;    // "COM5"
    std::string device;  // the driver's device, "Serial0" or "USBSER000"; empty when unknown
};

// The port names COM1-COM256 in a DOS device list as QueryDosDevice gives it: names ended by
// NUL, the list by an empty name (or by its end). Other names (LPT1, COM0, COM257, COMx) are
// left out; each port is named once, as the list spells it, in the list's order.
std::vector<std::string> comPortsInDeviceList(std::string_view list);

#ifdef _WIN32
// Every port the registry and the DOS device names report now: the registry's first, with
// their devices.
std::vector<ReportedPort> reportedSerialPorts();
#endif

}  // namespace qel
