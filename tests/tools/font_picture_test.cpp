// qel-tool's fonts, boot pictures and firmware: the font dump, an image Qt reads or refuses, and
// fonts, pictures and a firmware sent to qel-receiver-sim over a pseudo-terminal, arriving whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/boot_picture.h"
#include "serial/upload.h"
#include "support/bmp_builder.h"
#include "support/temp_dir.h"
#include "tool_process.h"

#ifdef QEL_TOOL_QT_IMAGES
#include <QByteArray>
#include <QImage>
#include <QImageReader>
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

// Both fonts, a file of the picture's size into slot 1 as it is and any other image into
// slot 2 as convert makes it, each arriving byte for byte at a receiver that keeps them.
TEST(SentToReceiver, FontsAndPicturesArriveByteForByte) {
    TempDir dir;
    const std::string saved = dir.file("saved");
    test::ReceiverSim sim{{"--save-dir", saved}};
    ASSERT_FALSE(sim.device().empty());
    const auto held = [&](const char* name) { return TempDir::read(saved + "/" + name); };
    const std::string system = dir.write("sys.oc1", pattern(8192, 5));
    const std::string teletext = pattern(3190, 3);
    dir.write("tt.oc2", teletext);
    const std::string raw = dir.write("raw.bmp", pattern(33718, 11));  // BMP or not
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t i = 0; i < 64 * 48; ++i)
        pixels.push_back(i * 0x050301);
    dir.write("small.bmp", test::bmpFile(64, 48, 24, pixels));
    ASSERT_EQ(runTool("convert small.bmp converted.bmp", dir).status, 0);
    for (const std::string& args :
         {"upload " + sim.port() + " --system-font sys.oc1 --set 2 --teletext-font tt.oc2",
          "picture " + sim.port() + " raw.bmp", "picture " + sim.port() + " small.bmp --slot=2"}) {
        const ToolRun run = runTool(args + " --timeout-ms 300", dir);
        ASSERT_EQ(run.status, 0) << args << ": " << run.err;
    }
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(held("sysfont.bin") == TempDir::read(system).substr(4096));
    // The teletext font as the receiver takes it (its bits are tests/serial's).
    EXPECT_TRUE(held("teletext.bin") == teletextBlock(teletext));
    EXPECT_TRUE(held("picture1.bmp") == TempDir::read(raw));
    EXPECT_TRUE(held("picture2.bmp") == TempDir::read(dir.file("converted.bmp")));
}

std::string firmwareBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t noise = 7;
    for (std::size_t i = 0; i < size; ++i) {
        noise = noise * 1664525 + 1013904223;
        // Mostly code-like runs, which compress well: the line is paced at 38400 baud.
        bytes[i] = static_cast<char>(i % 8192 < 64 ? noise >> 24 : i / 100);
    }
    return bytes;
}

TEST(FirmwareToReceiver, FiveBlocksArriveWholeAtTheirTargets) {
    TempDir dir;
    // The per-user data folder the tool looks in first, inside the test's folder.
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    std::filesystem::create_directories(dir.file("data/QEL/QEL"));
    dir.write("data/QEL/QEL/rodflash.sbr", std::string(1716, '\x21'));
    const std::string saved = dir.file("saved");
    test::ReceiverSim sim{{"--save-dir", saved}};
    ASSERT_FALSE(sim.device().empty());
    const std::string firmware = firmwareBytes(4 * 65536 + 4321);
    dir.write("new.bin", firmware);
    // Under Wine the routine is named: Wine keeps %APPDATA% in its own prefix.
    const std::string routine =
        test::toolUnderWine() ? " --routine '" + dir.file("data/QEL/QEL/rodflash.sbr") + "'" : "";
    const ToolRun run =
        runTool("firmware " + sim.port() + " new.bin --timeout-ms 300" + routine, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(TempDir::read(saved + "/firmware.bin") == firmware);
    const std::string log = TempDir::read(saved + "/firmware-log.json");
    EXPECT_EQ(log.rfind("{\n  \"erase_all\": false,\n  \"ended\": true,\n  \"blocks\": [", 0), 0u)
        << log;
    // Each block at its target is tests/serial/firmware_test.cpp's.
    EXPECT_EQ(log.find("false}"), std::string::npos) << log;  // every block checked and written
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
    // Its pixels are the image's: black bars above and below, the picture between (where each
    // pixel goes is tests/files/boot_picture_test.cpp's).
    EXPECT_EQ(back.pixel(140, 5), qRgb(0, 0, 0));
    EXPECT_NE(back.pixel(140, 120), qRgb(0, 0, 0));
}

std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
    }
    return ~crc;
}

std::string bigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string pngChunk(std::string_view type, std::string_view data) {
    const std::string body = std::string(type) + std::string(data);
    return bigEndian(static_cast<std::uint32_t>(data.size())) + body + bigEndian(crc32(body));
}

// A PNG of 8-bit RGB whose header names its size, with a few rows of pixels only.
std::string pngHeadOnly(std::uint32_t width, std::uint32_t height) {
    const std::string header =
        bigEndian(width) + bigEndian(height) + std::string("\x08\x02\0\0\0", 5);
    const QByteArray zlib = qCompress(QByteArray(3 * 1024, '\0')).mid(4);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) +
           pngChunk("IDAT",
                    std::string_view(zlib.constData(), static_cast<std::size_t>(zlib.size()))) +
           pngChunk("IEND", "");
}

TEST(FontCommands, ADamagedImageIsRefusedAndTheTargetLeftAlone) {
    TempDir dir;
    QImage image(280, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 280; ++x)
            image.setPixel(x, y, qRgb(x, y, (x * y) & 255));
    }
    for (const char* format : {"png", "jpg", "bmp"}) {
        const std::string name = std::string("whole.") + format;
        ASSERT_TRUE(image.save(QString::fromStdString(dir.file(name)), format)) << format;
    }
    const std::string png = TempDir::read(dir.file("whole.png"));
    const std::string jpg = TempDir::read(dir.file("whole.jpg"));
    const std::string bmp = TempDir::read(dir.file("whole.bmp"));
    const std::string picture = *convertToBootPicture(Pixels{1, 1, {0xFF102030}});
    const std::string damaged = "The image is damaged (";
    const struct {
        const char* name;
        std::string bytes;
        std::string err;  // the beginning of what is said
    } cases[] = {
        {"half.png", png.substr(0, png.size() / 2), damaged},
        {"most.png", png.substr(0, png.size() - 20), damaged},
        {"half.jpg", jpg.substr(0, jpg.size() / 2), damaged + "Corrupt JPEG data"},
        {"half.bmp", bmp.substr(0, bmp.size() / 2), damaged + "the BMP pixels do not fit"},
        {"cut.bmp", picture.substr(0, picture.size() - 1), damaged + "the BMP pixels do not fit"},
        {"headers.bmp", bmp.substr(0, 60), damaged},
    };
    for (const auto& c : cases) {
        dir.write("out.bmp", "before");
        dir.write(c.name, c.bytes);
        const ToolRun run = runTool(std::string("convert ") + c.name + " out.bmp", dir);
        EXPECT_EQ(run.status, 2) << c.name;
        // Qt's PNG library may say a word of its own first.
        const std::size_t last = run.err.rfind('\n', run.err.size() - 2);
        const std::string said = last == std::string::npos ? run.err : run.err.substr(last + 1);
        EXPECT_EQ(said.substr(0, c.err.size()), c.err) << c.name << ": " << run.err;
        EXPECT_EQ(TempDir::read(dir.file("out.bmp")), "before") << c.name;
    }
    ASSERT_EQ(runTool("convert whole.jpg out.bmp", dir).status, 0);
    // Stray bytes before the end marker, as cameras write them: the decoder only notes them,
    // the picture is whole.
    std::string stray = jpg;
    ASSERT_EQ(stray.substr(stray.size() - 2), "\xFF\xD9");
    stray.insert(stray.size() - 2, "\x01\x02\x03");
    dir.write("stray.jpg", stray);
    const ToolRun strayRun = runTool("convert stray.jpg out.bmp", dir);
    EXPECT_EQ(strayRun.status, 0) << strayRun.err;

    // Beyond Qt's allocation limit of 128 MB, though within the conversion's own: named as
    // that, not as no image.
    ASSERT_EQ(QImageReader::allocationLimit(), 128);
    dir.write("large.png", pngHeadOnly(6000, 6000));
    const ToolRun run = runTool("convert large.png out.bmp", dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "The image is larger than Qt's image readers decode (6000 x 6000 > 128 MB)\n");
}
#endif

}  // namespace
}  // namespace qel
