// The exchange primitives on a line whose far end answers from a script, in virtual time.
#include "serial/exchange.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "receiver_sim/simulated_link.h"
#include "serial/transfer_recorder.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

// Answers each write with the pieces the test's function gives for it.
class ScriptedResponder : public Responder {
public:
    std::function<std::vector<ReplyPiece>(std::string_view)> script = [](std::string_view) {
        return std::vector<ReplyPiece>{};
    };
    std::vector<ReplyPiece> take(std::string_view bytes) override { return script(bytes); }
};

struct ExchangeTest : ::testing::Test {
    ScriptedResponder far;
    SimulatedLink link{far};
    test::TransferRecorder recorder;
    Exchange exchange{link, recorder};

    void answer(std::vector<ReplyPiece> pieces) {
        far.script = [pieces](std::string_view) { return pieces; };
    }
};

// The expected text may come in pieces or among other bytes; without it the wait ends at the
// timeout; an empty expected text is met by the first byte, whatever it is.
TEST_F(ExchangeTest, TheExpectedTextMayComeInPiecesOrAmongOtherBytes) {
    const struct {
        const char* expected;
        std::vector<ReplyPiece> pieces;
        Millis elapsed;  // the wait's time; the timeout when nothing came
    } kCases[] = {{"OK", {{0ms, "O"}, {300ms, "K"}}, 300ms},
                  {"OK", {{0ms, std::string("\x00zO", 3)}, {10ms, "OKz"}}, 10ms},
                  {"OK", {{0ms, "xO"}, {1ms, "O"}, {2ms, "K"}}, 2ms},
                  {"OK", {{0ms, "O"}, {0ms, "k"}}, 5000ms},
                  {"", {{1200ms, "k"}}, 1200ms}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(&c - kCases);
        answer(c.pieces);
        const auto start = link.now();
        const Status st = exchange.sendCommand("CBEG", c.expected);
        EXPECT_EQ(st.ok(), c.elapsed < 5000ms);
        EXPECT_EQ(st.detail(), st.ok() ? "" : "no answer to \"CBEG\"");
        EXPECT_EQ(st.error(), st.ok() ? st.error() : ErrorCode::NoAnswer);
        EXPECT_EQ(link.now() - start, c.elapsed);
    }
}

TEST_F(ExchangeTest, BytesThatCameBeforeTheCommandAreNoAnswerToIt) {
    answer({{0ms, "OK"}});
    ASSERT_TRUE(exchange.sendCommandNoWait("CBEG").ok());
    link.pause(100ms);  // the "OK" arrives while nobody waits
    answer({});
    EXPECT_EQ(exchange.sendCommand("CBEG", "OK").error(), ErrorCode::NoAnswer);
}

TEST_F(ExchangeTest, TheDvb98CommandBTravelsAloneAndLoaderCommandsInTheirFrame) {
    ASSERT_TRUE(exchange.sendCommandNoWait("B").ok());
    ASSERT_TRUE(exchange.sendCommandNoWait("B0a000400009a6e").ok());
    ASSERT_TRUE(
        exchange.sendCommandNoWait(std::string("\x30\x30\x39\x00\x18\x6B\xA6\xFE", 8)).ok());
    ASSERT_EQ(link.writes().size(), 3u);
    EXPECT_EQ(link.writes()[0], "\x42");
    EXPECT_EQ(link.writes()[1],
              "\x2A\x2A\x18"
              "B0a000400009a6e"
              "\x0A\x8A");
    EXPECT_EQ(link.writes()[2].size(), 8u);
    EXPECT_EQ(link.elapsed(), 0ms);  // no wait
}

TEST_F(ExchangeTest, ResendRepeatsTheCommandUntilTheAnswerComes) {
    // The far end wakes up on the 40th pair.
    int pairs = 0;
    far.script = [&](std::string_view) {
        return ++pairs == 40 ? std::vector<ReplyPiece>{{0ms, "\x46\x2A\x18\x41\x04"}}
                             : std::vector<ReplyPiece>{};
    };
    EXPECT_TRUE(exchange.sendCommand("\x91\x11", "\x46\x2A\x18\x41\x04", true).ok());
    EXPECT_EQ(pairs, 40);
    EXPECT_EQ(link.written().size(), 80u);

    pairs = 0;
    far.script = [&](std::string_view) {
        ++pairs;
        return std::vector<ReplyPiece>{};
    };
    const Status st = exchange.sendCommand("\x91\x11", "\x2A\x18\x41\x0A", true);
    EXPECT_EQ(st.error(), ErrorCode::NoAnswer);
    EXPECT_EQ(st.detail(), "no answer to 91 11");
    EXPECT_GT(pairs, 100);
}

// Hex numbers of up to eight digits; after them CR, LF, blanks and NULs in any number and
// order, and nothing else, nor those before or between the digits, nor without digits.
TEST(ParseSizeReply, HexNumbersOfUpToEightDigitsAndTheLineEndsAfterThem) {
    using namespace std::string_view_literals;
    // clang-format off
    const std::pair<std::string_view, std::int32_t> kRead[] = {
        {"0", 0}, {"40", 64}, {"2FFC0", 196544}, {"2ffc0", 196544}, {"7FFFFFFF", 0x7FFFFFFF},
        {"FFFFFFC0", -64}, {"40 ", 64}, {"40\r", 64}, {"40\n", 64}, {"40\r\n", 64},
        {"40\0"sv, 64}, {"2FFC0\r\n \0\0\n"sv, 196544}, {"12345678\r\n", 0x12345678}};
    // clang-format on
    for (const auto& [reply, size] : kRead)
        EXPECT_EQ(parseSizeReply(reply), size) << describeCommand(reply);
    const std::string_view kRefused[] = {
        "",       "100000000", "ZQ!",      "-40",  "123456789\r\n", "\r\n",   " \0"sv, " 40",
        "\r\n40", "4 0",       "4\0000"sv, "40\t", "40\r\nOK",      "40\x1A", "40h"};
    for (std::string_view reply : kRefused)
        EXPECT_EQ(parseSizeReply(reply), std::nullopt) << describeCommand(reply);
}

TEST_F(ExchangeTest, TheSizeIsReadOnceTheLineFallsQuiet) {
    far.script = [](std::string_view bytes) {
        if (bytes == "CBEG") return std::vector<ReplyPiece>{{0ms, "OK"}};
        // The reply to "A" in two pieces, the second 40 ms after the first.
        return std::vector<ReplyPiece>{{0ms, "2F"}, {40ms, "FC0"}};
    };
    const Result<std::int32_t> size = exchange.handshakeAndSize();
    ASSERT_TRUE(size.ok()) << size.detail();
    EXPECT_EQ(*size, 196544);
    EXPECT_EQ(recorder.statuses, std::vector<std::string>{"Connecting"});
    EXPECT_EQ(recorder.bytes, std::vector<std::string>{"196544"});
    EXPECT_EQ(recorder.channels, std::vector<std::string>{"3071"});
    EXPECT_EQ(link.elapsed(), 90ms);  // the last piece, then 50 ms of quiet
}

TEST_F(ExchangeTest, ASizeReplyThatNeverFallsQuietIsReadAtTheTimeout) {
    far.script = [](std::string_view bytes) {
        if (bytes == "CBEG") return std::vector<ReplyPiece>{{0ms, "OK"}};
        std::vector<ReplyPiece> drip;
        for (int i = 0; i < 200; ++i)
            drip.push_back({Millis{30 * (i + 1)}, "0"});
        return drip;
    };
    const Result<std::int32_t> size = exchange.handshakeAndSize();
    EXPECT_EQ(size.error(), ErrorCode::WrongChannelDataSize);  // 167 zeros: no number
    EXPECT_EQ(link.elapsed(), 5000ms);
}

TEST_F(ExchangeTest, TheWaitsStopOnceCancelled) {
    answer({});
    link.cancelAt(link.now() + 1234ms);
    EXPECT_EQ(exchange.sendCommand("CBEG", "OK").error(), ErrorCode::TransferCancelled);
    EXPECT_EQ(link.elapsed(), 1234ms);
    EXPECT_EQ(exchange.sendCommandNoWait("CBEG").error(), ErrorCode::TransferCancelled);
    EXPECT_EQ(link.written(), "CBEG");
}

TEST_F(ExchangeTest, AHungUpLineFailsTheWaitAndIsRemembered) {
    answer({{0ms, "O", true}});
    const Status st = exchange.sendCommand("CBEG", "OK");
    EXPECT_EQ(st.error(), ErrorCode::PortError);
    EXPECT_TRUE(exchange.lineFailed());
    EXPECT_LT(link.elapsed(), 100ms);
    EXPECT_EQ(exchange.send("A").error(), ErrorCode::PortError);
}

// A far end that answers the first command with a stream far longer than any answer, and
// never with the answer waited for: each wait fails once the receive buffer is full, which it
// never outgrows, long before its own timeout.
TEST(ExchangeBound, AStreamLongerThanAnyAnswerFailsTheWaitWithoutGrowingTheBuffer) {
    const std::string stream(4 * kLongestAnswer, 'z');
    const struct {
        const char* name;
        std::function<Status(Exchange&)> wait;
    } kCases[] = {
        {"a text", [](Exchange& e) { return e.sendCommand("CBEG", "OK"); }},
        {"a resent command", [](Exchange& e) { return e.sendCommand("CBEG", "OK", true); }},
        {"bytes",
         [](Exchange& e) {
             (void)e.sendCommandNoWait("B");
             return e.waitForBytes(kLongestAnswer + 1, Millis{3'600'000});
         }},
        {"a quiet line",
         [](Exchange& e) {
             (void)e.sendCommandNoWait("A");
             return e.waitForQuiet(Millis{3'600'000});
         }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder far;
        bool streamed = false;
        far.script = [&](std::string_view) {
            if (std::exchange(streamed, true)) return std::vector<ReplyPiece>{};
            return std::vector<ReplyPiece>{{0ms, stream}};
        };
        SimulatedLink link(far, 3840);
        test::TransferRecorder recorder;
        Timing timing;
        timing.timeout = Millis{3'600'000};
        Exchange exchange(link, recorder, timing);
        const Status st = c.wait(exchange);
        EXPECT_EQ(st.error(), ErrorCode::NoAnswer);
        EXPECT_EQ(st.detail(), "the line brings more than any answer holds");
        EXPECT_EQ(exchange.received().size(), kLongestAnswer);
        EXPECT_FALSE(exchange.lineFailed());
        // About the buffer's time on the line, not the hour of the timeout.
        EXPECT_GE(link.elapsed(), lineTime(kLongestAnswer, 38400));
        EXPECT_LT(link.elapsed(), lineTime(kLongestAnswer, 38400) + 1000ms);
        // A new command starts on an empty buffer.
        exchange.clearReceived();
        EXPECT_EQ(exchange.received(), "");
    }
}

// The longest answer still fits: the whole channel data of a full receiver and its checksum,
// with the line still bringing bytes after it.
TEST(ExchangeBound, TheLongestAnswerFitsThoughMoreFollows) {
    std::string data;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kMaxChannelDataSize); ++i)
        data += static_cast<char>(i * 7 % 251);
    std::uint8_t sum = 0;
    for (char c : data)
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
    ScriptedResponder far;
    far.script = [&](std::string_view bytes) {
        if (bytes == "B") {
            return std::vector<ReplyPiece>{
                {0ms, data + static_cast<char>(sum) + std::string(kLongestAnswer, 'z')}};
        }
        return std::vector<ReplyPiece>{};
    };
    SimulatedLink link(far, 3840);
    test::TransferRecorder recorder;
    Exchange exchange(link, recorder);
    ASSERT_TRUE(exchange.sendCommandNoWait("B").ok());
    ASSERT_TRUE(exchange.waitForBytes(kLongestAnswer, Millis{65535}).ok());
    EXPECT_EQ(exchange.received().substr(0, data.size()), data);
    EXPECT_EQ(static_cast<std::uint8_t>(exchange.received()[data.size()]), sum);
}

}  // namespace
}  // namespace qel
