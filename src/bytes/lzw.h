// LZW in the classic Unix `compress` (.Z) format: the firmware blocks go to the receiver
// compressed this way, and `gzip -d` or `uncompress` read what lzwCompress writes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qel {

// The bytes compressed as `compress -b16` does: the header 1F 9D 90 (block mode, codes of
// at most 16 bits), then codes of 9 to 16 bits packed least significant bit first. Where the
// code width grows, and after a clear code, the rest of the current group of eight codes is
// padded as compress pads it. Once the table is full the clear code 256 is sent whenever
// the compression ratio, checked every 10000 input bytes, has dropped, so a stream may be of
// any length. Safe to call from several threads (each call has its own table).
std::string lzwCompress(std::string_view data);

// The same stream written piece by piece, for input too large to hold: the stream of the
// pieces one after the other equals lzwCompress of their concatenation, however the input
// is cut. The table takes 1 MiB (less when sizeHint, the input's expected size, is small).
class LzwEncoder {
public:
    explicit LzwEncoder(std::size_t sizeHint = static_cast<std::size_t>(-1));
    ~LzwEncoder();
    LzwEncoder(const LzwEncoder&) = delete;
    LzwEncoder& operator=(const LzwEncoder&) = delete;

    // Compresses the next piece of the input and appends to out the stream bytes that are
    // complete (a few bits stay behind until the next piece or finish).
    void write(std::string_view piece, std::string& out);

    // Ends the stream: appends its last bytes to out. The encoder takes no more input.
    void finish(std::string& out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// What a decoded stream held, for tests and for logs that show a stream's shape.
struct LzwStreamStats {
    std::size_t codes = 0;         // every code read, clear codes included
    std::size_t clears = 0;        // clear codes
    std::size_t widthChanges = 0;  // code width increases
    unsigned maxBits = 0;          // from the header
};

// The original bytes of a compress stream, or nothing when the stream is damaged: a wrong
// header, a code not yet defined, codes wider than 16 bits, or more than maxOutput bytes of
// output (a hostile stream cannot exhaust memory). Bits after the last whole code are
// ignored, as compress ignores them.
std::optional<std::string> lzwDecompress(std::string_view stream,
                                         std::size_t maxOutput = std::size_t{16} << 20);

// lzwDecompress that also reports what the stream held (stats is filled as far as decoding
// went, also when the stream turns out damaged).
std::optional<std::string> lzwDecompressWithStats(std::string_view stream, std::size_t maxOutput,
                                                  LzwStreamStats& stats);

}  // namespace qel
