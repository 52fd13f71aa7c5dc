// The FTA loader of a receiver being powered up: it answers the wake-up pair, reads loader
// commands and data frames, and writes the announced blocks into a 48 KB flash.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/sim_dialect.h"

namespace qel {

inline constexpr std::size_t kSimFlashSize = 49152;

// The payload of one FTA loader data frame, read independently of the program's encoder;
// nothing when the frame is malformed or its CRC is wrong.
std::optional<std::string> decodeLoaderDataFrame(std::string_view frame);

class FtaLoader : public SimDialect {
public:
    explicit FtaLoader(SimShared& shared);

    void run(std::vector<ReplyPiece>& replies) override;
    // The loader starts over as when the receiver is powered up again.
    void lineReset() override;

    const std::vector<std::string>& commands() const { return commands_; }
    const std::vector<std::string>& payloads() const { return payloads_; }
    std::size_t refusedFrames() const { return refusedFrames_; }
    const std::string& flash() const { return flash_; }
    void setFlash(std::string image);  // padded with 0xFF or cut to 49152 bytes
    std::size_t wakeUpPairs() const { return wakeUpPairs_; }

private:
    void wakeUp(std::vector<ReplyPiece>& replies);
    void takeCommand(std::string_view text);
    void takeFrame(std::string_view frame);

    std::vector<std::string> commands_;
    std::vector<std::string> payloads_;
    std::size_t refusedFrames_ = 0;
    std::size_t wakeUpPairs_ = 0;
    // Whether the loader has answered its first pair; whether it answers the next pair (after
    // each command or frame it does once); a data frame it expects after a command that
    // announces one, and the flash offset of a block frame; whether the last block frame came
    // whole.
    std::string flash_;
    bool awake_ = false;
    bool wakeUpArmed_ = true;
    bool blocksStarted_ = false;
    bool frameExpected_ = false;
    std::optional<std::size_t> blockOffset_;
    bool lastBlockGood_ = true;
};

}  // namespace qel
