// The serial line over a pseudo-terminal whose far end the test plays: the framing it sets,
// a drain that lasts the bytes' time on the line (and says when it runs out of time), every
// byte the driver holds read, a hang-up seen, a late reply that answers no later command, and
// the wait for a quiet line.
#include "line/serial_line.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "serial/exchange.h"
#include "serial/transfer_observer.h"
#include "serial/upload.h"
#include "support/pty_line.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::PtyLine;

std::unique_ptr<SerialLine> openLine(const std::string& device, int baud = kDvb98Speed) {
    auto line = SerialLine::open(device, baud);
    EXPECT_TRUE(line.ok()) << line.detail();
    return line ? std::move(line.value()) : nullptr;
}

Millis since(Clock::time_point start) {
    return std::chrono::duration_cast<Millis>(Clock::now() - start);
}

TEST(SerialDevice, PortNumbersAreTheFirstFourSerialPorts) {
    const struct {
        const char* text;
        const char* device;
    } kCases[] = {
        {"1", "/dev/ttyS0"},
        {"4", "/dev/ttyS3"},
        {" 2 ", "/dev/ttyS1"},
        {"COM3", "/dev/ttyS2"},
        {"com1", "/dev/ttyS0"},
        {"5", "5"},
        {"COM7", "COM7"},
        {"0", "0"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/pts/7", "/dev/pts/7"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(serialDevice(c.text), c.device) << c.text;
}

TEST(SerialLine, SetsEightDataBitsNoParityOneStopBitAndNoFlowControlAtTheSpeed) {
    PtyLine pty;
    const auto line = openLine(pty.device());
    ASSERT_TRUE(line);
    for (const auto& [baud, code] :
         {std::pair{kDvb98Speed, B38400}, std::pair{kLoaderSpeed, B19200},
          std::pair{kDvb98Speed, B38400}}) {
        ASSERT_TRUE(line->setSpeed(baud).ok());
        const termios t = pty.settings();
        EXPECT_EQ(cfgetospeed(&t), code) << baud;
        EXPECT_EQ(cfgetispeed(&t), code) << baud;
        EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t{CS8});
        EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t{0});
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), tcflag_t{0});
        EXPECT_NE(t.c_cflag & CLOCAL, tcflag_t{0});
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO), tcflag_t{0});
    }
    EXPECT_FALSE(line->setSpeed(12345).ok());
    EXPECT_EQ(line->speed(), kDvb98Speed);
}

TEST(SerialLine, ADrainLastsTheBytesTimeOnTheLine) {
    for (const int baud : {kDvb98Speed, kLoaderSpeed}) {
        PtyLine pty;
        const auto line = openLine(pty.device(), baud);
        ASSERT_TRUE(line);
        // 480 bytes: 125 ms at 38400 baud, 250 ms at 19200; a pseudo-terminal passes them on
        // at once, but the line they stand for does not.
        const std::string bytes(480, '\x55');
        const Clock::time_point start = Clock::now();
        ASSERT_TRUE(line->write(bytes).ok());
        EXPECT_TRUE(line->drain(5000ms));
        const Millis took = since(start);
        EXPECT_GE(took, lineTime(bytes.size(), baud) - 2ms) << baud;
        EXPECT_LT(took, lineTime(bytes.size(), baud) + 200ms) << baud;
        EXPECT_EQ(pty.take(50ms), bytes);
        // Nothing left: the next drain ends at once.
        const Clock::time_point again = Clock::now();
        EXPECT_TRUE(line->drain(5000ms));
        EXPECT_LT(since(again), 20ms);
        // A drain that runs out of time says so.
        ASSERT_TRUE(line->write(std::string(baud / 10, 'x')).ok());  // a second on the line
        EXPECT_FALSE(line->drain(100ms));
        EXPECT_TRUE(line->drain(2000ms));
    }
}

TEST(SerialLine, EveryByteTheDriverHoldsIsReadEvenWithoutAWait) {
    PtyLine pty;
    const auto line = openLine(pty.device());
    ASSERT_TRUE(line);
    std::string sent;
    for (int i = 0; i < 3000; ++i)
        sent += static_cast<char>(i % 251);
    pty.send(sent);
    std::this_thread::sleep_for(50ms);
    std::string received;
    // A look without waiting takes all of it at once.
    ASSERT_TRUE(line->receive(received, 0ms).ok());
    EXPECT_EQ(received, sent);
    // And nothing arrives: the wait lasts its time.
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(line->receive(received, 120ms).ok());
    EXPECT_GE(since(start), 110ms);
    EXPECT_EQ(received.size(), sent.size());
}

TEST(SerialLine, AHangUpIsSeenByTheWaitAndACancelEndsItAtOnce) {
    PtyLine pty;
    const auto line = openLine(pty.device());
    ASSERT_TRUE(line);
    std::thread cancel([&] {
        std::this_thread::sleep_for(80ms);
        line->cancel();
    });
    std::string received;
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(line->receive(received, 5000ms).ok());
    EXPECT_LT(since(start), 500ms);
    cancel.join();
    line->resetCancel();

    pty.hangUp();
    const Status st = line->receive(received, 5000ms);
    EXPECT_EQ(st.error(), ErrorCode::PortError);
    EXPECT_EQ(st.detail(), "the line was hung up");
}

// A receiver that answers "CBEG" once, too late, then never again.
class LateOnce : public Responder {
public:
    std::vector<ReplyPiece> take(std::string_view bytes) override {
        input_ += bytes;
        std::vector<ReplyPiece> replies;
        for (std::size_t at; (at = input_.find("CBEG")) != std::string::npos;) {
            input_.erase(0, at + 4);
            if (++handshakes_ == 1) replies.push_back({Millis{250}, "OK"});
        }
        return replies;
    }

private:
    std::string input_;
    int handshakes_ = 0;
};

TEST(SerialLine, ALateReplyAnswersNoLaterCommand) {
    LateOnce receiver;
    test::PtyResponder far(receiver);
    const auto line = openLine(far.device());
    ASSERT_TRUE(line);
    SilentTransferObserver observer;
    Timing timing;
    timing.timeout = 150ms;
    Exchange exchange(*line, observer, timing);
    EXPECT_EQ(exchange.sendCommand("CBEG", "OK").error(), ErrorCode::NoAnswer);
    // The late "OK" arrives while nothing waits for it.
    std::this_thread::sleep_for(250ms);
    const Status again = exchange.sendCommand("CBEG", "OK");
    EXPECT_EQ(again.error(), ErrorCode::NoAnswer);
    EXPECT_TRUE(isSilentReceiver(again));
}

TEST(SerialLine, TheWaitForAQuietLineLastsUntilTheFarEndStops) {
    PtyLine pty;
    const auto line = openLine(pty.device());
    ASSERT_TRUE(line);
    std::thread chatter([&] {
        for (int i = 0; i < 30; ++i) {  // 300 ms of bytes
            pty.send(std::string(32, 'z'));
            std::this_thread::sleep_for(10ms);
        }
    });
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(waitForQuietLine(*line, 150ms).ok());
    const Millis took = since(start);
    chatter.join();
    EXPECT_GE(took, 400ms);
    EXPECT_LT(took, 1500ms);
    // Nothing of it is left for the next command.
    std::string received;
    ASSERT_TRUE(line->receive(received, 0ms).ok());
    EXPECT_EQ(received, "");

    // A line that never falls quiet is waited for until the user cancels.
    std::atomic<bool> talking{true};
    std::thread endless([&] {
        while (talking) {
            pty.send("z");
            std::this_thread::sleep_for(5ms);
        }
    });
    std::thread cancel([&] {
        std::this_thread::sleep_for(300ms);
        line->cancel();
    });
    EXPECT_EQ(waitForQuietLine(*line, 150ms).error(), ErrorCode::TransferCancelled);
    cancel.join();
    talking = false;
    endless.join();
}

// The far end answers the handshake and the upload's header, then goes away: before the
// channel records are sent, or once they begin to arrive. The upload says the line was hung
// up, at once: neither the timeout of a piece that cannot leave nor the records' own time on
// the line (a second) is waited for.
TEST(SerialLine, AHangUpDuringAnUploadIsSaidAtOnce) {
    for (const bool afterRecords : {false, true}) {
        SCOPED_TRACE(afterRecords ? "once the records arrive" : "before the records");
        PtyLine pty;
        const auto line = openLine(pty.device());
        ASSERT_TRUE(line);
        std::thread farEnd([&] {
            std::string heard;
            int answered = 0;
            const Clock::time_point giveUp = Clock::now() + 5s;
            while (Clock::now() < giveUp) {
                heard += pty.take(5ms);
                if (answered < 2) {
                    const std::size_t at = heard.find(answered == 0 ? "CBEG" : "C000");
                    if (at == std::string::npos) continue;
                    heard.erase(0, at + 4);
                    pty.send("OK");
                    ++answered;
                    if (answered < 2 || afterRecords) continue;
                }
                if (answered == 2 && (!afterRecords || !heard.empty())) {
                    pty.hangUp();
                    return;
                }
            }
        });
        SilentTransferObserver observer;
        Exchange exchange(*line, observer);
        // 64 channels and the checksum: a second on the line, in two pieces.
        const std::string image(64 * 64, '\x21');
        const Clock::time_point start = Clock::now();
        const Status st = uploadChannels(exchange, image, 64);
        const Millis took = since(start);
        farEnd.join();
        EXPECT_EQ(st.error(), ErrorCode::UploadFailed);
        EXPECT_EQ(st.detail(), "the line was hung up");
        EXPECT_LT(took, 600ms);
    }
}

TEST(SerialLine, APortThatCannotBeOpenedSaysWhy) {
    test::TempDir dir;
    const auto missing = SerialLine::open(dir.file("ttyNone"), kDvb98Speed);
    EXPECT_EQ(missing.error(), ErrorCode::PortError);
    EXPECT_NE(missing.detail().find("ttyNone"), std::string::npos) << missing.detail();

    const std::string plain = dir.write("plain", "x");
    const auto notPort = SerialLine::open(plain, kDvb98Speed);
    EXPECT_EQ(notPort.error(), ErrorCode::PortError);
    EXPECT_NE(notPort.detail().find("not a serial port"), std::string::npos);

    // Access refused: the group that owns the device is named, as the user must join it.
    const Status refused = portOpenFailure(plain, EACCES);
    struct stat info {};
    ASSERT_EQ(::stat(plain.c_str(), &info), 0);
    const group* owner = ::getgrgid(info.st_gid);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(refused.error(), ErrorCode::PortNoPermission);
    EXPECT_EQ(refused.detail(), owner->gr_name);
    EXPECT_EQ(portOpenFailure(plain, EBUSY).error(), ErrorCode::PortError);
}

}  // namespace
}  // namespace qel
