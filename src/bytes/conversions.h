// Conversions between numbers, hex text, byte strings and bit texts that the
// readers, writers and editors share, and the key filters of the hex and decimal boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qel {

// The last 4 characters of "0000" + s.
std::string pad4(std::string_view s);

// The value of a hex text (either case, at most 8 digits, blanks around it ignored);
// 0 for empty or invalid text. Eight digits above 7FFFFFFF wrap to negative, as a
// 32-bit integer does.
std::int32_t hexToDec(std::string_view hex);

// Upper-case hex of v without leading zeros ("0" for 0).
std::string toHex(std::uint32_t v);

// The leading decimal number of a text (blanks before it and a sign allowed); 0 when there is none.
std::int64_t decimalValue(std::string_view s);

// First character code * 256 + second; a 1-character text counts its character twice.
int charsToWord(std::string_view two);

// High byte then low byte of n, clamped to 0..65535.
std::string wordToChars(std::int64_t n);

// Two upper-case hex digits per byte; an odd last byte is given twice.
std::string bytesToHex(std::string_view bytes);

// Each group of 4 hex digits becomes its 2 bytes; invalid groups give two zero bytes.
std::string hexToBytes(std::string_view hex);

// The n lowest bits (1-16) of v as "0"/"1", most significant first.
std::string toBinary(std::int64_t v, int n);

// A text of digits weighted by powers of 2 from the right.
std::int64_t fromBinary(std::string_view bits);

// One byte per 8 bits, first bit most significant; nothing when the length is not a multiple of 8.
std::optional<std::string> bitsToBytes(std::string_view bits);

// Key filters of the hex and decimal boxes: the (upper-cased) key code when the
// character is allowed, 0 when the key is swallowed.
int hexKeyFilter(int key);
int decimalKeyFilter(int key);

// v as decimal digits, zero-filled on the left to at least `digits` characters.
std::string zeroPadDecimal(std::int64_t v, std::size_t digits);

// Blanks trimmed from both ends (blanks only, not other white space).
std::string_view trimBlanks(std::string_view s);

}  // namespace qel
