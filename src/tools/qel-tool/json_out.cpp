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
        if (!first) out += ',';
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
        if (i != 0) out += ',';
        out += JsonChannel(list[i]);
    }
    out += ']';
    return out;
}

namespace {

template <class Range>
std::string JsonStringArray(const Range& texts, std::size_t from) {
    std::string out = "[";
    for (std::size_t i = from; i < std::size(texts); ++i) {
        if (i != from) out += ',';
        out += JsonString(texts[i]);
    }
    out += ']';
    return out;
}

}  // namespace

std::string JsonImageTables(const FtaImageTables& t) {
    std::string out = "{";
    out += R"("tagged":)";
    out += t.ImageTagged ? "true" : "false";
    out += R"(,"tv_count":)" + std::to_string(t.TVCount);
    out += R"(,"radio_count":)" + std::to_string(t.RadioCount);
    out += R"(,"antennas":)" + JsonStringArray(t.Antennas, 0);
    out += R"(,"settings_record":)" + JsonString(t.SettingsRecord);
    out += R"(,"screen_format":)" + JsonString(t.ScreenFormat);
    out += R"(,"transponders":)" + JsonStringArray(t.Transponders, 1);
    out += R"(,"pids":)" + JsonStringArray(t.Pids, 1);
    out += R"(,"others":)" + JsonStringArray(t.Others, 1);
    out += '}';
    return out;
}

}  // namespace qel::tool
