// The simulated receiver already takes every DVB98 upload, so the upload exchanges only
// add behaviour; and its faults are named as qel-receiver-sim's command line names them.
#include "receiver_sim/receiver_simulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "receiver_sim/simulated_link.h"
#include "serial/loader_frames.h"
#include "support/serial_line.h"

namespace qel {
namespace {

using test::withChecksum;

// The bytes of the pieces of an answer, in one string.
std::string answered(const std::vector<ReplyPiece>& pieces) {
    std::string all;
    for (const ReplyPiece& piece : pieces)
        all += piece.bytes;
    return all;
}

// Every answer to the writes, in one string.
std::string answers(ReceiverSimulator& sim, const std::vector<std::string>& writes) {
    std::string all;
    for (const std::string& w : writes)
        all += answered(sim.take(w));
    return all;
}

TEST(ReceiverSimulator, TakesEveryUploadWithAnOkForHeaderAndData) {
    const std::string image(128, 'c');
    const std::string settings = "DVSO" + std::string(1260, 's');
    const std::string font(4096, 'f');
    const std::string teletext(12800, 't');
    const std::string picture = std::string(4, '\0') + std::string(33718, 'p') + "\x83\xBA";
    const std::string routine(1716, 'r');
    using Sim = ReceiverSimulator;
    const struct {
        const char* name;
        std::vector<std::string> writes;
        std::string expectedAnswers;
        const std::string& (Sim::*stored)() const;
        std::string block;
    } kCases[] = {
        // clang-format off
        {"channels", {"C00000080", withChecksum(image)}, "OKOK", &Sim::channelImage, image},
        {"settings", {"H" + withChecksum(settings)}, "OK", &Sim::settingsBlock, settings},
        {"system font", {"F" + withChecksum(font)}, "OK", &Sim::systemFont, font},
        {"teletext font", {"V" + withChecksum(teletext)}, "OK", &Sim::teletextFont, teletext},
        {"picture", {"CBEG", "O", "CBEG5", withChecksum(picture)}, "OKOKOKOK", &Sim::picture, picture},
        {"flash routine", {"CBEG", "D000006B4", withChecksum(routine)}, "OKOKOK", &Sim::flashRoutine,
         routine},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ReceiverSimulator sim;
        EXPECT_EQ(answers(sim, c.writes), c.expectedAnswers);
        EXPECT_EQ((sim.*c.stored)(), c.block);

        // A block with a wrong checksum gets no final "OK" and is not kept.
        ReceiverSimulator strict;
        std::vector<std::string> corrupt = c.writes;
        corrupt.back().back() = static_cast<char>(corrupt.back().back() ^ 0x01);
        const std::string got = answers(strict, corrupt);
        EXPECT_EQ(got.size(), c.expectedAnswers.size() - 2);
        EXPECT_NE((strict.*c.stored)(), c.block);
    }
}

// Bytes that only look like a command are passed over; the command after them is heard.
TEST(ReceiverSimulator, WhatIsNoCommandIsIgnored) {
    const struct {
        const char* wire;
        const char* answer;
    } kCases[] = {
        // A stray "C"; a "C" whose length is no hex number; no slot without "O": the handshake,
        // then "5"; a slot is 4 or 5: the handshake; a "D" whose length is no hex number; a
        // slot's digit still to come.
        {"CXA", "0"},         {"C0000001XA", "0"},  {"CBEG5A", "OK0"},
        {"OCBEG6A", "OKOK0"}, {"ZD0000000gA", "0"}, {"OCBEG", "OK"}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.wire);
        ReceiverSimulator sim;
        EXPECT_EQ(answers(sim, {c.wire}), c.answer);
    }
    // Every command's name names it.
    for (int i = 0; i <= static_cast<int>(SimCommand::LoaderBlock); ++i) {
        const auto command = static_cast<SimCommand>(i);
        EXPECT_EQ(commandNamed(commandName(command)), command) << i;
    }
}

TEST(ReceiverSimulator, APictureNeedsItsFramingAndEachSlotKeepsItsOwn) {
    const std::string file(33718, 'p');
    const std::string framed = std::string(4, '\0') + file + "\x83\xBA";
    const struct {
        const char* name;
        std::string block;
        bool kept;
    } kCases[] = {
        {"framed", framed, true},
        {"no zeros first", "\x01" + framed.substr(1), false},
        {"a wrong length", framed.substr(0, 33723) + "\xBB", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ReceiverSimulator sim;
        const std::string got =
            answers(sim, {"O", "CBEG4", withChecksum(c.block), "O", "CBEG5", withChecksum(framed)});
        EXPECT_EQ(got, c.kept ? "OKOKOKOKOKOK" : "OKOKOKOKOK");
        EXPECT_EQ(sim.pictureFile(1) == file, c.kept);
        EXPECT_EQ(sim.revision(SimStore::Picture1), c.kept ? 1u : 0u);
        EXPECT_TRUE(sim.pictureFile(2) == file);
        EXPECT_EQ(sim.revision(SimStore::Picture2), 1u);
    }
}

TEST(ReceiverSimulator, BytesMayComeOneAtATime) {
    ReceiverSimulator sim;
    sim.setChannelImage(std::string(64, 'x'));
    std::string all;
    for (char c : std::string("CBEGAxC00000040") + withChecksum(std::string(64, 'y')))
        all += answered(sim.take(std::string(1, c)));
    EXPECT_EQ(all, "OK40OKOK");
    EXPECT_EQ(sim.channelImage(), std::string(64, 'y'));
}

TEST(ReceiverSimulator, ABusyReceiverDropsWhatArrivesForAWhileAfterItsOkToAStore) {
    using namespace std::chrono_literals;
    const std::string settings = withChecksum("DVSO" + std::string(1260, 's'));
    const auto t0 = std::chrono::steady_clock::time_point{} + 1h;
    const struct {
        const char* name;
        std::optional<SimCommand> busyAt;
        Millis next;  // when "CBEG" comes after the store's "OK"
        std::string answer;
    } kCases[] = {
        {"not busy", std::nullopt, 0ms, "OK"},
        {"busy, too soon", SimCommand::SettingsUpload, 2999ms, ""},
        {"busy, long enough after", SimCommand::SettingsUpload, 3000ms, "OK"},
        {"busy after another store", SimCommand::ChannelUpload, 0ms, "OK"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ReceiverSimulator sim;
        sim.setBusyFor(3000ms);
        if (c.busyAt) sim.addFault({SimFault::Busy, *c.busyAt, 0});
        EXPECT_EQ(answered(sim.takeAt("H" + settings, t0)), "OK");
        EXPECT_EQ(answered(sim.takeAt("CBEG", t0 + c.next)), c.answer);
        EXPECT_EQ(sim.droppedWhileBusy(), c.answer.empty() ? 4u : 0u);
        // What was dropped is gone: the next command is heard on its own.
        EXPECT_EQ(answered(sim.takeAt("CBEG", t0 + 3000ms)), "OK");
    }
}

TEST(ReceiverSimulator, FaultsAreNamedWithTheirCommandAndArrival) {
    using F = SimFault;
    using C = SimCommand;
    const struct {
        const char* text;
        std::optional<SimFault> fault;
        SimCommand command;
        int occurrence;
    } kCases[] = {
        // clang-format off
        {"silence", F::Silence, C::Handshake, 0}, {"wrong-checksum", F::WrongChecksum, C::ChannelData, 0},
        {"not-hex", F::NotHex, C::Size, 0}, {"hang-up:G", F::HangUp, C::Settings, 0},
        {"late:CBEG:3", F::Late, C::Handshake, 3}, {"split:A:1", F::Split, C::Size, 1},
        {"garble", F::Garble, C::ChannelUpload, 0}, {"mis-store:H", F::MisStore, C::SettingsUpload, 0},
        {"never-wakes", F::NeverWakes, C::LoaderWakeUp, 0}, {"miss-wake-up", F::MissWakeUp, C::LoaderWait, 1},
        {"miss-wake-up:wait", F::MissWakeUp, C::LoaderWait, 0},
        {"no-block-answer", F::NoBlockAnswer, C::LoaderBlock, 1},
        {"bad-crc:block:48", F::BadCrc, C::LoaderBlock, 48}, {"busy", F::Busy, C::ChannelUpload, 0},
        {"busy:H:2", F::Busy, C::SettingsUpload, 2}, {"silence:wake-up", F::Silence, C::LoaderWakeUp, 0},
        {"silence:Q", {}, {}, 0}, {"silence:B:x", {}, {}, 0}, {"loud", {}, {}, 0},
        // clang-format on
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

// The loader's answers to everything taken in, piece by piece in pieces of `step` bytes.
std::string loaderAnswers(ReceiverSimulator& sim, std::string_view wire, std::size_t step) {
    std::string all;
    for (std::size_t i = 0; i < wire.size(); i += step)
        all += answered(sim.take(wire.substr(i, step)));
    return all;
}

const std::string kPair = "\x91\x11";
const std::string kGreeting = "\x46\x2A\x18\x41\x04";
const std::string kReady = "\x2A\x18\x41\x0A";

TEST(ReceiverSimulator, TheLoaderAnswersItsFirstPairThenOnePairAfterEachCommandOrFrame) {
    ReceiverSimulator sim;
    sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
    const struct {
        std::string wire;
        std::string answer;
    } kSteps[] = {
        {kPair, kGreeting},
        {kPair + kPair, ""},
        {wrapLoaderCommand(kLoader0900000000), ""},
        {kPair + kPair, kReady},
        {wrapLoaderCommand(kLoader0410000000) + loaderDataFrame(std::string("009\0", 4)), ""},
        {kPair, kReady},
        {kPair, ""},
        // A command with a wrong CRC is not one.
        {wrapLoaderCommand("B0900000000a87d"), ""},
        {kPair, ""},
        // The last command: the receiver starts its firmware, and the loader waits for the
        // next power-up.
        {wrapLoaderCommand(kLoader0B00000000), ""},
        {kPair, kGreeting}};
    for (const auto& step : kSteps) {
        EXPECT_EQ(loaderAnswers(sim, step.wire, 3), step.answer);
    }
    EXPECT_EQ(sim.wakeUpPairs(), 9u);
    EXPECT_EQ(sim.refusedLoaderFrames(), 1u);
    EXPECT_EQ(sim.loaderCommands(), (std::vector<std::string>{std::string(kLoader0900000000),
                                                              std::string(kLoader0410000000),
                                                              std::string(kLoader0B00000000)}));
    EXPECT_EQ(sim.loaderPayloads(), std::vector<std::string>{std::string("009\0", 4)});
}

TEST(ReceiverSimulator, TheLoaderWritesEachAnnouncedBlockThatArrivesWhole) {
    std::string block5(1024, '\0');
    for (std::size_t i = 0; i < block5.size(); ++i)
        block5[i] = static_cast<char>(i * 31);
    std::string corrupt = loaderDataFrame(std::string(1024, 'x'));
    corrupt[100] = 'y';
    std::string wire = kPair + wrapLoaderCommand(kLoader0900000000) + kPair;
    // A set-up frame after the command of block 0 is no block.
    wire += wrapLoaderCommand(blockCommand(0)) + loaderDataFrame("\x11\x00\x03") + "\x4F\x4F";
    wire += wrapLoaderCommand(blockCommand(5)) + loaderDataFrame(block5) + "\x91" + kPair;
    wire += wrapLoaderCommand(blockCommand(2)) + corrupt + kPair;
    wire += wrapLoaderCommand(blockCommand(47)) + loaderDataFrame(std::string(1024, '\x18'));
    wire += std::string(10, '\x18') + std::string(10, '\x08') + kPair;
    for (std::size_t step : {1, 7, 4096}) {
        SCOPED_TRACE(step);
        ReceiverSimulator sim;
        sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        // The corrupt block's pair goes unanswered.
        EXPECT_EQ(loaderAnswers(sim, wire, step), kGreeting + kReady + kReady + kReady);
        std::string flash(49152, '\xFF');
        flash.replace(5 * 1024, 1024, block5);
        flash.replace(47 * 1024, 1024, std::string(1024, '\x18'));
        EXPECT_TRUE(sim.flash() == flash);
        EXPECT_EQ(sim.refusedLoaderFrames(), 1u);
        EXPECT_EQ(sim.revision(SimStore::Flash), 2u);
    }
}

}  // namespace
}  // namespace qel
