// What the serial tests share about the simulated line: its speed, the time bytes take on
// it, blocks with their checksum, and how a fault case and a transfer's statuses are read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bytes/checksum.h"
#include "receiver_sim/receiver_simulator.h"
#include "serial/link.h"

namespace qel::test {

// 38400 baud, 8N1: bytes a second.
inline constexpr std::size_t kLineRate = 3840;

inline Millis lineTime(std::size_t bytes) {
    return Millis{(bytes * 1000 + kLineRate - 1) / kLineRate};
}

inline std::string withChecksum(std::string_view block) {
    std::string out(block);
    out += static_cast<char>(blockChecksum(block));
    return out;
}

// "silence at CBEG #2", for failure messages.
inline std::string describeFault(SimFault fault, SimCommand command, int occurrence) {
    return std::string(faultName(fault)) + " at " + std::string(commandName(command)) + " #" +
           std::to_string(occurrence);
}

// The last status before the one that starts the second part (`marker`), and the last of
// all from it on; empty where a part showed nothing.
inline std::pair<std::string, std::string> lastStatusesAround(
    const std::vector<std::string>& statuses, std::string_view marker) {
    const auto split = std::find(statuses.begin(), statuses.end(), marker);
    return {split == statuses.begin() ? "" : *(split - 1),
            split == statuses.end() ? "" : statuses.back()};
}

}  // namespace qel::test
