#include "line/serial_ports.h"

#include <algorithm>

#include "line/port_text.h"

namespace qel {

std::vector<std::string> comPortsInDeviceList(std::string_view list) {
    std::vector<std::string> ports;
    std::vector<bool> seen(257, false);
    while (!list.empty()) {
        const std::size_t end = std::min(list.find('\0'), list.size());
        const std::string_view name = list.substr(0, end);
        if (name.empty()) break;
        list.remove_prefix(std::min(end + 1, list.size()));
        if (name.size() < 4 || (name.substr(0, 3) != "COM" && name.substr(0, 3) != "com")) {
            continue;
        }
        // Blanks do not belong in a device name, though the port text reader allows them.
        if (name.find(' ') != std::string_view::npos) continue;
        const int number = line::readPortText(name, 256).number;
        if (number == 0 || seen[number]) continue;
        seen[number] = true;
        ports.emplace_back(name);
    }
    return ports;
}

}  // namespace qel
