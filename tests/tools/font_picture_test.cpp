// qel-tool's fonts and boot pictures: the font dump, the refusals, an image Qt reads, and fonts
// and pictures sent to qel-receiver-sim over a pseudo-terminal, arriving byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/bmp_builder.h"
#include "support/temp_dir.h"
#include "tool_process.h"

#ifdef QEL_TOOL_QT_IMAGES
#include <QImage>
#endif

namespace qel {
namespace {

using test::runTool;
using test::TempDir;
using test::ToolRun;

std::string pattern(std::size_t size, std::size_t step) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * step + i / 256);
    return bytes;
}

TEST(FontCommands, DumpListsEveryGlyphRowByRow) {
    for (const auto& [name, size, type, rows] :
         {std::tuple{"a.fos", 4096u, "SYSTEMFOS", 16u}, std::tuple{"a.oc1", 8192u, "SYSTEM", 16u},
          std::tuple{"a.OC2", 3190u, "TELETEXT", 10u}}) {
        TempDir dir;
        const std::string font = dir.write(name, pattern(size, 7));
        std::string glyphs;
        for (std::size_t i = 0; i < size; ++i) {
            glyphs += i == 0 ? "[[" : i % rows == 0 ? "],[" : ",";
            glyphs += std::to_string(static_cast<std::uint8_t>(TempDir::read(font)[i]));
        }
        const ToolRun run = runTool(std::string("dump ") + name, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, R"({"file_type":"FONT","type":")" + std::string(type) +
                               R"(","glyphs":)" + glyphs + "]]}\n");
    }
}

TEST(FontCommands, WrongCallsAreUsageAndRefusedInputsSendNothing) {
    TempDir dir;
    dir.write("a.fos", pattern(4096, 1));
    dir.write("a.oc1", pattern(8192, 1));
    dir.write("short.fos", pattern(4095, 1));
    dir.write("a.oc2", pattern(3190, 1));
    dir.write("notes.txt", "not a picture");
    test::expectRefused(
        {
            {"upload P --set 1", 1, ""},
            {"upload P --system-font a.fos --set 2", 1, ""},
            {"upload P --system-font a.oc1 --set 3", 1, ""},
            {"upload P --system-font a.oc2", 1, "qel-tool: unsupported file type: a.oc2\n"},
            {"upload P --teletext-font a.fos", 1, "qel-tool: unsupported file type: a.fos\n"},
            {"picture P notes.txt --slot 3", 1, ""},
            {"upload P --system-font short.fos", 2,
             "Wrong lenght (system font: 4095 bytes for a font of type SYSTEMFOS)\n"},
            {"dump short.fos", 2, "Wrong lenght (4095 bytes for a font of type SYSTEMFOS)\n"},
            // What the detail says depends on whether Qt reads the images.
            {"picture P notes.txt", 2, "File must be a 280x240 - 16 colours bitmap (picture: "},
            {"convert notes.txt out.bmp", 2, "File must be a 280x240 - 16 colours bitmap ("},
            {"upload P --system-font a.oc1 --set 2", 2, "Error on COM (port: "},
        },
        dir);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.bmp")));
}

// A receiver that keeps what arrives in a folder. Each test sends on its own line, so that
// the line's time of one goes by beside the others'.
struct SentToReceiver : ::testing::Test {
    TempDir dir;
    std::string saved = dir.file("saved");
    test::ReceiverSim sim{{"--save-dir", saved}};

    std::string held(const char* name) const { return TempDir::read(saved + "/" + name); }
    void send(const std::string& args) {
        ASSERT_FALSE(sim.device().empty());
        const ToolRun run = runTool(args + " --timeout-ms 300", dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(sim.stop(), 0);
    }
};

TEST_F(SentToReceiver, BothFontsArriveByteForByte) {
    const std::string system = dir.write("sys.oc1", pattern(8192, 5));
    const std::string teletext = pattern(3190, 3);
    dir.write("tt.oc2", teletext);
    send("upload " + sim.device() + " --system-font sys.oc1 --set 2 --teletext-font tt.oc2");
    EXPECT_TRUE(held("sysfont.bin") == TempDir::read(system).substr(4096));
    // The teletext font a nibble a pixel, worked out bit by bit, and a lit 320th glyph.
    std::string nibbles;
    for (char c : teletext) {
        for (int bit = 7; bit >= 0; bit -= 2)
            nibbles += static_cast<char>(((c >> bit) & 1) << 4 | ((c >> (bit - 1)) & 1));
    }
    EXPECT_TRUE(held("teletext.bin") == nibbles + std::string(40, '\x11'));
}

TEST_F(SentToReceiver, AFileOfThePicturesSizeGoesIntoSlot1AsItIs) {
    const std::string raw = dir.write("raw.bmp", pattern(33718, 11));  // BMP or not
    send("picture " + sim.device() + " raw.bmp");
    EXPECT_TRUE(held("picture1.bmp") == TempDir::read(raw));
    EXPECT_FALSE(std::filesystem::exists(saved + "/picture2.bmp"));
}

TEST_F(SentToReceiver, AnyOtherImageGoesIntoSlot2AsConvertMakesIt) {
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t i = 0; i < 64 * 48; ++i)
        pixels.push_back(i * 0x050301);
    dir.write("small.bmp", test::bmpFile(64, 48, 24, pixels));
    ASSERT_EQ(runTool("convert small.bmp converted.bmp", dir).status, 0);
    send("picture " + sim.device() + " small.bmp --slot 2");
    EXPECT_EQ(held("picture2.bmp").size(), 33718u);
    EXPECT_TRUE(held("picture2.bmp") == TempDir::read(dir.file("converted.bmp")));
    EXPECT_FALSE(std::filesystem::exists(saved + "/picture1.bmp"));
}

#ifdef QEL_TOOL_QT_IMAGES
TEST(FontCommands, AnImageQtReadsBecomesABitmapQtReadsBack) {
    TempDir dir;
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x)
            image.setPixel(x, y, qRgb(x * 255 / 399, y * 255 / 299, 128));
    }
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file("in.png"))));
    const ToolRun run = runTool("convert in.png out.bmp", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(TempDir::read(dir.file("out.bmp")).size(), 33718u);
    const QImage back(QString::fromStdString(dir.file("out.bmp")));
    EXPECT_EQ(back.size(), QSize(280, 240));
    EXPECT_LE(back.colorCount(), 16);
    // 400 x 300 shrinks to 280 x 210 between bars of 15 rows.
    EXPECT_EQ(back.pixel(140, 14), qRgb(0, 0, 0));
    EXPECT_EQ(back.pixel(140, 225), qRgb(0, 0, 0));
    EXPECT_NE(back.pixel(140, 120), qRgb(0, 0, 0));
}
#endif

}  // namespace
}  // namespace qel
