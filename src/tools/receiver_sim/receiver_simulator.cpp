#include "receiver_sim/receiver_simulator.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "bytes/crc16.h"
#include "bytes/lzw.h"
#include "files/g98_file.h"
#include "serial/download.h"
#include "serial/loader_frames.h"

namespace qel {

namespace {

struct FaultEntry {
    SimFault fault;
    std::string_view name;
    SimCommand defaultCommand;
    int defaultOccurrence = 0;
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
    {SimFault::Garble, "garble", SimCommand::ChannelUpload},
    {SimFault::MisStore, "mis-store", SimCommand::ChannelUpload},
    {SimFault::NeverWakes, "never-wakes", SimCommand::LoaderWakeUp},
    {SimFault::MissWakeUp, "miss-wake-up", SimCommand::LoaderWait, 1},
    {SimFault::NoBlockAnswer, "no-block-answer", SimCommand::LoaderBlock, 1},
    {SimFault::BadCrc, "bad-crc", SimCommand::LoaderBlock, 1},
    {SimFault::NoDecompress, "no-decompress", SimCommand::FirmwareBlock, 1},
    {SimFault::NoWrite, "no-write", SimCommand::FirmwareBlock, 1},
    {SimFault::Busy, "busy", SimCommand::ChannelUpload},
};

// Faults that change what the receiver takes in rather than what it answers.
bool changesInput(SimFault fault) {
    return fault == SimFault::Garble || fault == SimFault::MisStore || fault == SimFault::BadCrc ||
           fault == SimFault::NoDecompress || fault == SimFault::NoWrite || fault == SimFault::Busy;
}

struct CommandEntry {
    SimCommand command;
    std::string_view name;
};

constexpr CommandEntry kCommands[] = {
    {SimCommand::Handshake, "CBEG"},
    {SimCommand::Size, "A"},
    {SimCommand::ChannelData, "B"},
    {SimCommand::Settings, "G"},
    {SimCommand::ChannelUpload, "C"},
    {SimCommand::SettingsUpload, "H"},
    {SimCommand::SystemFont, "F"},
    {SimCommand::TeletextFont, "V"},
    {SimCommand::Picture, "O"},
    {SimCommand::PictureSlot, "CBEG4"},
    {SimCommand::Firmware, "D"},
    {SimCommand::FlashRoutine, "routine"},
    {SimCommand::EraseChoice, "erase"},
    {SimCommand::FirmwareBlock, "fw-block"},
    {SimCommand::LoaderWakeUp, "wake-up"},
    {SimCommand::LoaderWait, "wait"},
    {SimCommand::LoaderBlock, "block"},
};
static_assert(std::size(kCommands) == kSimCommands);

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

int defaultOccurrenceOf(SimFault fault) {
    for (const FaultEntry& e : kFaults) {
        if (e.fault == fault) return e.defaultOccurrence;
    }
    return 0;
}

std::optional<FaultPlan> parseFaultPlan(std::string_view text) {
    const std::size_t colon = text.find(':');
    const std::optional<SimFault> fault = faultNamed(text.substr(0, colon));
    if (!fault) return std::nullopt;
    FaultPlan plan{*fault, defaultCommandOf(*fault), defaultOccurrenceOf(*fault)};
    if (colon == std::string_view::npos) return plan;
    std::string_view rest = text.substr(colon + 1);
    const std::size_t second = rest.find(':');
    const std::optional<SimCommand> command = commandNamed(rest.substr(0, second));
    if (!command) return std::nullopt;
    plan.command = *command;
    plan.occurrence = 0;
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
    setFlash({});
}

void ReceiverSimulator::setFlash(std::string image) {
    image.resize(kSimFlashSize, '\xFF');
    flash_ = std::move(image);
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
    routine_ = Routine::Off;
    // The loader starts over as when the receiver is powered up again.
    loaderAwake_ = false;
    wakeUpArmed_ = true;
    blocksStarted_ = false;
    frameExpected_ = false;
    blockOffset_.reset();
    lastBlockGood_ = true;
}

std::vector<ReplyPiece> ReceiverSimulator::takeAt(std::string_view bytes,
                                                  std::chrono::steady_clock::time_point arrived) {
    if (busyUntil_ && arrived < *busyUntil_) {
        droppedWhileBusy_ += bytes.size();
        return {};
    }
    busyUntil_.reset();
    arrived_ = arrived;
    std::vector<ReplyPiece> replies = take(bytes);
    arrived_.reset();
    return replies;
}

std::vector<ReplyPiece> ReceiverSimulator::take(std::string_view bytes) {
    input_ += bytes;
    std::vector<ReplyPiece> replies;
    if (dialect_ == Dialect::Dvb98) {
        takeDvb98(replies);
    } else {
        takeLoader(replies);
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
        if (plan.command == command && !changesInput(plan.fault) &&
            (plan.occurrence == 0 || plan.occurrence == arrival)) {
            return &plan;
        }
    }
    return nullptr;
}

bool ReceiverSimulator::hasInputFault(SimCommand command, SimFault fault) const {
    const int arrival = arrivals_[static_cast<std::size_t>(command)];
    return std::any_of(faults_.begin(), faults_.end(), [&](const FaultPlan& plan) {
        return plan.fault == fault && plan.command == command &&
               (plan.occurrence == 0 || plan.occurrence == arrival);
    });
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
        case SimFault::NeverWakes:
        case SimFault::MissWakeUp:
        case SimFault::NoBlockAnswer:
            return {};
        case SimFault::Garble:
        case SimFault::MisStore:
        case SimFault::BadCrc:
        case SimFault::NoDecompress:
        case SimFault::NoWrite:
        case SimFault::Busy:
            break;
        case SimFault::Late:
            return {{lateBy_, std::move(reply), false}};
        case SimFault::Split:
            if (reply.size() < 2) break;
            return {{Millis{0}, reply.substr(0, middle), false},
                    {kSplitGap, reply.substr(middle), false}};
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
    std::string data = block_.substr(0, collectSize_);
    // A block with a wrong checksum is dropped without an answer.
    if (static_cast<std::uint8_t>(block_.back()) != blockChecksum(data) ||
        hasInputFault(collecting_, SimFault::Garble)) {
        return;
    }
    if (hasInputFault(collecting_, SimFault::MisStore) && !data.empty()) {
        data[data.size() / 2] = static_cast<char>(data[data.size() / 2] ^ 0x01);
    }
    switch (collecting_) {
        case SimCommand::ChannelUpload:
            channels_ = std::move(data);
            stored(SimStore::Channels);
            break;
        case SimCommand::SettingsUpload:
            settings_ = std::move(data);
            stored(SimStore::Settings);
            break;
        case SimCommand::SystemFont:
            systemFont_ = std::move(data);
            stored(SimStore::SystemFont);
            break;
        case SimCommand::TeletextFont:
            teletextFont_ = std::move(data);
            stored(SimStore::TeletextFont);
            break;
        case SimCommand::PictureSlot: {
            // Four zero bytes, the file, and the length of both, high byte first.
            const std::size_t framed = data.size() - 2;
            const std::string length{static_cast<char>(framed >> 8), static_cast<char>(framed)};
            if (data.compare(0, 4, std::string(4, '\0')) != 0 || data.substr(framed) != length) {
                return;
            }
            pictures_[pictureSlot_ == 4 ? 0 : 1] = data.substr(4, framed - 4);
            stored(pictureSlot_ == 4 ? SimStore::Picture1 : SimStore::Picture2);
            picture_ = std::move(data);
            break;
        }
        case SimCommand::Firmware:
            // The routine starts: it answers, then waits for the erase choice.
            flashRoutine_ = std::move(data);
            recognised(SimCommand::FlashRoutine);
            answer(SimCommand::FlashRoutine, std::string(kOk), replies);
            routine_ = Routine::AwaitErase;
            return;
        default:
            break;
    }
    answer(collecting_, std::string(kOk), replies);
    // Busy from the "OK" on.
    if (arrived_ && hasInputFault(collecting_, SimFault::Busy)) busyUntil_ = *arrived_ + busyFor_;
}

void ReceiverSimulator::takeDvb98(std::vector<ReplyPiece>& replies) {
    for (;;) {
        if (routine_ != Routine::Off) {
            takeFlashRoutine(replies);
            if (routine_ != Routine::Off) return;
            continue;
        }
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
                            startCollecting(SimCommand::PictureSlot, kSimPictureBlockSize);
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
                startCollecting(SimCommand::SystemFont, kSimSystemFontSize);
                continue;
            case 'V':
                ++inputStart_;
                recognised(SimCommand::TeletextFont);
                startCollecting(SimCommand::TeletextFont, kSimTeletextSize);
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

namespace {

std::uint32_t le32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    return value;
}

}  // namespace

void ReceiverSimulator::takeFlashRoutine(std::vector<ReplyPiece>& replies) {
    for (;;) {
        const std::string_view in = std::string_view(input_).substr(inputStart_);
        switch (routine_) {
            case Routine::Off:
                return;
            case Routine::AwaitErase:
                if (in.size() < 2) return;
                if (in.substr(0, 2) != "NN" && in.substr(0, 2) != "YY") {
                    ++inputStart_;
                    continue;
                }
                inputStart_ += 2;
                recognised(SimCommand::EraseChoice);
                erasedAll_ = in[0] == 'Y';
                firmwareFlash_.assign(kSimFirmwareFlashSize, '\xFF');
                firmware_.clear();
                firmwareLog_.clear();
                firmwareEnded_ = false;
                answer(SimCommand::EraseChoice, "A", replies);
                routine_ = Routine::AwaitHeader;
                continue;
            case Routine::AwaitHeader: {
                if (in.size() < 4) return;
                const std::uint32_t length = le32(in);
                if (length == 0) {  // the end marker: the receiver starts its new firmware
                    inputStart_ += 4;
                    routine_ = Routine::Off;
                    firmwareEnded_ = true;
                    stored(SimStore::Firmware);
                    return;
                }
                if (in.size() < 8) return;
                inputStart_ += 8;
                if (length > kSimMaxCompressedBlock) {
                    // No block is that long: the routine gives up, as the receiver would hang.
                    routine_ = Routine::Off;
                    return;
                }
                recognised(SimCommand::FirmwareBlock);
                blockLength_ = length;
                blockTarget_ = le32(in.substr(4));
                routine_ = Routine::Block;
                continue;
            }
            case Routine::Block: {
                if (in.size() < blockLength_ + 2) return;
                const std::string_view data = in.substr(0, blockLength_);
                const auto crc =
                    static_cast<std::uint16_t>(static_cast<std::uint8_t>(in[blockLength_]) << 8 |
                                               static_cast<std::uint8_t>(in[blockLength_ + 1]));
                firmwareBlock(data, crc, replies);
                inputStart_ += blockLength_ + 2;
                routine_ = Routine::AwaitHeader;
                continue;
            }
        }
    }
}

void ReceiverSimulator::firmwareBlock(std::string_view data, std::uint16_t crc,
                                      std::vector<ReplyPiece>& replies) {
    // Decompressing and writing a block take the receiver a while.
    const auto answerAfter = [&](std::string_view letter, Millis delay) {
        const std::size_t before = replies.size();
        answer(SimCommand::FirmwareBlock, std::string(letter), replies);
        for (std::size_t i = before; i < replies.size(); ++i)
            replies[i].after += delay;
    };
    FirmwareBlockLog entry;
    entry.target = blockTarget_;
    entry.compressedLength = blockLength_;
    entry.crcOk = crc16(data) == crc && !hasInputFault(SimCommand::FirmwareBlock, SimFault::BadCrc);
    if (entry.crcOk) {
        answer(SimCommand::FirmwareBlock, "B", replies);
        const std::optional<std::string> block = lzwDecompress(data, kSimFirmwareBlockSize);
        entry.decompressed = block.has_value() && !block->empty() &&
                             !hasInputFault(SimCommand::FirmwareBlock, SimFault::NoDecompress);
        if (entry.decompressed) {
            answerAfter("D", Millis{150});
            const std::size_t at = blockTarget_ - std::size_t{1};
            entry.written = blockTarget_ % kSimFirmwareBlockSize == 1 &&
                            at >= kSimFirmwareBlockSize &&
                            at + block->size() <= firmwareFlash_.size() &&
                            !hasInputFault(SimCommand::FirmwareBlock, SimFault::NoWrite);
            if (entry.written) {
                firmwareFlash_.replace(at, block->size(), *block);
                firmware_ += *block;
                answerAfter("F", Millis{300});
            }
        }
    }
    firmwareLog_.push_back(entry);
    stored(SimStore::Firmware);
}

std::string ReceiverSimulator::firmwareLogJson() const {
    std::string json = "{\n  \"erase_all\": ";
    json += erasedAll_ ? "true" : "false";
    json += ",\n  \"ended\": ";
    json += firmwareEnded_ ? "true" : "false";
    json += ",\n  \"blocks\": [";
    for (std::size_t i = 0; i < firmwareLog_.size(); ++i) {
        const FirmwareBlockLog& b = firmwareLog_[i];
        json += i == 0 ? "\n" : ",\n";
        json += "    {\"target\": " + std::to_string(b.target) +
                ", \"compressed_length\": " + std::to_string(b.compressedLength) +
                ", \"crc_ok\": " + (b.crcOk ? "true" : "false") +
                ", \"decompressed\": " + (b.decompressed ? "true" : "false") +
                ", \"written\": " + (b.written ? "true" : "false") + "}";
    }
    json += firmwareLog_.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return json;
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

void ReceiverSimulator::wakeUp(std::vector<ReplyPiece>& replies) {
    ++wakeUpPairs_;
    // A pair the loader has answered since its last command or frame goes unheard.
    if (!wakeUpArmed_) return;
    wakeUpArmed_ = false;
    if (!loaderAwake_) {
        recognised(SimCommand::LoaderWakeUp);
        const std::size_t before = replies.size();
        answer(SimCommand::LoaderWakeUp, "\x46\x2A\x18\x41\x04", replies);
        // A loader that stays silent has not woken up: it listens to nothing but the pair.
        loaderAwake_ = replies.size() > before;
        wakeUpArmed_ = !loaderAwake_;
    } else if (!blocksStarted_) {
        recognised(SimCommand::LoaderWait);
        answer(SimCommand::LoaderWait, "\x2A\x18\x41\x0A", replies);
    } else if (lastBlockGood_) {
        answer(SimCommand::LoaderBlock, "\x2A\x18\x41\x0A", replies);
    }
}

void ReceiverSimulator::loaderCommand(std::string_view command) {
    loaderCommands_.emplace_back(command);
    wakeUpArmed_ = true;
    std::uint8_t body[5];
    for (std::size_t i = 0; i < 5; ++i)
        body[i] = static_cast<std::uint8_t>(hexToDec(command.substr(1 + 2 * i, 2)));
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
                loaderAwake_ = false;
                blocksStarted_ = false;
            }
            break;
        default:
            break;
    }
}

void ReceiverSimulator::loaderFrame(std::string_view frame) {
    frameExpected_ = false;
    wakeUpArmed_ = true;
    // A block command is also sent before the loader's short set-up frames; only a frame of
    // at least a kilobyte is a block.
    const bool block = blockOffset_.has_value() && frame.size() >= kFtaBlockSize;
    std::optional<std::string> payload;
    if (block) {
        recognised(SimCommand::LoaderBlock);
        blocksStarted_ = true;
        if (!hasInputFault(SimCommand::LoaderBlock, SimFault::BadCrc)) {
            payload = decodeLoaderDataFrame(frame);
        }
        lastBlockGood_ = payload && payload->size() == kFtaBlockSize;
        if (lastBlockGood_) {
            flash_.replace(*blockOffset_, kFtaBlockSize, *payload);
            stored(SimStore::Flash);
        }
    } else {
        payload = decodeLoaderDataFrame(frame);
    }
    blockOffset_.reset();
    if (payload) {
        loaderPayloads_.push_back(std::move(*payload));
    } else {
        ++refusedLoaderFrames_;
    }
}

void ReceiverSimulator::takeLoader(std::vector<ReplyPiece>& replies) {
    constexpr std::size_t kCommandFrame = 20;
    constexpr std::size_t kLongestFrame = 2 * kFtaBlockSize + 8;
    for (;;) {
        const std::string_view in = std::string_view(input_).substr(inputStart_);
        if (in.empty()) return;
        if (frameExpected_) {
            // A data frame ends two bytes (each perhaps escaped) after 18 6B.
            const std::size_t end = in.find("\x18\x6B");
            if (end == std::string_view::npos || end > kLongestFrame) {
                if (in.size() <= kLongestFrame) return;
                // Whatever this is, it is no frame: the loader gives up on it.
                ++refusedLoaderFrames_;
                frameExpected_ = false;
                blockOffset_.reset();
                inputStart_ += kLongestFrame;
                continue;
            }
            std::size_t size = end + 2;
            for (int crcByte = 0; crcByte < 2; ++crcByte) {
                if (size >= in.size()) return;
                size += in[size] == '\x18' ? 2 : 1;
            }
            if (size > in.size()) return;
            loaderFrame(in.substr(0, size));
            inputStart_ += size;
            continue;
        }
        if (in[0] == kLoaderWakeUp[0]) {
            if (in.size() < kLoaderWakeUp.size()) return;
            if (in.substr(0, kLoaderWakeUp.size()) == kLoaderWakeUp) {
                inputStart_ += kLoaderWakeUp.size();
                wakeUp(replies);
                continue;
            }
            ++inputStart_;  // a lone 91
            continue;
        }
        const std::size_t headerPart = std::min(in.size(), kLoaderFrameHeader.size());
        if (in.substr(0, headerPart) == kLoaderFrameHeader.substr(0, headerPart)) {
            if (in.size() < kCommandFrame) return;
            const std::string_view command = in.substr(kLoaderFrameHeader.size(), 15);
            if (!loaderAwake_) {
                // Asleep: not listening.
            } else if (in.substr(kCommandFrame - kLoaderFrameTrailer.size(), 2) ==
                           kLoaderFrameTrailer &&
                       isLoaderCommand(command) && loaderCommandCrcRight(command)) {
                loaderCommand(command);
            } else {
                ++refusedLoaderFrames_;
            }
            inputStart_ += kCommandFrame;
            continue;
        }
        // Outside a frame the loader passes over anything else (the 4F 4F, 18 and 08 runs of
        // the program's sequences).
        ++inputStart_;
    }
}

}  // namespace qel
