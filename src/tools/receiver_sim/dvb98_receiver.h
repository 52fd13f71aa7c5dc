// The receiver speaking DVB98: it answers the download commands from what it holds, takes the
// uploads, and hands over to the flash routine an upgrade sends it. Its commands are the rows
// of one table (dvb98_receiver.cpp): a new command is a new row.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/flash_routine.h"
#include "receiver_sim/sim_dialect.h"

namespace qel {

// Sizes of the blocks the uploads carry: one set of the system font, the teletext font a
// nibble a pixel, and a picture file between four zero bytes and its length in two bytes.
inline constexpr std::size_t kSimSystemFontSize = 4096;
inline constexpr std::size_t kSimTeletextSize = 12800;
inline constexpr std::size_t kSimPictureFileSize = 33718;
inline constexpr std::size_t kSimPictureBlockSize = 4 + kSimPictureFileSize + 2;

// What the receiver holds, and what the uploads brought (empty until one arrived whole with
// the right checksum).
struct Dvb98Held {
    std::string channels;  // any bytes: the size reply is their length
    std::string settings;  // 1264 bytes
    std::string systemFont;
    std::string teletextFont;
    std::string picture;                  // the last picture block
    std::array<std::string, 2> pictures;  // the picture files of slots 1 and 2
    int pictureSlot = 0;                  // 4 or 5
    bool pictureAnnounced = false;        // "O" came, a slot's "CBEG4"/"CBEG5" may follow
    std::string flashRoutine;
};

// What becomes of an upload's block that came whole with the right checksum.
enum class Kept {
    Ok,       // kept: the receiver answers "OK"
    Refused,  // not kept: no answer
    Routine,  // the flash routine: it starts
};

// One DVB98 command. It is its name, as sent; then, by its header, 8 hex digits giving the
// length of the block that follows, or (Slot) the name's last digit may be 4 or 5 and the
// command counts only after "O". It gives its answer at once, then takes a block with its
// checksum when it keeps one.
struct Dvb98Command {
    enum class Header { None, Length, Slot };
    SimCommand command;
    std::string_view name;
    Header header = Header::None;
    // Length: the longest block taken (a longer one is ignored); otherwise the block's size.
    std::size_t block = 0;
    std::string (*reply)(const Dvb98Held&) = nullptr;              // nothing: no answer at once
    void (*effect)(Dvb98Held&, std::string_view) = nullptr;        // given the command as sent
    Kept (*keep)(Dvb98Held&, std::string&, SimShared&) = nullptr;  // nothing: no block
};

const Dvb98Command* dvb98Command(SimCommand command);
const Dvb98Command* dvb98CommandNamed(std::string_view name);

class Dvb98Receiver : public SimDialect {
public:
    explicit Dvb98Receiver(SimShared& shared) : SimDialect(shared), routine_(shared) {}

    void run(std::vector<ReplyPiece>& replies) override;
    void lineReset() override;

    Dvb98Held& held() { return held_; }
    const Dvb98Held& held() const { return held_; }
    const FlashRoutine& routine() const { return routine_; }

private:
    void collect(std::vector<ReplyPiece>& replies);

    Dvb98Held held_;
    FlashRoutine routine_;
    const Dvb98Command* collecting_ = nullptr;  // the upload whose block is arriving
    std::size_t collectSize_ = 0;               // the block's bytes; its checksum comes after
    std::string block_;
};

}  // namespace qel
