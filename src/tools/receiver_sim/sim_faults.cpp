#include "receiver_sim/sim_faults.h"

#include <algorithm>
#include <iterator>

#include "bytes/conversions.h"
#include "receiver_sim/dvb98_receiver.h"

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

const FaultEntry* entryOf(SimFault fault) {
    const auto* e = std::find_if(std::begin(kFaults), std::end(kFaults),
                                 [&](const FaultEntry& x) { return x.fault == fault; });
    return e == std::end(kFaults) ? nullptr : e;
}

// Faults that change what the receiver takes in rather than what it answers.
bool changesInput(SimFault fault) {
    return fault == SimFault::Garble || fault == SimFault::MisStore || fault == SimFault::BadCrc ||
           fault == SimFault::NoDecompress || fault == SimFault::NoWrite || fault == SimFault::Busy;
}

// The commands of the flash routine and the FTA loader, which are no DVB98 commands.
struct CommandEntry {
    SimCommand command;
    std::string_view name;
};

constexpr CommandEntry kOtherCommands[] = {
    {SimCommand::FlashRoutine, "routine"},   {SimCommand::EraseChoice, "erase"},
    {SimCommand::FirmwareBlock, "fw-block"}, {SimCommand::LoaderWakeUp, "wake-up"},
    {SimCommand::LoaderWait, "wait"},        {SimCommand::LoaderBlock, "block"},
};

}  // namespace

std::string_view faultName(SimFault fault) {
    const FaultEntry* e = entryOf(fault);
    return e ? e->name : std::string_view{};
}

std::optional<SimFault> faultNamed(std::string_view name) {
    for (const FaultEntry& e : kFaults) {
        if (e.name == name) return e.fault;
    }
    return std::nullopt;
}

std::string_view commandName(SimCommand command) {
    if (const Dvb98Command* row = dvb98Command(command)) return row->name;
    for (const CommandEntry& e : kOtherCommands) {
        if (e.command == command) return e.name;
    }
    return {};
}

std::optional<SimCommand> commandNamed(std::string_view name) {
    if (const Dvb98Command* row = dvb98CommandNamed(name)) return row->command;
    for (const CommandEntry& e : kOtherCommands) {
        if (e.name == name) return e.command;
    }
    return std::nullopt;
}

SimCommand defaultCommandOf(SimFault fault) {
    const FaultEntry* e = entryOf(fault);
    return e ? e->defaultCommand : SimCommand::Handshake;
}

int defaultOccurrenceOf(SimFault fault) {
    const FaultEntry* e = entryOf(fault);
    return e ? e->defaultOccurrence : 0;
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

void SimFaults::recognised(SimCommand command) {
    ++arrivals_[command];
    log_.emplace_back(commandName(command));
}

int SimFaults::arrival(SimCommand command) const {
    const auto it = arrivals_.find(command);
    return it == arrivals_.end() ? 0 : it->second;
}

bool SimFaults::hits(SimCommand command, SimFault fault) const {
    const int at = arrival(command);
    return std::any_of(plans_.begin(), plans_.end(), [&](const FaultPlan& plan) {
        return plan.fault == fault && plan.command == command &&
               (plan.occurrence == 0 || plan.occurrence == at);
    });
}

void SimFaults::answer(SimCommand command, std::string reply,
                       std::vector<ReplyPiece>& replies) const {
    const int at = arrival(command);
    const auto plan = std::find_if(plans_.begin(), plans_.end(), [&](const FaultPlan& p) {
        return p.command == command && !changesInput(p.fault) &&
               (p.occurrence == 0 || p.occurrence == at);
    });
    if (plan == plans_.end()) {
        replies.push_back({Millis{0}, std::move(reply), false});
        return;
    }
    for (ReplyPiece& piece : bend(plan->fault, std::move(reply)))
        replies.push_back(std::move(piece));
}

std::vector<ReplyPiece> SimFaults::bend(SimFault fault, std::string reply) const {
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

}  // namespace qel
