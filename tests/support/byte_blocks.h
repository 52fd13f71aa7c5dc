// Blocks of bytes made up for tests and benchmarks: noise, and text in lines of words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>

namespace qel::test {

inline std::string randomBlock(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s)
        c = static_cast<char>(rng() & 0xFFU);
    return s;
}

// Lines of words, as in a manual or a changelog.
inline std::string textBlock(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {
        "the",       "receiver", "channel", "list",   "satellite", "transponder", "frequency",
        "symbol",    "rate",     "and",     "of",     "to",        "firmware",    "block",
        "a",         "is",       "flash",   "update", "Astra",     "Hotbird",     "19.2E",
        "13.0E",     "PID",      "audio",   "video",  "settings",  "in",          "with",
        "(default)", "OSD",      "menu",    "press",  "OK",        "then",        "LNB"};
    std::mt19937 rng(seed);
    std::string s;
    std::size_t line = 0;
    while (s.size() < size) {
        const std::string word = kWords[rng() % std::size(kWords)];
        s += word;
        line += word.size() + 1;
        if (line > 64) {
            s += ".\n";
            line = 0;
        } else {
            s += rng() % 9 == 0 ? ", " : " ";
        }
    }
    s.resize(size);
    return s;
}

}  // namespace qel::test
