// The boot picture: any image made into a 280 × 240, 16-colour BMP of 33718 bytes, and BMP
// files read back into pixels.
#include "files/boot_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "support/bmp_builder.h"

namespace qel {
namespace {

Pixels solid(int width, int height, std::uint32_t argb) {
    return {width, height,
            std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, argb)};
}

// A colour for each column, from a dark blue to a light yellow: more than 16 colours, all
// within what 16 colours can mix.
Pixels ramp(int width, int height) {
    Pixels p{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        const auto x = static_cast<std::uint32_t>(i % width);
        const auto w = static_cast<std::uint32_t>(std::max(1, width - 1));
        const auto mix = [&](std::uint32_t from, std::uint32_t to) {
            return (from * (w - x) + to * x) / w;
        };
        p.argb.push_back(0xFF000000U | mix(0x20, 0xF0) << 16 | mix(0x20, 0xD0) << 8 |
                         mix(0x60, 0x40));
    }
    return p;
}

Pixels converted(const Pixels& image) {
    const Result<std::string> file = convertToBootPicture(image);
    EXPECT_TRUE(file.ok()) << file.detail();
    const Result<Pixels> back = file ? readBmp(*file) : Result<Pixels>(file.status());
    EXPECT_TRUE(back.ok()) << back.detail();
    return back ? *back : Pixels{};
}

// A converted picture with `bytes` bytes at `at` set to `value`.
std::string changed(std::size_t at, std::uint32_t value, int bytes) {
    static const std::string good = *convertToBootPicture(ramp(280, 240));
    std::string f = good;
    test::putLe(f, at, value, bytes);
    return f;
}

TEST(BootPicture, EveryImageBecomesA4BitBmpOf280By240) {
    for (const Pixels& image : {ramp(640, 480), ramp(1, 1), ramp(10, 1000), ramp(5000, 3)}) {
        SCOPED_TRACE(std::to_string(image.width) + " x " + std::to_string(image.height));
        const Result<std::string> file = convertToBootPicture(image);
        ASSERT_TRUE(file.ok()) << file.detail();
        ASSERT_EQ(file->size(), 33718u);
        EXPECT_EQ(file->substr(0, 2), "BM");
        // Size, pixels' offset, header size, width, height, planes, bits, no compression, pixel
        // bytes, 72 dots an inch each way, colours (used and important): where, how many
        // bytes, what.
        const unsigned kFields[][3] = {{2, 4, 33718},  {10, 4, 118},  {14, 4, 40},   {18, 4, 280},
                                       {22, 4, 240},   {26, 2, 1},    {28, 2, 4},    {30, 4, 0},
                                       {34, 4, 33600}, {38, 4, 2835}, {42, 4, 2835}, {46, 4, 16},
                                       {50, 4, 16}};
        for (const auto& [at, bytes, value] : kFields) {
            std::uint32_t v = 0;
            for (unsigned i = bytes; i-- > 0;)
                v = v << 8 | static_cast<std::uint8_t>((*file)[at + i]);
            EXPECT_EQ(v, value) << "at " << at;
        }
        const Pixels back = converted(image);
        EXPECT_LE(std::set<std::uint32_t>(back.argb.begin(), back.argb.end()).size(), 16u);
    }
}

TEST(BootPicture, ColoursStayAndTheProportionsAreKeptBetweenBlackBars) {
    const struct {
        Pixels image;
        std::uint32_t colour;          // what the picture shows
        int left, top, width, height;  // where; black around it
    } kCases[] = {
        {solid(280, 240, 0xFF123456), 0xFF123456, 0, 0, 280, 240},
        {solid(560, 480, 0xFFFF8000), 0xFFFF8000, 0, 0, 280, 240},
        {solid(140, 120, 0xFF010203), 0xFF010203, 0, 0, 280, 240},
        // Half of white's light over black: 188 in sRGB.
        {solid(280, 240, 0x80FFFFFF), 0xFFBCBCBC, 0, 0, 280, 240},
        {solid(560, 240, 0xFFFFFFFF), 0xFFFFFFFF, 0, 60, 280, 120},
        {solid(100, 240, 0xFFFFFFFF), 0xFFFFFFFF, 90, 0, 100, 240},
        {solid(1, 1, 0xFFFFFFFF), 0xFFFFFFFF, 20, 0, 240, 240},
        {solid(3000, 1, 0xFFFFFFFF), 0xFFFFFFFF, 0, 119, 280, 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.image.width) + " x " + std::to_string(c.image.height));
        const Pixels back = converted(c.image);
        ASSERT_EQ(back.argb.size(), 280u * 240u);
        for (int y = 0; y < 240; ++y) {
            for (int x = 0; x < 280; ++x) {
                const bool inside =
                    x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height;
                ASSERT_EQ(back.argb[static_cast<std::size_t>(y * 280 + x)],
                          inside ? c.colour : 0xFF000000U)
                    << x << "," << y;
            }
        }
    }
}

TEST(BootPicture, DitheringKeepsTheLightOfEachArea) {
    const Pixels image = ramp(280, 240);
    const Pixels back = converted(image);
    ASSERT_EQ(back.argb.size(), image.argb.size());
    EXPECT_GE(std::set<std::uint32_t>(back.argb.begin(), back.argb.end()).size(), 12u);
    const auto linear = [](std::uint32_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    // Each strip 4 columns wide sends out about the light it had, channel by channel; but the
    // palette's outermost colours are the means of their clusters, so the few columns at each
    // end of the ramp lie beyond them.
    for (int left = 8; left < 272; left += 4) {
        for (int shift : {16, 8, 0}) {
            double in = 0;
            double out = 0;
            for (int y = 0; y < 240; ++y) {
                for (int x = left; x < left + 4; ++x) {
                    const auto i = static_cast<std::size_t>(y * 280 + x);
                    in += linear(image.argb[i] >> shift & 0xFF);
                    out += linear(back.argb[i] >> shift & 0xFF);
                }
            }
            EXPECT_NEAR(out / 960, in / 960, 0.01) << "from column " << left << " >> " << shift;
        }
    }
    // A converted picture converts to the same pixels again.
    EXPECT_EQ(converted(back).argb, back.argb);
}

TEST(BootPicture, BmpsOfEveryDepthAndRowOrderRead) {
    // 5 × 3: the rows need padding at every depth.
    std::vector<std::uint32_t> many;
    for (std::uint32_t i = 0; i < 15; ++i)
        many.push_back(i * 0x110F03 + 0x0A0B0C);
    std::vector<std::uint32_t> two = many;
    for (std::uint32_t& p : two)
        p = p & 0x10 ? 0xFFFFFF : 0;
    for (int bits : {1, 4, 8, 24, 32}) {
        const std::vector<std::uint32_t>& pixels = bits == 1 ? two : many;
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (topDown ? " top-down" : " bottom-up"));
            const Result<Pixels> p = readBmp(test::bmpFile(5, 3, bits, pixels, topDown));
            ASSERT_TRUE(p.ok()) << p.detail();
            EXPECT_EQ(std::pair(p->width, p->height), std::pair(5, 3));
            for (std::size_t i = 0; i < 15; ++i)
                EXPECT_EQ(p->argb[i], 0xFF000000U | pixels[i]) << i;
        }
    }
}

TEST(BootPicture, WhatIsNoReadableImageIsRefused) {
    for (const std::string& file :
         {std::string(), changed(0, 'X', 1), changed(14, 12, 4) /* a core header */,
          changed(28, 16, 2) /* 16 bits */, changed(30, 2, 4) /* run-length encoded */,
          changed(18, 0, 4), changed(22, 0, 4), changed(18, 16385, 4) /* too wide */,
          changed(46, 17, 4) /* 17 colours of 4 bits */,
          changed(10, 100, 4) /* palette over pixels */}) {
        EXPECT_EQ(readBmp(file).error(), ErrorCode::WrongPictureFile) << file.size();
    }
    for (const Pixels& image : {Pixels{}, Pixels{2, 2, {0, 0, 0}}, solid(16385, 1, 0)}) {
        EXPECT_EQ(convertToBootPicture(image).error(), ErrorCode::WrongPictureFile) << image.width;
    }
}

TEST(BootPicture, ABmpThatHoldsLessThanItsHeaderSaysIsDamaged) {
    const std::string good = changed(0, 'B', 1);
    ASSERT_FALSE(bmpCutShort(good));
    std::vector<std::uint32_t> pixels(7 * 3, 0x123456);
    const std::string rgb = test::bmpFile(7, 3, 24, pixels, true);  // rows of 21 + 3 padding
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"one byte short", good.substr(0, good.size() - 1)},
        {"half of it", good.substr(0, good.size() / 2)},
        {"the headers alone", good.substr(0, 118)},
        {"cut in the palette", good.substr(0, 80)},
        {"cut in the header", good.substr(0, 40)},
        {"pixels begin past the end", changed(10, 119, 4)},
        {"taller than the file", changed(22, 241, 4)},
        {"top-down, taller than the file", changed(22, static_cast<std::uint32_t>(-241), 4)},
        {"24 bits, into the last row", rgb.substr(0, rgb.size() - 4)},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(bmpCutShort(c.file)) << c.what;
        const Result<Pixels> read = readBmp(c.file);
        ASSERT_FALSE(read.ok()) << c.what;
        EXPECT_EQ(read.error(),
                  c.file.size() < 54 ? ErrorCode::WrongPictureFile : ErrorCode::ImageDamaged)
            << c.what;
    }
    // The last row's padding may be missing; a run-length encoded one cannot tell.
    EXPECT_FALSE(bmpCutShort(rgb.substr(0, rgb.size() - 3)));
    EXPECT_TRUE(readBmp(rgb.substr(0, rgb.size() - 3)).ok());
    EXPECT_FALSE(bmpCutShort(changed(30, 2, 4).substr(0, 200)));
    EXPECT_FALSE(bmpCutShort("not a BMP"));
}

TEST(BootPicture, AFileOfThePicturesSizeShowsEvenWhenItIsNoBmp) {
    std::string file(33718, '\x21');  // every pixel colour 2, then 1
    test::putLe(file, 54 + 4, 0x0000FF, 4);
    test::putLe(file, 54 + 8, 0x00FF00, 4);
    ASSERT_FALSE(readBmp(file).ok());
    const Result<Pixels> p = readBootPicture(file);
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p->argb.size(), 280u * 240u);
    EXPECT_EQ(p->argb[0], 0xFF00FF00U);
    EXPECT_EQ(p->argb[1], 0xFF0000FFU);
    EXPECT_EQ(readBootPicture(file.substr(1)).error(), ErrorCode::WrongPictureFile);
}

}  // namespace
}  // namespace qel
