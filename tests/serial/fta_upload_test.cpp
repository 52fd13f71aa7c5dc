// The FTA image written through the loader, against the simulated loader in virtual time: the
// whole byte sequence compared with the one the loader expects (built here from its listed
// bytes, not from the program's tables), the operator's prompts and the blinking status line,
// every fault of the loader, and cancelling.
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
    std::vector<std::string> w = {
        kPair,
        command("B0900000000a87c"),
        command("B09020000004514"),
        command("B010000012b0c69"),
        command("B0800000000022d"),
        kPair,
        command("B041000000092a1"),
        bytes("303038"
              "00186B18D1CE"),
        command("B0a0000000046ae"),
        bytes("185100030387002601"
              "186B3121"),
        command("B0b08000000693c"),
        command("B0800000000022d"),
        bytes("4F4F"),
        command("B010000012b0c69"),
        kPair,
        command("B0900000000a87c"),
        command("B0904000000628d"),
        command("B010000012b0c69"),
        command("B0800000000022d"),
        command("B041000000092a1"),
        bytes("30303900186BA6FE"),
        command("B0a0000000046ae"),
        bytes("2255010"
              "0C000004000"
              "186BA5EF"),
        command("B0b090000001f88"),
        command("B0800000000022d"),
        bytes("4F4F"),
        command("B010000012b0c69"),
        kPair,
        command("B0900000000a87c"),
        command("B09020000004514"),
        command("B010000012b0c69"),
        command("B0800000000022d"),
        command("B041000000092a1"),
        bytes("34303000186BB16991"),
    };
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

std::vector<std::string> preparedBlocks() {
    std::vector<std::string> statuses;
    for (int i = 1; i <= 48; ++i)
        statuses.push_back("Prepare block  " + std::to_string(i));
    return statuses;
}

struct FtaUploadTest : ::testing::Test {
    ReceiverSimulator sim;
    SimulatedLink link{sim, kLineRate};
    test::TransferRecorder recorder;
    Timing timing;
    const std::string image = testImage();

    FtaUploadTest() { sim.setDialect(ReceiverSimulator::Dialect::FtaLoader); }
    FtaUploadOutcome run() {
        Exchange exchange(link, recorder, timing);
        return uploadFtaImage(exchange, image);
    }
};

TEST(FtaUploadBlocks, TheFirstLastAndSecondBlockCommandsAreTheListedOnes) {
    EXPECT_EQ(blockText(0), "B0a0000000046ae");
    EXPECT_EQ(blockText(1), "B0a000400009a6e");
    EXPECT_EQ(blockText(47), "B0a00bc0000cd30");
    EXPECT_EQ(frameOf(std::string("008\0", 4)), test::bytes("303038"
                                                            "00186B18D1CE"));
}

TEST_F(FtaUploadTest, EveryByteGoesOutAsTheLoaderExpectsIt) {
    const FtaUploadOutcome r = run();
    ASSERT_TRUE(r.status.ok()) << r.status.detail();
    EXPECT_EQ(r.unansweredBlocks, 0u);
    EXPECT_EQ(collapsePairs(link.writes()), expectedWrites(image));
    EXPECT_TRUE(sim.flash() == image);
    EXPECT_EQ(sim.refusedLoaderFrames(), 0u);
    // A block that begins with "B", even with a whole loader command's text, is a data frame.
    EXPECT_EQ(link.writes()[link.writes().size() - 8 - 3 * 48 + 1].substr(0, 15),
              "B0a0000000046ae");
    EXPECT_EQ(link.speeds(), (std::vector<int>{19200, 38400}));
}

// Frames built once and sent to two loaders go out as the image itself does, and the
// operator is asked all the same.
TEST_F(FtaUploadTest, FramesBuiltOnceGoOutAsTheImageDoes) {
    ASSERT_TRUE(run().status.ok());
    test::TransferRecorder quiet;
    const Result<std::vector<std::string>> frames = loaderDataFrames(image, quiet);
    ASSERT_TRUE(frames);
    for (int round = 0; round < 2; ++round) {
        ReceiverSimulator loader;
        loader.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        SimulatedLink line(loader, kLineRate);
        test::TransferRecorder asked;
        Exchange exchange(line, asked, timing);
        const FtaUploadOutcome r = uploadFtaFrames(exchange, *frames);
        ASSERT_TRUE(r.status.ok()) << r.status.detail();
        EXPECT_EQ(line.writes(), link.writes());
        EXPECT_TRUE(loader.flash() == image);
        EXPECT_EQ(asked.asked, std::vector<Confirmation>{Confirmation::UnplugMainPower});
        EXPECT_EQ(line.elapsed(), link.elapsed());
    }
}

TEST_F(FtaUploadTest, TheOperatorIsAskedFirstAndSeesEachStep) {
    recorder.onConfirm = [&](Confirmation) { EXPECT_EQ(link.written(), ""); };
    ASSERT_TRUE(run().status.ok());
    EXPECT_EQ(recorder.asked, std::vector<Confirmation>{Confirmation::UnplugMainPower});
    std::vector<std::string> statuses = {"Wait please"};
    for (const std::string& s : preparedBlocks())
        statuses.push_back(s);
    for (const char* s : {"Connect main plug", "Connecting", "UpLoading", "Com open"})
        statuses.push_back(s);
    EXPECT_EQ(recorder.statuses, statuses);
    // The blinking starts green and ends green.
    EXPECT_EQ(recorder.colours,
              (std::vector<StatusColour>{StatusColour::Green, StatusColour::Green}));
    ASSERT_EQ(recorder.bytes.size(), 49u);
    EXPECT_EQ(recorder.bytes.front(), "1024");
    EXPECT_EQ(recorder.bytes[47], "49152");
    EXPECT_EQ(recorder.bytes.back(), " 49152");
    EXPECT_EQ(recorder.lastProgress, (std::pair<std::size_t, std::size_t>{49152, 49152}));
}

TEST_F(FtaUploadTest, TheUploadTakesItsWireTimeAndTheFixedPause) {
    ASSERT_TRUE(run().status.ok());
    std::size_t sent = 0;
    for (const std::string& w : link.writes())
        sent += w.size();
    // At 19200 baud, plus the pause of one timeout after the closing sequence.
    const auto wire = Millis{sent * 1000 / 1920};
    EXPECT_GE(link.elapsed(), wire + timing.timeout);
    EXPECT_LE(link.elapsed(), (wire + timing.timeout) * 1.05);
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
    const FtaUploadOutcome r = uploadFtaImage(exchange, testImage());
    EXPECT_EQ(r.status.error(), ErrorCode::LoaderTimeout);
    EXPECT_GE(link.elapsed(), 10000ms);
    EXPECT_LE(link.elapsed(), 10010ms);
    EXPECT_EQ(link.crowded, 0);
    EXPECT_GT(link.pairs, 1000);
    EXPECT_EQ(static_cast<std::size_t>(link.pairs), sim.wakeUpPairs());
    EXPECT_TRUE(sim.loaderCommands().empty());
    const auto G = StatusColour::Green;
    const auto D = StatusColour::DarkGreen;
    EXPECT_EQ(recorder.colours, (std::vector<StatusColour>{G, D, G, D, G, D, G, D, G, D, G}));
    EXPECT_EQ(std::count(recorder.statuses.begin(), recorder.statuses.end(), "Connect main plug"),
              10);
    EXPECT_EQ(std::count(recorder.statuses.begin(), recorder.statuses.end(), "Connecting"), 0);
}

TEST(FtaUploadImage, AnImageOfAnotherSizeIsRefusedBeforeTheOperatorIsAsked) {
    for (std::size_t size : {0, 49151, 49153}) {
        ReceiverSimulator sim;
        SimulatedLink link(sim);
        test::TransferRecorder recorder;
        Exchange exchange(link, recorder);
        const FtaUploadOutcome r = uploadFtaImage(exchange, std::string(size, 'x'));
        EXPECT_EQ(r.status.error(), ErrorCode::WrongFileLength) << size;
        EXPECT_TRUE(recorder.asked.empty());
        EXPECT_EQ(link.written(), "");
        EXPECT_EQ(recorder.statuses, (std::vector<std::string>{"Wait please", "Com open"}));
    }
}

TEST_F(FtaUploadTest, AnOperatorWhoBacksOutSendsNothing) {
    recorder.answers = {false};
    const FtaUploadOutcome r = run();
    EXPECT_EQ(r.status.error(), ErrorCode::TransferCancelled);
    EXPECT_EQ(r.status.detail(), "not confirmed");
    EXPECT_EQ(link.written(), "");
    EXPECT_TRUE(link.speeds().empty());
    EXPECT_TRUE(sim.flash() == std::string(49152, '\xFF'));
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
    const auto makeLoader = [] {
        auto sim = std::make_unique<ReceiverSimulator>();
        sim->setDialect(ReceiverSimulator::Dialect::FtaLoader);
        return sim;
    };
    const Millis clean = [&] {
        auto sim = makeLoader();
        SimulatedLink link(*sim, kLineRate);
        test::TransferRecorder recorder;
        EXPECT_TRUE(upload(link, recorder, timing, imageRequest(image)).channels.ok);
        return link.elapsed();
    }();

    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(faultName(c.fault)) + " at " +
                     std::string(commandName(c.command)) + " #" + std::to_string(c.occurrence));
        auto sim = makeLoader();
        sim->addFault({c.fault, c.command, c.occurrence});
        SimulatedLink link(*sim, kLineRate);
        test::TransferRecorder recorder;
        const UploadResult r = upload(link, recorder, timing, imageRequest(image));

        EXPECT_EQ(r.channels.ok, !c.error);
        if (c.error) {
            EXPECT_EQ(r.channels.status.error(), *c.error);
        }
        EXPECT_EQ(r.channels.status.detail(), c.detail);
        EXPECT_EQ(r.unansweredBlocks, c.unanswered);
        EXPECT_FALSE(r.settings.attempted || r.cancelled || r.backupTaken);
        EXPECT_EQ(link.speed(), 38400);
        EXPECT_EQ(recorder.statuses.back(), "Com open");
        EXPECT_EQ(recorder.bytes.back(), " 49152");
        EXPECT_EQ(recorder.colours.back(), StatusColour::Green);
        // A late answer also holds up the next block's until it has come.
        const Millis late = c.fault == F::Late ? sim->lateBy() - timing.timeout : 0ms;
        EXPECT_LE(link.elapsed(), clean + c.waitsRunOut * timing.timeout + late + 100ms);
        switch (c.flash) {
            case Flash::Untouched:
                EXPECT_TRUE(sim->flash() == std::string(49152, '\xFF'));
                EXPECT_EQ(sim->revision(SimStore::Flash), 0u);
                break;
            case Flash::Written:
                EXPECT_TRUE(sim->flash() == image);
                break;
            case Flash::AllButBlock7: {
                std::string expected = image;
                expected.replace(6 * 1024, 1024, std::string(1024, '\xFF'));
                EXPECT_TRUE(sim->flash() == expected);
                EXPECT_EQ(sim->refusedLoaderFrames(), 1u);
                break;
            }
            case Flash::FirstThreeBlocks:
                EXPECT_TRUE(sim->flash() ==
                            image.substr(0, 3 * 1024) + std::string(45 * 1024, '\xFF'));
                break;
        }
    }
}

TEST(FtaUploadFaults, ALoaderPluggedInLateIsFoundAtTheAttemptItAnswers) {
    ReceiverSimulator sim;
    sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
    sim.addFault({SimFault::Late, SimCommand::LoaderWakeUp, 1});
    sim.setLateBy(2500ms);
    SimulatedLink link(sim, kLineRate);
    test::TransferRecorder recorder;
    Exchange exchange(link, recorder);
    const std::string image = testImage();
    const FtaUploadOutcome r = uploadFtaImage(exchange, image);
    ASSERT_TRUE(r.status.ok()) << r.status.detail();
    const auto G = StatusColour::Green;
    const auto D = StatusColour::DarkGreen;
    EXPECT_EQ(recorder.colours, (std::vector<StatusColour>{G, D, G, G}));
    EXPECT_TRUE(sim.flash() == image);
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
        ReceiverSimulator sim;
        sim.setDialect(ReceiverSimulator::Dialect::FtaLoader);
        if (!c.wakes) sim.addFault({SimFault::NeverWakes, SimCommand::LoaderWakeUp, 0});
        SimulatedLink link(sim, kLineRate);
        link.cancelAt(link.now() + c.at);
        test::TransferRecorder recorder;
        const UploadResult r = upload(link, recorder, Timing{}, imageRequest(image));
        EXPECT_TRUE(r.cancelled);
        EXPECT_LE(link.elapsed(), c.at + 100ms);
        EXPECT_EQ(r.channels.ok, !c.error);
        if (c.error) {
            EXPECT_EQ(r.channels.status.error(), *c.error);
        }
        EXPECT_EQ(link.speed(), 38400);
        if (!c.error) {
            EXPECT_TRUE(sim.flash() == image);
        }
        if (c.error == ErrorCode::TransferCancelled) {
            EXPECT_EQ(r.channels.status.detail(), "");
            EXPECT_TRUE(sim.flash() == std::string(49152, '\xFF'));
        }
        if (c.error == ErrorCode::FlashIncomplete) {
            // "cancelled at block N of 48": the blocks before N are written, those after not.
            const std::string& detail = r.channels.status.detail();
            const std::string head = "cancelled at block ";
            ASSERT_EQ(detail.rfind(head, 0), 0u) << detail;
            const std::size_t n = std::stoul(detail.substr(head.size()));
            EXPECT_EQ(detail.substr(detail.size() - 6), " of 48");
            ASSERT_GE(n, 2u);
            EXPECT_TRUE(sim.flash().substr(0, (n - 1) * 1024) == image.substr(0, (n - 1) * 1024));
            EXPECT_TRUE(sim.flash().substr(n * 1024) == std::string((48 - n) * 1024, '\xFF'));
        }
    }
}

}  // namespace
}  // namespace qel
