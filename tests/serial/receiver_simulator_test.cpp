// The simulated receiver already takes every DVB98 upload, so the upload exchanges only
// add behaviour; and its faults are named as qel-receiver-sim's command line names them.
#include "receiver_sim/receiver_simulator.h"

#include <gtest/gtest.h>

#include <string>

#include "bytes/checksum.h"
#include "receiver_sim/simulated_link.h"
#include "serial/loader_frames.h"

namespace qel {
namespace {

std::string withChecksum(const std::string& block) {
    return block + static_cast<char>(blockChecksum(block));
}

// Every answer to the writes, in one string.
std::string answers(ReceiverSimulator& sim, const std::vector<std::string>& writes) {
    std::string all;
    for (const std::string& w : writes) {
        for (const ReplyPiece& piece : sim.take(w))
            all += piece.bytes;
    }
    return all;
}

TEST(ReceiverSimulator, TakesEveryUploadWithAnOkForHeaderAndData) {
    const std::string image(128, 'c');
    const std::string settings = "DVSO" + std::string(1260, 's');
    const std::string font(4096, 'f');
    const std::string teletext(12800, 't');
    const std::string picture = std::string(4, '\0') + std::string(33718, 'p') + "\x83\xBA";
    const std::string routine(1716, 'r');
    const struct {
        const char* name;
        std::vector<std::string> writes;
        std::string expectedAnswers;
        std::string (*stored)(const ReceiverSimulator&);
        std::string block;
    } kCases[] = {
        {"channels",
         {"C00000080", withChecksum(image)},
         "OKOK",
         [](const ReceiverSimulator& s) { return s.channelImage(); },
         image},
        {"settings",
         {"H" + withChecksum(settings)},
         "OK",
         [](const ReceiverSimulator& s) { return s.settingsBlock(); },
         settings},
        {"system font",
         {"F" + withChecksum(font)},
         "OK",
         [](const ReceiverSimulator& s) { return s.systemFont(); },
         font},
        {"teletext font",
         {"V" + withChecksum(teletext)},
         "OK",
         [](const ReceiverSimulator& s) { return s.teletextFont(); },
         teletext},
        {"picture",
         {"CBEG", "O", "CBEG5", withChecksum(picture)},
         "OKOKOKOK",
         [](const ReceiverSimulator& s) { return s.picture(); },
         picture},
        {"flash routine",
         {"CBEG", "D000006B4", withChecksum(routine)},
         "OKOKOK",
         [](const ReceiverSimulator& s) { return s.flashRoutine(); },
         routine},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ReceiverSimulator sim;
        EXPECT_EQ(answers(sim, c.writes), c.expectedAnswers);
        EXPECT_EQ(c.stored(sim), c.block);

        // A block with a wrong checksum gets no final "OK" and is not kept.
        ReceiverSimulator strict;
        std::vector<std::string> corrupt = c.writes;
        corrupt.back().back() = static_cast<char>(corrupt.back().back() ^ 0x01);
        const std::string got = answers(strict, corrupt);
        EXPECT_EQ(got.size(), c.expectedAnswers.size() - 2);
        EXPECT_NE(c.stored(strict), c.block);
    }
}

TEST(ReceiverSimulator, BytesMayComeOneAtATime) {
    ReceiverSimulator sim;
    sim.setChannelImage(std::string(64, 'x'));
    std::string all;
    for (char c : std::string("CBEGAxC00000040") + withChecksum(std::string(64, 'y'))) {
        for (const ReplyPiece& piece : sim.take(std::string(1, c)))
            all += piece.bytes;
    }
    EXPECT_EQ(all, "OK40OKOK");
    EXPECT_EQ(sim.channelImage(), std::string(64, 'y'));
}

TEST(ReceiverSimulator, FaultsAreNamedWithTheirCommandAndArrival) {
    const struct {
        const char* text;
        std::optional<SimFault> fault;
        SimCommand command;
        int occurrence;
    } kCases[] = {
        {"silence", SimFault::Silence, SimCommand::Handshake, 0},
        {"wrong-checksum", SimFault::WrongChecksum, SimCommand::ChannelData, 0},
        {"not-hex", SimFault::NotHex, SimCommand::Size, 0},
        {"hang-up:G", SimFault::HangUp, SimCommand::Settings, 0},
        {"late:CBEG:3", SimFault::Late, SimCommand::Handshake, 3},
        {"split:A:1", SimFault::Split, SimCommand::Size, 1},
        {"silence:Q", std::nullopt, {}, 0},
        {"silence:B:x", std::nullopt, {}, 0},
        {"loud", std::nullopt, {}, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        const std::optional<FaultPlan> plan = parseFaultPlan(c.text);
        ASSERT_EQ(plan.has_value(), c.fault.has_value());
        if (!plan) continue;
        EXPECT_EQ(plan->fault, *c.fault);
        EXPECT_EQ(plan->command, c.command);
        EXPECT_EQ(plan->occurrence, c.occurrence);
    }
}

TEST(ReceiverSimulator, TheLoaderDialectReadsCommandsAndFrames) {
    ReceiverSimulator sim;
    sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
    std::string wire = wrapLoaderCommand(kLoader0900000000);
    wire += "\x91\x11";
    wire += loaderDataFrame(std::string("008\0", 4));
    wire += wrapLoaderCommand("B0900000000a87d");  // wrong CRC
    wire += loaderDataFrame(std::string(1024, '\x91'));
    for (std::size_t i = 0; i < wire.size(); i += 7)
        EXPECT_TRUE(sim.take(wire.substr(i, 7)).empty());
    EXPECT_EQ(sim.loaderCommands(), std::vector<std::string>{"B0900000000a87c"});
    EXPECT_EQ(sim.loaderPayloads(),
              (std::vector<std::string>{std::string("008\0", 4), std::string(1024, '\x91')}));
    EXPECT_EQ(sim.refusedLoaderFrames(), 1u);
}

}  // namespace
}  // namespace qel
