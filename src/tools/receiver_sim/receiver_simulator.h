// A DVB98 receiver on the other end of the line, for the tests and qel-receiver-sim: it holds
// a channel image and a settings block, answers the DVB98 commands, takes the uploads, and
// misbehaves on request. With the FTA loader's dialect it is the loader of a receiver being
// powered up: it answers the wake-up pair, reads loader commands and data frames, and writes
// the announced blocks into a 48 KB flash.
//
// Each dialect is a Responder of its own (Dvb98Receiver with its FlashRoutine, FtaLoader);
// this class holds what they share and passes the line's bytes to the one spoken.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "receiver_sim/dvb98_receiver.h"
#include "receiver_sim/flash_routine.h"
#include "receiver_sim/fta_loader.h"
#include "receiver_sim/responder.h"
#include "receiver_sim/sim_dialect.h"
#include "receiver_sim/sim_faults.h"

namespace qel {

class ReceiverSimulator : public Responder {
public:
    enum class Dialect { Dvb98, FtaLoader };

    ReceiverSimulator();
    ReceiverSimulator(const ReceiverSimulator&) = delete;
    ReceiverSimulator& operator=(const ReceiverSimulator&) = delete;

    // What the receiver holds. The channel image may be any bytes: the size reply is its length.
    void setChannelImage(std::string image) { dvb98_.held().channels = std::move(image); }
    void setSettingsBlock(std::string block);  // padded or cut to 1264 bytes
    const std::string& channelImage() const { return dvb98_.held().channels; }
    const std::string& settingsBlock() const { return dvb98_.held().settings; }

    void addFault(const FaultPlan& plan) { shared_.faults.add(plan); }
    void clearFaults() { shared_.faults.clear(); }
    // How late a late answer comes.
    void setLateBy(Millis late) { shared_.faults.setLateBy(late); }
    Millis lateBy() const { return shared_.faults.lateBy(); }
    // How long a busy receiver stays busy after a store, and how many bytes it dropped.
    void setBusyFor(Millis busy) { shared_.busyFor = busy; }
    Millis busyFor() const { return shared_.busyFor; }
    std::size_t droppedWhileBusy() const { return droppedWhileBusy_; }

    void setDialect(Dialect dialect);
    Dialect dialect() const { return dialect_; }

    // What uploads brought (empty until one arrived whole with the right checksum; a picture
    // block also needs its four zero bytes and its length at the end).
    const std::string& systemFont() const { return dvb98_.held().systemFont; }
    const std::string& teletextFont() const { return dvb98_.held().teletextFont; }
    const std::string& picture() const { return dvb98_.held().picture; }  // the last block
    int pictureSlot() const { return dvb98_.held().pictureSlot; }         // 4 or 5
    // The picture file held in slot 1 ("CBEG4") or 2 ("CBEG5").
    const std::string& pictureFile(int slot) const {
        return dvb98_.held().pictures[slot == 1 ? 0 : 1];
    }
    const std::string& flashRoutine() const { return dvb98_.held().flashRoutine; }

    // A firmware upgrade: each block the flash routine took, as it went.
    using FirmwareBlockLog = SimFirmwareBlock;
    const std::vector<FirmwareBlockLog>& firmwareLog() const { return dvb98_.routine().log(); }
    // The blocks written, decompressed and in their order of arrival.
    const std::string& firmware() const { return dvb98_.routine().firmware(); }
    // The flash as the routine left it: each block written at its target (the addresses less
    // one, from 65536 on), what was never written erased (0xFF).
    const std::string& firmwareFlash() const { return dvb98_.routine().flash(); }
    // Whether the routine was told to erase everything ("YY"), and to stop (the end marker).
    bool firmwareErasedAll() const { return dvb98_.routine().erasedAll(); }
    bool firmwareEnded() const { return dvb98_.routine().ended(); }
    // firmware-log.json: every block's target, compressed length and checks.
    std::string firmwareLogJson() const { return dvb98_.routine().logJson(); }

    // Every command recognised, in order, by its name.
    const std::vector<std::string>& commandLog() const { return shared_.faults.log(); }

    // The FTA loader dialect: the loader commands (their 15-character texts) and the data frame
    // payloads that came with a right CRC, and how many frames were refused.
    const std::vector<std::string>& loaderCommands() const { return loader_.commands(); }
    const std::vector<std::string>& loaderPayloads() const { return loader_.payloads(); }
    std::size_t refusedLoaderFrames() const { return loader_.refusedFrames(); }
    // The loader's flash: 49152 bytes, erased (0xFF) until blocks are written into it.
    const std::string& flash() const { return loader_.flash(); }
    void setFlash(std::string image) { loader_.setFlash(std::move(image)); }
    // How many wake-up pairs arrived, answered or not.
    std::size_t wakeUpPairs() const { return loader_.wakeUpPairs(); }

    // Counts the changes of what the receiver holds: a store that arrives, even unchanged.
    std::size_t revision(SimStore store) const {
        return shared_.revisions[static_cast<std::size_t>(store)];
    }

    std::vector<ReplyPiece> take(std::string_view bytes) override;
    std::vector<ReplyPiece> takeAt(std::string_view bytes,
                                   std::chrono::steady_clock::time_point arrived) override;
    void lineReset() override;

private:
    SimDialect& spoken();

    SimShared shared_;
    Dvb98Receiver dvb98_{shared_};
    FtaLoader loader_{shared_};
    Dialect dialect_ = Dialect::Dvb98;
    std::size_t droppedWhileBusy_ = 0;
};

}  // namespace qel
