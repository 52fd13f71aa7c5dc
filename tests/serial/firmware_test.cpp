// The firmware upgrade against the simulated receiver and its flash routine in virtual time:
// the blocks' arithmetic, the bytes on the wire, the three answers to each block, the faults
// at every wait, cancels, and the control lines.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "bytes/crc16.h"
#include "bytes/lzw.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/firmware.h"
#include "serial/transfer_recorder.h"
#include "support/serial_line.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

using test::kLineRate;

// A firmware file that compresses somewhat, as code does: runs, counters and noise.
std::string firmwareFile(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        noise = noise * 1103515245 + 12345;
        const std::size_t kind = (i / 512) % 3;
        bytes[i] = static_cast<char>(kind == 0 ? 0xFF : kind == 1 ? i / 7 : noise >> 24);
    }
    return bytes;
}

std::string routineBytes() {
    std::string routine(1716, '\0');
    for (std::size_t i = 0; i < routine.size(); ++i)
        routine[i] = static_cast<char>(i * 31 + 7);
    return routine;
}

// Keeps every change of the control lines, in order.
class LineLog : public SimulatedLink {
public:
    using SimulatedLink::SimulatedLink;
    void setRts(bool on) override {
        changes.push_back(on ? "RTS on" : "RTS off");
        SimulatedLink::setRts(on);
    }
    void setDtr(bool on) override {
        changes.push_back(on ? "DTR on" : "DTR off");
        SimulatedLink::setDtr(on);
    }
    std::vector<std::string> changes;
};

struct Bench {
    explicit Bench(std::size_t queue = 4096) : link(sim, kLineRate) {
        link.setOutputQueueSize(queue);
    }
    FirmwareResult run(const std::string& firmware, bool eraseAll = false) {
        return upgradeFirmware(link, recorder, Timing{}, {routineBytes(), firmware, eraseAll});
    }
    bool endMarkerLast() const {
        return !link.writes().empty() && link.writes().back() == kFirmwareEndMarker;
    }
    ReceiverSimulator sim;
    LineLog link;
    test::TransferRecorder recorder;
};

std::string le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

TEST(FirmwareBlocks, CountTargetsAndHeaders) {
    const struct {
        std::size_t size;
        std::size_t blocks;
    } kCounts[] = {{0, 0}, {1, 1}, {65536, 1}, {65537, 2}, {131072, 2}, {131073, 3}};
    for (const auto& c : kCounts)
        EXPECT_EQ(firmwareBlockCount(c.size), c.blocks) << c.size;

    const struct {
        std::size_t index;
        std::uint32_t target;
    } kTargets[] = {{0, 65537}, {1, 131073}, {8, 589825}, {9, 65537}, {10, 131073}, {17, 589825}};
    for (const auto& c : kTargets)
        EXPECT_EQ(firmwareBlockTarget(c.index), c.target) << c.index;

    EXPECT_EQ(firmwareBlockHeader(0x00012345, firmwareBlockTarget(0)),
              std::string("\x45\x23\x01\x00\x01\x00\x01\x00", 8));

    // The last block of a file is short; each block alone decompresses to its bytes.
    const std::string file = firmwareFile(65536 + 100);
    EXPECT_EQ(lzwDecompress(compressFirmwareBlock(file, 0)), file.substr(0, 65536));
    EXPECT_EQ(lzwDecompress(compressFirmwareBlock(file, 1)), file.substr(65536));
}

TEST(FirmwareUpgrade, FiveBlocksGoUpInOrderAndArriveAtTheirTargets) {
    const std::string file = firmwareFile(4 * 65536 + 1000);
    Bench b(1024);
    const FirmwareResult r = b.run(file);
    ASSERT_TRUE(r.status.ok()) << r.status.detail();
    EXPECT_EQ(r.blockCount, 5u);
    EXPECT_EQ(r.blocksWritten, 5u);
    EXPECT_TRUE(r.endMarkerSent && !r.cancelled);

    // What the routine wrote, block by block at its target.
    EXPECT_TRUE(b.sim.firmware() == file);
    EXPECT_FALSE(b.sim.firmwareErasedAll());
    EXPECT_TRUE(b.sim.firmwareEnded());
    EXPECT_TRUE(b.sim.flashRoutine() == routineBytes());
    ASSERT_EQ(b.sim.firmwareLog().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& block = b.sim.firmwareLog()[i];
        EXPECT_EQ(block.target, firmwareBlockTarget(i));
        EXPECT_EQ(block.compressedLength, compressFirmwareBlock(file, i).size());
        EXPECT_TRUE(block.crcOk && block.decompressed && block.written) << i;
        const std::string part = file.substr(i * 65536, 65536);
        EXPECT_TRUE(b.sim.firmwareFlash().substr((i + 1) * 65536, part.size()) == part);
    }

    // The wire: the handshake, the announcement, the routine and its checksum in one write,
    // the erase choice, then each block's header, its pieces and its CRC, and the end marker.
    const std::vector<std::string>& w = b.link.writes();
    ASSERT_GE(w.size(), 5u);
    EXPECT_EQ(w[0], "CBEG");
    EXPECT_EQ(w[1], "D000006B4");
    EXPECT_TRUE(w[2] == routineBytes() + static_cast<char>(blockChecksum(routineBytes())));
    EXPECT_EQ(w[3], "NN");
    std::size_t at = 4;
    std::size_t compressedTotal = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string block = compressFirmwareBlock(file, i);
        compressedTotal += block.size();
        ASSERT_LT(at, w.size());
        EXPECT_EQ(w[at++],
                  le32(static_cast<std::uint32_t>(block.size())) + le32(firmwareBlockTarget(i)));
        std::string pieces;
        while (pieces.size() < block.size() && at < w.size()) {
            EXPECT_LE(w[at].size(), 1024u);
            pieces += w[at++];
        }
        EXPECT_TRUE(pieces == block) << "block " << i;
        const std::uint16_t crc = crc16(block);
        ASSERT_LT(at, w.size());
        EXPECT_EQ(w[at++], std::string({static_cast<char>(crc >> 8), static_cast<char>(crc)}));
    }
    ASSERT_EQ(at + 1, w.size());
    EXPECT_TRUE(b.endMarkerLast());

    std::vector<std::string> statuses = {"Firmware upgrade", "Send soubroutine", "Wait Vandu"};
    for (int i = 1; i <= 5; ++i) {
        const std::string n = " " + std::to_string(i);
        statuses.push_back("Compress" + n + " of  5");
        statuses.push_back("Send" + n + " of 5");
        statuses.push_back("Decompress" + n + " of 5");
        statuses.push_back("Write" + n + " of 5");
    }
    statuses.push_back("Com open");
    EXPECT_EQ(b.recorder.statuses, statuses);
    EXPECT_EQ(b.recorder.bytes.back(), std::to_string(compressedTotal));
    EXPECT_EQ(b.recorder.lastProgress, std::pair(file.size(), file.size()));
    EXPECT_EQ(b.link.changes, (std::vector<std::string>{"RTS on", "DTR on", "RTS off", "DTR off"}));
    // The routine is given one timeout to start before the erase choice.
    EXPECT_GE(b.link.elapsed(), 5000ms);
}

// Erasing all is "YY"; a slow driver hands over a block's three answers in one read, and none
// may be lost; an empty file is refused before anything.
TEST(FirmwareUpgrade, EraseAllAnswersTogetherAndAnEmptyFile) {
    Bench b;
    b.link.setReadLatency(2000ms);
    const std::string file = firmwareFile(2 * 65536);
    const FirmwareResult r = b.run(file, true);
    ASSERT_TRUE(r.status.ok()) << r.status.detail();
    EXPECT_EQ(b.link.writes()[3], "YY");
    EXPECT_TRUE(b.sim.firmwareErasedAll());
    EXPECT_EQ(r.blocksWritten, 2u);
    EXPECT_TRUE(b.sim.firmware() == file);

    Bench empty;
    const FirmwareResult none = empty.run("");
    EXPECT_EQ(none.status.error(), ErrorCode::EmptyFirmware);
    EXPECT_TRUE(empty.link.writes().empty() && empty.link.changes.empty());
    EXPECT_TRUE(empty.recorder.statuses.empty());
    EXPECT_FALSE(none.endMarkerSent);
}

TEST(FirmwareFaults, EveryWaitEndsInTimeWithItsMessageAndTheLinesOff) {
    using F = SimFault;
    using C = SimCommand;
    using E = ErrorCode;
    const struct {
        F fault;
        C command;
        int occurrence;
        std::optional<E> error;
        std::size_t written;  // blocks acknowledged three times
        bool endMarker;
        const char* lastStatus;  // nullptr: whatever the step showed
        Millis longest;          // the wait that ran out
        Millis cancelAt = 0ms;
    } kCases[] = {
        // Before the blocks the receiver is left as it was: "Error", no end marker.
        {F::Silence, C::Handshake, 0, E::NoAnswer, 0, false, "Error", 5000ms},
        {F::HangUp, C::Handshake, 0, E::PortError, 0, false, "Error", 0ms},
        {F::Split, C::Handshake, 0, {}, 3, true, "Com open", 0ms},
        {F::Silence, C::Firmware, 0, E::NoAnswer, 0, false, "Error", 5000ms},
        {F::Silence, C::FlashRoutine, 0, E::NoAnswer, 0, false, "Error", 5000ms},
        {F::Silence, C::EraseChoice, 0, E::NoAnswer, 0, false, "Error", 5000ms},
        {F::Late, C::EraseChoice, 0, E::NoAnswer, 0, false, "Error", 5000ms},
        {F::Buried, C::EraseChoice, 0, {}, 3, true, "Com open", 0ms},
        // At a block: its message, the end marker, "Com open".
        {F::BadCrc, C::FirmwareBlock, 1, E::FirmwareCrcError, 0, true, "Com open", 10000ms},
        {F::BadCrc, C::FirmwareBlock, 3, E::FirmwareCrcError, 2, true, "Com open", 10000ms},
        {F::NoDecompress, C::FirmwareBlock, 2, E::FirmwareDecompressError, 1, true, "Com open",
         10000ms},
        {F::NoWrite, C::FirmwareBlock, 3, E::FirmwareWriteError, 2, true, "Com open", 10000ms},
        {F::Silence, C::FirmwareBlock, 2, E::FirmwareCrcError, 1, true, "Com open", 10000ms},
        {F::Late, C::FirmwareBlock, 1, {}, 3, true, "Com open", 6000ms},
        // Cancelled (with a fault at a command the upgrade never sends): before the erase
        // choice nothing more goes; in the first block it is finished first, or the routine
        // would take the end marker for its bytes, and the end marker follows.
        {F::Silence, C::Settings, 0, E::TransferCancelled, 0, false, nullptr, 0ms, 1000ms},
        {F::Silence, C::Settings, 0, E::FirmwareIncomplete, 1, true, "Com open", 0ms, 9000ms},
    };
    const std::string file = firmwareFile(2 * 65536 + 10);
    Millis clean{};
    {
        Bench b;
        ASSERT_TRUE(b.run(file).status.ok());
        clean = b.link.elapsed();
    }
    for (const auto& c : kCases) {
        SCOPED_TRACE(test::describeFault(c.fault, c.command, c.occurrence));
        Bench b;
        b.sim.setLateBy(6000ms);  // after the handshake's timeout, within a block's
        b.sim.addFault({c.fault, c.command, c.occurrence});
        if (c.cancelAt > 0ms) b.link.cancelAt(b.link.now() + c.cancelAt);
        const FirmwareResult r = b.run(file);
        EXPECT_EQ(r.cancelled, c.cancelAt > 0ms);
        EXPECT_EQ(b.sim.firmwareEnded(), c.endMarker);
        EXPECT_EQ(r.status.ok(), !c.error) << r.status.detail();
        EXPECT_EQ(r.status.error(), c.error.value_or(r.status.error()));
        EXPECT_EQ(r.blocksWritten, c.written);
        EXPECT_EQ(r.endMarkerSent, c.endMarker);
        EXPECT_EQ(b.endMarkerLast(), c.endMarker);
        ASSERT_FALSE(b.recorder.statuses.empty());
        EXPECT_EQ(b.recorder.statuses.back(),
                  c.lastStatus ? c.lastStatus : b.recorder.statuses.back());
        EXPECT_FALSE(b.link.rts() || b.link.dtr());
        EXPECT_LE(b.link.elapsed(), clean + c.longest + 1000ms);
        if (c.error == E::FirmwareCrcError && c.fault == F::BadCrc) {
            EXPECT_FALSE(b.sim.firmwareLog().back().crcOk);
        }
        if (c.cancelAt > 0ms && !c.endMarker) {
            EXPECT_EQ(b.link.writes().size(), 3u);  // nothing after the routine
        }
    }
}

}  // namespace
}  // namespace qel
