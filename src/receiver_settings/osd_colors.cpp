#include "receiver_settings/osd_colors.h"

#include <algorithm>
#include <cmath>

#include "model/conversions.h"

namespace qel {

namespace {

// Nearest integer, halves to even.
double N(double x) {
    return std::nearbyint(x);
}

int Byte(std::string_view value, std::size_t index) {
    return HexToDec(Mid(value, index * 2 + 1, 2)) & 0xFF;
}

std::string HexByte(std::string_view transparency, std::int64_t v6) {
    const std::string bits = std::string(transparency) + ToBinary(v6, 6);
    const std::string hex = "00" + ToHex(static_cast<std::uint32_t>(FromBinary(bits)));
    return hex.substr(hex.size() - 2);
}

const std::array<ColorItem, kColorItems> kItems = {{
    {"Menu External Box", 1040, -1},
    {"Menu Text", 1056, 200},
    {"Menu Background", 1024, 204},
    {"Channel text", 1060, -1},
    {"Channel background", 1028, -1},
    {"TV short info text", 192, -1},
    {"TV short info background", 196, -1},
    {"Radio short info text", 336, -1},
    {"Radio short info background", 340, -1},
    {"Subtitle background", 216, -1},
    {"EPG heading", 296, -1},
    {"EPG text", 300, -1},
    {"EPG background", 292, -1},
}};

}  // namespace

std::uint32_t YUV2RGB(std::string_view value) {
    const double y = (Byte(value, 0) & 63) * 4;
    const double cb = (Byte(value, 2) & 63) * 4;
    const double cr = (Byte(value, 3) & 63) * 4;
    const auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(N(v), 0.0, 255.0));
    };
    const std::uint32_t r = channel(((cr - 128) * 1.3707 + y - 16) * 256 / 236);
    const std::uint32_t g =
        channel((y - (cb - 128) * 0.3365 - (cr - 128) * 0.6982 - 16) * 256 / 236);
    const std::uint32_t b = channel(((cb - 128) * 1.7324 + y - 16) * 256 / 236);
    return r + 256 * g + 65536 * b;
}

std::string RGB2YUV(std::uint32_t rgb, std::string_view t) {
    const double r = N((rgb & 0xFF) / 256.0 * 235 + 16);
    const double g = N(((rgb >> 8) & 0xFF) / 256.0 * 235 + 16);
    const double b = N(((rgb >> 16) & 0xFF) / 256.0 * 235 + 16);
    const double y = N(77 * r / 256) + N(150 * g / 256) + N(29 * b / 256);
    const double cb = N(-44 * r / 256) - N(87 * g / 256) + N(131 * b / 256) + 128;
    const double cr = N(131 * r / 256) - N(110 * g / 256) - N(21 * b / 256) + 128;
    const auto six = [](double v) { return static_cast<std::int64_t>(N(v / 4)); };
    const std::string yb = HexByte(t, six(y));
    return yb + yb + HexByte(t, six(cb)) + HexByte(t, six(cr));
}

std::string ConvertTrans(int n) {
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

int TransparencyOf(std::string_view value) {
    return Byte(value, 0) >> 6;
}

const std::array<ColorItem, kColorItems>& ColorItems() {
    return kItems;
}

std::array<std::string, kColorItems> ReadColors(std::string_view image) {
    std::array<std::string, kColorItems> values;
    for (std::size_t i = 0; i < kColorItems; ++i) {
        values[i] = std::string(Mid(image, static_cast<std::size_t>(kItems[i].offset) * 2 + 1, 8));
    }
    return values;
}

void WriteColors(std::string& image, const std::array<std::string, kColorItems>& values) {
    const auto before = ReadColors(image);
    for (std::size_t i = 0; i < kColorItems; ++i) {
        if (values[i] == before[i] || values[i].size() != 8) continue;
        for (int offset : {kItems[i].offset, kItems[i].alsoAt}) {
            const auto at = static_cast<std::size_t>(offset) * 2;
            if (offset >= 0 && at + 8 <= image.size()) image.replace(at, 8, values[i]);
        }
    }
}

}  // namespace qel
