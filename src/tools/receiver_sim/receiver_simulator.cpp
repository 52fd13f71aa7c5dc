#include "receiver_sim/receiver_simulator.h"

#include <algorithm>
#include <cstdint>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "bytes/crc16.h"
#include "files/g98_file.h"
#include "serial/download.h"
#include "serial/loader_frames.h"

namespace qel {

namespace {

struct FaultEntry {
    SimFault fault;
    std::string_view name;
    SimCommand defaultCommand;
};

constexpr FaultEntry kFaults[] = {
    {SimFault::Silence, "silence", SimCommand::Handshake},
    {SimFault::Late, "late", SimCommand::Handshake},
    {SimFault::Split, "split", SimCommand::Handshake},
    {SimFault::Buried, "buried", SimCommand::Handshake},
    {SimFault::WrongChecksum, "wrong-checksum", SimCommand::ChannelData},
    {SimFault::CutShort, "cut-short", SimCommand::ChannelData},
    {SimFault::DropByte, "drop", SimCommand::ChannelData},
    {SimFault::FlipByte, "flip", SimCommand::ChannelData},
    {SimFault::ExtraBytes, "extra", SimCommand::ChannelData},
    {SimFault::NotHex, "not-hex", SimCommand::Size},
    {SimFault::HangUp, "hang-up", SimCommand::ChannelData},
};

struct CommandEntry {
    SimCommand command;
    std::string_view name;
};

constexpr CommandEntry kCommands[] = {
    {SimCommand::Handshake, "CBEG"},  {SimCommand::Size, "A"},
    {SimCommand::ChannelData, "B"},   {SimCommand::Settings, "G"},
    {SimCommand::ChannelUpload, "C"}, {SimCommand::SettingsUpload, "H"},
    {SimCommand::SystemFont, "F"},    {SimCommand::TeletextFont, "V"},
    {SimCommand::Picture, "O"},       {SimCommand::PictureSlot, "CBEG4"},
    {SimCommand::Firmware, "D"},
};

constexpr std::string_view kOk = "OK";

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The length in an upload header: 8 hex digits; nullopt when they are not.
std::optional<std::size_t> headerLength(std::string_view digits) {
    if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) return std::nullopt;
    return static_cast<std::size_t>(static_cast<std::uint32_t>(hexToDec(digits)));
}

// The last 4 hex digits of a loader command are the CRC of the 5 bytes the 10 before spell.
bool loaderCommandCrcRight(std::string_view command) {
    std::string body;
    for (std::size_t i = 1; i < 11; i += 2)
        body += static_cast<char>(hexToDec(command.substr(i, 2)));
    return hexToDec(command.substr(11, 4)) == crc16(body);
}

std::string withChecksum(std::string_view block) {
    std::string out(block);
    out += static_cast<char>(blockChecksum(block));
    return out;
}

}  // namespace

std::string_view faultName(SimFault fault) {
    for (const FaultEntry& e : kFaults) {
        if (e.fault == fault) return e.name;
    }
    return {};
}

std::optional<SimFault> faultNamed(std::string_view name) {
    for (const FaultEntry& e : kFaults) {
        if (e.name == name) return e.fault;
    }
    return std::nullopt;
}

std::string_view commandName(SimCommand command) {
    for (const CommandEntry& e : kCommands) {
        if (e.command == command) return e.name;
    }
    return {};
}

std::optional<SimCommand> commandNamed(std::string_view name) {
    for (const CommandEntry& e : kCommands) {
        if (e.name == name) return e.command;
    }
    return std::nullopt;
}

SimCommand defaultCommandOf(SimFault fault) {
    for (const FaultEntry& e : kFaults) {
        if (e.fault == fault) return e.defaultCommand;
    }
    return SimCommand::Handshake;
}

std::optional<FaultPlan> parseFaultPlan(std::string_view text) {
    const std::size_t colon = text.find(':');
    const std::optional<SimFault> fault = faultNamed(text.substr(0, colon));
    if (!fault) return std::nullopt;
    FaultPlan plan{*fault, defaultCommandOf(*fault), 0};
    if (colon == std::string_view::npos) return plan;
    std::string_view rest = text.substr(colon + 1);
    const std::size_t second = rest.find(':');
    const std::optional<SimCommand> command = commandNamed(rest.substr(0, second));
    if (!command) return std::nullopt;
    plan.command = *command;
    if (second == std::string_view::npos) return plan;
    const std::string_view count = rest.substr(second + 1);
    if (count.empty() || count.size() > 6 ||
        !std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    plan.occurrence = static_cast<int>(decimalValue(count));
    return plan;
}

std::string faultNames() {
    std::string names;
    for (const FaultEntry& e : kFaults) {
        if (!names.empty()) names += ", ";
        names += e.name;
    }
    return names;
}

ReceiverSimulator::ReceiverSimulator() {
    setSettingsBlock({});
}

void ReceiverSimulator::setSettingsBlock(std::string block) {
    block.resize(kSettingsBlockSize, '\0');
    settings_ = std::move(block);
}

void ReceiverSimulator::setDialect(Dialect dialect) {
    dialect_ = dialect;
    lineReset();
}

void ReceiverSimulator::lineReset() {
    input_.clear();
    inputStart_ = 0;
    state_ = State::Idle;
    pictureAnnounced_ = false;
    block_.clear();
}

std::vector<ReplyPiece> ReceiverSimulator::take(std::string_view bytes) {
    input_ += bytes;
    std::vector<ReplyPiece> replies;
    if (dialect_ == Dialect::Dvb98) {
        takeDvb98(replies);
    } else {
        takeLoader();
    }
    // Keep the used bytes from piling up in front of the unused ones.
    if (inputStart_ > 4096 && inputStart_ * 2 > input_.size()) {
        input_.erase(0, inputStart_);
        inputStart_ = 0;
    }
    return replies;
}

void ReceiverSimulator::recognised(SimCommand command) {
    ++arrivals_[static_cast<std::size_t>(command)];
    log_.emplace_back(commandName(command));
}

const FaultPlan* ReceiverSimulator::faultFor(SimCommand command) const {
    const int arrival = arrivals_[static_cast<std::size_t>(command)];
    for (const FaultPlan& plan : faults_) {
        if (plan.command == command && (plan.occurrence == 0 || plan.occurrence == arrival)) {
            return &plan;
        }
    }
    return nullptr;
}

void ReceiverSimulator::answer(SimCommand command, std::string reply,
                               std::vector<ReplyPiece>& replies) {
    const FaultPlan* plan = faultFor(command);
    if (plan == nullptr) {
        replies.push_back({Millis{0}, std::move(reply), false});
        return;
    }
    for (ReplyPiece& piece : applyFault(plan->fault, std::move(reply)))
        replies.push_back(std::move(piece));
}

std::vector<ReplyPiece> ReceiverSimulator::applyFault(SimFault fault, std::string reply) const {
    const std::size_t middle = reply.size() / 2;
    switch (fault) {
        case SimFault::Silence:
            return {};
        case SimFault::Late:
            return {{lateBy_, std::move(reply), false}};
        case SimFault::Split:
            if (reply.size() < 2) break;
            return {{Millis{0}, reply.substr(0, middle), false},
                    {splitGap_, reply.substr(middle), false}};
        case SimFault::Buried:
            reply = std::string("\xFE\x01xO", 4) + reply + std::string("K\x00", 2);
            break;
        case SimFault::WrongChecksum:
            if (!reply.empty()) reply.back() = static_cast<char>(reply.back() ^ 0xFF);
            break;
        case SimFault::CutShort:
            reply.resize(middle);
            if (reply.empty()) return {};
            break;
        case SimFault::DropByte:
            if (!reply.empty()) reply.erase(middle, 1);
            break;
        case SimFault::FlipByte:
            if (!reply.empty()) reply[middle] = static_cast<char>(reply[middle] ^ 0x01);
            break;
        case SimFault::ExtraBytes:
            reply += std::string(
                "\x00\xFF"
                "extra",
                7);
            break;
        case SimFault::NotHex:
            reply = "ZQ!";
            break;
        case SimFault::HangUp:
            reply.resize(middle);
            return {{Millis{0}, std::move(reply), true}};
    }
    return {{Millis{0}, std::move(reply), false}};
}

void ReceiverSimulator::startCollecting(SimCommand command, std::size_t size) {
    state_ = State::Collecting;
    collecting_ = command;
    collectSize_ = size;
    block_.clear();
}

void ReceiverSimulator::collect(std::vector<ReplyPiece>& replies) {
    const std::size_t wanted = collectSize_ + 1 - block_.size();
    const std::size_t have = std::min(wanted, input_.size() - inputStart_);
    block_.append(input_, inputStart_, have);
    inputStart_ += have;
    if (block_.size() < collectSize_ + 1) return;
    state_ = State::Idle;
    const std::string_view data(block_.data(), collectSize_);
    // A block with a wrong checksum is dropped without an answer.
    if (static_cast<std::uint8_t>(block_.back()) != blockChecksum(data)) return;
    switch (collecting_) {
        case SimCommand::ChannelUpload:
            channels_.assign(data);
            break;
        case SimCommand::SettingsUpload:
            settings_.assign(data);
            break;
        case SimCommand::SystemFont:
            systemFont_.assign(data);
            break;
        case SimCommand::TeletextFont:
            teletextFont_.assign(data);
            break;
        case SimCommand::PictureSlot:
            picture_.assign(data);
            break;
        case SimCommand::Firmware:
            flashRoutine_.assign(data);
            break;
        default:
            break;
    }
    answer(collecting_, std::string(kOk), replies);
}

void ReceiverSimulator::takeDvb98(std::vector<ReplyPiece>& replies) {
    for (;;) {
        if (state_ == State::Collecting) {
            collect(replies);
            if (state_ == State::Collecting) return;
            continue;
        }
        const std::string_view in = std::string_view(input_).substr(inputStart_);
        if (in.empty()) return;
        switch (in[0]) {
            case 'C': {
                if (in.size() < 4 && std::string_view("CBEG").substr(0, in.size()) == in) return;
                if (in.substr(0, 4) == "CBEG") {
                    if (pictureAnnounced_) {
                        if (in.size() < 5) return;
                        if (in[4] == '4' || in[4] == '5') {
                            inputStart_ += 5;
                            pictureAnnounced_ = false;
                            pictureSlot_ = in[4] - '0';
                            recognised(SimCommand::PictureSlot);
                            answer(SimCommand::PictureSlot, std::string(kOk), replies);
                            startCollecting(SimCommand::PictureSlot, kPictureSize);
                            continue;
                        }
                    }
                    inputStart_ += 4;
                    pictureAnnounced_ = false;
                    recognised(SimCommand::Handshake);
                    answer(SimCommand::Handshake, std::string(kOk), replies);
                    continue;
                }
                const std::string_view digits = in.substr(1, 8);
                if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) {
                    ++inputStart_;  // a stray "C"
                    continue;
                }
                if (digits.size() < 8) return;
                inputStart_ += 9;
                recognised(SimCommand::ChannelUpload);
                const std::size_t length = *headerLength(digits);
                if (length > static_cast<std::size_t>(kMaxChannelDataSize)) continue;
                answer(SimCommand::ChannelUpload, std::string(kOk), replies);
                startCollecting(SimCommand::ChannelUpload, length);
                continue;
            }
            case 'D': {
                const std::string_view digits = in.substr(1, 8);
                if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) {
                    ++inputStart_;
                    continue;
                }
                if (digits.size() < 8) return;
                inputStart_ += 9;
                recognised(SimCommand::Firmware);
                const std::size_t length = *headerLength(digits);
                if (length > kMaxFlashRoutineSize) continue;
                answer(SimCommand::Firmware, std::string(kOk), replies);
                startCollecting(SimCommand::Firmware, length);
                continue;
            }
            case 'A':
                ++inputStart_;
                recognised(SimCommand::Size);
                answer(SimCommand::Size, toHex(static_cast<std::uint32_t>(channels_.size())),
                       replies);
                continue;
            case 'B':
                ++inputStart_;
                recognised(SimCommand::ChannelData);
                answer(SimCommand::ChannelData, withChecksum(channels_), replies);
                continue;
            case 'G':
                ++inputStart_;
                recognised(SimCommand::Settings);
                answer(SimCommand::Settings, withChecksum(settings_), replies);
                continue;
            case 'H':
                ++inputStart_;
                recognised(SimCommand::SettingsUpload);
                startCollecting(SimCommand::SettingsUpload, kSettingsBlockSize);
                continue;
            case 'F':
                ++inputStart_;
                recognised(SimCommand::SystemFont);
                startCollecting(SimCommand::SystemFont, kSystemFontSize);
                continue;
            case 'V':
                ++inputStart_;
                recognised(SimCommand::TeletextFont);
                startCollecting(SimCommand::TeletextFont, kTeletextFontSize);
                continue;
            case 'O':
                ++inputStart_;
                recognised(SimCommand::Picture);
                pictureAnnounced_ = true;
                answer(SimCommand::Picture, std::string(kOk), replies);
                continue;
            default:
                ++inputStart_;  // not a command: the receiver ignores it
                continue;
        }
    }
}

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

void ReceiverSimulator::takeLoader() {
    constexpr std::size_t kCommandFrame = 20;
    constexpr std::size_t kLongestFrame = 2 * kFtaBlockSize + 8;
    for (;;) {
        const std::string_view in = std::string_view(input_).substr(inputStart_);
        if (in.empty()) return;
        if (in.substr(0, kLoaderWakeUp.size()) == kLoaderWakeUp) {
            inputStart_ += kLoaderWakeUp.size();
            continue;
        }
        if (in.substr(0, kLoaderFrameHeader.size()) == kLoaderFrameHeader.substr(0, in.size()) &&
            in.size() < kCommandFrame) {
            return;
        }
        if (in.substr(0, kLoaderFrameHeader.size()) == kLoaderFrameHeader) {
            const std::string_view command = in.substr(kLoaderFrameHeader.size(), 15);
            if (in.substr(kCommandFrame - 2, 2) == kLoaderFrameTrailer &&
                isLoaderCommand(command) && loaderCommandCrcRight(command)) {
                loaderCommands_.emplace_back(command);
            } else {
                ++refusedLoaderFrames_;
            }
            inputStart_ += kCommandFrame;
            continue;
        }
        // A data frame ends two bytes (each perhaps escaped) after 18 6B.
        const std::size_t end = in.find("\x18\x6B");
        if (end == std::string_view::npos) {
            if (in.size() > kLongestFrame) {
                ++refusedLoaderFrames_;
                inputStart_ += in.size();
            }
            return;
        }
        std::size_t size = end + 2;
        for (int crcByte = 0; crcByte < 2; ++crcByte) {
            if (size >= in.size()) return;
            size += in[size] == '\x18' ? 2 : 1;
        }
        if (size > in.size()) return;
        if (std::optional<std::string> payload = decodeLoaderDataFrame(in.substr(0, size))) {
            loaderPayloads_.push_back(std::move(*payload));
        } else {
            ++refusedLoaderFrames_;
        }
        inputStart_ += size;
    }
}

}  // namespace qel
