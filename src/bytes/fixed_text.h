// A text field of fixed width holding 8-bit characters (0-255).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qel {

template <std::size_t nearestEven>
class FixedText {
public:
    static constexpr std::size_t width = nearestEven;

    // A field that was never filled holds nearestEven characters of code 0.
    constexpr FixedText() { c_.fill('\0'); }
    FixedText(std::string_view s) { assign(s); }  // NOLINT: implicit, like assigning a text

    // Left-aligned: a shorter text is padded with blanks, a longer one is cut.
    void assign(std::string_view s) {
        const std::size_t n = std::min(s.size(), nearestEven);
        std::copy_n(s.data(), n, c_.begin());
        std::fill(c_.begin() + static_cast<std::ptrdiff_t>(n), c_.end(), ' ');
    }
    FixedText& operator=(std::string_view s) {
        assign(s);
        return *this;
    }

    std::string_view view() const { return {c_.data(), nearestEven}; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }  // NOLINT: reads like the text it is

    char& operator[](std::size_t i) { return c_[i]; }
    char operator[](std::size_t i) const { return c_[i]; }
    char* data() { return c_.data(); }
    const char* data() const { return c_.data(); }

    friend bool operator==(const FixedText&, const FixedText&) = default;
    friend auto operator<=>(const FixedText& a, const FixedText& b) {
        return std::lexicographical_compare_three_way(
            a.c_.begin(), a.c_.end(), b.c_.begin(), b.c_.end(), [](char x, char y) {
                return static_cast<unsigned char>(x) <=> static_cast<unsigned char>(y);
            });
    }
    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    std::array<char, nearestEven> c_;
};

}  // namespace qel
