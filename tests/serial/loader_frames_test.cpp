// The FTA loader's command texts and data frame escaping, checked against the simulator's own
// frame reader. The block commands, the command frame and whole data frames are compared
// byte for byte with the loader's listed bytes in fta_upload_test.
#include "serial/loader_frames.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bytes/crc16.h"
#include "receiver_sim/receiver_simulator.h"
#include "serial/transfer_recorder.h"

namespace qel {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST(LoaderFrames, EveryFixedCommandCarriesTheCrcOfItsBody) {
    const struct {
        std::string_view text;
        std::array<std::uint8_t, 5> body;
    } kCommands[] = {
        {kLoader0900000000, {0x09, 0x00, 0x00, 0x00, 0x00}},
        {kLoader0902000000, {0x09, 0x02, 0x00, 0x00, 0x00}},
        {kLoader0904000000, {0x09, 0x04, 0x00, 0x00, 0x00}},
        {kLoader010000012B, {0x01, 0x00, 0x00, 0x01, 0x2B}},
        {kLoader0800000000, {0x08, 0x00, 0x00, 0x00, 0x00}},
        {kLoader0410000000, {0x04, 0x10, 0x00, 0x00, 0x00}},
        {kLoader0B08000000, {0x0B, 0x08, 0x00, 0x00, 0x00}},
        {kLoader0B09000000, {0x0B, 0x09, 0x00, 0x00, 0x00}},
        {kLoader0B00C00000, {0x0B, 0x00, 0xC0, 0x00, 0x00}},
        {kLoader0B00000000, {0x0B, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : kCommands) {
        SCOPED_TRACE(std::string(c.text));
        const std::string body(c.body.begin(), c.body.end());
        const std::uint16_t crc = crc16(body);
        EXPECT_EQ(std::stoul(std::string(c.text.substr(11)), nullptr, 16), crc);
        EXPECT_EQ(loaderCommand(c.body), c.text);
        EXPECT_TRUE(isLoaderCommand(c.text));
    }
}

TEST(LoaderFrames, OnlyBAndFourteenHexDigitsIsALoaderCommand) {
    EXPECT_FALSE(isLoaderCommand("B"));
    EXPECT_FALSE(isLoaderCommand("B0a0000000046a"));    // 13 digits
    EXPECT_FALSE(isLoaderCommand("B0a0000000046aef"));  // 15 digits
    EXPECT_FALSE(isLoaderCommand("B0a00000000 46ae"));  // not hex
    EXPECT_FALSE(isLoaderCommand("C0a0000000046ae"));
    EXPECT_TRUE(isLoaderCommand("B0A0000000046AE"));
}

TEST(LoaderFrames, EscapingOfEveryByteValue) {
    // Each of the 256 values alone: the five escaped ones become 18 and the value XOR 40.
    for (int v = 0; v < 256; ++v) {
        SCOPED_TRACE(v);
        const std::string payload(1, static_cast<char>(v));
        const std::string frame = loaderDataFrame(payload);
        const bool escaped = v == 0x11 || v == 0x13 || v == 0x18 || v == 0x91 || v == 0x93;
        EXPECT_EQ(loaderEscapes(static_cast<std::uint8_t>(v)), escaped);
        EXPECT_EQ(frame.substr(0, escaped ? 2 : 1), escaped ? bytes({0x18, v ^ 0x40}) : payload);
        EXPECT_EQ(decodeLoaderDataFrame(frame), payload);
    }
}

TEST(LoaderFrames, AnImageBecomesFortyEightFramesThatReadBack) {
    std::mt19937 rng(7);
    std::string image(kFtaImageSize, '\0');
    for (char& c : image)
        c = static_cast<char>(rng() & 0xFF);
    test::TransferRecorder recorder;
    const auto frames = loaderDataFrames(image, recorder);
    ASSERT_TRUE(frames.ok());
    ASSERT_EQ(frames->size(), 48u);
    for (std::size_t i = 0; i < frames->size(); ++i) {
        EXPECT_EQ(decodeLoaderDataFrame((*frames)[i]), image.substr(i * 1024, 1024)) << i;
    }
    ASSERT_EQ(recorder.statuses.size(), 48u);
    EXPECT_EQ(recorder.statuses.front(), "Prepare block  1");
    EXPECT_EQ(recorder.statuses.back(), "Prepare block  48");

    EXPECT_EQ(loaderDataFrames(image.substr(1), recorder).error(), ErrorCode::WrongFileLength);
}

}  // namespace
}  // namespace qel
