#include "bytes/checksum.h"

namespace qel {

std::uint8_t blockChecksum(std::string_view data) {
    std::uint8_t sum = 0x55;
    for (char c : data)
        sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

}  // namespace qel
