#include "receiver_settings/osd_colors.h"

#include <algorithm>
#include <cmath>

#include "bytes/conversions.h"
#include "bytes/field.h"
#include "model/translatable_text.h"

namespace qel {

namespace {

// Nearest integer, halves to even.
double nearestEven(double x) {
    return std::nearbyint(x);
}

int byte(std::string_view value, std::size_t index) {
    return hexToDec(Field{index, 1}.hex().in(value)) & 0xFF;
}

// A colour value: 4 bytes at a byte offset of the block, held as 8 hex digits.
Field valueField(int offset) {
    return Field{static_cast<std::size_t>(offset), 4}.hex();
}

std::string hexByteOf(std::string_view transparency, std::int64_t v6) {
    const std::string bits = std::string(transparency) + toBinary(v6, 6);
    const std::string hex = "00" + toHex(static_cast<std::uint32_t>(fromBinary(bits)));
    return hex.substr(hex.size() - 2);
}

const std::array<ColorItem, kColorItems> kItems = {{
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Menu External Box"), 1040, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Menu Text"), 1056, 200},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Menu Background"), 1024, 204},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Channel text"), 1060, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Channel background"), 1028, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "TV short info text"), 192, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "TV short info background"), 196, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Radio short info text"), 336, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Radio short info background"), 340, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "Subtitle background"), 216, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "EPG heading"), 296, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "EPG text"), 300, -1},
    {QEL_TRANSLATE_NOOP("qel::OsdColors", "EPG background"), 292, -1},
}};

}  // namespace

std::uint32_t yuvToRgb(std::string_view value) {
    const double y = (byte(value, 0) & 63) * 4;
    const double cb = (byte(value, 2) & 63) * 4;
    const double cr = (byte(value, 3) & 63) * 4;
    const auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(nearestEven(v), 0.0, 255.0));
    };
    const std::uint32_t r = channel(((cr - 128) * 1.3707 + y - 16) * 256 / 236);
    const std::uint32_t g =
        channel((y - (cb - 128) * 0.3365 - (cr - 128) * 0.6982 - 16) * 256 / 236);
    const std::uint32_t b = channel(((cb - 128) * 1.7324 + y - 16) * 256 / 236);
    return r + 256 * g + 65536 * b;
}

std::string rgbToYuv(std::uint32_t rgb, std::string_view t) {
    const double r = nearestEven((rgb & 0xFF) / 256.0 * 235 + 16);
    const double g = nearestEven(((rgb >> 8) & 0xFF) / 256.0 * 235 + 16);
    const double b = nearestEven(((rgb >> 16) & 0xFF) / 256.0 * 235 + 16);
    const double y =
        nearestEven(77 * r / 256) + nearestEven(150 * g / 256) + nearestEven(29 * b / 256);
    const double cb =
        nearestEven(-44 * r / 256) - nearestEven(87 * g / 256) + nearestEven(131 * b / 256) + 128;
    const double cr =
        nearestEven(131 * r / 256) - nearestEven(110 * g / 256) - nearestEven(21 * b / 256) + 128;
    const auto six = [](double v) { return static_cast<std::int64_t>(nearestEven(v / 4)); };
    const std::string yb = hexByteOf(t, six(y));
    return yb + yb + hexByteOf(t, six(cb)) + hexByteOf(t, six(cr));
}

std::string transparencyBits(int n) {
    switch (n) {
        case 0:
            return "00";
        case 1:
            return "01";
        case 2:
            return "10";
        case 3:
            return "11";
        default:
            return "";
    }
}

int transparencyOf(std::string_view value) {
    return byte(value, 0) >> 6;
}

const std::array<ColorItem, kColorItems>& colorItems() {
    return kItems;
}

std::array<std::string, kColorItems> readColors(std::string_view image) {
    std::array<std::string, kColorItems> values;
    for (std::size_t i = 0; i < kColorItems; ++i) {
        values[i] = std::string(valueField(kItems[i].offset).in(image));
    }
    return values;
}

void writeColors(std::string& image, const std::array<std::string, kColorItems>& values) {
    const auto before = readColors(image);
    for (std::size_t i = 0; i < kColorItems; ++i) {
        if (values[i] == before[i] || values[i].size() != 8) continue;
        for (int offset : {kItems[i].offset, kItems[i].alsoAt}) {
            if (offset < 0) continue;
            const Field field = valueField(offset);
            if (field.end() <= image.size()) putField(image, field, values[i]);
        }
    }
}

}  // namespace qel
