#include "receiver_sim/flash_routine.h"

#include <optional>

#include "bytes/crc16.h"
#include "bytes/lzw.h"

namespace qel {

namespace {

std::uint32_t le32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    return value;
}

}  // namespace

void FlashRoutine::run(std::vector<ReplyPiece>& replies) {
    SimFaults& faults = shared_.faults;
    for (;;) {
        const std::string_view in = shared_.pending();
        switch (state_) {
            case State::Off:
                return;
            case State::AwaitErase:
                if (in.size() < 2) return;
                if (in.substr(0, 2) != "NN" && in.substr(0, 2) != "YY") {
                    shared_.consume(1);
                    continue;
                }
                shared_.consume(2);
                faults.recognised(SimCommand::EraseChoice);
                erasedAll_ = in[0] == 'Y';
                flash_.assign(kSimFirmwareFlashSize, '\xFF');
                firmware_.clear();
                log_.clear();
                ended_ = false;
                faults.answer(SimCommand::EraseChoice, "A", replies);
                state_ = State::AwaitHeader;
                continue;
            case State::AwaitHeader: {
                if (in.size() < 4) return;
                const std::uint32_t length = le32(in);
                if (length == 0) {  // the end marker: the receiver starts its new firmware
                    shared_.consume(4);
                    state_ = State::Off;
                    ended_ = true;
                    shared_.stored(SimStore::Firmware);
                    return;
                }
                if (in.size() < 8) return;
                shared_.consume(8);
                if (length > kSimMaxCompressedBlock) {
                    // No block is that long: the routine gives up, as the receiver would hang.
                    state_ = State::Off;
                    return;
                }
                faults.recognised(SimCommand::FirmwareBlock);
                blockLength_ = length;
                blockTarget_ = le32(in.substr(4));
                state_ = State::Block;
                continue;
            }
            case State::Block: {
                if (in.size() < blockLength_ + 2) return;
                const std::string_view data = in.substr(0, blockLength_);
                const auto crc =
                    static_cast<std::uint16_t>(static_cast<std::uint8_t>(in[blockLength_]) << 8 |
                                               static_cast<std::uint8_t>(in[blockLength_ + 1]));
                block(data, crc, replies);
                shared_.consume(blockLength_ + 2);
                state_ = State::AwaitHeader;
                continue;
            }
        }
    }
}

void FlashRoutine::block(std::string_view data, std::uint16_t crc,
                         std::vector<ReplyPiece>& replies) {
    const SimFaults& faults = shared_.faults;
    // Decompressing and writing a block take the receiver a while.
    const auto answerAfter = [&](std::string_view letter, Millis delay) {
        const std::size_t before = replies.size();
        faults.answer(SimCommand::FirmwareBlock, std::string(letter), replies);
        for (std::size_t i = before; i < replies.size(); ++i)
            replies[i].after += delay;
    };
    SimFirmwareBlock entry;
    entry.target = blockTarget_;
    entry.compressedLength = blockLength_;
    entry.crcOk = crc16(data) == crc && !faults.hits(SimCommand::FirmwareBlock, SimFault::BadCrc);
    if (entry.crcOk) {
        faults.answer(SimCommand::FirmwareBlock, "B", replies);
        const std::optional<std::string> decompressed = lzwDecompress(data, kSimFirmwareBlockSize);
        entry.decompressed = decompressed.has_value() && !decompressed->empty() &&
                             !faults.hits(SimCommand::FirmwareBlock, SimFault::NoDecompress);
        if (entry.decompressed) {
            answerAfter("D", Millis{150});
            const std::size_t at = blockTarget_ - std::size_t{1};
            entry.written = blockTarget_ % kSimFirmwareBlockSize == 1 &&
                            at >= kSimFirmwareBlockSize &&
                            at + decompressed->size() <= flash_.size() &&
                            !faults.hits(SimCommand::FirmwareBlock, SimFault::NoWrite);
            if (entry.written) {
                flash_.replace(at, decompressed->size(), *decompressed);
                firmware_ += *decompressed;
                answerAfter("F", Millis{300});
            }
        }
    }
    log_.push_back(entry);
    shared_.stored(SimStore::Firmware);
}

std::string FlashRoutine::logJson() const {
    std::string json = "{\n  \"erase_all\": ";
    json += erasedAll_ ? "true" : "false";
    json += ",\n  \"ended\": ";
    json += ended_ ? "true" : "false";
    json += ",\n  \"blocks\": [";
    for (std::size_t i = 0; i < log_.size(); ++i) {
        const SimFirmwareBlock& b = log_[i];
        json += i == 0 ? "\n" : ",\n";
        json += "    {\"target\": " + std::to_string(b.target) +
                ", \"compressed_length\": " + std::to_string(b.compressedLength) +
                ", \"crc_ok\": " + (b.crcOk ? "true" : "false") +
                ", \"decompressed\": " + (b.decompressed ? "true" : "false") +
                ", \"written\": " + (b.written ? "true" : "false") + "}";
    }
    json += log_.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return json;
}

}  // namespace qel
