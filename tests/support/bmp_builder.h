// BMP files for the picture tests, built byte by byte: any size, 1 to 32 bits a pixel, rows
// bottom-up (as most files have them) or top-down.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qel::test {

inline void putLe(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// `pixels`: 0xRRGGBB, top row first. Up to 8 bits a pixel the palette holds the distinct
// colours in order of first appearance.
inline std::string bmpFile(int width, int height, int bits,
                           const std::vector<std::uint32_t>& pixels, bool topDown = false) {
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        for (std::uint32_t p : pixels) {
            if (std::find(palette.begin(), palette.end(), p) == palette.end()) palette.push_back(p);
        }
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    const std::size_t offset = 54 + 4 * palette.size();
    std::string out(offset + stride * static_cast<std::size_t>(height), '\0');
    out[0] = 'B';
    out[1] = 'M';
    putLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    putLe(out, 10, static_cast<std::uint32_t>(offset), 4);
    putLe(out, 14, 40, 4);
    putLe(out, 18, static_cast<std::uint32_t>(width), 4);
    putLe(out, 22, static_cast<std::uint32_t>(topDown ? -height : height), 4);
    putLe(out, 26, 1, 2);
    putLe(out, 28, static_cast<std::uint32_t>(bits), 2);
    putLe(out, 46, static_cast<std::uint32_t>(palette.size()), 4);
    for (std::size_t i = 0; i < palette.size(); ++i)
        putLe(out, 54 + 4 * i, palette[i], 4);
    for (int y = 0; y < height; ++y) {
        const std::size_t row =
            offset + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
            if (bits > 8) {
                putLe(out, row + static_cast<std::size_t>(x * bits / 8), p, 3);
                continue;
            }
            const auto index = static_cast<std::uint32_t>(
                std::find(palette.begin(), palette.end(), p) - palette.begin());
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            out[row + bit / 8] = static_cast<char>(
                out[row + bit / 8] | static_cast<char>(index << (8 - bits - bit % 8)));
        }
    }
    return out;
}

}  // namespace qel::test
