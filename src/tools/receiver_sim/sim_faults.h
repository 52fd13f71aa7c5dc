// What the simulated receiver can be asked to do wrong, the commands the faults hit and the
// stores they change, with the names qel-receiver-sim's command line gives them; and SimFaults,
// which counts each command's arrivals and bends the answers of those a fault is planned for.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/responder.h"

namespace qel {

// What the receiver does wrong when asked to, to the answer of one command.
enum class SimFault {
    Silence,        // no answer
    Late,           // the answer comes after the program's timeout
    Split,          // the answer in two pieces a short while apart
    Buried,         // other bytes before and after the answer
    WrongChecksum,  // the answer's last byte (a data block's checksum) is wrong
    CutShort,       // only the first half of the answer
    DropByte,       // the byte in the middle of the answer is left out
    FlipByte,       // a bit of the byte in the middle of the answer is flipped
    ExtraBytes,     // bytes after the answer (after a data block's checksum)
    NotHex,         // the answer replaced by text that is no hexadecimal number
    HangUp,         // the first half of the answer, then the line is hung up
    // The receiver takes an upload's block with a byte changed on the line: the checksum then
    // differs, and no "OK" comes after it.
    Garble,
    // The receiver answers an upload's block as if all was well but keeps it with the byte in
    // the middle changed.
    MisStore,
    // The FTA loader: never answers the wake-up pair; misses the answer at a later wait; leaves
    // a block's wake-up pair unanswered; takes a block's data frame with a wrong CRC (the block
    // is not written and the pair after it not answered).
    NeverWakes,
    MissWakeUp,
    NoBlockAnswer,
    BadCrc,
    // The flash routine: takes a block but cannot decompress it (no "D"), or cannot write it
    // (no "F"). BadCrc at a firmware block: the block arrives with a wrong CRC (no "B").
    NoDecompress,
    NoWrite,
    // After it answered "OK" to a store the receiver is busy writing its flash for a while
    // (setBusyFor) and drops whatever arrives meanwhile. It knows the time only from takeAt.
    Busy,
};

// The commands the receiver answers, as the faults name them. Each DVB98 command has its row,
// with its name, in the table of dvb98_receiver.cpp.
enum class SimCommand {
    Handshake,       // "CBEG"
    Size,            // "A"
    ChannelData,     // "B"
    Settings,        // "G"
    ChannelUpload,   // "C" + 8 hex digits, then the image and its checksum
    SettingsUpload,  // "H" + 1264 bytes + checksum
    SystemFont,      // "F" + 4096 bytes + checksum
    TeletextFont,    // "V" + 12800 bytes + checksum
    Picture,         // "O"
    PictureSlot,     // "CBEG4" or "CBEG5" after "O", then the picture and its checksum
    Firmware,        // "D" + 8 hex digits, then the flash routine and its checksum
    FlashRoutine,    // the flash routine's last byte: "OK" when it came whole
    EraseChoice,     // "NN" or "YY" to the flash routine: "A"
    FirmwareBlock,   // a block's header, counted as it arrives: "B", "D", "F" after its CRC
    // The FTA loader's wake-up pairs, counted as the loader answers them: the first one, the
    // waits of its opening exchanges (1-3), and the pair after each block (1-48; a block is
    // counted when its block command arrives).
    LoaderWakeUp,
    LoaderWait,
    LoaderBlock,
};

// What the receiver holds, as it may change.
enum class SimStore {
    Channels,
    Settings,
    Flash,
    SystemFont,
    TeletextFont,
    Picture1,
    Picture2,
    Firmware,
};
inline constexpr std::size_t kSimStores = 8;

// A fault at one command: at its n-th arrival (counted from 1), or at every one (0).
struct FaultPlan {
    SimFault fault = SimFault::Silence;
    SimCommand command = SimCommand::Handshake;
    int occurrence = 0;
};

// The names on qel-receiver-sim's command line: "silence", "wrong-checksum", ... and the
// commands as they are sent: "CBEG", "A", "B", "G", "C", "H", "F", "V", "O", "CBEG4", "D",
// with the flash routine's "routine", "erase" and "fw-block", and the loader's "wake-up",
// "wait" and "block".
std::string_view faultName(SimFault fault);
std::optional<SimFault> faultNamed(std::string_view name);
std::string_view commandName(SimCommand command);
std::optional<SimCommand> commandNamed(std::string_view name);
// The command a fault hits when none is named, and at which of its arrivals (0: every one).
SimCommand defaultCommandOf(SimFault fault);
int defaultOccurrenceOf(SimFault fault);
// "NAME", "NAME:COMMAND" or "NAME:COMMAND:N".
std::optional<FaultPlan> parseFaultPlan(std::string_view text);
// Every fault's name, for usage texts.
std::string faultNames();

class SimFaults {
public:
    void add(const FaultPlan& plan) { plans_.push_back(plan); }
    void clear() { plans_.clear(); }
    // How late a late answer comes.
    void setLateBy(Millis late) { lateBy_ = late; }
    Millis lateBy() const { return lateBy_; }

    // A command recognised: one more arrival of it, and its name in the log.
    void recognised(SimCommand command);
    const std::vector<std::string>& log() const { return log_; }
    // Whether a fault that changes what the receiver takes in is planned for the command's
    // latest arrival.
    bool hits(SimCommand command, SimFault fault) const;
    // The answer to the command's latest arrival, as the fault planned for it bends it.
    void answer(SimCommand command, std::string reply, std::vector<ReplyPiece>& replies) const;

private:
    int arrival(SimCommand command) const;
    std::vector<ReplyPiece> bend(SimFault fault, std::string reply) const;

    // The gap between the pieces of a split answer.
    static constexpr Millis kSplitGap{20};

    std::vector<FaultPlan> plans_;
    std::map<SimCommand, int> arrivals_;
    std::vector<std::string> log_;
    Millis lateBy_{6000};
};

}  // namespace qel
