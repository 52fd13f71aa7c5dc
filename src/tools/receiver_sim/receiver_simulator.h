// A DVB98 receiver on the other end of the line, for the tests and qel-receiver-sim: it holds
// a channel image and a settings block, answers the DVB98 commands, takes the uploads, and
// misbehaves on request. With the FTA loader's dialect it is the loader of a receiver being
// powered up: it answers the wake-up pair, reads loader commands and data frames, and writes
// the announced blocks into a 48 KB flash.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

// The commands the receiver answers, as the faults name them.
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
inline constexpr std::size_t kSimCommands = 17;

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

// The payload of one FTA loader data frame, read independently of the program's encoder;
// nothing when the frame is malformed or its CRC is wrong.
std::optional<std::string> decodeLoaderDataFrame(std::string_view frame);

// Sizes of the blocks the uploads carry: one set of the system font, the teletext font a
// nibble a pixel, and a picture file between four zero bytes and its length in two bytes.
inline constexpr std::size_t kSimSystemFontSize = 4096;
inline constexpr std::size_t kSimTeletextSize = 12800;
inline constexpr std::size_t kSimPictureFileSize = 33718;
inline constexpr std::size_t kSimPictureBlockSize = 4 + kSimPictureFileSize + 2;
inline constexpr std::size_t kMaxFlashRoutineSize = 64 * 1024;
inline constexpr std::size_t kSimFlashSize = 49152;
// The flash routine's blocks: 64 KB each once decompressed, written from 65536 on into a
// flash of this size; a header announcing more compressed bytes than this is not a block.
inline constexpr std::size_t kSimFirmwareBlockSize = 65536;
inline constexpr std::size_t kSimFirmwareFlashSize = 10 * kSimFirmwareBlockSize;
inline constexpr std::size_t kSimMaxCompressedBlock = 3 * kSimFirmwareBlockSize;

class ReceiverSimulator : public Responder {
public:
    enum class Dialect { Dvb98, FtaLoader };

    ReceiverSimulator();

    // What the receiver holds. The channel image may be any bytes: the size reply is its length.
    void setChannelImage(std::string image) { channels_ = std::move(image); }
    void setSettingsBlock(std::string block);  // padded or cut to 1264 bytes
    const std::string& channelImage() const { return channels_; }
    const std::string& settingsBlock() const { return settings_; }

    void addFault(const FaultPlan& plan) { faults_.push_back(plan); }
    void clearFaults() { faults_.clear(); }
    // How late a late answer comes.
    void setLateBy(Millis late) { lateBy_ = late; }
    Millis lateBy() const { return lateBy_; }
    // How long a busy receiver stays busy after a store, and how many bytes it dropped.
    void setBusyFor(Millis busy) { busyFor_ = busy; }
    Millis busyFor() const { return busyFor_; }
    std::size_t droppedWhileBusy() const { return droppedWhileBusy_; }

    void setDialect(Dialect dialect);
    Dialect dialect() const { return dialect_; }

    // What uploads brought (empty until one arrived whole with the right checksum; a picture
    // block also needs its four zero bytes and its length at the end).
    const std::string& systemFont() const { return systemFont_; }
    const std::string& teletextFont() const { return teletextFont_; }
    const std::string& picture() const { return picture_; }  // the last picture block
    int pictureSlot() const { return pictureSlot_; }         // 4 or 5
    // The picture file held in slot 1 ("CBEG4") or 2 ("CBEG5").
    const std::string& pictureFile(int slot) const { return pictures_[slot == 1 ? 0 : 1]; }
    const std::string& flashRoutine() const { return flashRoutine_; }

    // A firmware upgrade: each block the flash routine took, as it went.
    struct FirmwareBlockLog {
        std::uint32_t target = 0;
        std::uint32_t compressedLength = 0;
        bool crcOk = false;
        bool decompressed = false;
        bool written = false;
    };
    const std::vector<FirmwareBlockLog>& firmwareLog() const { return firmwareLog_; }
    // The blocks written, decompressed and in their order of arrival.
    const std::string& firmware() const { return firmware_; }
    // The flash as the routine left it: each block written at its target (the addresses less
    // one, from 65536 on), what was never written erased (0xFF).
    const std::string& firmwareFlash() const { return firmwareFlash_; }
    // Whether the routine was told to erase everything ("YY"), and to stop (the end marker).
    bool firmwareErasedAll() const { return erasedAll_; }
    bool firmwareEnded() const { return firmwareEnded_; }
    // firmware-log.json: every block's target, compressed length and checks.
    std::string firmwareLogJson() const;

    // Every command recognised, in order, by its name.
    const std::vector<std::string>& commandLog() const { return log_; }

    // The FTA loader dialect: the loader commands (their 15-character texts) and the data frame
    // payloads that came with a right CRC, and how many frames were refused.
    const std::vector<std::string>& loaderCommands() const { return loaderCommands_; }
    const std::vector<std::string>& loaderPayloads() const { return loaderPayloads_; }
    std::size_t refusedLoaderFrames() const { return refusedLoaderFrames_; }
    // The loader's flash: 49152 bytes, erased (0xFF) until blocks are written into it.
    const std::string& flash() const { return flash_; }
    void setFlash(std::string image);  // padded with 0xFF or cut to 49152 bytes
    // How many wake-up pairs arrived, answered or not.
    std::size_t wakeUpPairs() const { return wakeUpPairs_; }

    // Counts the changes of what the receiver holds: a store that arrives, even unchanged.
    std::size_t revision(SimStore store) const {
        return revisions_[static_cast<std::size_t>(store)];
    }

    std::vector<ReplyPiece> take(std::string_view bytes) override;
    std::vector<ReplyPiece> takeAt(std::string_view bytes,
                                   std::chrono::steady_clock::time_point arrived) override;
    void lineReset() override;

private:
    enum class State { Idle, Collecting };

    void takeDvb98(std::vector<ReplyPiece>& replies);
    void takeLoader(std::vector<ReplyPiece>& replies);
    void takeFlashRoutine(std::vector<ReplyPiece>& replies);
    void firmwareBlock(std::string_view data, std::uint16_t crc, std::vector<ReplyPiece>& replies);
    void loaderCommand(std::string_view command);
    void loaderFrame(std::string_view frame);
    void wakeUp(std::vector<ReplyPiece>& replies);
    bool hasInputFault(SimCommand command, SimFault fault) const;
    void stored(SimStore store) { ++revisions_[static_cast<std::size_t>(store)]; }
    void collect(std::vector<ReplyPiece>& replies);
    void startCollecting(SimCommand command, std::size_t size);
    void answer(SimCommand command, std::string reply, std::vector<ReplyPiece>& replies);
    void recognised(SimCommand command);
    const FaultPlan* faultFor(SimCommand command) const;
    std::vector<ReplyPiece> applyFault(SimFault fault, std::string reply) const;

    // The gap between the pieces of a split answer.
    static constexpr Millis kSplitGap{20};

    std::string channels_;
    std::string settings_;
    std::vector<FaultPlan> faults_;
    Millis lateBy_{6000};
    Millis busyFor_{3000};
    // The time the bytes being taken arrived (known only in takeAt), and until when the
    // receiver is busy after a store.
    std::optional<std::chrono::steady_clock::time_point> arrived_;
    std::optional<std::chrono::steady_clock::time_point> busyUntil_;
    std::size_t droppedWhileBusy_ = 0;
    Dialect dialect_ = Dialect::Dvb98;

    std::string input_;  // bytes taken in and not yet used, from inputStart_
    std::size_t inputStart_ = 0;
    State state_ = State::Idle;
    bool pictureAnnounced_ = false;
    SimCommand collecting_ = SimCommand::ChannelUpload;
    std::size_t collectSize_ = 0;  // the block's bytes, its checksum byte comes after them
    std::string block_;
    std::array<int, kSimCommands> arrivals_{};
    std::array<std::size_t, kSimStores> revisions_{};

    std::string systemFont_;
    std::string teletextFont_;
    std::string picture_;
    std::array<std::string, 2> pictures_;
    int pictureSlot_ = 0;
    std::string flashRoutine_;
    // The flash routine runs once it came whole, until the end marker; a block's header
    // gives the length of what follows.
    enum class Routine { Off, AwaitErase, AwaitHeader, Block };
    Routine routine_ = Routine::Off;
    std::uint32_t blockLength_ = 0;
    std::uint32_t blockTarget_ = 0;
    bool erasedAll_ = false;
    bool firmwareEnded_ = false;
    std::vector<FirmwareBlockLog> firmwareLog_;
    std::string firmware_;
    std::string firmwareFlash_;
    std::vector<std::string> log_;
    std::vector<std::string> loaderCommands_;
    std::vector<std::string> loaderPayloads_;
    std::size_t refusedLoaderFrames_ = 0;

    // The loader: whether it has answered its first pair; whether it answers the next pair
    // (after each command or frame it does once); a data frame it expects after a command
    // that announces one, and the flash offset of a block frame; whether the last block frame
    // came whole.
    std::string flash_;
    bool loaderAwake_ = false;
    bool wakeUpArmed_ = true;
    bool blocksStarted_ = false;
    bool frameExpected_ = false;
    std::optional<std::size_t> blockOffset_;
    bool lastBlockGood_ = true;
    std::size_t wakeUpPairs_ = 0;
};

}  // namespace qel
