#include "json_out.h"

#include <cstdio>

namespace qel::tool {

std::string jsonString(std::string_view bytes) {
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

std::string jsonChannel(const ChannelRec& ch) {
    std::string out = "{";
    bool first = true;
    forEachField(ch, [&](const char* name, const auto& field) {
        if (!first) out += ',';
        first = false;
        out += '"';
        out += name;
        out += "\":";
        out += jsonString(field.view());
    });
    out += '}';
    return out;
}

std::string jsonChannelArray(const ChannelList& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i != 0) out += ',';
        out += jsonChannel(list[i]);
    }
    out += ']';
    return out;
}

namespace {

template <class Range>
std::string jsonStringArray(const Range& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        if (i != 0) out += ',';
        out += jsonString(texts[i]);
    }
    out += ']';
    return out;
}

}  // namespace

std::string jsonImageTables(const FtaImageTables& t) {
    std::string out = "{";
    out += R"("tagged":)";
    out += t.imageTagged ? "true" : "false";
    out += R"(,"tv_count":)" + std::to_string(t.tvCount);
    out += R"(,"radio_count":)" + std::to_string(t.radioCount);
    out += R"(,"antennas":)" + jsonStringArray(t.antennas);
    out += R"(,"settings_record":)" + jsonString(t.settingsRecord);
    out += R"(,"screen_format":)" + jsonString(t.screenFormat);
    out += R"(,"transponders":)" + jsonStringArray(t.transponders);
    out += R"(,"pids":)" + jsonStringArray(t.pids);
    out += R"(,"others":)" + jsonStringArray(t.others);
    out += '}';
    return out;
}

}  // namespace qel::tool
