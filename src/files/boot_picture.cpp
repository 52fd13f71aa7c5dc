#include "files/boot_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace qel {

namespace {

constexpr int kW = kBootPictureWidth;
constexpr int kH = kBootPictureHeight;
constexpr std::size_t kRowBytes = kW / 2;

using Rgb = std::array<float, 3>;  // linear light, 0-1
using Lab = std::array<float, 3>;  // Oklab

// ---- colour spaces ----

const std::array<float, 256>& srgbToLinearTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[i] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table;
}

std::uint8_t linearToSrgb8(float v) {
    const double c = std::clamp(static_cast<double>(v), 0.0, 1.0);
    const double e = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(std::clamp(e, 0.0, 1.0) * 255));
}

// Oklab: distances in it follow how different colours look.
Lab toOklab(const Rgb& c) {
    const float l = std::cbrt(0.4122214708f * c[0] + 0.5363325363f * c[1] + 0.0514459929f * c[2]);
    const float m = std::cbrt(0.2119034982f * c[0] + 0.6806995451f * c[1] + 0.1073969566f * c[2]);
    const float s = std::cbrt(0.0883024619f * c[0] + 0.2817188376f * c[1] + 0.6299787005f * c[2]);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

Rgb fromOklab(const Lab& c) {
    const float l = c[0] + 0.3963377774f * c[1] + 0.2158037573f * c[2];
    const float m = c[0] - 0.1055613458f * c[1] - 0.0638541728f * c[2];
    const float s = c[0] - 0.0894841775f * c[1] - 1.2914855480f * c[2];
    const float l3 = l * l * l;
    const float m3 = m * m * m;
    const float s3 = s * s * s;
    return {4.0767416621f * l3 - 3.3077115913f * m3 + 0.2309699292f * s3,
            -1.2684380046f * l3 + 2.6097574011f * m3 - 0.3413193965f * s3,
            -0.0041960863f * l3 - 0.7034186147f * m3 + 1.7076147010f * s3};
}

float distance2(const Lab& a, const Lab& b) {
    const float d0 = a[0] - b[0];
    const float d1 = a[1] - b[1];
    const float d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

std::uint32_t packRgb(const Rgb& c) {
    return (std::uint32_t{linearToSrgb8(c[0])} << 16) | (std::uint32_t{linearToSrgb8(c[1])} << 8) |
           linearToSrgb8(c[2]);
}

Rgb unpackRgb(std::uint32_t rgb) {
    const auto& lin = srgbToLinearTable();
    return {lin[(rgb >> 16) & 0xFF], lin[(rgb >> 8) & 0xFF], lin[rgb & 0xFF]};
}

// ---- scaling ----

struct Tap {
    int index;
    float weight;
};

// For each of `dst` output pixels, the source pixels it is made of: the area it covers when
// shrinking, the two nearest when growing (or the one it sits on).
std::vector<std::vector<Tap>> resampleTaps(int src, int dst) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(dst));
    const double scale = static_cast<double>(src) / dst;
    for (int i = 0; i < dst; ++i) {
        std::vector<Tap>& t = taps[static_cast<std::size_t>(i)];
        if (dst < src) {
            const double lo = i * scale;
            const double hi = (i + 1) * scale;
            for (int j = static_cast<int>(lo); j < src && j < hi; ++j) {
                const double overlap = std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j));
                if (overlap > 0) t.push_back({j, static_cast<float>(overlap / scale)});
            }
        } else {
            const double centre = std::max(0.0, (i + 0.5) * scale - 0.5);
            const int j = std::min(static_cast<int>(centre), src - 1);
            const auto frac = static_cast<float>(centre - j);
            if (j + 1 < src && frac > 0) {
                t.push_back({j, 1 - frac});
                t.push_back({j + 1, frac});
            } else {
                t.push_back({j, 1});
            }
        }
    }
    return taps;
}

// The image scaled to dw × dh, in linear light, transparency shown over black.
std::vector<Rgb> scaleImage(const Pixels& image, int dw, int dh) {
    const auto& lin = srgbToLinearTable();
    const auto across = resampleTaps(image.width, dw);
    const auto down = resampleTaps(image.height, dh);
    // Rows first: each source row becomes dw pixels.
    std::vector<Rgb> rows(static_cast<std::size_t>(dw) * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* src = image.argb.data() + static_cast<std::size_t>(y) * image.width;
        for (int x = 0; x < dw; ++x) {
            Rgb sum{};
            for (const Tap& tap : across[static_cast<std::size_t>(x)]) {
                const std::uint32_t p = src[tap.index];
                const float w = tap.weight * static_cast<float>(p >> 24) / 255;
                sum[0] += w * lin[(p >> 16) & 0xFF];
                sum[1] += w * lin[(p >> 8) & 0xFF];
                sum[2] += w * lin[p & 0xFF];
            }
            rows[static_cast<std::size_t>(y) * dw + x] = sum;
        }
    }
    std::vector<Rgb> out(static_cast<std::size_t>(dw) * static_cast<std::size_t>(dh));
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            Rgb sum{};
            for (const Tap& tap : down[static_cast<std::size_t>(y)]) {
                const Rgb& p = rows[static_cast<std::size_t>(tap.index) * dw + x];
                for (int c = 0; c < 3; ++c)
                    sum[c] += tap.weight * p[c];
            }
            out[static_cast<std::size_t>(y) * dw + x] = sum;
        }
    }
    return out;
}

// ---- the palette ----

// The colours a palette is chosen for: the picture's pixels gathered into bins of 5 bits a
// channel, each bin at the mean of its pixels. A bin weighs the square root of its pixel
// count, so that a small area of a colour of its own is not outweighed by large areas of
// nearly the same colour.
struct Samples {
    std::vector<Lab> colours;
    std::vector<float> weights;
};

Samples gatherSamples(const std::vector<Lab>& points, const std::vector<std::uint32_t>& packed) {
    std::vector<std::int32_t> binOf(std::size_t{1} << 15, -1);
    std::vector<std::array<double, 3>> sums;
    std::vector<std::size_t> counts;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::uint32_t c = packed[i];
        const std::size_t key =
            ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F);
        if (binOf[key] < 0) {
            binOf[key] = static_cast<std::int32_t>(sums.size());
            sums.push_back({});
            counts.push_back(0);
        }
        const auto bin = static_cast<std::size_t>(binOf[key]);
        for (int k = 0; k < 3; ++k)
            sums[bin][k] += points[i][k];
        ++counts[bin];
    }
    Samples samples;
    for (std::size_t b = 0; b < sums.size(); ++b) {
        const auto n = static_cast<double>(counts[b]);
        samples.colours.push_back({static_cast<float>(sums[b][0] / n),
                                   static_cast<float>(sums[b][1] / n),
                                   static_cast<float>(sums[b][2] / n)});
        samples.weights.push_back(static_cast<float>(std::sqrt(n)));
    }
    return samples;
}

Lab weightedMean(const Samples& s, const std::vector<std::uint32_t>& members) {
    std::array<double, 3> sum{};
    double total = 0;
    for (std::uint32_t i : members) {
        for (int c = 0; c < 3; ++c)
            sum[c] += static_cast<double>(s.weights[i]) * s.colours[i][c];
        total += s.weights[i];
    }
    return {static_cast<float>(sum[0] / total), static_cast<float>(sum[1] / total),
            static_cast<float>(sum[2] / total)};
}

// Median cut: the box whose colours spread most is halved at its weighted median along its
// widest axis, until there are `count` boxes or none can be split.
std::vector<Lab> medianCut(const Samples& s, int count) {
    struct Box {
        std::vector<std::uint32_t> members;
        double spread = 0;  // weighted sum of squared distances from the mean
        int axis = 0;
    };
    const auto measure = [&](Box& box) {
        const Lab m = weightedMean(s, box.members);
        std::array<double, 3> var{};
        for (std::uint32_t i : box.members) {
            for (int c = 0; c < 3; ++c) {
                const double d = s.colours[i][c] - m[c];
                var[c] += s.weights[i] * d * d;
            }
        }
        box.spread = var[0] + var[1] + var[2];
        box.axis = static_cast<int>(std::max_element(var.begin(), var.end()) - var.begin());
    };
    std::vector<Box> boxes(1);
    boxes[0].members.resize(s.colours.size());
    std::iota(boxes[0].members.begin(), boxes[0].members.end(), 0U);
    measure(boxes[0]);
    while (static_cast<int>(boxes.size()) < count) {
        const auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const Box& a, const Box& b) { return a.spread < b.spread; });
        if (widest->spread <= 0 || widest->members.size() < 2) break;
        Box& box = *widest;
        const int axis = box.axis;
        auto& m = box.members;
        std::sort(m.begin(), m.end(), [&](std::uint32_t a, std::uint32_t b) {
            return s.colours[a][axis] < s.colours[b][axis];
        });
        double half = 0;
        for (std::uint32_t i : m)
            half += s.weights[i];
        half /= 2;
        std::size_t cut = 0;
        for (double below = 0; cut + 1 < m.size() && below + s.weights[m[cut]] <= half; ++cut)
            below += s.weights[m[cut]];
        cut = std::max<std::size_t>(cut, 1);
        Box upper;
        upper.members.assign(m.begin() + static_cast<std::ptrdiff_t>(cut), m.end());
        m.resize(cut);
        measure(box);
        measure(upper);
        boxes.push_back(std::move(upper));
    }
    std::vector<Lab> centres;
    for (const Box& box : boxes)
        centres.push_back(weightedMean(s, box.members));
    return centres;
}

int nearest(const Lab& c, const std::vector<Lab>& palette) {
    int best = 0;
    float bestDistance = distance2(c, palette[0]);
    for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
        const float d = distance2(c, palette[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Refines the centres (weighted k-means): each becomes the mean of the colours nearest to it.
void refine(const Samples& s, std::vector<Lab>& centres) {
    constexpr int kRounds = 16;
    std::vector<int> owner(s.colours.size(), -1);
    for (int round = 0; round < kRounds; ++round) {
        bool moved = false;
        std::vector<std::array<double, 3>> sums(centres.size());
        std::vector<double> totals(centres.size());
        for (std::size_t i = 0; i < s.colours.size(); ++i) {
            const int n = nearest(s.colours[i], centres);
            moved = moved || owner[i] != n;
            owner[i] = n;
            const auto k = static_cast<std::size_t>(n);
            for (int c = 0; c < 3; ++c)
                sums[k][c] += static_cast<double>(s.weights[i]) * s.colours[i][c];
            totals[k] += s.weights[i];
        }
        if (!moved) break;
        for (std::size_t k = 0; k < centres.size(); ++k) {
            if (totals[k] <= 0) continue;
            centres[k] = {static_cast<float>(sums[k][0] / totals[k]),
                          static_cast<float>(sums[k][1] / totals[k]),
                          static_cast<float>(sums[k][2] / totals[k])};
        }
    }
}

// ---- the file ----

void putLe16(std::string& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void putLe32(std::string& out, std::size_t at, std::uint32_t v) {
    putLe16(out, at, v & 0xFFFF);
    putLe16(out, at + 2, v >> 16);
}

// A 4-bit BMP of 280 × 240: the palette as 0xRRGGBB, the pixels' palette indices top row first.
std::string encodeBmp4(const std::vector<std::uint32_t>& palette,
                       const std::vector<std::uint8_t>& indices) {
    std::string out(kBootPictureFileSize, '\0');
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 2, static_cast<std::uint32_t>(kBootPictureFileSize));
    putLe32(out, 10, static_cast<std::uint32_t>(kBootPictureHeaderSize));
    putLe32(out, 14, 40);  // BITMAPINFOHEADER
    putLe32(out, 18, kW);
    putLe32(out, 22, kH);  // positive: bottom row first
    putLe16(out, 26, 1);   // planes
    putLe16(out, 28, 4);   // bits a pixel
    putLe32(out, 30, 0);   // uncompressed
    putLe32(out, 34, static_cast<std::uint32_t>(kRowBytes * kH));
    putLe32(out, 38, 2835);  // 72 dots an inch
    putLe32(out, 42, 2835);
    putLe32(out, 46, kBootPictureColours);
    putLe32(out, 50, kBootPictureColours);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        out[54 + 4 * i] = static_cast<char>(palette[i] & 0xFF);
        out[54 + 4 * i + 1] = static_cast<char>((palette[i] >> 8) & 0xFF);
        out[54 + 4 * i + 2] = static_cast<char>((palette[i] >> 16) & 0xFF);
    }
    for (int y = 0; y < kH; ++y) {
        const std::size_t row =
            kBootPictureHeaderSize + static_cast<std::size_t>(kH - 1 - y) * kRowBytes;
        for (int x = 0; x < kW; x += 2) {
            const std::size_t i = static_cast<std::size_t>(y) * kW + static_cast<std::size_t>(x);
            out[row + static_cast<std::size_t>(x) / 2] =
                static_cast<char>((indices[i] << 4) | indices[i + 1]);
        }
    }
    return out;
}

// Floyd–Steinberg in linear light, the nearest colour judged in Oklab, rows walked in
// alternate directions.
std::vector<std::uint8_t> dither(const std::vector<Rgb>& region, int dw, int dh,
                                 const std::vector<Rgb>& paletteRgb) {
    std::vector<Lab> paletteLab;
    for (const Rgb& c : paletteRgb)
        paletteLab.push_back(toOklab(c));
    std::vector<std::uint8_t> indices(region.size());
    const auto width = static_cast<std::size_t>(dw) + 2;
    std::vector<Rgb> current(width);
    std::vector<Rgb> next(width);
    for (int y = 0; y < dh; ++y) {
        std::fill(next.begin(), next.end(), Rgb{});
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        for (int n = 0; n < dw; ++n) {
            const int x = forward ? n : dw - 1 - n;
            const std::size_t at = static_cast<std::size_t>(y) * dw + x;
            const auto e = static_cast<std::size_t>(x + 1);  // error buffers have a margin
            Rgb value;
            for (int c = 0; c < 3; ++c)
                value[c] = std::clamp(region[at][c] + current[e][c], 0.0f, 1.0f);
            const int index = nearest(toOklab(value), paletteLab);
            indices[at] = static_cast<std::uint8_t>(index);
            for (int c = 0; c < 3; ++c) {
                const float err = value[c] - paletteRgb[static_cast<std::size_t>(index)][c];
                current[e + step][c] += err * 7 / 16;
                next[e - step][c] += err * 3 / 16;
                next[e][c] += err * 5 / 16;
                next[e + step][c] += err * 1 / 16;
            }
        }
        std::swap(current, next);
    }
    return indices;
}

}  // namespace

Result<std::string> convertToBootPicture(const Pixels& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxImageSide ||
        image.height > kMaxImageSide ||
        std::int64_t{image.width} * image.height > kMaxImagePixels ||
        image.argb.size() != static_cast<std::size_t>(image.width) * image.height) {
        return Error{ErrorCode::WrongPictureFile, "an image of " + std::to_string(image.width) +
                                                      " x " + std::to_string(image.height)};
    }
    const double scale =
        std::min(static_cast<double>(kW) / image.width, static_cast<double>(kH) / image.height);
    const int dw = std::clamp(static_cast<int>(std::lround(image.width * scale)), 1, kW);
    const int dh = std::clamp(static_cast<int>(std::lround(image.height * scale)), 1, kH);
    const int left = (kW - dw) / 2;
    const int top = (kH - dh) / 2;
    const bool bars = dw < kW || dh < kH;
    const std::vector<Rgb> region = scaleImage(image, dw, dh);

    // An image of few colours keeps exactly those.
    std::vector<std::uint32_t> colours(region.size());
    std::transform(region.begin(), region.end(), colours.begin(), packRgb);
    std::vector<std::uint32_t> distinct = colours;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (bars && !std::binary_search(distinct.begin(), distinct.end(), 0U)) {
        distinct.insert(distinct.begin(), 0U);
    }

    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> regionIndices(region.size());
    if (distinct.size() <= static_cast<std::size_t>(kBootPictureColours)) {
        palette = distinct;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            regionIndices[i] = static_cast<std::uint8_t>(
                std::lower_bound(palette.begin(), palette.end(), colours[i]) - palette.begin());
        }
    } else {
        std::vector<Lab> points(region.size());
        std::transform(region.begin(), region.end(), points.begin(), toOklab);
        const Samples samples = gatherSamples(points, colours);
        // The bars need black itself; the picture gets the other colours.
        std::vector<Lab> centres = medianCut(samples, kBootPictureColours - (bars ? 1 : 0));
        refine(samples, centres);
        std::sort(centres.begin(), centres.end(),
                  [](const Lab& a, const Lab& b) { return a[0] < b[0]; });
        if (bars) palette.push_back(0);
        for (const Lab& c : centres)
            palette.push_back(packRgb(fromOklab(c)));
        std::vector<Rgb> paletteRgb;
        for (std::uint32_t c : palette)
            paletteRgb.push_back(unpackRgb(c));
        regionIndices = dither(region, dw, dh, paletteRgb);
    }
    palette.resize(kBootPictureColours, 0);

    // The bars, when there are any, are black, which the palette then holds.
    const auto black = static_cast<std::uint8_t>(
        bars ? std::find(palette.begin(), palette.end(), 0U) - palette.begin() : 0);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(kW) * kH, black);
    for (int y = 0; y < dh; ++y) {
        std::copy_n(regionIndices.begin() + static_cast<std::ptrdiff_t>(y) * dw, dw,
                    indices.begin() + static_cast<std::ptrdiff_t>(top + y) * kW + left);
    }
    return encodeBmp4(palette, indices);
}

namespace {

std::uint32_t le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) |
           (std::uint32_t{static_cast<std::uint8_t>(b[at + 1])} << 8);
}

std::uint32_t le32(std::string_view b, std::size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}

Error notABitmap(std::string detail) {
    return Error{ErrorCode::WrongPictureFile, std::move(detail)};
}

// Pixels from palette indices or colours laid out as a BMP lays them out.
Pixels decodeRows(std::string_view file, std::size_t offset, int width, int height, bool bottomUp,
                  int bits, const std::vector<std::uint32_t>& palette) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    Pixels out{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const std::string_view row =
            file.substr(offset + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * stride);
        std::uint32_t* dst = out.argb.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour = 0;
            if (bits <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const auto byte = static_cast<std::uint8_t>(row[bit / 8]);
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1U << bits) - 1);
                colour = index < palette.size() ? palette[index] : 0;
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
                colour = (std::uint32_t{static_cast<std::uint8_t>(row[at + 2])} << 16) |
                         (std::uint32_t{static_cast<std::uint8_t>(row[at + 1])} << 8) |
                         static_cast<std::uint8_t>(row[at]);
            }
            dst[x] = 0xFF000000U | colour;
        }
    }
    return out;
}

std::vector<std::uint32_t> readPalette(std::string_view file, std::size_t at, std::size_t count) {
    std::vector<std::uint32_t> palette(count);
    for (std::size_t i = 0; i < count; ++i)
        palette[i] = le32(file, at + 4 * i) & 0xFFFFFF;
    return palette;
}

}  // namespace

Result<Pixels> readBmp(std::string_view file) {
    constexpr std::size_t kFileHeader = 14;
    if (file.size() < kFileHeader + 40 || file.substr(0, 2) != "BM") {
        return notABitmap("not a BMP file");
    }
    const std::uint32_t pixelsAt = le32(file, 10);
    const std::uint32_t infoSize = le32(file, 14);
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124) {
        return notABitmap("a BMP header of " + std::to_string(infoSize) + " bytes");
    }
    if (kFileHeader + infoSize > file.size()) {
        return Error{ErrorCode::ImageDamaged, "the BMP header is cut short"};
    }
    const auto width = static_cast<std::int32_t>(le32(file, 18));
    const auto rawHeight = static_cast<std::int32_t>(le32(file, 22));
    const std::uint32_t planes = le16(file, 26);
    const auto bits = static_cast<int>(le16(file, 28));
    const std::uint32_t compression = le32(file, 30);
    const std::uint32_t coloursUsed = le32(file, 46);
    if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) ||
        compression != 0) {
        return notABitmap("a BMP of " + std::to_string(bits) + " bits a pixel, compression " +
                          std::to_string(compression));
    }
    const std::int64_t height = rawHeight < 0 ? -std::int64_t{rawHeight} : rawHeight;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        std::int64_t{width} * height > kMaxImagePixels) {
        return notABitmap("a BMP of " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (bmpCutShort(file)) {
        return Error{ErrorCode::ImageDamaged, "the BMP pixels do not fit in the file"};
    }
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        const std::size_t most = std::size_t{1} << bits;
        const std::size_t count = coloursUsed == 0 ? most : coloursUsed;
        const std::size_t paletteAt = kFileHeader + infoSize;
        if (count > most || paletteAt + 4 * count > std::min<std::size_t>(pixelsAt, file.size())) {
            return notABitmap("the BMP palette does not fit");
        }
        palette = readPalette(file, paletteAt, count);
    }
    if (pixelsAt < kFileHeader + infoSize) return notABitmap("the BMP pixels overlap its header");
    return decodeRows(file, pixelsAt, width, static_cast<int>(height), rawHeight > 0, bits,
                      palette);
}

bool bmpCutShort(std::string_view file) {
    constexpr std::size_t kFileHeader = 14;
    if (file.substr(0, 2) != "BM") return false;
    if (file.size() < kFileHeader + 4) return true;
    const std::uint32_t infoSize = le32(file, 14);
    if (infoSize < 40) return file.size() < kFileHeader + infoSize;
    if (file.size() < kFileHeader + infoSize) return true;
    const auto width = static_cast<std::int32_t>(le32(file, 18));
    const auto rawHeight = static_cast<std::int32_t>(le32(file, 22));
    const std::uint32_t bits = le16(file, 28);
    const std::uint32_t compression = le32(file, 30);
    // Run-length encoded pixels take what they take; a header this odd is no image at all.
    if ((compression != 0 && compression != 3) || width <= 0 || rawHeight == 0 || bits == 0) {
        return false;
    }
    const std::uint64_t rows = rawHeight < 0 ? static_cast<std::uint64_t>(-std::int64_t{rawHeight})
                                             : static_cast<std::uint64_t>(rawHeight);
    // The last row's padding may be missing.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t lastRow = (static_cast<std::uint64_t>(width) * bits + 7) / 8;
    return std::uint64_t{le32(file, 10)} + stride * (rows - 1) + lastRow > file.size();
}

Result<Pixels> readBootPicture(std::string_view file) {
    Result<Pixels> bmp = readBmp(file);
    if (bmp || file.size() != kBootPictureFileSize) return bmp;
    return decodeRows(file, kBootPictureHeaderSize, kW, kH, true, 4,
                      readPalette(file, 54, kBootPictureColours));
}

}  // namespace qel
