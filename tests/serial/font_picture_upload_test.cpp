// The font and boot picture uploads against the simulated receiver in virtual time: the bytes
// on the wire, the pieces and pauses, the refusals before any byte, the faults of the receiver
// at every wait, and their place in the upload.
#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "bytes/checksum.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial/picture.h"
#include "serial/transfer_recorder.h"
#include "serial/upload.h"

#include "files/g98_file.h"
#include "support/receiver_data.h"
#include "support/serial_line.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

using test::kLineRate;
using test::lineTime;
using test::withChecksum;

std::string pattern(std::size_t size, std::size_t step) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * step + i / 256);
    return bytes;
}

const std::string kSet = pattern(4096, 7);
const std::string kTeletext = pattern(3190, 13);
const std::string kPicture = pattern(33718, 3);

// A receiver on a line at 38400 baud, and an exchange over it.
struct Bench {
    explicit Bench(std::size_t queue = 4096, const Timing& timing = {},
                   std::size_t rate = kLineRate)
        : link(sim, rate), exchange(link, recorder, timing) {
        link.setOutputQueueSize(queue);
    }
    std::string writtenFrom(std::size_t first) const {
        const auto& w = link.writes();
        return std::accumulate(w.begin() + static_cast<std::ptrdiff_t>(first), w.end(),
                               std::string());
    }
    ReceiverSimulator sim;
    SimulatedLink link;
    test::TransferRecorder recorder;
    Exchange exchange;
};

enum Part { System, Teletext, Picture };

// The progress a block of `size` bytes showed: it starts empty, never goes back, ends full, and
// moves at least every 150 ms of the block's time on the line.
void expectProgressFollows(const test::TransferRecorder& recorder, std::size_t size) {
    const auto& seen = recorder.progresses;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::pair(std::size_t{0}, size));
    EXPECT_EQ(seen.back(), std::pair(size, size));
    std::size_t steps = 0;
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].second, size);
        EXPECT_GE(seen[i].first, seen[i - 1].first);
        steps += seen[i].first > seen[i - 1].first;
    }
    EXPECT_GE(steps, static_cast<std::size_t>(lineTime(size) / 150ms)) << steps << " steps";
}

Status send(Part part, Bench& b, const std::string& bytes) {
    return part == System     ? uploadSystemFont(b.exchange, bytes)
           : part == Teletext ? uploadTeletextFont(b.exchange, bytes)
                              : uploadPicture(b.exchange, bytes, 2);
}

TEST(FontBlocks, TeletextBitsBecomeNibblesAndAPictureGoesBetweenZerosAndItsLength) {
    std::string font(3190, '\0');
    font[0] = '\x80';
    font[1] = '\xA5';
    font[3189] = '\xFF';
    const std::string block = teletextBlock(font);
    ASSERT_EQ(block.size(), 12800u);
    EXPECT_EQ(block.substr(0, 8), std::string("\x10\0\0\0\x10\x10\x01\x01", 8));
    EXPECT_EQ(block.find_first_not_of('\0', 8), 12756u);
    EXPECT_EQ(block.substr(12756), std::string(44, '\x11'));  // the last glyph, then a lit one
    EXPECT_EQ(teletextBlock(font + '\0'), "");

    const std::string picture = pictureBlock(kPicture);
    EXPECT_TRUE(picture == std::string(4, '\0') + kPicture + "\x83\xBA");
}

TEST(FontUpload, EachFontGoesUpAfterAPauseInPiecesOfTheQueue) {
    const struct {
        Part part;
        std::size_t queue;
        std::vector<std::size_t> pieces;
    } kCases[] = {
        {System, 4096, {4096, 2}},  {System, 1000, {1000, 1000, 1000, 1000, 98}},
        {System, 8192, {4098}},     {Teletext, 4096, {4096, 4096, 4096, 514}},
        {Teletext, 12802, {12802}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.part) + " in pieces of " + std::to_string(c.queue));
        Bench b(c.queue);
        const Status st = send(c.part, b, c.part == System ? kSet : kTeletext);
        ASSERT_TRUE(st.ok()) << st.detail();
        const std::string block = c.part == System ? kSet : teletextBlock(kTeletext);
        const std::string data = (c.part == System ? "F" : "V") + withChecksum(block);
        std::vector<std::size_t> pieces;
        for (const std::string& w : b.link.writes())
            pieces.push_back(w.size());
        EXPECT_EQ(b.link.writes()[0], "CBEG");
        EXPECT_EQ(std::vector(pieces.begin() + 1, pieces.end()), c.pieces);
        EXPECT_TRUE(b.writtenFrom(1) == data);
        EXPECT_TRUE((c.part == System ? b.sim.systemFont() : b.sim.teletextFont()) == block);
        EXPECT_EQ(
            test::joined(b.recorder.statuses),
            (c.part == System ? "Send Sys Font|" : "Send Txt Font|") + std::string("Com open|"));
        expectProgressFollows(b.recorder, data.size());
        // One timeout's pause, then the bytes one after the other on the line.
        const Millis wire = 5000ms + lineTime(4 + 2 + data.size() + 2);
        EXPECT_GE(b.link.elapsed(), wire);
        EXPECT_LE(b.link.elapsed(), wire + 40ms);
    }
}

TEST(PictureUpload, ThePictureGoesIntoTheChosenSlotAndTheCountFollowsIt) {
    for (int slot : {1, 2}) {
        SCOPED_TRACE(slot);
        Bench b;
        const PictureResult r = uploadPictureTransfer(b.link, b.recorder, Timing{}, kPicture, slot);
        ASSERT_TRUE(r.status.ok()) << r.status.detail();
        const std::vector<std::string> start = {"CBEG", "O", slot == 1 ? "CBEG4" : "CBEG5"};
        EXPECT_EQ(std::vector(b.link.writes().begin(), b.link.writes().begin() + 3), start);
        EXPECT_TRUE(b.writtenFrom(3) == withChecksum(pictureBlock(kPicture)));
        EXPECT_TRUE(b.sim.pictureFile(slot) == kPicture);
        EXPECT_TRUE(b.sim.pictureFile(3 - slot).empty());
        EXPECT_EQ(test::joined(b.recorder.statuses), "Sending Picture|Com open|");
        expectProgressFollows(b.recorder, 33725);
        // 33725 bytes in pieces of 4096: the count sent less one after each.
        std::string counts;
        for (std::size_t sent = 4096; sent < 33725; sent += 4096)
            counts += std::to_string(sent - 1) + '|';
        EXPECT_EQ(test::joined(b.recorder.bytes), counts + "33724|");
        // Two pauses of a second and the bytes on the line.
        const Millis wire = 2000ms + lineTime(4 + 2 + 1 + 2 + 5 + 2 + 33725 + 2);
        EXPECT_GE(b.link.elapsed(), wire);
        EXPECT_LE(b.link.elapsed(), wire + 60ms);
    }
}

TEST(PartRefusals, AMissingOrMisSizedFontOrPictureSendsNothing) {
    const struct {
        Part part;
        std::string bytes;
        ErrorCode error;
    } kCases[] = {
        {System, "", ErrorCode::NoFontLoaded},
        {System, kSet.substr(1), ErrorCode::WrongFontLength},
        {System, kSet + kSet, ErrorCode::WrongFontLength},
        {Teletext, "", ErrorCode::NoFontLoaded},
        {Teletext, kTeletext + 'x', ErrorCode::WrongFontLength},
        {Picture, kPicture.substr(1), ErrorCode::WrongPictureFile},
        {Picture, kPicture + 'x', ErrorCode::WrongPictureFile},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.part) + " of " + std::to_string(c.bytes.size()));
        Bench b;
        EXPECT_EQ(send(c.part, b, c.bytes).error(), c.error);
        EXPECT_EQ(b.link.written(), "");
        EXPECT_EQ(b.link.elapsed(), 0ms);
        EXPECT_EQ(b.recorder.statuses, c.part == Picture ? std::vector<std::string>{}
                                                         : std::vector<std::string>{"Error"});
    }
}

TEST(FontPictureFaults, EveryFaultAtEveryWaitEndsInTimeWithTheRightOutcome) {
    using F = SimFault;
    using C = SimCommand;
    using E = ErrorCode;
    enum class Kept { No, Yes, Changed };
    const struct {
        Part part;
        F fault;
        C command;
        std::optional<E> error;
        const char* lastStatus;
        Kept kept;
    } kCases[] = {
        {System, F::Silence, C::Handshake, E::NoAnswer, "Error", Kept::No},
        {System, F::Split, C::Handshake, {}, "Com open", Kept::Yes},
        {System, F::HangUp, C::Handshake, E::PortError, "Error", Kept::No},
        {System, F::Silence, C::SystemFont, E::NoAnswer, "Error", Kept::Yes},
        {System, F::Garble, C::SystemFont, E::NoAnswer, "Error", Kept::No},
        {System, F::MisStore, C::SystemFont, {}, "Com open", Kept::Changed},
        {Teletext, F::Silence, C::TeletextFont, E::NoAnswer, "Error", Kept::Yes},
        {Teletext, F::Garble, C::TeletextFont, E::NoAnswer, "Error", Kept::No},
        {Teletext, F::HangUp, C::TeletextFont, E::PortError, "Error", Kept::Yes},
        {Picture, F::Silence, C::Handshake, E::NoAnswer, "Error", Kept::No},
        {Picture, F::Silence, C::Picture, E::NoAnswer, "Error", Kept::No},
        {Picture, F::Split, C::Picture, {}, "Com open", Kept::Yes},
        {Picture, F::HangUp, C::Picture, E::PortError, "Error", Kept::No},
        {Picture, F::Silence, C::PictureSlot, E::NoAnswer, "Error", Kept::No},
        {Picture, F::Late, C::PictureSlot, E::NoAnswer, "Error", Kept::No},
        {Picture, F::Buried, C::PictureSlot, {}, "Com open", Kept::Yes},
        // The block arrives changed: no final "OK", and the status line goes back all the same.
        {Picture, F::Garble, C::PictureSlot, E::NoAnswer, "Com open", Kept::No},
        {Picture, F::MisStore, C::PictureSlot, {}, "Com open", Kept::Changed},
    };
    const std::string sent[] = {kSet, kTeletext, kPicture};
    const std::string arrives[] = {kSet, teletextBlock(kTeletext), kPicture};
    Millis clean[3];
    for (Part part : {System, Teletext, Picture}) {
        Bench b;
        EXPECT_TRUE(send(part, b, sent[part]).ok());
        clean[part] = b.link.elapsed();
    }
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.part) + ": " + test::describeFault(c.fault, c.command, 0));
        Bench b;
        b.sim.addFault({c.fault, c.command, 0});
        const Status st = send(c.part, b, sent[c.part]);
        EXPECT_EQ(st.error(), c.error.value_or(st.error())) << st.detail();
        EXPECT_EQ(st.ok(), !c.error);
        ASSERT_FALSE(b.recorder.statuses.empty());
        EXPECT_EQ(b.recorder.statuses.back(), c.lastStatus);
        EXPECT_LE(b.link.elapsed(), clean[c.part] + 5000ms + 100ms);
        const std::string kept = c.part == System     ? b.sim.systemFont()
                                 : c.part == Teletext ? b.sim.teletextFont()
                                                      : b.sim.pictureFile(2);
        const std::string& expected = arrives[c.part];
        if (c.kept == Kept::Changed) {
            // The byte in the middle of the block, which holds four bytes before the picture.
            EXPECT_EQ(firstDifference(kept, expected),
                      c.part == Picture ? 33724 / 2 - 4 : expected.size() / 2);
        } else {
            EXPECT_TRUE(kept == (c.kept == Kept::Yes ? expected : ""));
        }
    }
}

TEST(FontPictureFaults, APieceSlowToLeaveStopsThePictureButNotAFont) {
    // Half the speed the pieces are given time for, and a short timeout.
    Timing timing;
    timing.timeout = 100ms;
    Bench font(1024, timing, kLineRate / 2);
    EXPECT_FALSE(uploadSystemFont(font.exchange, kSet).ok());
    EXPECT_EQ(font.link.writes().size(), 6u);
    EXPECT_TRUE(font.writtenFrom(1) == "F" + withChecksum(kSet));

    Bench picture(1024, timing, kLineRate / 2);
    const PictureResult r =
        uploadPictureTransfer(picture.link, picture.recorder, timing, kPicture, 1);
    EXPECT_EQ(r.status.error(), ErrorCode::NoAnswer);
    EXPECT_EQ(r.status.detail(), "piece 1 of 33 did not leave the port");
    EXPECT_EQ(picture.link.writes().size(), 4u);
    EXPECT_EQ(picture.recorder.statuses.back(), "Error");
}

TEST(UploadFonts, TheFontsFollowChannelsAndSettingsAndAreNeitherKeptNorReadBack) {
    Bench b;
    UploadRequest request;
    request.channels = request.settings = request.systemFont = request.teletextFont = true;
    request.channelKind = FileKind::DVB;
    request.channelImage = test::channelImage(10);
    request.settingsImage = settingsImageOf(test::settingsBlock());
    request.systemFontSet = kSet;
    request.teletextFontData = kTeletext;
    const UploadResult r = upload(b.link, b.recorder, Timing{}, request);
    EXPECT_TRUE(r.systemFont.ok && r.teletextFont.ok);
    // The backup, the channels read back, the settings read back, the fonts.
    EXPECT_EQ(test::joined(b.sim.commandLog()),
              "CBEG|A|CBEG|B|CBEG|G|CBEG|C|CBEG|A|CBEG|B|CBEG|H|CBEG|G|CBEG|F|CBEG|V|");
    EXPECT_TRUE(b.sim.systemFont() == kSet);
    EXPECT_TRUE(b.sim.teletextFont() == teletextBlock(kTeletext));

    // A font asked for but not loaded fails alone, and fonts alone take no backup.
    Bench alone;
    request.channels = request.settings = false;
    request.systemFontSet.clear();
    const UploadResult partly = upload(alone.link, alone.recorder, Timing{}, request);
    EXPECT_EQ(partly.systemFont.status.error(), ErrorCode::NoFontLoaded);
    EXPECT_TRUE(partly.teletextFont.ok);
    EXPECT_EQ(test::joined(alone.sim.commandLog()), "CBEG|V|");
    EXPECT_EQ(test::joined(alone.recorder.statuses), "Error|Send Txt Font|Com open|");
}

}  // namespace
}  // namespace qel
