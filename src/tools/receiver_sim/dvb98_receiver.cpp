#include "receiver_sim/dvb98_receiver.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "files/g98_file.h"
#include "serial/download.h"

namespace qel {

namespace {

using Header = Dvb98Command::Header;

std::string ok(const Dvb98Held&) {
    return "OK";
}

std::string withChecksum(std::string_view block) {
    std::string out(block);
    out += static_cast<char>(blockChecksum(block));
    return out;
}

Kept keepPicture(Dvb98Held& held, std::string& data, SimShared& shared) {
    // Four zero bytes, the file, and the length of both, high byte first.
    const std::size_t framed = data.size() - 2;
    const std::string length{static_cast<char>(framed >> 8), static_cast<char>(framed)};
    if (data.compare(0, 4, std::string(4, '\0')) != 0 || data.substr(framed) != length) {
        return Kept::Refused;
    }
    held.pictures[held.pictureSlot == 4 ? 0 : 1] = data.substr(4, framed - 4);
    shared.stored(held.pictureSlot == 4 ? SimStore::Picture1 : SimStore::Picture2);
    held.picture = std::move(data);
    return Kept::Ok;
}

// The slot's row comes before the handshake's, the handshake's before the channel upload's:
// the first row that knows the bytes takes them.
constexpr Dvb98Command kCommands[] = {
    {SimCommand::PictureSlot, "CBEG4", Header::Slot, kSimPictureBlockSize, ok,
     [](Dvb98Held& h, std::string_view sent) {
         h.pictureAnnounced = false;
         h.pictureSlot = sent.back() - '0';
     },
     keepPicture},
    {SimCommand::Handshake, "CBEG", Header::None, 0, ok,
     [](Dvb98Held& h, std::string_view) { h.pictureAnnounced = false; }},
    {SimCommand::ChannelUpload, "C", Header::Length, kMaxChannelDataSize, ok, nullptr,
     [](Dvb98Held& h, std::string& data, SimShared& s) {
         h.channels = std::move(data);
         s.stored(SimStore::Channels);
         return Kept::Ok;
     }},
    {SimCommand::Firmware, "D", Header::Length, kMaxFlashRoutineSize, ok, nullptr,
     [](Dvb98Held& h, std::string& data, SimShared&) {
         h.flashRoutine = std::move(data);
         return Kept::Routine;
     }},
    {SimCommand::Size, "A", Header::None, 0,
     [](const Dvb98Held& h) { return toHex(static_cast<std::uint32_t>(h.channels.size())); }},
    {SimCommand::ChannelData, "B", Header::None, 0,
     [](const Dvb98Held& h) { return withChecksum(h.channels); }},
    {SimCommand::Settings, "G", Header::None, 0,
     [](const Dvb98Held& h) { return withChecksum(h.settings); }},
    {SimCommand::SettingsUpload, "H", Header::None, kSettingsBlockSize, nullptr, nullptr,
     [](Dvb98Held& h, std::string& data, SimShared& s) {
         h.settings = std::move(data);
         s.stored(SimStore::Settings);
         return Kept::Ok;
     }},
    {SimCommand::SystemFont, "F", Header::None, kSimSystemFontSize, nullptr, nullptr,
     [](Dvb98Held& h, std::string& data, SimShared& s) {
         h.systemFont = std::move(data);
         s.stored(SimStore::SystemFont);
         return Kept::Ok;
     }},
    {SimCommand::TeletextFont, "V", Header::None, kSimTeletextSize, nullptr, nullptr,
     [](Dvb98Held& h, std::string& data, SimShared& s) {
         h.teletextFont = std::move(data);
         s.stored(SimStore::TeletextFont);
         return Kept::Ok;
     }},
    {SimCommand::Picture, "O", Header::None, 0, ok,
     [](Dvb98Held& h, std::string_view) { h.pictureAnnounced = true; }},
};

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool startsWith(std::string_view in, std::string_view text) {
    return in.substr(0, text.size()) == text;
}

// How many of the pending bytes a row takes: 0 when they are not its command, kMore when they
// may be once more bytes arrive.
constexpr std::size_t kMore = std::string_view::npos;

std::size_t matchOf(const Dvb98Command& row, std::string_view in, const Dvb98Held& held) {
    std::string_view name = row.name;
    if (row.header == Header::Slot) {
        if (!held.pictureAnnounced) return 0;
        name.remove_suffix(1);
    }
    if (!startsWith(in, name)) {
        return in.size() < name.size() && startsWith(name, in) ? kMore : 0;
    }
    switch (row.header) {
        case Header::None:
            return name.size();
        case Header::Slot:
            if (in.size() == name.size()) return kMore;
            return in[name.size()] == '4' || in[name.size()] == '5' ? name.size() + 1 : 0;
        case Header::Length: {
            const std::string_view digits = in.substr(name.size(), 8);
            if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) return 0;
            return digits.size() < 8 ? kMore : name.size() + 8;
        }
    }
    return 0;
}

}  // namespace

const Dvb98Command* dvb98Command(SimCommand command) {
    const auto* row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [&](const Dvb98Command& c) { return c.command == command; });
    return row == std::end(kCommands) ? nullptr : row;
}

const Dvb98Command* dvb98CommandNamed(std::string_view name) {
    const auto* row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [&](const Dvb98Command& c) { return c.name == name; });
    return row == std::end(kCommands) ? nullptr : row;
}

void Dvb98Receiver::lineReset() {
    collecting_ = nullptr;
    block_.clear();
    held_.pictureAnnounced = false;
    routine_.lineReset();
}

void Dvb98Receiver::run(std::vector<ReplyPiece>& replies) {
    SimFaults& faults = shared_.faults;
    for (;;) {
        if (routine_.running()) {
            routine_.run(replies);
            if (routine_.running()) return;
            continue;
        }
        if (collecting_ != nullptr) {
            collect(replies);
            if (collecting_ != nullptr) return;
            continue;
        }
        const std::string_view in = shared_.pending();
        if (in.empty()) return;
        const Dvb98Command* row = nullptr;
        std::size_t taken = 0;
        for (const Dvb98Command& c : kCommands) {
            taken = matchOf(c, in, held_);
            if (taken == kMore) return;
            if (taken != 0) {
                row = &c;
                break;
            }
        }
        if (row == nullptr) {
            shared_.consume(1);  // not a command: the receiver ignores it
            continue;
        }
        shared_.consume(taken);
        if (row->effect) row->effect(held_, in.substr(0, taken));
        faults.recognised(row->command);
        std::size_t size = row->block;
        if (row->header == Header::Length) {
            size = static_cast<std::uint32_t>(hexToDec(in.substr(row->name.size(), 8)));
            if (size > row->block) continue;
        }
        if (row->reply) faults.answer(row->command, row->reply(held_), replies);
        if (row->keep) {
            collecting_ = row;
            collectSize_ = size;
            block_.clear();
        }
    }
}

void Dvb98Receiver::collect(std::vector<ReplyPiece>& replies) {
    SimFaults& faults = shared_.faults;
    const std::string_view in = shared_.pending();
    const std::size_t have = std::min(collectSize_ + 1 - block_.size(), in.size());
    block_.append(in.substr(0, have));
    shared_.consume(have);
    if (block_.size() < collectSize_ + 1) return;
    const Dvb98Command& row = *collecting_;
    collecting_ = nullptr;
    std::string data = block_.substr(0, collectSize_);
    // A block with a wrong checksum is dropped without an answer.
    if (static_cast<std::uint8_t>(block_.back()) != blockChecksum(data) ||
        faults.hits(row.command, SimFault::Garble)) {
        return;
    }
    if (faults.hits(row.command, SimFault::MisStore) && !data.empty()) {
        data[data.size() / 2] = static_cast<char>(data[data.size() / 2] ^ 0x01);
    }
    switch (row.keep(held_, data, shared_)) {
        case Kept::Refused:
            return;
        case Kept::Routine:
            // The routine starts: it answers, then waits for the erase choice.
            faults.recognised(SimCommand::FlashRoutine);
            faults.answer(SimCommand::FlashRoutine, "OK", replies);
            routine_.start();
            return;
        case Kept::Ok:
            break;
    }
    faults.answer(row.command, "OK", replies);
    // Busy from the "OK" on.
    if (shared_.arrived && faults.hits(row.command, SimFault::Busy)) {
        shared_.busyUntil = *shared_.arrived + shared_.busyFor;
    }
}

}  // namespace qel
