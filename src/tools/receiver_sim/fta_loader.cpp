#include "receiver_sim/fta_loader.h"

#include <algorithm>
#include <cstdint>

#include "bytes/conversions.h"
#include "bytes/crc16.h"
#include "serial/loader_frames.h"

namespace qel {

namespace {

// The last 4 hex digits of a loader command are the CRC of the 5 bytes the 10 before spell.
bool loaderCommandCrcRight(std::string_view command) {
    std::string body;
    for (std::size_t i = 1; i < 11; i += 2)
        body += static_cast<char>(hexToDec(command.substr(i, 2)));
    return hexToDec(command.substr(11, 4)) == crc16(body);
}

}  // namespace

std::optional<std::string> decodeLoaderDataFrame(std::string_view frame) {
    std::string payload;
    std::size_t i = 0;
    auto nextByte = [&](std::uint8_t& out) {
        if (i >= frame.size()) return false;
        auto b = static_cast<std::uint8_t>(frame[i++]);
        if (b == 0x18) {
            if (i >= frame.size()) return false;
            const auto escaped = static_cast<std::uint8_t>(frame[i++] ^ 0x40);
            if (!loaderEscapes(escaped)) return false;
            b = escaped;
        }
        out = b;
        return true;
    };
    std::uint16_t crc = 0;
    for (;;) {
        if (i + 1 < frame.size() && frame[i] == '\x18' && frame[i + 1] == '\x6B') {
            i += 2;
            break;
        }
        std::uint8_t b = 0;
        if (!nextByte(b)) return std::nullopt;
        payload += static_cast<char>(b);
        crc = crc16Step(crc, b);
    }
    crc = crc16Step(crc, 0x6B);
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    if (!nextByte(high) || !nextByte(low) || i != frame.size()) return std::nullopt;
    if (((high << 8) | low) != crc) return std::nullopt;
    return payload;
}

FtaLoader::FtaLoader(SimShared& shared) : SimDialect(shared) {
    setFlash({});
}

void FtaLoader::setFlash(std::string image) {
    image.resize(kSimFlashSize, '\xFF');
    flash_ = std::move(image);
}

void FtaLoader::lineReset() {
    awake_ = false;
    wakeUpArmed_ = true;
    blocksStarted_ = false;
    frameExpected_ = false;
    blockOffset_.reset();
    lastBlockGood_ = true;
}

void FtaLoader::wakeUp(std::vector<ReplyPiece>& replies) {
    SimFaults& faults = shared_.faults;
    ++wakeUpPairs_;
    // A pair the loader has answered since its last command or frame goes unheard.
    if (!wakeUpArmed_) return;
    wakeUpArmed_ = false;
    if (!awake_) {
        faults.recognised(SimCommand::LoaderWakeUp);
        const std::size_t before = replies.size();
        faults.answer(SimCommand::LoaderWakeUp, "\x46\x2A\x18\x41\x04", replies);
        // A loader that stays silent has not woken up: it listens to nothing but the pair.
        awake_ = replies.size() > before;
        wakeUpArmed_ = !awake_;
    } else if (!blocksStarted_) {
        faults.recognised(SimCommand::LoaderWait);
        faults.answer(SimCommand::LoaderWait, "\x2A\x18\x41\x0A", replies);
    } else if (lastBlockGood_) {
        faults.answer(SimCommand::LoaderBlock, "\x2A\x18\x41\x0A", replies);
    }
}

void FtaLoader::takeCommand(std::string_view text) {
    commands_.emplace_back(text);
    wakeUpArmed_ = true;
    std::uint8_t body[5];
    for (std::size_t i = 0; i < 5; ++i)
        body[i] = static_cast<std::uint8_t>(hexToDec(text.substr(1 + 2 * i, 2)));
    blockOffset_.reset();
    frameExpected_ = false;
    switch (body[0]) {
        case 0x04:
            // A frame with what the loader is to set up next.
            frameExpected_ = true;
            break;
        case 0x0A:
            // Block command i, body 0A 00 (4 i) 00 00: the next frame is the i-th kilobyte.
            frameExpected_ = true;
            if (body[1] == 0 && body[3] == 0 && body[4] == 0 && body[2] % 4 == 0 &&
                body[2] / 4u < kSimFlashSize / kFtaBlockSize) {
                blockOffset_ = std::size_t{body[2]} / 4 * kFtaBlockSize;
            }
            break;
        case 0x0B:
            // 0B 00 00 00 00 ends the loader's work: the receiver starts its firmware.
            if (body[1] == 0 && body[2] == 0 && body[3] == 0 && body[4] == 0) {
                awake_ = false;
                blocksStarted_ = false;
            }
            break;
        default:
            break;
    }
}

void FtaLoader::takeFrame(std::string_view frame) {
    frameExpected_ = false;
    wakeUpArmed_ = true;
    // A block command is also sent before the loader's short set-up frames; only a frame of
    // at least a kilobyte is a block.
    const bool block = blockOffset_.has_value() && frame.size() >= kFtaBlockSize;
    std::optional<std::string> payload;
    if (block) {
        shared_.faults.recognised(SimCommand::LoaderBlock);
        blocksStarted_ = true;
        if (!shared_.faults.hits(SimCommand::LoaderBlock, SimFault::BadCrc)) {
            payload = decodeLoaderDataFrame(frame);
        }
        lastBlockGood_ = payload && payload->size() == kFtaBlockSize;
        if (lastBlockGood_) {
            flash_.replace(*blockOffset_, kFtaBlockSize, *payload);
            shared_.stored(SimStore::Flash);
        }
    } else {
        payload = decodeLoaderDataFrame(frame);
    }
    blockOffset_.reset();
    if (payload) {
        payloads_.push_back(std::move(*payload));
    } else {
        ++refusedFrames_;
    }
}

void FtaLoader::run(std::vector<ReplyPiece>& replies) {
    constexpr std::size_t kCommandFrame = 20;
    constexpr std::size_t kLongestFrame = 2 * kFtaBlockSize + 8;
    for (;;) {
        const std::string_view in = shared_.pending();
        if (in.empty()) return;
        if (frameExpected_) {
            // A data frame ends two bytes (each perhaps escaped) after 18 6B.
            const std::size_t end = in.find("\x18\x6B");
            if (end == std::string_view::npos || end > kLongestFrame) {
                if (in.size() <= kLongestFrame) return;
                // Whatever this is, it is no frame: the loader gives up on it.
                ++refusedFrames_;
                frameExpected_ = false;
                blockOffset_.reset();
                shared_.consume(kLongestFrame);
                continue;
            }
            std::size_t size = end + 2;
            for (int crcByte = 0; crcByte < 2; ++crcByte) {
                if (size >= in.size()) return;
                size += in[size] == '\x18' ? 2 : 1;
            }
            if (size > in.size()) return;
            takeFrame(in.substr(0, size));
            shared_.consume(size);
            continue;
        }
        if (in[0] == kLoaderWakeUp[0]) {
            if (in.size() < kLoaderWakeUp.size()) return;
            if (in.substr(0, kLoaderWakeUp.size()) == kLoaderWakeUp) {
                shared_.consume(kLoaderWakeUp.size());
                wakeUp(replies);
                continue;
            }
            shared_.consume(1);  // a lone 91
            continue;
        }
        const std::size_t headerPart = std::min(in.size(), kLoaderFrameHeader.size());
        if (in.substr(0, headerPart) == kLoaderFrameHeader.substr(0, headerPart)) {
            if (in.size() < kCommandFrame) return;
            const std::string_view text = in.substr(kLoaderFrameHeader.size(), 15);
            if (!awake_) {
                // Asleep: not listening.
            } else if (in.substr(kCommandFrame - kLoaderFrameTrailer.size(), 2) ==
                           kLoaderFrameTrailer &&
                       isLoaderCommand(text) && loaderCommandCrcRight(text)) {
                takeCommand(text);
            } else {
                ++refusedFrames_;
            }
            shared_.consume(kCommandFrame);
            continue;
        }
        // Outside a frame the loader passes over anything else (the 4F 4F, 18 and 08 runs of
        // the program's sequences).
        shared_.consume(1);
    }
}

}  // namespace qel
