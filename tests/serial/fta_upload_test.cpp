// The FTA image written through the loader, against the simulated loader in virtual time: the
// whole byte sequence compared with the one the loader expects (built here from its listed
// bytes, not from the program's tables: every fixed command, every block command, the command
// frame and the escaping of every byte value in the data frames), the operator's prompts and
// the blinking status line, every fault of the loader, and cancelling.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bytes/crc16.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/loader_frames.h"
#include "serial/transfer_recorder.h"
#include "serial/upload.h"
#include "support/fta_image_builder.h"
#include "support/serial_line.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

// The line starts at 38400 baud; the upload switches it to 19200 and back.
using test::kLineRate;
const std::string kPair = "\x91\x11";

// An image whose blocks begin with whatever may confuse a framing: a loader command's text,
// the wake-up pair, escaped bytes, the frame end.
std::string testImage() {
    std::mt19937 rng(12);
    std::string image(49152, '\0');
    for (char& c : image)
        c = static_cast<char>(rng() & 0xFF);
    image.replace(0, 15, "B0a0000000046ae");
    image.replace(1024, 2, kPair);
    image.replace(2048, 4, "\x18\x6B\x11\x13");
    image.replace(47 * 1024, 1024, std::string(1024, '\x18'));
    return image;
}

// The loader's command frame around a command's text.
std::string command(std::string_view text) {
    return "\x2A\x2A\x18" + std::string(text) + "\x0A\x8A";
}

// Block command i: body 0A 00 4i 00 00 in lower-case hex and its CRC.
std::string blockText(std::size_t i) {
    constexpr char kHex[] = "0123456789abcdef";
    const std::string body = {'\x0A', '\0', static_cast<char>(4 * i), '\0', '\0'};
    std::string text = "B";
    for (char c : body) {
        text += kHex[static_cast<std::uint8_t>(c) >> 4];
        text += kHex[static_cast<std::uint8_t>(c) & 0x0F];
    }
    const std::uint16_t crc = crc16(body);
    for (int shift : {12, 8, 4, 0})
        text += kHex[(crc >> shift) & 0x0F];
    return text;
}

// A data frame by the loader's rule: 11, 13, 18, 91 and 93 escaped as 18 and the byte XOR 40,
// then 18 6B, then the CRC of the payload and 6B, high byte first, escaped alike.
std::string frameOf(std::string_view payload) {
    const auto escaped = [](std::uint8_t b) {
        if (b == 0x11 || b == 0x13 || b == 0x18 || b == 0x91 || b == 0x93) {
            return std::string{'\x18', static_cast<char>(b ^ 0x40)};
        }
        return std::string(1, static_cast<char>(b));
    };
    std::string frame;
    for (char c : payload)
        frame += escaped(static_cast<std::uint8_t>(c));
    const std::uint16_t crc = crc16(std::string(payload) + "\x6B");
    return frame + "\x18\x6B" + escaped(static_cast<std::uint8_t>(crc >> 8)) +
           escaped(static_cast<std::uint8_t>(crc & 0xFF));
}

// Everything the upload writes, one entry a write, for an image: the opening exchanges and
// the closing sequence as they are listed, the blocks by the rule.
std::vector<std::string> expectedWrites(std::string_view image) {
    using test::bytes;
    // clang-format off
    std::vector<std::string> w = {
        kPair, command("B0900000000a87c"), command("B09020000004514"), command("B010000012b0c69"),
        command("B0800000000022d"),
        kPair, command("B041000000092a1"), bytes("30303800186B18D1CE"),
        command("B0a0000000046ae"), bytes("185100030387002601186B3121"),
        command("B0b08000000693c"), command("B0800000000022d"), bytes("4F4F"),
        command("B010000012b0c69"),
        kPair, command("B0900000000a87c"), command("B0904000000628d"), command("B010000012b0c69"),
        command("B0800000000022d"), command("B041000000092a1"), bytes("30303900186BA6FE"),
        command("B0a0000000046ae"), bytes("22550100C000004000186BA5EF"),
        command("B0b090000001f88"), command("B0800000000022d"), bytes("4F4F"),
        command("B010000012b0c69"),
        kPair, command("B0900000000a87c"), command("B09020000004514"), command("B010000012b0c69"),
        command("B0800000000022d"), command("B041000000092a1"), bytes("34303000186BB16991")};
    // clang-format on
    for (std::size_t i = 0; i < 48; ++i) {
        w.push_back(command(blockText(i)));
        w.push_back(frameOf(image.substr(i * 1024, 1024)));
        w.push_back(kPair);
    }
    for (const std::string& s : {command("B0b00c00000ca08"), command("B0800000000022d"),
                                 bytes("4F4F"), command("B010000012b0c69"), std::string(10, '\x18'),
                                 std::string(10, '\x08'), command("B0b00000000ecff"), bytes("0A")})
        w.push_back(s);
    return w;
}

// The writes with each run of wake-up pairs (resent while the loader is called) as one.
std::vector<std::string> collapsePairs(const std::vector<std::string>& writes) {
    std::vector<std::string> out;
    for (const std::string& w : writes) {
        if (w == kPair && !out.empty() && out.back() == kPair) continue;
        out.push_back(w);
    }
    return out;
}

UploadRequest imageRequest(std::string image) {
    UploadRequest request;
    request.channels = true;
    request.channelKind = FileKind::BIN;
    request.channelImage = std::move(image);
    return request;
}

struct FtaUploadTest : ::testing::Test {
    test::Bench b;
    Timing timing;
    const std::string image = testImage();

    FtaUploadTest() { b.sim.setDialect(ReceiverSimulator::Dialect::FtaLoader); }
    FtaUploadOutcome run() {
        Exchange exchange(b.link, b.recorder, timing);
        return uploadFtaImage(exchange, image);
    }
};

// A command the exchange wraps in the loader's frame: "B" and fourteen hex digits, no more.
TEST(FtaUploadBlocks, OnlyBAndFourteenHexDigitsIsALoaderCommand) {
    EXPECT_FALSE(isLoaderCommand("B"));
    EXPECT_FALSE(isLoaderCommand("B0a0000000046a"));
    EXPECT_FALSE(isLoaderCommand("B0a0000000046aef"));
    EXPECT_FALSE(isLoaderCommand("B0a00000000 46ae"));
    EXPECT_FALSE(isLoaderCommand("C0a0000000046ae"));
    EXPECT_TRUE(isLoaderCommand("B0A0000000046AE"));
}

TEST(FtaUploadBlocks, TheFirstLastAndSecondBlockCommandsAreTheListedOnes) {
    EXPECT_EQ(blockText(0), "B0a0000000046ae");
    EXPECT_EQ(blockText(1), "B0a000400009a6e");
    EXPECT_EQ(blockText(47), "B0a00bc0000cd30");
    EXPECT_EQ(frameOf(std::string("008\0", 4)), test::bytes("30303800186B18D1CE"));
}

// Every byte goes out as the loader expects it, after the operator was asked and with each
// step shown, in its wire time and the fixed pause; frames built once and sent to two
// loaders go out as the image itself does, and the operator is asked all the same.
TEST_F(FtaUploadTest, EveryByteGoesOutAsTheLoaderExpectsItAndTheOperatorSeesEachStep) {
    b.recorder.onConfirm = [&](Confirmation) { EXPECT_EQ(b.link.written(), ""); };
    const FtaUploadOutcome r = run();
    ASSERT_TRUE(r.status.ok()) << r.status.detail();
    EXPECT_EQ(r.unansweredBlocks, 0u);
    const std::vector<std::string>& w = b.link.writes();
    EXPECT_EQ(collapsePairs(w), expectedWrites(image));
    EXPECT_TRUE(b.sim.flash() == image);
    EXPECT_EQ(b.sim.refusedLoaderFrames(), 0u);
    // A block that begins with "B", even with a whole loader command's text, is a data frame.
    EXPECT_EQ(w[w.size() - 8 - 3 * 48 + 1].substr(0, 15), "B0a0000000046ae");
    EXPECT_EQ(b.link.speeds(), (std::vector<int>{19200, 38400}));

    EXPECT_EQ(b.recorder.asked, std::vector{Confirmation::UnplugMainPower});
    std::string statuses = "Wait please|";
    for (int i = 1; i <= 48; ++i)
        statuses += "Prepare block  " + std::to_string(i) + '|';
    EXPECT_EQ(b.statuses(), statuses + "Connect main plug|Connecting|UpLoading|Com open|");
    // The blinking starts green and ends green.
    EXPECT_EQ(b.recorder.colours, std::vector(2, StatusColour::Green));
    ASSERT_EQ(b.recorder.bytes.size(), 49u);
    EXPECT_EQ(b.recorder.bytes.front(), "1024");
    EXPECT_EQ(b.recorder.bytes[47], "49152");
    EXPECT_EQ(b.recorder.bytes.back(), " 49152");
    EXPECT_EQ(b.recorder.lastProgress, std::pair(std::size_t{49152}, std::size_t{49152}));

    std::size_t sent = 0;
    for (const std::string& write : w)
        sent += write.size();
    // At 19200 baud, plus the pause of one timeout after the closing sequence.
    const auto wire = Millis{sent * 1000 / 1920};
    EXPECT_GE(b.link.elapsed(), wire + timing.timeout);
    EXPECT_LE(b.link.elapsed(), (wire + timing.timeout) * 1.05);

    test::TransferRecorder quiet;
    const Result<std::vector<std::string>> frames = loaderDataFrames(image, quiet);
    ASSERT_TRUE(frames);
    for (int round = 0; round < 2; ++round) {
        test::Bench loader;
        loader.sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        Exchange exchange(loader.link, loader.recorder, timing);
        ASSERT_TRUE(uploadFtaFrames(exchange, *frames).status.ok());
        EXPECT_EQ(loader.link.writes(), w);
        EXPECT_TRUE(loader.sim.flash() == image);
        EXPECT_EQ(loader.recorder.asked, std::vector{Confirmation::UnplugMainPower});
        EXPECT_EQ(loader.link.elapsed(), b.link.elapsed());
    }
}

// A line on which each wake-up pair must have left before the next one is written.
class PairSpacingLink : public SimulatedLink {
public:
    using SimulatedLink::SimulatedLink;
    Status write(std::string_view bytes) override {
        if (bytes == kPair) {
            // Two bytes at 19200 baud take 1.04 ms.
            if (lastPair_ && now() - *lastPair_ < 1040us) ++crowded;
            lastPair_ = now();
            ++pairs;
        }
        return SimulatedLink::write(bytes);
    }
    int crowded = 0;
    int pairs = 0;

private:
    std::optional<Clock::time_point> lastPair_;
};

TEST(FtaUploadWakeUp, ALoaderThatNeverWakesIsCalledForTenSecondsOnePairAtATime) {
    ReceiverSimulator sim;
    sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
    sim.addFault({SimFault::NeverWakes, SimCommand::LoaderWakeUp, 0});
    PairSpacingLink link(sim, kLineRate);
    test::TransferRecorder recorder;
    Exchange exchange(link, recorder);
    EXPECT_EQ(uploadFtaImage(exchange, testImage()).status.error(), ErrorCode::LoaderTimeout);
    EXPECT_GE(link.elapsed(), 10000ms);
    EXPECT_LE(link.elapsed(), 10010ms);
    EXPECT_EQ(link.crowded, 0);
    EXPECT_GT(link.pairs, 1000);
    EXPECT_EQ(static_cast<std::size_t>(link.pairs), sim.wakeUpPairs());
    EXPECT_TRUE(sim.loaderCommands().empty());
    const auto G = StatusColour::Green;
    const auto D = StatusColour::DarkGreen;
    EXPECT_EQ(recorder.colours, (std::vector{G, D, G, D, G, D, G, D, G, D, G}));
    const std::string statuses = test::joined(recorder.statuses);
    EXPECT_EQ(statuses.find("Connecting"), std::string::npos);
    std::size_t calls = 0;
    for (std::size_t at = 0; (at = statuses.find("Connect main plug", at)) != std::string::npos;
         ++at)
        ++calls;
    EXPECT_EQ(calls, 10u);
}

// An image of another size is refused before the operator is asked; an operator who backs
// out sends nothing.
TEST_F(FtaUploadTest, AWrongSizeOrABackedOutOperatorSendsNothing) {
    for (std::size_t size : {0, 49151, 49153}) {
        test::Bench bench;
        Exchange exchange(bench.link, bench.recorder);
        const FtaUploadOutcome r = uploadFtaImage(exchange, std::string(size, 'x'));
        EXPECT_EQ(r.status.error(), ErrorCode::WrongFileLength) << size;
        EXPECT_TRUE(bench.recorder.asked.empty());
        EXPECT_EQ(bench.link.written(), "");
        EXPECT_EQ(bench.statuses(), "Wait please|Com open|");
    }
    b.recorder.answers = {false};
    const FtaUploadOutcome r = run();
    EXPECT_EQ(r.status.error(), ErrorCode::TransferCancelled);
    EXPECT_EQ(r.status.detail(), "not confirmed");
    EXPECT_EQ(b.link.written(), "");
    EXPECT_TRUE(b.link.speeds().empty());
    EXPECT_TRUE(b.sim.flash() == std::string(49152, '\xFF'));
}

// What the flash holds after a faulted upload.
enum class Flash { Untouched, Written, AllButBlock7, FirstThreeBlocks };

TEST(FtaUploadFaults, EveryFaultAtEveryWaitEndsInTimeWithTheRightOutcome) {
    using F = SimFault;
    using C = SimCommand;
    using E = ErrorCode;
    const struct {
        F fault;
        C command;
        int occurrence;
        std::optional<E> error;
        const char* detail;
        std::size_t unanswered;
        Flash flash;
        int waitsRunOut;  // each costs at most one timeout more than a clean upload
    } kCases[] = {
        {F::NeverWakes, C::LoaderWakeUp, 0, E::LoaderTimeout,
         "the loader did not answer the wake-up pair", 0, Flash::Untouched, 0},
        // It misses the first pair only, and answers the one resent after it.
        {F::Silence, C::LoaderWakeUp, 1, std::nullopt, "", 0, Flash::Written, 0},
        {F::Split, C::LoaderWakeUp, 1, std::nullopt, "", 0, Flash::Written, 0},
        {F::HangUp, C::LoaderWakeUp, 1, E::PortError, "the line was hung up", 0, Flash::Untouched,
         0},
        {F::MissWakeUp, C::LoaderWait, 1, E::LoaderUploadFailed, "no answer to 91 11", 0,
         Flash::Untouched, 1},
        {F::MissWakeUp, C::LoaderWait, 2, E::LoaderUploadFailed, "no answer to 91 11", 0,
         Flash::Untouched, 1},
        {F::MissWakeUp, C::LoaderWait, 3, E::LoaderUploadFailed, "no answer to 91 11", 0,
         Flash::Untouched, 1},
        {F::Buried, C::LoaderWait, 1, std::nullopt, "", 0, Flash::Written, 0},
        // The loader need not answer a block: the upload ends well, the blocks counted.
        {F::NoBlockAnswer, C::LoaderBlock, 7, std::nullopt, "", 1, Flash::Written, 1},
        {F::NoBlockAnswer, C::LoaderBlock, 0, std::nullopt, "", 48, Flash::Written, 48},
        {F::BadCrc, C::LoaderBlock, 7, std::nullopt, "", 1, Flash::AllButBlock7, 1},
        {F::Late, C::LoaderBlock, 7, std::nullopt, "", 1, Flash::Written, 1},
        {F::HangUp, C::LoaderBlock, 3, E::FlashIncomplete,
         "Error on COM: the line was hung up at block 4 of 48", 0, Flash::FirstThreeBlocks, 0},
    };
    const Timing timing;
    const std::string image = testImage();
    const Millis clean = [&] {
        test::Bench b;
        b.sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        EXPECT_TRUE(upload(b.link, b.recorder, timing, imageRequest(image)).channels.ok);
        return b.link.elapsed();
    }();

    for (const auto& c : kCases) {
        SCOPED_TRACE(test::describeFault(c.fault, c.command, c.occurrence));
        test::Bench b;
        b.sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        b.sim.addFault({c.fault, c.command, c.occurrence});
        const UploadResult r = upload(b.link, b.recorder, timing, imageRequest(image));

        EXPECT_EQ(r.channels.ok, !c.error);
        EXPECT_EQ(r.channels.status.error(), c.error.value_or(r.channels.status.error()));
        EXPECT_EQ(r.channels.status.detail(), c.detail);
        EXPECT_EQ(r.unansweredBlocks, c.unanswered);
        EXPECT_FALSE(r.settings.attempted || r.cancelled || r.backupTaken);
        EXPECT_EQ(b.link.speed(), 38400);
        EXPECT_EQ(b.recorder.statuses.back(), "Com open");
        EXPECT_EQ(b.recorder.bytes.back(), " 49152");
        EXPECT_EQ(b.recorder.colours.back(), StatusColour::Green);
        // A late answer also holds up the next block's until it has come.
        const Millis late = c.fault == F::Late ? b.sim.lateBy() - timing.timeout : 0ms;
        EXPECT_LE(b.link.elapsed(), clean + c.waitsRunOut * timing.timeout + late + 100ms);
        switch (c.flash) {
            case Flash::Untouched:
                EXPECT_TRUE(b.sim.flash() == std::string(49152, '\xFF'));
                EXPECT_EQ(b.sim.revision(SimStore::Flash), 0u);
                break;
            case Flash::Written:
                EXPECT_TRUE(b.sim.flash() == image);
                break;
            case Flash::AllButBlock7: {
                std::string expected = image;
                expected.replace(6 * 1024, 1024, std::string(1024, '\xFF'));
                EXPECT_TRUE(b.sim.flash() == expected);
                EXPECT_EQ(b.sim.refusedLoaderFrames(), 1u);
                break;
            }
            case Flash::FirstThreeBlocks:
                EXPECT_TRUE(b.sim.flash() ==
                            image.substr(0, 3 * 1024) + std::string(45 * 1024, '\xFF'));
                break;
        }
    }
}

TEST_F(FtaUploadTest, ALoaderPluggedInLateIsFoundAtTheAttemptItAnswers) {
    b.sim.addFault({SimFault::Late, SimCommand::LoaderWakeUp, 1});
    b.sim.setLateBy(2500ms);
    ASSERT_TRUE(run().status.ok());
    const auto G = StatusColour::Green;
    EXPECT_EQ(b.recorder.colours, (std::vector{G, StatusColour::DarkGreen, G, G}));
    EXPECT_TRUE(b.sim.flash() == image);
}

TEST(FtaUploadCancel, ACancelBeforeTheBlocksLeavesTheFlashAndOneInThemSaysItIsIncomplete) {
    const std::string image = testImage();
    const struct {
        Millis at;
        bool wakes;
        std::optional<ErrorCode> error;
    } kCases[] = {
        {3000ms, false, ErrorCode::TransferCancelled},
        {10000ms, true, ErrorCode::FlashIncomplete},
        // In the pause after the closing sequence the image is whole.
        {29000ms, true, std::nullopt},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.at.count());
        test::Bench b;
        b.sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        if (!c.wakes) b.sim.addFault({SimFault::NeverWakes, SimCommand::LoaderWakeUp, 0});
        b.link.cancelAt(b.link.now() + c.at);
        const UploadResult r = upload(b.link, b.recorder, Timing{}, imageRequest(image));
        EXPECT_TRUE(r.cancelled);
        EXPECT_LE(b.link.elapsed(), c.at + 100ms);
        EXPECT_EQ(r.channels.ok, !c.error);
        EXPECT_EQ(r.channels.status.error(), c.error.value_or(r.channels.status.error()));
        EXPECT_EQ(b.link.speed(), 38400);
        // "cancelled at block N of 48": the blocks before N are written, those after not.
        const std::string& detail = r.channels.status.detail();
        const std::string head = "cancelled at block ";
        const bool incomplete = c.error == ErrorCode::FlashIncomplete;
        EXPECT_EQ(detail.empty(), !incomplete);
        EXPECT_EQ(detail.rfind(head, 0) == 0 && detail.ends_with(" of 48"), incomplete) << detail;
        const std::size_t n = incomplete ? std::stoul(detail.substr(head.size())) : 0;
        const std::size_t written = incomplete ? n - 1 : c.error ? 0 : 48;
        const std::size_t untouched = incomplete ? n : written;
        EXPECT_TRUE(!incomplete || n >= 2);
        EXPECT_TRUE(b.sim.flash().substr(0, written * 1024) == image.substr(0, written * 1024));
        EXPECT_TRUE(b.sim.flash().substr(untouched * 1024) ==
                    std::string((48 - untouched) * 1024, '\xFF'));
    }
}

}  // namespace
}  // namespace qel
