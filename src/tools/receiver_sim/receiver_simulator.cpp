#include "receiver_sim/receiver_simulator.h"

#include "files/g98_file.h"

namespace qel {

ReceiverSimulator::ReceiverSimulator() {
    setSettingsBlock({});
}

void ReceiverSimulator::setSettingsBlock(std::string block) {
    block.resize(kSettingsBlockSize, '\0');
    dvb98_.held().settings = std::move(block);
}

void ReceiverSimulator::setDialect(Dialect dialect) {
    dialect_ = dialect;
    lineReset();
}

void ReceiverSimulator::lineReset() {
    shared_.clearInput();
    dvb98_.lineReset();
    loader_.lineReset();
}

SimDialect& ReceiverSimulator::spoken() {
    if (dialect_ == Dialect::Dvb98) return dvb98_;
    return loader_;
}

std::vector<ReplyPiece> ReceiverSimulator::take(std::string_view bytes) {
    return spoken().take(bytes);
}

std::vector<ReplyPiece> ReceiverSimulator::takeAt(std::string_view bytes,
                                                  std::chrono::steady_clock::time_point arrived) {
    if (shared_.busyUntil && arrived < *shared_.busyUntil) {
        droppedWhileBusy_ += bytes.size();
        return {};
    }
    shared_.busyUntil.reset();
    shared_.arrived = arrived;
    std::vector<ReplyPiece> replies = take(bytes);
    shared_.arrived.reset();
    return replies;
}

}  // namespace qel
