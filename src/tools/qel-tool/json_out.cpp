#include "json_out.h"

#include <cstdio>

namespace qel::tool {

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", b);
            out += esc;
        } else if (b < 0x80) {
            out += c;
        } else {
            // UTF-8 of U+0080..U+00FF
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    out += '"';
    return out;
}

std::string JsonChannel(const ChannelRec& ch) {
    std::string out = "{";
    bool first = true;
    ForEachField(ch, [&](const char* name, const auto& field) {
        if (!first)
            out += ',';
        first = false;
        out += '"';
        out += name;
        out += "\":";
        out += JsonString(field.view());
    });
    out += '}';
    return out;
}

std::string JsonChannelArray(const ChannelList& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i != 0)
            out += ',';
        out += JsonChannel(list[i]);
    }
    out += ']';
    return out;
}

}  // namespace qel::tool
