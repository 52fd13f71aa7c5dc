// Builders for FTA flash images in tests: records by type and value, laid out in the
// three areas with their marker words, plus a walker that lists an image's records.
// Written from the image layout alone, without the program's writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel::test {

inline std::string bytes(std::string_view hex) {
    const auto digit = [](char c) {
        return c <= '9' ? c - '0' : (c >= 'a' ? c - 'a' + 10 : c - 'A' + 10);
    };
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
    }
    return out;
}

inline std::string word16(unsigned v) {
    return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

// type, length, value and a zero pad byte after an odd value.
inline std::string rec(unsigned type, std::string_view value) {
    std::string r = word16(type) + word16(static_cast<unsigned>(value.size()));
    r += value;
    if (value.size() % 2 != 0) r += '\0';
    return r;
}

inline std::string channelEntry(std::string_view name, unsigned net, unsigned ts, unsigned ser,
                                unsigned tr) {
    std::string e;
    e += static_cast<char>(name.size());
    e += '\0';
    e += word16(net) + word16(ts) + word16(ser) + word16(tr);
    e += name;
    if (name.size() % 2 != 0) e += '\0';
    return e;
}

// Tuned transponder value; freq, sat, srate as digit texts written as hex digits.
inline std::string tunedTransponder(unsigned net, unsigned ts, unsigned ant, unsigned aux,
                                    std::string_view freq8, std::string_view sat3, unsigned band,
                                    unsigned pol, std::string_view srate6, unsigned fec) {
    return word16(net) + word16(net) + word16(ts) + word16(ant) + word16(aux) + bytes(freq8) +
           bytes("0" + std::string(sat3)) + static_cast<char>(band) + static_cast<char>(pol) +
           '\0' + bytes(srate6) + '\x01' + static_cast<char>(fec);
}

inline std::string untunedTransponder(unsigned net, unsigned ts, unsigned mhz, unsigned fraction,
                                      std::string_view srate6) {
    return word16(net) + word16(net) + word16(ts) + bytes("00000004") + word16(mhz) +
           static_cast<char>(fraction) + '\0' + bytes("0203") + '\0' + bytes(srate6) +
           bytes("0F000000");
}

inline std::string pidValue(unsigned net, unsigned ts, unsigned ser, unsigned v, unsigned a,
                            unsigned p) {
    return word16(net) + word16(ts) + word16(ser) + bytes("8101") + word16(v) + word16(a) +
           word16(p);
}

class FtaImage {
public:
    static constexpr std::size_t kBegin[3] = {0, 8192, 16384};
    static constexpr std::size_t kEnd[3] = {8188, 16380, 49148};

    // Appends a record (or any bytes) to area 0 (A), 1 (B) or 2 (C).
    FtaImage& add(std::string_view bytes, int area = 0) {
        areas_[static_cast<std::size_t>(area)] += bytes;
        return *this;
    }
    FtaImage& add(unsigned type, std::string_view value, int area = 0) {
        return add(rec(type, value), area);
    }
    // Marks an area as holding records even when it holds none, or not when it does.
    FtaImage& marked(int area, bool on) {
        marked_[static_cast<std::size_t>(area)] = on ? 1 : 0;
        return *this;
    }
    FtaImage& withoutMainMarker() {
        mainMarker_ = false;
        return *this;
    }

    std::string build() const {
        std::string img(49152, '\xFF');
        if (mainMarker_) img.replace(8188, 2, word16(0x2000));
        img.replace(16380, 2, word16(0x2000));
        img.replace(49148, 2, word16(0x8000));
        for (std::size_t a = 0; a < 3; ++a) {
            img.replace(kBegin[a], areas_[a].size(), areas_[a]);
            const bool marked = marked_[a] < 0 ? !areas_[a].empty() : marked_[a] == 1;
            if (marked) img.replace(kEnd[a] + 2, 2, word16(0x7FFC));
        }
        return img;
    }

private:
    std::array<std::string, 3> areas_;
    std::array<int, 3> marked_{-1, -1, -1};
    bool mainMarker_ = true;
};

struct WalkedRecord {
    int area;
    unsigned type;
    std::string value;  // without the pad byte
};

// The records of every area marked as holding records, in image order.
inline std::vector<WalkedRecord> walkImage(std::string_view img) {
    std::vector<WalkedRecord> out;
    const auto word = [&](std::size_t o) {
        return static_cast<unsigned>(static_cast<unsigned char>(img[o]) * 256 +
                                     static_cast<unsigned char>(img[o + 1]));
    };
    for (int a = 0; a < 3; ++a) {
        const std::size_t end = FtaImage::kEnd[a];
        if (word(end + 2) != 0x7FFC) continue;
        for (std::size_t o = FtaImage::kBegin[a]; o + 4 <= end && word(o) != 0xFFFF;) {
            const unsigned len = word(o + 2);
            out.push_back({a, word(o), std::string(img.substr(o + 4, len))});
            o += 4 + len + (len & 1U);
        }
    }
    return out;
}

}  // namespace qel::test
