// A field of a fixed-layout record (a text, a byte string or a record held as hex text):
// its zero-based offset and its length, declared once beside the record's layout and used
// by the code that reads the record and the code that writes it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qel {

struct Field {
    std::size_t offset;
    std::size_t length = std::string_view::npos;  // npos: up to the record's end

    constexpr std::size_t end() const { return offset + length; }

    // The field's characters in s: fewer where s ends inside the field, none past its end.
    constexpr std::string_view in(std::string_view s) const {
        return offset < s.size() ? s.substr(offset, length) : std::string_view();
    }

    // The same field in the hex text of the bytes: two digits a byte.
    constexpr Field hex() const {
        return {offset * 2, length == std::string_view::npos ? length : length * 2};
    }
};

// Writes value over the field in s; s must already reach the field's end.
inline void putField(std::string& s, const Field& f, std::string_view value) {
    s.replace(f.offset, f.length, value.substr(0, f.length));
}

}  // namespace qel
