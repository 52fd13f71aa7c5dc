// The DVB98 upload against the simulated receiver in virtual time: the bytes on the wire and
// what the window is shown, the refusals before any byte, every fault of the receiver at every
// wait, the backup before and the verification after, and cancelling.
#include "serial/upload.h"

#include "files/dvb_file.h"
#include "files/fta_writer.h"
#include "files/g98_file.h"
#include "serial/upload_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/transfer_recorder.h"
#include "support/receiver_data.h"
#include "support/serial_line.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

// Settings other than the ones the simulated receiver is given.
std::string newSettingsBlock() {
    std::string block = "DVSO";
    for (int i = 0; block.size() < 1264; ++i)
        block += static_cast<char>((i * 13 + 5) & 0xFF);
    return block;
}

// Channels (a count of -1: none) and the new settings, without backup or verification.
UploadRequest requestOf(int count, bool settings = true) {
    UploadRequest r;
    r.channels = count >= 0;
    if (r.channels) {
        r.channelKind = FileKind::DVB;
        r.channelImage = test::channelImage(count);
        r.channelCount = static_cast<std::size_t>(count);
    }
    r.settings = settings;
    if (settings) r.settingsImage = settingsImageOf(newSettingsBlock());
    r.backup = r.verify = false;
    return r;
}

TEST(Upload, ChannelsAndSettingsGoUpInTheButtonsOrder) {
    test::Bench b(20);
    const UploadRequest request = requestOf(100);
    const UploadResult r = upload(b.link, b.recorder, Timing{}, request);
    EXPECT_TRUE(r.channels.ok && r.settings.ok) << r.channels.status.detail();
    EXPECT_TRUE(b.sim.channelImage() == request.channelImage);
    EXPECT_TRUE(b.sim.settingsBlock() == newSettingsBlock());
    EXPECT_EQ(b.commands(), "CBEG|C|CBEG|H|");
    EXPECT_EQ(b.statuses(), "Wait please|UpLoading|Com open|Send Settings|Com open|");
    // The count of bytes sent less one after each piece of 4096, then the bytes used.
    EXPECT_EQ(test::joined(b.recorder.bytes), "4095|6400|6400|");
    EXPECT_FALSE(r.backupTaken || r.cancelled || !b.recorder.asked.empty());
}

TEST(UploadChannels, FewerThan3072ChannelsGoUpAndMoreAreRefusedBeforeAnyByte) {
    // Whichever says more counts: the count given or the records.
    const struct {
        int records;
        std::size_t counted;
        bool refused;
    } kCases[] = {{3071, 3071, false}, {3072, 3072, true}, {1, 3072, true}, {3072, 1, true}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.records) + " records, " + std::to_string(c.counted));
        test::Bench b;
        Exchange exchange(b.link, b.recorder);
        const std::string image = test::channelImage(c.records);
        const Status st = uploadChannels(exchange, image, c.counted);
        if (c.refused) {
            EXPECT_EQ(st.error(), ErrorCode::TooManyChannelsDvb);
            EXPECT_EQ(b.link.written(), "");
            EXPECT_EQ(b.statuses(), "Com open|");
            continue;
        }
        EXPECT_TRUE(st.ok()) << st.detail();
        EXPECT_TRUE(b.sim.channelImage() == image);
        EXPECT_EQ(b.link.writes()[1], "C0002FFC0");
        // 196545 bytes at 3840 a second, with the handshakes: 51.2 s, one piece after the other.
        EXPECT_GE(b.link.elapsed(), 51180ms);
        EXPECT_LE(b.link.elapsed(), 51180ms * 1.01);
    }
}

TEST(UploadChannels, PiecesAreTheOutputQueuesSizeAndTheCountEndsAtTheImageLength) {
    // The header announces the records' length (without the checksum) in 8 hex digits.
    const struct {
        std::size_t queue;
        int channels;
        const char* header;
        std::vector<std::size_t> pieces;
    } kCases[] = {
        {512, 100, "C00001900", {512, 512, 512, 512, 512, 512, 512, 512, 512, 512, 512, 512, 257}},
        {6400, 100, "C00001900", {6400, 1}},
        {6401, 100, "C00001900", {6401}},
        {100000, 10, "C00000280", {641}},
        {64, 1, "C00000040", {64, 1}},
        {1, 0, "C00000000", {1}},  // no channels: the checksum of nothing alone
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.queue) + " / " + std::to_string(c.channels));
        test::Bench b;
        b.link.setOutputQueueSize(c.queue);
        Exchange exchange(b.link, b.recorder);
        const std::string image = test::channelImage(c.channels);
        ASSERT_TRUE(uploadChannels(exchange, image, 0).ok());

        const std::vector<std::string>& w = b.link.writes();
        ASSERT_GE(w.size(), 3u);
        EXPECT_EQ(w[0], "CBEG");
        EXPECT_EQ(w[1], c.header);
        std::vector<std::size_t> pieces;
        std::string data;
        // After each piece the count sent less one, then the bytes used.
        std::string counts;
        for (std::size_t i = 2; i < w.size(); ++i) {
            pieces.push_back(w[i].size());
            data += w[i];
            counts += std::to_string(data.size() - 1) + '|';
        }
        EXPECT_EQ(pieces, c.pieces);
        EXPECT_EQ(data, image + static_cast<char>(blockChecksum(image)));
        EXPECT_EQ(test::joined(b.recorder.bytes), counts + std::to_string(image.size()) + '|');
        EXPECT_EQ(b.recorder.lastProgress, std::pair(image.size() + 1, image.size() + 1));
        // The pieces follow each other on the line without a gap: the exchange takes the wire
        // time of every byte both ways and a read's latency for each of the three answers.
        const std::size_t wire = 4 + 2 + 9 + 2 + image.size() + 1 + 2;
        EXPECT_LE(b.link.elapsed(), test::lineTime(wire) + 3 * 10ms + 5ms);
        EXPECT_TRUE(b.sim.channelImage() == image);
    }
}

TEST(UploadSettings, OnlyDvb98SettingsGoUpAndOthersAreRefusedBeforeAnyByte) {
    const std::string tagged = settingsImageOf(newSettingsBlock());
    const struct {
        const char* name;
        std::string image;
        bool refused;
    } kCases[] = {
        {"DVB98 settings", tagged, false},
        {"no settings", "", true},
        {"another tag", "4456534E" + tagged.substr(8), true},
        {"lower-case tag", "4456534f" + tagged.substr(8), true},
        {"a blank image", std::string(2530, ' '), true},
        {"cut short", tagged.substr(0, 2527), true},
        // The checksum digits are not sent: an image without them goes up.
        {"without checksum digits", tagged.substr(0, 2528), false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        test::Bench b(0);
        Exchange exchange(b.link, b.recorder);
        const Status st = uploadSettings(exchange, c.image);
        if (c.refused) {
            EXPECT_EQ(st.error(), ErrorCode::SettingsNotTagged);
            EXPECT_EQ(b.statuses(), "Error|");
            EXPECT_EQ(b.link.written(), "");
            EXPECT_EQ(b.link.elapsed(), 0ms);
            EXPECT_TRUE(b.sim.settingsBlock() == test::settingsBlock());
            continue;
        }
        ASSERT_TRUE(st.ok()) << st.detail();
        const std::string block = newSettingsBlock();
        EXPECT_EQ(test::joined(b.link.writes()), "CBEG|H" + test::withChecksum(block) + '|');
        EXPECT_TRUE(b.sim.settingsBlock() == block);
        EXPECT_EQ(b.statuses(), "Send Settings|Com open|");
        // One full timeout of waiting before the handshake.
        EXPECT_GE(b.link.elapsed(), 5000ms);
        EXPECT_LE(b.link.elapsed(), 5000ms + 400ms);
    }
}

// One fault at one step of an upload of both parts, and how each part must end: ok, or the
// error with the last status line text the part showed; and what the receiver then holds.
enum class Held { Old, New, Changed };

struct PartEnd {
    std::optional<ErrorCode> error;
    const char* lastStatus = "Com open";
    Held held = Held::New;
};
const PartEnd kUp{};
PartEnd fails(ErrorCode code, const char* lastStatus, Held held = Held::Old) {
    return {code, lastStatus, held};
}

struct FaultCase {
    SimFault fault;
    SimCommand command;
    int occurrence;
    PartEnd channels;
    PartEnd settings;
};

TEST(UploadFaults, EveryFaultAtEveryWaitEndsInTimeWithTheRightOutcome) {
    using F = SimFault;
    using C = SimCommand;
    using E = ErrorCode;
    // The waits in order: "CBEG" #1, the "C" header, the records' "OK" (channels), "CBEG" #2
    // and "H" (settings). A receiver that missed the header still takes what follows as
    // channel records, the settings' handshake among them.
    const FaultCase kCases[] = {
        {F::Silence, C::Handshake, 1, fails(E::UploadFailed, "Com open"), kUp},
        {F::Late, C::Handshake, 1, fails(E::UploadFailed, "Com open"), kUp},
        {F::Split, C::Handshake, 1, kUp, kUp},
        {F::Buried, C::Handshake, 1, kUp, kUp},
        {F::HangUp, C::Handshake, 1, fails(E::UploadFailed, "Com open"), fails(E::PortError, "")},

        {F::Silence, C::ChannelUpload, 1, fails(E::UploadFailed, "Com open"),
         fails(E::NoAnswer, "Error")},
        {F::Late, C::ChannelUpload, 1, fails(E::UploadFailed, "Com open"),
         fails(E::NoAnswer, "Error")},
        {F::Split, C::ChannelUpload, 1, kUp, kUp},
        {F::Buried, C::ChannelUpload, 1, kUp, kUp},
        {F::HangUp, C::ChannelUpload, 1, fails(E::UploadFailed, "Com open"),
         fails(E::PortError, "")},
        {F::Garble, C::ChannelUpload, 1, fails(E::UploadFailed, "Com open"), kUp},
        {F::MisStore, C::ChannelUpload, 1, {std::nullopt, "Com open", Held::Changed}, kUp},

        {F::Silence, C::Handshake, 2, kUp, fails(E::NoAnswer, "Error")},
        {F::Late, C::Handshake, 2, kUp, fails(E::NoAnswer, "Error")},
        {F::Split, C::Handshake, 2, kUp, kUp},
        {F::HangUp, C::Handshake, 2, kUp, fails(E::PortError, "Error")},

        {F::Silence, C::SettingsUpload, 1, kUp, fails(E::NoAnswer, "Error", Held::New)},
        {F::Late, C::SettingsUpload, 1, kUp, fails(E::NoAnswer, "Error", Held::New)},
        {F::Split, C::SettingsUpload, 1, kUp, kUp},
        {F::Garble, C::SettingsUpload, 1, kUp, fails(E::NoAnswer, "Error")},
        {F::HangUp, C::SettingsUpload, 1, kUp, fails(E::PortError, "Error", Held::New)},
        {F::MisStore, C::SettingsUpload, 1, kUp, {std::nullopt, "Com open", Held::Changed}},
    };
    const Timing timing;
    const UploadRequest request = requestOf(30);
    const std::string oldImage = test::channelImage(20);
    const std::string oldSettings = test::settingsBlock();
    const Millis clean = [&] {
        test::Bench b(20);
        EXPECT_TRUE(upload(b.link, b.recorder, timing, request).settings.ok);
        return b.link.elapsed();
    }();

    for (const FaultCase& c : kCases) {
        SCOPED_TRACE(test::describeFault(c.fault, c.command, c.occurrence));
        test::Bench b(20);
        b.sim.setLateBy(6000ms);
        b.sim.addFault({c.fault, c.command, c.occurrence});
        const UploadResult r = upload(b.link, b.recorder, timing, request);

        // Each wait that runs out costs one timeout, and no more.
        const auto runOut = [](const PartEnd& end) {
            return end.error == E::UploadFailed || end.error == E::NoAnswer ? 1 : 0;
        };
        EXPECT_LE(b.link.elapsed(),
                  clean + (runOut(c.channels) + runOut(c.settings)) * timing.timeout + 100ms);

        const auto [channelsLast, settingsLast] =
            test::lastStatusesAround(b.recorder.statuses, "Send Settings");
        const struct {
            const PartOutcome& outcome;
            const PartEnd& expected;
            std::string held;
            const std::string& before;
            const std::string& sent;
            const std::string& lastStatus;
        } kParts[] = {
            {r.channels, c.channels, b.sim.channelImage(), oldImage, request.channelImage,
             channelsLast},
            {r.settings, c.settings, b.sim.settingsBlock(), oldSettings, newSettingsBlock(),
             settingsLast},
        };
        for (const auto& part : kParts) {
            SCOPED_TRACE(&part == kParts ? "channels" : "settings");
            EXPECT_TRUE(part.outcome.attempted);
            EXPECT_EQ(part.outcome.ok, !part.expected.error);
            EXPECT_EQ(part.outcome.status.error(),
                      part.expected.error.value_or(part.outcome.status.error()))
                << part.outcome.status.detail();
            EXPECT_EQ(part.lastStatus, part.expected.lastStatus);
            if (part.expected.held == Held::Changed) {
                EXPECT_EQ(firstDifference(part.held, part.sent), part.sent.size() / 2);
            } else {
                EXPECT_TRUE(part.held ==
                            (part.expected.held == Held::Old ? part.before : part.sent));
            }
        }
        EXPECT_FALSE(r.cancelled || !b.recorder.asked.empty());
    }
}

TEST(UploadBackup, TheBackupIsTakenFirstAndAFailedOneAsksAndNoSendsNothing) {
    const struct {
        const char* name;
        std::optional<FaultPlan> fault;
        bool kept;
        std::optional<bool> answer;  // nothing: not asked
        bool uploaded;
        std::optional<ErrorCode> error;
    } kCases[] = {
        {"kept", std::nullopt, true, std::nullopt, true, std::nullopt},
        {"not kept, go on", std::nullopt, false, true, true, std::nullopt},
        {"not kept, stop", std::nullopt, false, false, false, ErrorCode::TransferCancelled},
        {"channels do not arrive, go on", FaultPlan{SimFault::Silence, SimCommand::ChannelData, 1},
         true, true, true, std::nullopt},
        {"settings arrive broken, stop",
         FaultPlan{SimFault::WrongChecksum, SimCommand::Settings, 1}, true, false, false,
         ErrorCode::TransferCancelled},
        // A line that failed is not asked about: nothing more can go over it.
        {"line hung up", FaultPlan{SimFault::HangUp, SimCommand::ChannelData, 1}, true,
         std::nullopt, false, ErrorCode::PortError},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        test::Bench b(20);
        if (c.fault) b.sim.addFault(*c.fault);
        b.recorder.keepsBackup = c.kept;
        if (c.answer) b.recorder.answers = {*c.answer};
        // The backup holds what the receiver had before the first byte goes up.
        b.recorder.onKeepBackup = [&] { EXPECT_EQ(b.commands(), "CBEG|A|CBEG|B|CBEG|G|"); };
        UploadRequest request = requestOf(30);
        request.backup = true;
        const UploadResult r = upload(b.link, b.recorder, Timing{}, request);

        EXPECT_EQ(r.backupTaken, !c.fault && c.kept);
        if (!c.fault) {
            ASSERT_EQ(b.recorder.backups.size(), 1u);
            EXPECT_EQ(b.recorder.backups[0].first, test::channelImage(20));
            EXPECT_EQ(b.recorder.backups[0].second, test::settingsBlock());
        }
        EXPECT_EQ(b.recorder.asked, c.answer ? std::vector{Confirmation::UploadWithoutBackup}
                                             : std::vector<Confirmation>{});
        EXPECT_EQ(r.channels.ok, c.uploaded);
        EXPECT_EQ(r.settings.ok, c.uploaded);
        if (c.error) {
            EXPECT_EQ(r.channels.status.error(), *c.error);
            EXPECT_EQ(r.settings.status.error(), *c.error);
        }
        EXPECT_EQ(b.commands().find("|C|") != std::string::npos, c.uploaded);
        EXPECT_EQ(b.sim.channelImage() == request.channelImage, c.uploaded);
        EXPECT_EQ(b.sim.settingsBlock() == newSettingsBlock(), c.uploaded);
    }
}

TEST(UploadBackup, NoBackupWhenNoDvb98PartGoesUp) {
    // Too many channels, settings not tagged, nothing loaded, an FTA image declined.
    for (int which = 0; which < 4; ++which) {
        SCOPED_TRACE(which);
        UploadRequest r = requestOf(which == 0 ? 3072 : -1, which == 1);
        if (which == 1) r.settingsImage[0] = '0';
        r.channels = which != 1;
        if (which == 3) {
            r.channelKind = FileKind::BIN;
            r.channelImage = std::string(49152, '\xFF');
        }
        r.backup = true;
        test::Bench b;
        b.recorder.answers = {false};  // the FTA prompt to unplug the receiver
        const UploadResult result = upload(b.link, b.recorder, Timing{}, r);
        EXPECT_EQ(b.link.written(), "");
        EXPECT_TRUE(b.recorder.backups.empty());
        EXPECT_FALSE(result.backupTaken || result.channels.ok || result.settings.ok);
    }
}

// Each part is read back and the first difference named, in the detail and as a number for a
// window that words it itself.
TEST(UploadVerify, EachPartIsReadBackAndTheFirstDifferenceNamed) {
    const std::string readBack = "CBEG|C|CBEG|A|CBEG|B|CBEG|H|CBEG|G|";
    const std::string upOnly = "CBEG|C|CBEG|H|";
    using C = SimCommand;
    const auto V = ErrorCode::VerifyFailed;
    const struct {
        std::optional<FaultPlan> fault;
        bool verify;
        std::optional<ErrorCode> channels;
        std::string channelsDetail;
        std::size_t channelsAt;
        std::optional<ErrorCode> settings;
        std::string settingsDetail;
        std::size_t settingsAt;
        std::string commands;
    } kCases[] = {
        {std::nullopt, true, {}, "", 0, {}, "", 0, readBack},
        {std::nullopt, false, {}, "", 0, {}, "", 0, upOnly},
        // 30 channels: the byte in the middle is byte 960, in channel 16.
        {FaultPlan{SimFault::MisStore, C::ChannelUpload, 1},
         true,
         V,
         "channel 16",
         16,
         {},
         "",
         0,
         readBack},
        {FaultPlan{SimFault::MisStore, C::SettingsUpload, 1},
         true,
         {},
         "",
         0,
         V,
         "byte 633",
         633,
         readBack},
        {FaultPlan{SimFault::MisStore, C::ChannelUpload, 1}, false, {}, "", 0, {}, "", 0, upOnly},
        {FaultPlan{SimFault::WrongChecksum, C::ChannelData, 1},
         true,
         V,
         "could not read it back (Error during download: wrong checksum)",
         0,
         {},
         "",
         0,
         readBack},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(&c - kCases);
        test::Bench b;
        if (c.fault) b.sim.addFault(*c.fault);
        UploadRequest request = requestOf(30);
        request.verify = c.verify;
        const UploadResult r = upload(b.link, b.recorder, Timing{}, request);
        EXPECT_EQ(r.channels.ok, !c.channels);
        EXPECT_EQ(r.channels.status.error(), c.channels.value_or(r.channels.status.error()));
        EXPECT_EQ(r.channels.status.detail(), c.channelsDetail);
        EXPECT_EQ(r.channels.differsAt, c.channelsAt);
        EXPECT_EQ(r.settings.ok, !c.settings);
        EXPECT_EQ(r.settings.status.error(), c.settings.value_or(r.settings.status.error()));
        EXPECT_EQ(r.settings.status.detail(), c.settingsDetail);
        EXPECT_EQ(r.settings.differsAt, c.settingsAt);
        EXPECT_EQ(b.commands(), c.commands);
    }
}

TEST(UploadVerify, AReceiverStillWritingAfterItsOkIsReadBackAFullTimeoutLater) {
    Timing shortened;
    shortened.timeout = 800ms;
    const struct {
        Timing timing;
        Millis busy;
        bool verified;
    } kCases[] = {
        {Timing{}, 4900ms, true},
        {Timing{}, 6000ms, false},
        {shortened, 750ms, true},
        {shortened, 1000ms, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.busy.count());
        test::Bench b(20);
        b.sim.addFault({SimFault::Busy, SimCommand::ChannelUpload, 0});
        b.sim.addFault({SimFault::Busy, SimCommand::SettingsUpload, 0});
        b.sim.setBusyFor(c.busy);
        UploadRequest request = requestOf(30);
        request.backup = request.verify = true;
        const UploadResult r = upload(b.link, b.recorder, c.timing, request);

        EXPECT_TRUE(r.backupTaken);
        EXPECT_TRUE(b.sim.channelImage() == request.channelImage);
        EXPECT_TRUE(b.sim.settingsBlock() == newSettingsBlock());
        EXPECT_EQ(r.channels.ok, c.verified) << r.channels.status.detail();
        EXPECT_EQ(r.settings.ok, c.verified) << r.settings.status.detail();
        EXPECT_EQ(b.sim.droppedWhileBusy() == 0, c.verified);
        if (!c.verified) {
            EXPECT_EQ(r.channels.status.error(), ErrorCode::VerifyFailed);
            EXPECT_EQ(r.settings.status.error(), ErrorCode::VerifyFailed);
        }
    }
}

TEST(UploadCancel, ACancelStopsPromptlyAndSaysSo) {
    const UploadRequest request = requestOf(300);
    // In the channel handshake, in the records (19200 bytes take 5 s), in the pause before the
    // settings, in their block.
    for (Millis at : {1ms, 2000ms, 7000ms, 10100ms}) {
        SCOPED_TRACE(at.count());
        test::Bench b(20);
        b.link.cancelAt(b.link.now() + at);
        const UploadResult r = upload(b.link, b.recorder, Timing{}, request);
        EXPECT_TRUE(r.cancelled);
        EXPECT_LE(b.link.elapsed(), at + 100ms);
        EXPECT_FALSE(r.settings.ok);
        EXPECT_EQ(r.settings.status.error(), ErrorCode::TransferCancelled);
        // The settings block was handed to the port whole before the last cancel: whether
        // the receiver has it then is up to the line.
        if (at < 10000ms) {
            EXPECT_TRUE(b.sim.settingsBlock() == test::settingsBlock());
        }
        EXPECT_EQ(r.channels.ok, at >= 6000ms);
        if (at < 6000ms) {
            EXPECT_EQ(r.channels.status.error(), ErrorCode::TransferCancelled);
            EXPECT_TRUE(b.sim.channelImage() == test::channelImage(20));
        }
    }
}

// What the window and qel-tool send of a document: each part from what the document holds.
TEST(UploadRequestOf, EachPartTakesWhatTheDocumentHolds) {
    auto lists = [](int count) { return parseDvb(test::channelImage(count)).value(); };
    std::string twoSets(8192, '\0');
    for (std::size_t i = 0; i < twoSets.size(); ++i)
        twoSets[i] = static_cast<char>(i / 4096 + 1);
    const UploadParts all{true, true, true, true};

    Workspace ws;
    ws.installChannels({lists(3), FileKind::DVB, {}});
    ws.installSettings(settingsImageOf(test::settingsBlock()));
    ASSERT_TRUE(ws.installFont(FontType::SystemTwoSets, twoSets));
    BuiltUpload b = buildUploadRequest(ws, all, FileKind::DVB, 1, true, false);
    EXPECT_TRUE(b.channelsRefused.ok() && b.sendsAnything());
    EXPECT_EQ(b.request.channelKind, FileKind::DVB);
    EXPECT_EQ(b.request.channelImage, test::channelImage(3));
    EXPECT_EQ(b.request.channelCount, 3u);
    EXPECT_EQ(b.request.settingsImage, ws.settingsImage());
    EXPECT_EQ(b.request.systemFontSet, twoSets.substr(4096));
    EXPECT_TRUE(b.request.teletextFont && b.request.teletextFontData.empty());
    EXPECT_TRUE(b.request.backup && !b.request.verify);
    EXPECT_EQ(buildUploadRequest(ws, all, FileKind::DVB, 0, false, true).request.systemFontSet,
              twoSets.substr(0, 4096));
    EXPECT_FALSE(buildUploadRequest(ws, {}, FileKind::DVB, 0, true, true).sendsAnything());

    // A one-set font has only its first set; a teletext font goes up whole.
    ASSERT_TRUE(ws.installFont(FontType::SystemOneSet, twoSets.substr(4096)));
    EXPECT_EQ(buildUploadRequest(ws, all, FileKind::DVB, 1, true, true).request.systemFontSet,
              twoSets.substr(4096));
    ASSERT_TRUE(ws.installFont(FontType::Teletext, std::string(3190, '\x80')));
    b = buildUploadRequest(ws, all, FileKind::DVB, 1, true, true);
    EXPECT_TRUE(b.request.systemFont && b.request.systemFontSet.empty());
    EXPECT_EQ(b.request.teletextFontData, std::string(3190, '\x80'));

    // The most a DVB98 receiver takes, and one more: no records are built for it.
    for (int count : {3071, 3072}) {
        ws.installChannels({lists(count), FileKind::DVB, {}});
        b = buildUploadRequest(ws, all, FileKind::DVB, 0, true, true);
        EXPECT_EQ(b.request.channelImage.size(), count == 3071 ? 3071u * 64 : 0u);
        EXPECT_EQ(b.request.channelCount, static_cast<std::size_t>(count));
    }
    // No settings loaded (an FTA image unloads them): asked for, without bytes.
    ws.installChannels({lists(3), FileKind::BIN, {}});
    b = buildUploadRequest(ws, all, FileKind::None, 0, true, true);
    EXPECT_TRUE(b.request.settings && b.request.settingsImage.empty());
    EXPECT_TRUE(b.request.channels && b.request.channelImage.empty());

    // DVB98 lists through the FTA loader: the image converting them writes, default settings.
    Workspace dvb;
    dvb.installChannels({lists(60), FileKind::DVB, {}});
    b = buildUploadRequest(dvb, {true, false, false, false}, FileKind::BIN, 0, true, true);
    const TvRadioLists normal = normalizeForFtaImage(dvb.tvList(), dvb.radioList());
    EXPECT_EQ(b.request.channelImage,
              encodeFtaImage(normal.tv, normal.radio, dvb.imageTables(), ImageSettings::Defaults)
                  .value());
    EXPECT_EQ(b.request.channelKind, FileKind::BIN);
    // Lists no image holds: left out, with the writer's reason.
    dvb.installChannels({lists(1100), FileKind::DVB, {}});
    b = buildUploadRequest(dvb, {true, false, false, false}, FileKind::BIN, 0, true, true);
    EXPECT_EQ(b.channelsRefused.error(), ErrorCode::TooManyChannelsFta);
    EXPECT_FALSE(b.request.channels || b.sendsAnything());
}

}  // namespace
}  // namespace qel
