#include "bytes/crc16.h"

namespace qel {

std::uint16_t crc16Step(std::uint16_t crc, std::uint8_t byte) {
    unsigned c = crc;
    unsigned d = static_cast<unsigned>(byte) << 8;
    for (int bit = 0; bit < 8; ++bit) {
        c = ((d ^ c) & 0x8000U) != 0 ? ((c << 1) ^ 0x1021U) : (c << 1);
        c &= 0xFFFFU;
        d = (d << 1) & 0xFFFFU;
    }
    return static_cast<std::uint16_t>(c);
}

std::uint16_t crc16(std::string_view bytes) {
    std::uint16_t crc = 0;
    for (char b : bytes)
        crc = crc16Step(crc, static_cast<std::uint8_t>(b));
    return crc;
}

}  // namespace qel
