#include "serial/loader_frames.h"

#include "bytes/crc16.h"
#include "serial/transfer_observer.h"

namespace qel {

namespace {

constexpr char kLowerHex[] = "0123456789abcdef";
constexpr std::uint8_t kEscape = 0x18;
constexpr std::uint8_t kFrameEnd = 0x6B;

void appendLowerHex(std::string& out, std::uint8_t byte) {
    out += kLowerHex[byte >> 4];
    out += kLowerHex[byte & 0x0F];
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void appendEscaped(std::string& out, std::uint8_t byte) {
    if (loaderEscapes(byte)) {
        out += static_cast<char>(kEscape);
        out += static_cast<char>(byte ^ 0x40);
    } else {
        out += static_cast<char>(byte);
    }
}

}  // namespace

std::string loaderCommand(const std::array<std::uint8_t, 5>& body) {
    std::string text = "B";
    std::uint16_t crc = 0;
    for (std::uint8_t b : body) {
        appendLowerHex(text, b);
        crc = crc16Step(crc, b);
    }
    appendLowerHex(text, static_cast<std::uint8_t>(crc >> 8));
    appendLowerHex(text, static_cast<std::uint8_t>(crc & 0xFF));
    return text;
}

std::string blockCommand(std::size_t block) {
    return loaderCommand({0x0A, 0x00, static_cast<std::uint8_t>(4 * block), 0x00, 0x00});
}

bool isLoaderCommand(std::string_view command) {
    if (command.size() != 15 || command[0] != 'B') return false;
    for (char c : command.substr(1)) {
        if (!isHexDigit(c)) return false;
    }
    return true;
}

std::string wrapLoaderCommand(std::string_view command) {
    std::string framed;
    framed.reserve(kLoaderFrameHeader.size() + command.size() + kLoaderFrameTrailer.size());
    framed += kLoaderFrameHeader;
    framed += command;
    framed += kLoaderFrameTrailer;
    return framed;
}

bool loaderEscapes(std::uint8_t byte) {
    return byte == 0x11 || byte == 0x13 || byte == 0x18 || byte == 0x91 || byte == 0x93;
}

std::string loaderDataFrame(std::string_view payload) {
    std::string frame;
    frame.reserve(payload.size() + payload.size() / 8 + 6);
    std::uint16_t crc = 0;
    for (char c : payload) {
        const auto byte = static_cast<std::uint8_t>(c);
        crc = crc16Step(crc, byte);
        appendEscaped(frame, byte);
    }
    crc = crc16Step(crc, kFrameEnd);
    frame += static_cast<char>(kEscape);
    frame += static_cast<char>(kFrameEnd);
    appendEscaped(frame, static_cast<std::uint8_t>(crc >> 8));
    appendEscaped(frame, static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

Result<std::vector<std::string>> loaderDataFrames(std::string_view image,
                                                  TransferObserver& observer) {
    if (image.size() != kFtaImageSize) return ErrorCode::WrongFileLength;
    std::vector<std::string> frames;
    frames.reserve(kFtaBlockCount);
    for (std::size_t i = 0; i < kFtaBlockCount; ++i) {
        frames.push_back(loaderDataFrame(image.substr(i * kFtaBlockSize, kFtaBlockSize)));
        // The block number is written with a leading blank, as the old status line had it.
        observer.status("Prepare block  " + std::to_string(i + 1));
    }
    return frames;
}

}  // namespace qel
