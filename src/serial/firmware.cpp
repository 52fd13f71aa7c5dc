#include "serial/firmware.h"

#include <algorithm>
#include <cstdio>

#include "bytes/checksum.h"
#include "bytes/crc16.h"
#include "bytes/lzw.h"

namespace qel {

namespace {

constexpr std::string_view kOk = "OK";

void putLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Block numbers as the status line shows them: with a blank in front.
std::string numbered(std::size_t n) {
    return ' ' + std::to_string(n);
}

// Raises RTS and DTR for the upgrade and lowers them again however it ends.
class ControlLines {
public:
    explicit ControlLines(Link& link) : link_(link) {
        link_.setRts(true);
        link_.setDtr(true);
    }
    ~ControlLines() {
        link_.setRts(false);
        link_.setDtr(false);
    }
    ControlLines(const ControlLines&) = delete;
    ControlLines& operator=(const ControlLines&) = delete;

private:
    Link& link_;
};

// What a block's failed wait means.
ErrorCode blockFailure(char answer) {
    switch (answer) {
        case 'B':
            return ErrorCode::FirmwareCrcError;
        case 'D':
            return ErrorCode::FirmwareDecompressError;
        default:
            return ErrorCode::FirmwareWriteError;
    }
}

class Upgrade {
public:
    Upgrade(Link& link, TransferObserver& observer, const Timing& timing,
            const FirmwareRequest& request)
        : link_(link),
          observer_(observer),
          timing_(timing),
          request_(request),
          exchange_(link, observer, timing) {}

    FirmwareResult run() {
        result_.blockCount = firmwareBlockCount(request_.firmware.size());
        if (request_.firmware.empty()) {
            result_.status = Error{ErrorCode::EmptyFirmware, "a firmware file of 0 bytes"};
            return result_;
        }
        const ControlLines lines(link_);
        if (Status st = handOverRoutine(); !st) return stopBeforeBlocks(st);
        for (std::size_t i = 0; i < result_.blockCount; ++i) {
            if (Status st = sendBlock(i); !st) return stopAtBlock(st, i);
            ++result_.blocksWritten;
        }
        endRoutine();
        return result_;
    }

private:
    // "CBEG", the routine announced and sent, the pause while it starts, the erase choice.
    Status handOverRoutine() {
        Status st = exchange_.sendCommand("CBEG", kOk);
        if (!st) return st;
        observer_.status("Firmware upgrade");
        char announce[10];
        std::snprintf(announce, sizeof announce, "D%08zX", request_.routine.size());
        st = exchange_.sendCommand(announce, kOk);
        if (!st) return st;
        observer_.status("Send soubroutine");
        exchange_.clearReceived();
        std::string routine = request_.routine;
        routine += static_cast<char>(blockChecksum(request_.routine));
        st = exchange_.send(routine);
        if (st) st = exchange_.waitForText(kOk, timing_.timeout);
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            return withDetail(st, "no answer to the flash routine");
        }
        if (!st) return st;
        observer_.status("Wait Vandu");
        link_.pause(timing_.timeout);
        if (link_.cancelled()) return ErrorCode::TransferCancelled;
        eraseChoiceSent_ = true;
        return exchange_.sendCommand(request_.eraseAll ? "YY" : "NN", "A");
    }

    // A cancel takes effect between blocks: the routine would take an end marker sent in the
    // middle of a block for the block's bytes and never stop. Until the block has ended, each
    // step that a cancel cut short is done again.
    template <class Step>
    Status completing(Step step) {
        for (;;) {
            Status st = step();
            if (st.error() != ErrorCode::TransferCancelled || !link_.cancelled()) return st;
            cancelRequested_ = true;
            link_.resetCancel();
        }
    }

    Status sendBlock(std::size_t i) {
        if (cancelRequested_ || link_.cancelled()) return ErrorCode::TransferCancelled;
        const std::string of = numbered(i + 1) + " of";
        const std::string count = numbered(result_.blockCount);
        observer_.status("Compress" + of + " " + count);
        const std::string compressed = compressFirmwareBlock(request_.firmware, i);
        const std::string header = firmwareBlockHeader(
            static_cast<std::uint32_t>(compressed.size()), firmwareBlockTarget(i));
        if (Status st = completing([&] { return exchange_.send(header); }); !st) return st;
        const std::uint16_t crc = crc16(compressed);
        observer_.status("Send" + of + count);
        if (Status st = sendPieces(compressed, i); !st) return st;
        // Whatever came before belongs to no answer of this block.
        exchange_.clearReceived();
        const std::string crcBytes{static_cast<char>(crc >> 8), static_cast<char>(crc & 0xFF)};
        if (Status st = completing([&] { return exchange_.send(crcBytes); }); !st) return st;
        for (const char answer : {'B', 'D', 'F'}) {
            if (answer == 'D') observer_.status("Decompress" + of + count);
            if (answer == 'F') observer_.status("Write" + of + count);
            const std::string_view expected(&answer, 1);
            Status st =
                completing([&] { return exchange_.waitForText(expected, timing_.blockWait); });
            if (st.error() == ErrorCode::NoAnswer) {
                return Error{blockFailure(answer),
                             "no \"" + std::string(expected) + "\" for block" + of + count};
            }
            if (!st) return st;
            // The three answers may come together: each wait looks past the one before.
            exchange_.dropThrough(expected);
        }
        return {};
    }

    // The compressed block in pieces of the port's output-queue size; the bytes field counts
    // the compressed bytes of every block so far, the progress follows the file.
    Status sendPieces(std::string_view compressed, std::size_t i) {
        const std::size_t blockStart = i * kFirmwareBlockSize;
        const std::size_t blockLength =
            std::min(kFirmwareBlockSize, request_.firmware.size() - blockStart);
        const std::size_t pieceSize = std::clamp<std::size_t>(
            link_.outputQueueSize(), 1, std::max<std::size_t>(1, compressed.size()));
        for (std::size_t offset = 0; offset < compressed.size(); offset += pieceSize) {
            const std::string_view piece = compressed.substr(offset, pieceSize);
            if (Status st = completing([&] { return exchange_.send(piece); }); !st) return st;
            sentBytes_ += piece.size();
            observer_.bytesShown(std::to_string(sentBytes_));
            // A piece that is slow to leave does not stop the block: its answers decide.
            const Millis onLine = lineTime(piece.size(), kDvb98Speed);
            (void)completing([&]() -> Status {
                if (link_.drain(timing_.blockWait + onLine) || !link_.cancelled()) return {};
                return ErrorCode::TransferCancelled;
            });
            const std::size_t done = offset + piece.size();
            observer_.progress(blockStart + blockLength * done / compressed.size(),
                               request_.firmware.size());
        }
        return {};
    }

    // The end marker, sent even after a cancel: the routine must not wait for more blocks.
    void endRoutine() {
        if (link_.cancelled() || cancelRequested_) {
            result_.cancelled = true;
            link_.resetCancel();
        }
        if (link_.write(kFirmwareEndMarker) && link_.drain(timing_.timeout)) {
            result_.endMarkerSent = true;
        }
        observer_.status("Com open");
    }

    FirmwareResult stopBeforeBlocks(const Status& st) {
        if (st.error() == ErrorCode::TransferCancelled && eraseChoiceSent_) {
            endRoutine();
            result_.status = Error{ErrorCode::FirmwareIncomplete, "cancelled before block 1"};
            return result_;
        }
        result_.cancelled = link_.cancelled();
        if (st.error() != ErrorCode::TransferCancelled) observer_.status("Error");
        result_.status = st;
        return result_;
    }

    FirmwareResult stopAtBlock(const Status& st, std::size_t i) {
        endRoutine();
        if (st.error() == ErrorCode::TransferCancelled) {
            result_.status = Error{ErrorCode::FirmwareIncomplete,
                                   "cancelled at block " + std::to_string(i + 1) + " of " +
                                       std::to_string(result_.blockCount)};
        } else {
            result_.status = st;
        }
        return result_;
    }

    Link& link_;
    TransferObserver& observer_;
    const Timing& timing_;
    const FirmwareRequest& request_;
    Exchange exchange_;
    FirmwareResult result_;
    std::size_t sentBytes_ = 0;
    bool eraseChoiceSent_ = false;
    bool cancelRequested_ = false;
};

}  // namespace

std::size_t firmwareBlockCount(std::size_t size) {
    return (size + kFirmwareBlockSize - 1) / kFirmwareBlockSize;
}

std::uint32_t firmwareBlockTarget(std::size_t index) {
    const std::size_t slot = index <= 8 ? index + 1 : index - 8;
    return static_cast<std::uint32_t>(slot * kFirmwareBlockSize + 1);
}

std::string firmwareBlockHeader(std::uint32_t compressedLength, std::uint32_t target) {
    std::string header;
    putLe32(header, compressedLength);
    putLe32(header, target);
    return header;
}

std::string compressFirmwareBlock(std::string_view firmware, std::size_t index) {
    const std::size_t start = index * kFirmwareBlockSize;
    if (start >= firmware.size()) return lzwCompress({});
    return lzwCompress(firmware.substr(start, kFirmwareBlockSize));
}

FirmwareResult upgradeFirmware(Link& link, TransferObserver& observer, const Timing& timing,
                               const FirmwareRequest& request) {
    return Upgrade(link, observer, timing, request).run();
}

}  // namespace qel
