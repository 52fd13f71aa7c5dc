// The download against the simulated receiver in virtual time: what it hands back, what it
// shows and asks, how it ends under every fault of the receiver, and cancelling.
#include "serial/download.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/transfer_recorder.h"
#include "support/receiver_data.h"
#include "support/serial_line.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

// The channel records of the lists handed back, as the receiver would send them.
std::string recordsOf(const DownloadResult& r) {
    return encodeDvb(r.lists.tv, r.lists.radio);
}

TEST(Download, BothPartsArriveInTheButtonsOrder) {
    test::Bench b(100);
    const DownloadResult r = download(b.link, b.recorder, Timing{}, {});
    EXPECT_TRUE(r.channels.ok && r.settings.ok) << r.channels.status.detail();
    EXPECT_EQ(recordsOf(r), b.sim.channelImage());
    EXPECT_EQ(r.lists.tv.size() + r.lists.radio.size(), 100u);
    EXPECT_EQ(r.channelBytes, 6400u);
    EXPECT_EQ(r.settingsImage, settingsImageOf(test::settingsBlock()));
    EXPECT_TRUE(r.replacesChannels());
    EXPECT_EQ(b.commands(), "CBEG|A|CBEG|B|CBEG|G|");
    EXPECT_EQ(b.statuses(), "Connecting|DownLoading|Com open|Get Settings|Com open|");
    EXPECT_EQ(b.recorder.bytes.back(), "6400");
    EXPECT_EQ(b.recorder.channels.back(), "100");
    EXPECT_EQ(b.recorder.lastProgress, std::pair(std::size_t{1265}, std::size_t{1265}));
    EXPECT_TRUE(b.recorder.asked.empty());
}

// The largest list takes its time on the wire; an empty receiver sends only the checksum,
// which must be 0x55.
TEST(Download, TheLargestAndTheEmptyList) {
    test::Bench large(3071);
    const DownloadResult r = download(large.link, large.recorder, Timing{}, {true, false});
    ASSERT_TRUE(r.channels.ok) << r.channels.status.detail();
    EXPECT_EQ(r.channelBytes, 196544u);
    // 196545 bytes at 3840 a second are 51.18 s: longer than any timeout but the B wait's.
    EXPECT_GE(large.link.elapsed(), 51180ms);
    EXPECT_LE(large.link.elapsed(), 51500ms);

    test::Bench b;
    const DownloadResult empty = download(b.link, b.recorder, Timing{}, {true, false});
    EXPECT_TRUE(empty.channels.ok);
    EXPECT_EQ(empty.channelBytes, 0u);
    EXPECT_FALSE(empty.replacesChannels());  // the lists stay, and so does their unsaved flag
    EXPECT_EQ(b.recorder.channels.back(), "0");
    b.sim.addFault({SimFault::WrongChecksum, SimCommand::ChannelData, 0});
    const DownloadResult bad = download(b.link, b.recorder, Timing{}, {true, false});
    EXPECT_EQ(bad.channels.status.error(), ErrorCode::DownloadFailed);
    EXPECT_EQ(bad.channels.status.detail(), "wrong checksum");
}

// Forwards everything to the simulator but gives its own answer to "A".
class SizeReplacer : public Responder {
public:
    SizeReplacer(ReceiverSimulator& sim, std::string reply) : sim_(sim), reply_(std::move(reply)) {}
    std::vector<ReplyPiece> take(std::string_view bytes) override {
        std::vector<ReplyPiece> pieces = sim_.take(bytes);
        if (bytes == "A") pieces = {{0ms, reply_}};
        return pieces;
    }

private:
    ReceiverSimulator& sim_;
    std::string reply_;
};

TEST(DownloadSize, SizesNoChannelTableHasAreRefusedBeforeB) {
    const struct {
        const char* reply;
        const char* channelsShown;
        bool refused;
    } kCases[] = {
        {"40", "1", false},         {"60", "1.5", true},
        {"64", "1.5625", true},     {"FFFFFFC0", "-1", true},
        {"FFFFFFE0", "-0.5", true}, {"30000", "3072", false},
        {"30040", "3073", true},    {"7FFFFFC0", "33554431", true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.reply);
        ReceiverSimulator sim;
        SizeReplacer far(sim, c.reply);
        SimulatedLink link(far);
        test::TransferRecorder recorder;
        const DownloadResult r = download(link, recorder, Timing{}, {true, false});
        EXPECT_EQ(recorder.channels.back(), c.channelsShown);
        const bool sentB = std::count(sim.commandLog().begin(), sim.commandLog().end(), "B") != 0;
        EXPECT_EQ(sentB, !c.refused);
        if (c.refused) {
            EXPECT_EQ(r.channels.status.error(), ErrorCode::WrongChannelDataSize);
            EXPECT_EQ(recorder.statuses.back(), "Error");
            EXPECT_LT(link.elapsed(), 100ms);
        }
    }
}

TEST(DownloadSize, TheWaitForTheChannelsIsNeverShorterThanTheTimeout) {
    const Timing timing;
    const struct {
        std::int32_t bytes;
        Millis wait;
    } kCases[] = {{0, 5000ms},      {1, 5000ms},       {6400, 5000ms},
                  {20000, 10000ms}, {131070, 65535ms}, {196608, 65535ms}};
    for (const auto& c : kCases) {
        EXPECT_EQ(channelDataWait(c.bytes, timing), c.wait) << c.bytes;
    }
}

TEST(Download, QuestionsComeOnlyForUnsavedPartsAndNoSkipsThePart) {
    const auto C = Confirmation::DiscardUnsavedChannels;
    const auto S = Confirmation::DiscardUnsavedSettings;
    const struct {
        DownloadRequest request;
        std::vector<bool> answers;
        std::vector<Confirmation> asked;
        bool channelsOk;
        bool settingsOk;
        const char* commands;
    } kCases[] = {
        {{true, true, false, false}, {}, {}, true, true, "CBEG|A|CBEG|B|CBEG|G|"},
        {{true, true, true, true}, {true, true}, {C, S}, true, true, "CBEG|A|CBEG|B|CBEG|G|"},
        {{true, true, true, false}, {false}, {C}, false, true, "CBEG|G|"},
        {{true, true, false, true}, {false}, {S}, true, false, "CBEG|A|CBEG|B|"},
        {{false, true, true, true}, {true}, {S}, false, true, "CBEG|G|"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.commands);
        test::Bench b(3);
        b.recorder.answers.assign(c.answers.begin(), c.answers.end());
        const DownloadResult r = download(b.link, b.recorder, Timing{}, c.request);
        EXPECT_EQ(b.recorder.asked, c.asked);
        EXPECT_EQ(r.channels.ok, c.channelsOk);
        EXPECT_EQ(r.settings.ok, c.settingsOk);
        EXPECT_EQ(r.channels.attempted, c.request.channels);
        if (c.request.channels && !c.channelsOk) {
            EXPECT_EQ(r.channels.status.error(), ErrorCode::TransferCancelled);
            EXPECT_FALSE(r.cancelled);
        }
        EXPECT_EQ(b.commands(), c.commands);
    }
}

TEST(Download, ACancelEndsTheDownloadPromptlyAndHandsBackNothing) {
    const Millis whole = [&] {
        test::Bench b(3071);
        EXPECT_TRUE(download(b.link, b.recorder, Timing{}, {}).settings.ok);
        return b.link.elapsed();
    }();
    // In the size handshake, while the size reply falls quiet, in the channel data, in the
    // settings, and while the receiver stays silent.
    for (Millis at : {1ms, 30ms, 20000ms, whole - 100ms, 2500ms}) {
        SCOPED_TRACE(at.count());
        test::Bench b(3071);
        if (at == 2500ms) b.sim.addFault({SimFault::Silence, SimCommand::Handshake, 0});
        b.link.cancelAt(b.link.now() + at);
        const DownloadResult r = download(b.link, b.recorder, Timing{}, {});
        EXPECT_TRUE(r.cancelled);
        EXPECT_LE(b.link.elapsed(), at + 200ms);
        EXPECT_GE(b.link.elapsed(), at);
        EXPECT_TRUE(at != 2500ms || b.link.elapsed() == at);  // nothing on the way to wait for
        EXPECT_EQ(r.channels.status.error(), ErrorCode::TransferCancelled);
        EXPECT_EQ(r.settings.status.error(), ErrorCode::TransferCancelled);
        EXPECT_FALSE(r.channels.ok || r.settings.ok);
        EXPECT_TRUE(r.lists.tv.empty() && r.channelBytes == 0 && r.settingsImage.empty());
    }
}

// One fault at one step of a full download, and how each part must end: ok, or the error
// with the last status line text the part showed ("" when the part never ran).
struct PartEnd {
    std::optional<ErrorCode> error;
    const char* lastStatus = "Com open";
};
const PartEnd kOk{};
PartEnd fails(ErrorCode code, const char* lastStatus) {
    return {code, lastStatus};
}

struct FaultCase {
    SimFault fault;
    SimCommand command;
    int occurrence;
    PartEnd channels;
    PartEnd settings;
};

TEST(DownloadFaults, EveryFaultAtEveryStepEndsInTimeWithTheRightOutcome) {
    using F = SimFault;
    using C = SimCommand;
    using E = ErrorCode;
    // The steps in order: "CBEG" #1 and "A" (size), "CBEG" #2 and "B" (channel data),
    // "CBEG" #3 and "G" (settings); a channel part that fails early shifts the settings'
    // "CBEG" to #2, which is then answered. A reply cut short, a byte dropped from it or one
    // changed take the same way as silence, a wrong size or a wrong checksum at the same step
    // and have a row where that way is first taken.
    const FaultCase kCases[] = {
        {F::Silence, C::Handshake, 1, fails(E::NoAnswer, "Error"), kOk},
        {F::Late, C::Handshake, 1, fails(E::NoAnswer, "Error"), kOk},
        {F::Split, C::Handshake, 1, kOk, kOk},
        {F::Buried, C::Handshake, 1, kOk, kOk},
        {F::HangUp, C::Handshake, 1, fails(E::PortError, "Error"), fails(E::PortError, "")},

        {F::Silence, C::Size, 1, fails(E::NoAnswer, "Error"), kOk},
        {F::Late, C::Size, 1, fails(E::NoAnswer, "Error"), kOk},
        {F::Split, C::Size, 1, kOk, kOk},
        {F::Buried, C::Size, 1, fails(E::WrongChannelDataSize, "Error"), kOk},
        {F::NotHex, C::Size, 1, fails(E::WrongChannelDataSize, "Error"), kOk},
        {F::DropByte, C::Size, 1, fails(E::WrongChannelDataSize, "Error"), kOk},
        {F::HangUp, C::Size, 1, fails(E::PortError, "Error"), fails(E::PortError, "")},

        {F::Silence, C::Handshake, 2, fails(E::DownloadFailed, "Com open"), kOk},
        {F::Late, C::Handshake, 2, fails(E::DownloadFailed, "Com open"), kOk},
        {F::Split, C::Handshake, 2, kOk, kOk},
        {F::HangUp, C::Handshake, 2, fails(E::DownloadFailed, "Com open"), fails(E::PortError, "")},

        {F::Silence, C::ChannelData, 1, fails(E::DownloadFailed, "Com open"), kOk},
        {F::Late, C::ChannelData, 1, fails(E::DownloadFailed, "Com open"), kOk},
        {F::Split, C::ChannelData, 1, kOk, kOk},
        {F::WrongChecksum, C::ChannelData, 1, fails(E::DownloadFailed, "Com open"), kOk},
        {F::CutShort, C::ChannelData, 1, fails(E::DownloadFailed, "Com open"), kOk},
        {F::ExtraBytes, C::ChannelData, 1, kOk, kOk},
        {F::HangUp, C::ChannelData, 1, fails(E::DownloadFailed, "Com open"),
         fails(E::PortError, "")},

        {F::Silence, C::Handshake, 3, kOk, fails(E::NoAnswer, "Error")},
        {F::Late, C::Handshake, 3, kOk, fails(E::NoAnswer, "Error")},
        {F::Split, C::Handshake, 3, kOk, kOk},
        {F::HangUp, C::Handshake, 3, kOk, fails(E::PortError, "Error")},

        {F::Silence, C::Settings, 1, kOk, fails(E::NoAnswer, "Error")},
        {F::Late, C::Settings, 1, kOk, fails(E::NoAnswer, "Error")},
        {F::Split, C::Settings, 1, kOk, kOk},
        {F::WrongChecksum, C::Settings, 1, kOk, fails(E::WrongChecksum, "Com open")},
        {F::FlipByte, C::Settings, 1, kOk, fails(E::WrongChecksum, "Com open")},
        {F::CutShort, C::Settings, 1, kOk, fails(E::NoAnswer, "Error")},
        {F::ExtraBytes, C::Settings, 1, kOk, kOk},
        {F::HangUp, C::Settings, 1, kOk, fails(E::PortError, "Error")},
    };
    const Timing timing;
    const Millis lateBy = 6000ms;
    const std::string image = test::channelImage(20);
    const std::string settingsImage = settingsImageOf(test::settingsBlock());
    const Millis clean = [&] {
        test::Bench b(20);
        EXPECT_TRUE(download(b.link, b.recorder, timing, {}).settings.ok);
        return b.link.elapsed();
    }();

    for (const FaultCase& c : kCases) {
        SCOPED_TRACE(test::describeFault(c.fault, c.command, c.occurrence));
        test::Bench b(20);
        b.sim.setLateBy(lateBy);
        b.sim.addFault({c.fault, c.command, c.occurrence});
        const DownloadResult r = download(b.link, b.recorder, timing, {});

        // A failed wait ends at its timeout; a late answer may hold the next part up until it
        // has come.
        const Millis slack = c.fault == F::Late ? lateBy + 400ms : timing.timeout;
        EXPECT_LE(b.link.elapsed(), clean + slack + 100ms);

        const auto [channelsLast, settingsLast] =
            test::lastStatusesAround(b.recorder.statuses, "Get Settings");
        const struct {
            const PartOutcome& outcome;
            const PartEnd& expected;
            const std::string handedBack;
            const std::string& sent;
            const std::string& lastStatus;
        } kParts[] = {
            {r.channels, c.channels, recordsOf(r), image, channelsLast},
            {r.settings, c.settings, r.settingsImage, settingsImage, settingsLast},
        };
        for (const auto& part : kParts) {
            SCOPED_TRACE(&part == kParts ? "channels" : "settings");
            EXPECT_TRUE(part.outcome.attempted);
            EXPECT_EQ(part.outcome.ok, !part.expected.error);
            EXPECT_EQ(part.outcome.status.error(),
                      part.expected.error.value_or(part.outcome.status.error()))
                << part.outcome.status.detail();
            EXPECT_EQ(part.handedBack, part.expected.error ? "" : part.sent);
            EXPECT_EQ(part.lastStatus, part.expected.lastStatus);
        }
        EXPECT_FALSE(r.cancelled);

        // Idle again: once the line has calmed down (or been reconnected) the next download
        // brings everything.
        b.sim.clearFaults();
        b.link.pause(70s);
        b.link.reconnect();
        test::TransferRecorder again;
        const DownloadResult retry = download(b.link, again, timing, {});
        EXPECT_EQ(recordsOf(retry), image);
        EXPECT_EQ(retry.settingsImage, settingsImage);
    }
}

}  // namespace
}  // namespace qel
