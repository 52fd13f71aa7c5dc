#include "bytes/lzw.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace qel {

namespace {

constexpr unsigned char kMagic0 = 0x1F;
constexpr unsigned char kMagic1 = 0x9D;
constexpr unsigned kBlockModeFlag = 0x80;
constexpr unsigned kReservedFlags = 0x60;
constexpr unsigned kMaxBitsMask = 0x1F;
constexpr std::size_t kHeaderSize = 3;

constexpr unsigned kInitialWidth = 9;
constexpr unsigned kMaxWidth = 16;
constexpr std::uint32_t kClearCode = 256;
constexpr std::uint32_t kFirstFreeCode = 257;
// One past the highest code of 16 bits: the table is full when the next code reaches it.
constexpr std::uint32_t kCodeLimit = std::uint32_t{1} << kMaxWidth;
// Once the table is full, compress checks the ratio at most this often (input bytes).
constexpr std::size_t kCheckGap = 10000;

unsigned byteAt(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

// ---- Writing ----------------------------------------------------------------------------

// Codes packed least significant bit first into a buffer sized for the worst case. compress
// writes its codes in groups of eight (as many bytes as the code has bits); it pads the
// group it is in when the width changes or after a clear code, and a reader skips the same.
class CodeWriter {
public:
    // The buffer the next codes go to, with room for them; pending bits carry over.
    void setBuffer(char* out) {
        out_ = out;
        used_ = 0;
    }

    void put(std::uint32_t code, unsigned width) {
        acc_ |= std::uint64_t{code} << fill_;
        fill_ += width;
        bits_ += width;
        groupCodes_ = (groupCodes_ + 1) & 7U;
        if (fill_ >= 32) {
            for (int i = 0; i < 4; ++i) {
                out_[used_++] = static_cast<char>(acc_ & 0xFFU);
                acc_ >>= 8;
            }
            fill_ -= 32;
        }
    }

    void padGroup(unsigned width) {
        while (groupCodes_ != 0)
            put(0, width);
    }

    // Whole bytes written so far, as compress counts them for its ratio.
    std::size_t bytesWritten() const { return static_cast<std::size_t>(bits_ >> 3); }

    // Bytes put into the buffer since setBuffer.
    std::size_t used() const { return used_; }

    // Writes the last partial byte; the number of bytes in the buffer.
    std::size_t finish() {
        while (fill_ > 0) {
            out_[used_++] = static_cast<char>(acc_ & 0xFFU);
            acc_ >>= 8;
            fill_ = fill_ >= 8 ? fill_ - 8 : 0;
        }
        return used_;
    }

private:
    char* out_ = nullptr;
    std::size_t used_ = 0;
    std::uint64_t acc_ = 0;
    unsigned fill_ = 0;
    std::uint64_t bits_ = 0;
    unsigned groupCodes_ = 0;
};

// The strings the encoder knows, as (prefix code, next byte) -> code, in an open-addressing
// table with linear probing, sized so that it is never more than 70 % full. A restart after
// a clear code does not wipe the slots: each table takes a new generation number, and a slot
// of another generation counts as empty. A slot holds generation << 40 | key << 16 | code.
class StringTable {
public:
    explicit StringTable(std::size_t inputSize) {
        const std::size_t entries = std::min<std::size_t>(inputSize, kCodeLimit - kFirstFreeCode);
        unsigned bits = kMinBits;
        while ((std::size_t{7} << bits) / 10 < entries)
            ++bits;
        shift_ = 32 - bits;
        mask_ = (std::size_t{1} << bits) - 1;
        store_.slots.assign(std::size_t{1} << bits, 0);
        clear();
    }

    // The code of key (prefix << 8 | byte), or 0; slot is left where the key would go.
    std::uint32_t find(std::uint32_t key, std::size_t& slot) const {
        const std::uint64_t tagged = (generation_ << 24) | key;
        slot = (key * 0x9E3779B1U) >> shift_;
        for (;;) {
            const std::uint64_t s = store_.slots[slot];
            if ((s >> 16) == tagged) return static_cast<std::uint32_t>(s & 0xFFFFU);
            if ((s >> 40) != generation_) return 0;
            slot = (slot + 1) & mask_;
        }
    }

    // Adds key at the slot find left for it.
    void insert(std::size_t slot, std::uint32_t key, std::uint32_t code) {
        store_.slots[slot] = (((generation_ << 24) | key) << 16) | code;
    }

    void clear() {
        if (store_.generation + 1 >= kGenerationLimit) {
            std::fill(store_.slots.begin(), store_.slots.end(), 0);
            store_.generation = 0;
        }
        generation_ = ++store_.generation;
    }

private:
    static constexpr unsigned kMinBits = 12;  // up to 17: 65279 strings at most 70 % full
    static constexpr std::uint64_t kGenerationLimit = std::uint64_t{1} << 24;

    struct SlotStore {
        std::vector<std::uint64_t> slots;
        std::uint64_t generation = 0;
    };

    SlotStore store_;
    std::uint64_t generation_ = 0;
    unsigned shift_ = 0;
    std::size_t mask_ = 0;
};

// The worst case of a stream: every byte its own 16-bit code, a clear code per check gap,
// and a padded group for every width change and clear.
std::size_t worstCaseSize(std::size_t inputSize) {
    const std::size_t clears = inputSize / kCheckGap + 1;
    const std::size_t pads = (clears + 1) * (kMaxWidth - kInitialWidth + 1);
    return kHeaderSize + 2 * (inputSize + clears) + pads * 2 * 8 + 8;
}

// compress's measure of how well it is doing: input bytes per output byte, 8 fractional bits.
std::size_t compressionRatio(std::size_t bytesIn, std::size_t bytesOut) {
    if (bytesIn > 0x007FFFFF) {
        const std::size_t scaled = bytesOut >> 8;
        return scaled == 0 ? 0x7FFFFFFF : bytesIn / scaled;
    }
    return (bytesIn << 8) / bytesOut;
}

// ---- Reading ----------------------------------------------------------------------------

class CodeReader {
public:
    explicit CodeReader(std::string_view bytes) : bytes_(bytes), bits_(bytes.size() * 8) {}

    // The next code of `width` bits, or false when fewer bits are left.
    bool read(unsigned width, std::uint32_t& code) {
        if (pos_ + width > bits_) return false;
        const std::size_t first = static_cast<std::size_t>(pos_ >> 3);
        std::uint32_t window = 0;
        for (std::size_t i = 0; i < 3 && first + i < bytes_.size(); ++i)
            window |= static_cast<std::uint32_t>(byteAt(bytes_, first + i)) << (8 * i);
        code = (window >> (pos_ & 7U)) & ((std::uint32_t{1} << width) - 1);
        pos_ += width;
        return true;
    }

    // Moves past the rest of the current group of eight codes of `width` bits.
    void skipGroupRest(unsigned width) {
        const std::uint64_t groupBits = std::uint64_t{8} * width;
        const std::uint64_t into = (pos_ - groupStart_) % groupBits;
        if (into != 0) pos_ += groupBits - into;
        groupStart_ = pos_;
    }

private:
    std::string_view bytes_;
    std::uint64_t bits_;
    std::uint64_t pos_ = 0;
    std::uint64_t groupStart_ = 0;
};

// Where a code's string already stands in the output: every string the table holds was
// written out once before it became an entry.
struct OutputSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

}  // namespace

struct LzwEncoder::State {
    explicit State(std::size_t sizeHint) : table(sizeHint) {}

    StringTable table;
    CodeWriter writer;
    unsigned width = kInitialWidth;
    std::uint32_t nextCode = kFirstFreeCode;
    std::size_t checkpoint = kCheckGap;
    std::size_t ratio = 0;
    std::size_t bytesIn = 0;  // input bytes taken so far
    std::uint32_t prefix = 0;
    bool headerWritten = false;
    bool finished = false;

    // Makes room at the end of out for what `inputSize` more bytes can give, the header
    // first when it has not been written; where the codes go.
    char* reserve(std::string& out, std::size_t inputSize) {
        const std::size_t start = out.size();
        // Up to four bytes of codes put before this piece may also be flushed now; the
        // slack of the worst case covers them.
        out.resize(start + worstCaseSize(inputSize));
        char* at = out.data() + start;
        if (!headerWritten) {
            at[0] = static_cast<char>(kMagic0);
            at[1] = static_cast<char>(kMagic1);
            at[2] = static_cast<char>(kBlockModeFlag | kMaxWidth);
            at += kHeaderSize;
            headerWritten = true;
        }
        writer.setBuffer(at);
        return at;
    }

    void encode(std::string_view data) {
        std::size_t i = 0;
        if (bytesIn == 0) {
            prefix = byteAt(data, 0);
            i = 1;
        }
        for (; i < data.size(); ++i) {
            const std::uint32_t byte = byteAt(data, i);
            const std::uint32_t key = (prefix << 8) | byte;
            std::size_t slot = 0;
            if (const std::uint32_t code = table.find(key, slot); code != 0) {
                prefix = code;
                continue;
            }
            writer.put(prefix, width);
            // Once the next free code exceeds the widest code of this width, the codes from
            // the next one on are a bit wider: the next code may be the one this step
            // defines. The reader, whose table is a code behind, widens at the same place.
            if (nextCode > (std::uint32_t{1} << width) - 1 && width < kMaxWidth) {
                writer.padGroup(width);
                ++width;
            }
            prefix = byte;
            if (nextCode < kCodeLimit) {
                table.insert(slot, key, nextCode++);
                continue;
            }
            // The table is full: start afresh when the ratio has dropped since the last
            // check.
            const std::size_t taken = bytesIn + i + 1;
            if (taken < checkpoint) continue;
            checkpoint = taken + kCheckGap;
            const std::size_t rat = compressionRatio(taken, kHeaderSize + writer.bytesWritten());
            if (rat >= ratio) {
                ratio = rat;
                continue;
            }
            ratio = 0;
            table.clear();
            writer.put(kClearCode, width);
            writer.padGroup(width);
            width = kInitialWidth;
            nextCode = kFirstFreeCode;
        }
        bytesIn += data.size();
    }
};

LzwEncoder::LzwEncoder(std::size_t sizeHint) : state_(std::make_unique<State>(sizeHint)) {}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::write(std::string_view piece, std::string& out) {
    if (piece.empty() || state_->finished) return;
    const char* codes = state_->reserve(out, piece.size());
    state_->encode(piece);
    out.resize(static_cast<std::size_t>(codes - out.data()) + state_->writer.used());
}

void LzwEncoder::finish(std::string& out) {
    if (state_->finished) return;
    state_->finished = true;
    const char* codes = state_->reserve(out, 0);
    if (state_->bytesIn > 0) state_->writer.put(state_->prefix, state_->width);
    out.resize(static_cast<std::size_t>(codes - out.data()) + state_->writer.finish());
}

std::string lzwCompress(std::string_view data) {
    LzwEncoder encoder(data.size());
    std::string out;
    out.reserve(worstCaseSize(data.size()) + worstCaseSize(0));
    encoder.write(data, out);
    encoder.finish(out);
    return out;
}

std::optional<std::string> lzwDecompressWithStats(std::string_view stream, std::size_t maxOutput,
                                                  LzwStreamStats& stats) {
    stats = {};
    if (stream.size() < kHeaderSize || byteAt(stream, 0) != kMagic0 ||
        byteAt(stream, 1) != kMagic1) {
        return std::nullopt;
    }
    const unsigned flags = byteAt(stream, 2);
    const unsigned maxBits = flags & kMaxBitsMask;
    if ((flags & kReservedFlags) != 0 || maxBits < kInitialWidth || maxBits > kMaxWidth) {
        return std::nullopt;
    }
    stats.maxBits = maxBits;
    const bool blockMode = (flags & kBlockModeFlag) != 0;
    const std::uint32_t firstFree = blockMode ? kFirstFreeCode : kClearCode;
    const std::uint32_t codeLimit = std::uint32_t{1} << maxBits;

    CodeReader reader(stream.substr(kHeaderSize));
    std::vector<OutputSpan> entries;  // the codes from firstFree on
    entries.reserve(std::min<std::size_t>(codeLimit - firstFree, stream.size()));
    std::string out;
    unsigned width = kInitialWidth;
    bool havePrevious = false;
    OutputSpan previous;

    for (;;) {
        const auto nextCode = static_cast<std::uint32_t>(firstFree + entries.size());
        if (nextCode > (std::uint32_t{1} << width) - 1 && width < maxBits) {
            reader.skipGroupRest(width);
            ++width;
            ++stats.widthChanges;
        }
        std::uint32_t code = 0;
        if (!reader.read(width, code)) break;
        ++stats.codes;

        if (blockMode && code == kClearCode) {
            ++stats.clears;
            reader.skipGroupRest(width);
            width = kInitialWidth;
            entries.clear();
            havePrevious = false;
            continue;
        }

        // A literal, a code in the table, or the code being defined by this very step (the
        // previous string and its own first byte); anything else is damage.
        OutputSpan source{0, 1};
        if (code >= 256) {
            if (code < nextCode) {
                source = entries[code - firstFree];
            } else if (code == nextCode && havePrevious) {
                source = {previous.start, previous.length + 1};
            } else {
                return std::nullopt;
            }
        }
        const std::size_t start = out.size();
        if (source.length > maxOutput - start) return std::nullopt;
        out.resize(start + source.length);
        if (code < 256) {
            out[start] = static_cast<char>(code);
        } else {
            // Byte by byte: a string defined by its own code ends with the byte written first.
            char* d = out.data();
            for (std::size_t k = 0; k < source.length; ++k)
                d[start + k] = d[source.start + k];
        }

        if (havePrevious && nextCode < codeLimit)
            entries.push_back({previous.start, previous.length + 1});
        previous = {start, source.length};
        havePrevious = true;
    }
    return out;
}

std::optional<std::string> lzwDecompress(std::string_view stream, std::size_t maxOutput) {
    LzwStreamStats stats;
    return lzwDecompressWithStats(stream, maxOutput, stats);
}

}  // namespace qel
