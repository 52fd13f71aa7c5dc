// Fuzz harness for the serial exchanges: the fuzzer's bytes are the receiver, deciding what it
// answers and when. Whatever it does, every exchange must end with a result, within the time
// its waits allow (virtual time), and hand back only what is whole and checked.
//
// Every wait is short: a command is resent each millisecond until it is answered, so the
// program's own five-second timeouts would cost thousands of writes an input. The replies'
// delays are on the same scale, so that they still fall on both sides of every wait.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "files/g98_file.h"
#include "receiver_sim/simulated_link.h"
#include "serial/download.h"
#include "serial/exchange.h"
#include "serial/firmware.h"
#include "serial/loader_frames.h"
#include "serial/upload.h"

using namespace qel;
using namespace std::chrono_literals;

namespace {

// The waits of every exchange, a few hundred milliseconds at most.
Timing shortTiming() {
    Timing t;
    t.timeout = 200ms;
    t.pause = 20ms;
    t.blockWait = 300ms;
    t.wakeUpAttempt = 10ms;
    t.settle = 20ms;
    return t;
}

const Timing kTiming = shortTiming();

// What the uploads send, made once: the FTA image's loader frames and the firmware.
const std::vector<std::string>& ftaFrames() {
    static const std::vector<std::string> frames = [] {
        std::string image(kFtaImageSize, '\0');
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<char>(i * 7);
        SilentTransferObserver observer;
        return *loaderDataFrames(image, observer);
    }();
    return frames;
}

const FirmwareRequest& firmwareRequest(bool eraseAll) {
    static const auto make = [](bool erase) {
        FirmwareRequest request;
        request.routine = std::string(1716, '\x11');
        request.firmware = std::string(kFirmwareBlockSize + 100, '\0');
        request.eraseAll = erase;
        return request;
    };
    static const FirmwareRequest keep = make(false);
    static const FirmwareRequest erase = make(true);
    return eraseAll ? erase : keep;
}

void require(bool condition) {
    if (!condition) std::abort();
}

// Each time the program writes, the next bytes of the input say how many pieces come back,
// how late, how long, whether the line is then hung up, and the pieces' bytes.
class FuzzedReceiver : public Responder {
public:
    explicit FuzzedReceiver(std::string_view data) : data_(data) {}

    std::vector<ReplyPiece> take(std::string_view) override {
        std::vector<ReplyPiece> pieces;
        if (data_.empty()) return pieces;
        const std::uint8_t control = next();
        for (int i = 0; i < (control & 3) && !data_.empty(); ++i) {
            const std::uint8_t timing = next();
            std::size_t length = next();
            if ((control & 0x20) != 0) length *= 16;
            ReplyPiece piece;
            piece.after = Millis{(timing & 0x7F) * 4};
            piece.bytes = std::string(data_.substr(0, length));
            data_.remove_prefix(piece.bytes.size());
            piece.hangUp = (control & 0x80) != 0 && (timing & 0x80) != 0;
            pieces.push_back(std::move(piece));
        }
        return pieces;
    }

    std::uint8_t next() {
        if (data_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(data_.front());
        data_.remove_prefix(1);
        return b;
    }

private:
    std::string_view data_;
};

// Answers the questions, and whether a backup was kept, with the bits of one byte.
class FuzzedObserver : public SilentTransferObserver {
public:
    explicit FuzzedObserver(std::uint8_t answers) : answers_(answers) {}
    bool confirm(Confirmation) override { return nextBit(); }
    bool keepBackup(std::string_view channelImage, std::string_view settingsBlock) override {
        require(channelImage.size() % 64 == 0 && settingsBlock.size() == kSettingsBlockSize);
        return nextBit();
    }

private:
    bool nextBit() {
        const bool yes = (answers_ & 1) != 0;
        answers_ = static_cast<std::uint8_t>(answers_ >> 1);
        return yes;
    }

    std::uint8_t answers_;
};

void checkDownload(std::string_view data) {
    FuzzedReceiver receiver(data);
    const std::uint8_t setup = receiver.next();
    SimulatedLink link(receiver, (setup & 1) != 0 ? 3840 : 0);
    FuzzedObserver observer(receiver.next());
    DownloadRequest request;
    request.channels = (setup & 2) == 0;
    request.settings = (setup & 4) == 0;
    request.channelsUnsaved = (setup & 8) != 0;
    request.settingsUnsaved = (setup & 16) != 0;
    if ((setup & 32) != 0) link.cancelAt(link.now() + Millis{(setup >> 6) * 70});
    const Timing& timing = kTiming;
    const DownloadResult r = download(link, observer, timing, request);

    // Every wait of both parts at its longest, and the size reply's quiet wait.
    require(link.elapsed() <= 5 * timing.timeout + kLongestChannelDataWait + 1s);
    require(r.channels.attempted == request.channels && r.settings.attempted == request.settings);
    if (r.channels.ok) {
        require(r.channelBytes % 64 == 0);
        require(r.channelBytes <= static_cast<std::size_t>(kMaxChannelDataSize));
        require(r.lists.tv.size() + r.lists.radio.size() <= r.channelBytes / 64);
    } else {
        require(r.channelBytes == 0 && r.lists.tv.empty() && r.lists.radio.empty());
    }
    require(r.settings.ok ? r.settingsImage.size() == 2 * kG98FileSize : r.settingsImage.empty());
    if (r.cancelled) require(!r.channels.ok && !r.settings.ok);
}

void checkResend(std::string_view data) {
    FuzzedReceiver receiver(data);
    SimulatedLink link(receiver, 1920);
    SilentTransferObserver observer;
    Exchange exchange(link, observer, kTiming);
    const Status st = exchange.sendCommand("\x91\x11", "\x2A\x18\x41\x0A", true);
    require(link.elapsed() <= kTiming.timeout + 10ms);
    require(st.ok() || st.error() == ErrorCode::NoAnswer || st.error() == ErrorCode::PortError);
}

// A whole DVB98 upload, with its backup and verification when the input asks for them.
void checkDvb98Upload(std::string_view data) {
    FuzzedReceiver receiver(data);
    const std::uint8_t setup = receiver.next();
    SimulatedLink link(receiver, (setup & 1) != 0 ? 3840 : 0);
    link.setOutputQueueSize((setup & 2) != 0 ? 7 : 512);
    FuzzedObserver observer(receiver.next());
    UploadRequest request;
    request.channels = (setup & 4) == 0;
    request.channelKind = FileKind::DVB;
    request.channelImage = std::string(10 * 64, '\x42');
    request.channelCount = 10;
    request.settings = (setup & 8) == 0;
    request.settingsImage = "4456534F" + std::string(2522, '0');
    request.backup = (setup & 16) != 0;
    request.verify = (setup & 32) != 0;
    if ((setup & 64) != 0) link.cancelAt(link.now() + Millis{(setup >> 7) * 300 + 70});
    const Timing& timing = kTiming;
    const UploadResult r = upload(link, observer, timing, request);

    // The backup and each read-back: a download's waits at their longest; the two parts:
    // their handshakes, headers, answers, pieces, the settings' pause and the wait after each
    // store.
    const Millis download = 5 * timing.timeout + kLongestChannelDataWait + 1s;
    require(link.elapsed() <= 3 * download + 14 * timing.timeout + 2s);
    require(r.channels.attempted == request.channels && r.settings.attempted == request.settings);
    require(r.channels.ok == (r.channels.attempted && r.channels.status.ok()));
    require(r.settings.ok == (r.settings.attempted && r.settings.status.ok()));
    require(r.unansweredBlocks == 0);
}

// A whole FTA upload; the loader is the fuzzer.
void checkFtaUpload(std::string_view data) {
    FuzzedReceiver receiver(data);
    const std::uint8_t setup = receiver.next();
    SimulatedLink link(receiver, (setup & 1) != 0 ? 3840 : 0);
    FuzzedObserver observer(receiver.next());
    const Timing& timing = kTiming;
    if ((setup & 2) != 0) link.cancelAt(link.now() + Millis{(setup >> 2) * 15});
    Exchange exchange(link, observer, timing);
    const FtaUploadOutcome r = uploadFtaFrames(exchange, ftaFrames());

    // The wake-up attempts, the three waits, a wait for each block, the final pause, and the
    // image at 19200 baud.
    require(link.elapsed() <= kWakeUpAttempts * timing.wakeUpAttempt +
                                  (3 + kFtaBlockCount + 1) * timing.timeout + 35s);
    require(r.unansweredBlocks <= kFtaBlockCount);
    require(link.speed() == kDvb98Speed || link.speeds().empty());
}

// A firmware upgrade of two blocks; the routine is the fuzzer.
void checkFirmware(std::string_view data) {
    FuzzedReceiver receiver(data);
    const std::uint8_t setup = receiver.next();
    SimulatedLink link(receiver, (setup & 1) != 0 ? 3840 : 0);
    link.setOutputQueueSize((setup & 2) != 0 ? 64 : 4096);
    SilentTransferObserver observer;
    const Timing& timing = kTiming;
    if ((setup & 4) != 0) link.cancelAt(link.now() + Millis{(setup >> 3) * 10});
    const FirmwareRequest& request = firmwareRequest((setup & 128) != 0);
    const FirmwareResult r = upgradeFirmware(link, observer, timing, request);

    // The handshake, the announcement, the routine, the pause and the erase choice; then each
    // block's pieces and three answers (a cancel may make one wait twice), and the end marker.
    require(link.elapsed() <= 5 * timing.timeout + 2 * (8 * timing.blockWait) + 2s);
    require(r.blockCount == 2 && r.blocksWritten <= r.blockCount);
    require(!r.status.ok() || (r.blocksWritten == 2 && r.endMarkerSent));
    require(!r.endMarkerSent || link.writes().back() == kFirmwareEndMarker);
    require(!link.rts() && !link.dtr());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkDownload(bytes);
    checkResend(bytes);
    checkDvb98Upload(bytes);
    checkFtaUpload(bytes);
    checkFirmware(bytes);
    return 0;
}
