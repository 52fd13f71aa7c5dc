#include "bytes/conversions.h"

namespace qel {

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

std::string pad4(std::string_view s) {
    std::string t = "0000";
    t += s;
    return t.substr(t.size() - 4);
}

std::int32_t hexToDec(std::string_view hex) {
    hex = trimBlanks(hex);
    if (hex.empty() || hex.size() > 8) return 0;
    std::uint32_t v = 0;
    for (char c : hex) {
        const int d = hexDigitValue(c);
        if (d < 0) return 0;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(v);
}

std::string toHex(std::uint32_t v) {
    std::string s;
    do {
        s.insert(s.begin(), kHexDigits[v & 15U]);
        v >>= 4;
    } while (v != 0);
    return s;
}

std::int64_t decimalValue(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v < 100000000000000000) v = v * 10 + (s[i] - '0');
    }
    return negative ? -v : v;
}

int charsToWord(std::string_view two) {
    if (two.empty()) return 0;
    const auto hi = static_cast<unsigned char>(two[0]);
    const auto lo = static_cast<unsigned char>(two.size() > 1 ? two[1] : two[0]);
    return hi * 256 + lo;
}

std::string wordToChars(std::int64_t n) {
    if (n < 0) n = 0;
    if (n > 65535) n = 65535;
    return {static_cast<char>((n >> 8) & 0xFF), static_cast<char>(n & 0xFF)};
}

std::string bytesToHex(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 1) / 2 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto w = static_cast<unsigned>(charsToWord(bytes.substr(i, 2)));
        out += kHexDigits[(w >> 12) & 15U];
        out += kHexDigits[(w >> 8) & 15U];
        out += kHexDigits[(w >> 4) & 15U];
        out += kHexDigits[w & 15U];
    }
    return out;
}

std::string hexToBytes(std::string_view hex) {
    std::string out;
    out.reserve((hex.size() + 3) / 4 * 2);
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        // A group that is not valid hex counts as 0; a negative 8-digit value cannot occur here.
        out += wordToChars(hexToDec(hex.substr(i, 4)));
    }
    return out;
}

std::string toBinary(std::int64_t v, int n) {
    if (n < 1) n = 1;
    if (n > 16) n = 16;
    auto u = static_cast<std::uint32_t>(v) & 0xFFFFU;
    std::string bits(16, '0');
    for (int pos = 15; pos >= 0 && u != 0; --pos, u >>= 1) {
        bits[static_cast<std::size_t>(pos)] = (u & 1U) ? '1' : '0';
    }
    return bits.substr(static_cast<std::size_t>(16 - n));
}

std::int64_t fromBinary(std::string_view bits) {
    std::int64_t v = 0;
    for (char c : bits) {
        const int digit = (c >= '0' && c <= '9') ? c - '0' : 0;
        v = v * 2 + digit;
    }
    return v;
}

std::optional<std::string> bitsToBytes(std::string_view bits) {
    if (bits.size() % 8 != 0) return std::nullopt;
    std::string out;
    out.reserve(bits.size() / 8);
    for (std::size_t i = 0; i < bits.size(); i += 8) {
        int byte = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            const char c = bits[i + k];
            byte = byte * 2 + ((c >= '0' && c <= '9') ? c - '0' : 0);
        }
        out += static_cast<char>(byte & 0xFF);
    }
    return out;
}

int hexKeyFilter(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'F')) return key;
    if (key >= 'a' && key <= 'f') return key - 'a' + 'A';
    return 0;
}

int decimalKeyFilter(int key) {
    return (key >= '0' && key <= '9') ? key : 0;
}

std::string zeroPadDecimal(std::int64_t v, std::size_t digits) {
    std::string s = std::to_string(v);
    if (s.size() < digits) s.insert(0, digits - s.size(), '0');
    return s;
}

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace qel
