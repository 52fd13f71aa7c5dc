// The flash routine a firmware upgrade sends the receiver: once it came whole it asks whether
// to erase everything ("NN"/"YY"), then takes blocks (a header of two little-endian words, the
// compressed length and the target address, the compressed bytes and a CRC), answering "B"
// when the CRC is right, "D" once decompressed and "F" once written, until the end marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/sim_dialect.h"

namespace qel {

inline constexpr std::size_t kMaxFlashRoutineSize = 64 * 1024;
// The routine's blocks: 64 KB each once decompressed, written from 65536 on into a flash of
// this size; a header announcing more compressed bytes than this is not a block.
inline constexpr std::size_t kSimFirmwareBlockSize = 65536;
inline constexpr std::size_t kSimFirmwareFlashSize = 10 * kSimFirmwareBlockSize;
inline constexpr std::size_t kSimMaxCompressedBlock = 3 * kSimFirmwareBlockSize;

// Each block the flash routine took, as it went.
struct SimFirmwareBlock {
    std::uint32_t target = 0;
    std::uint32_t compressedLength = 0;
    bool crcOk = false;
    bool decompressed = false;
    bool written = false;
};

class FlashRoutine : public SimDialect {
public:
    using SimDialect::SimDialect;

    // The routine came whole: it waits for the erase choice.
    void start() { state_ = State::AwaitErase; }
    bool running() const { return state_ != State::Off; }
    void run(std::vector<ReplyPiece>& replies) override;
    void lineReset() override { state_ = State::Off; }

    const std::vector<SimFirmwareBlock>& log() const { return log_; }
    const std::string& firmware() const { return firmware_; }
    const std::string& flash() const { return flash_; }
    bool erasedAll() const { return erasedAll_; }
    bool ended() const { return ended_; }
    std::string logJson() const;

private:
    enum class State { Off, AwaitErase, AwaitHeader, Block };

    void block(std::string_view data, std::uint16_t crc, std::vector<ReplyPiece>& replies);

    State state_ = State::Off;
    std::uint32_t blockLength_ = 0;
    std::uint32_t blockTarget_ = 0;
    bool erasedAll_ = false;
    bool ended_ = false;
    std::vector<SimFirmwareBlock> log_;
    std::string firmware_;
    std::string flash_;
};

}  // namespace qel
