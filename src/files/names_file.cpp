#include "files/names_file.h"

#include <algorithm>

#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/text_import.h"
#include "model/channel_rec.h"

namespace qel {

namespace {

bool controlCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7F;
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool holdsChannel(const ChannelList& list) {
    return std::any_of(list.begin(), list.end(),
                       [](const ChannelRec& ch) { return ch.Freq != "00000000"; });
}

}  // namespace

Result<std::vector<std::string>> parseNames(std::string_view bytes) {
    if (bytes.size() > kMaxNamesFileSize) return ErrorCode::FileTooLarge;
    if (std::any_of(bytes.begin(), bytes.end(), controlCharacter)) return ErrorCode::NotTextFile;
    const DecodedText decoded = decodeText(bytes);
    const std::string_view text = decoded.text;
    std::vector<std::string> names;
    std::size_t line = 0;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = begin;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        ++line;
        // The first character above 255 is in this line: refused where it is found.
        if (!decoded.wide.empty() && decoded.wide.front() < end) {
            return Error{ErrorCode::CharacterNotLatin1, std::to_string(line)};
        }
        const std::string_view name = trimmed(text.substr(begin, end - begin));
        if (!name.empty()) names.emplace_back(name);
        // CR LF ends one line, not two.
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
        begin = end + 1;
    }
    if (names.empty()) return ErrorCode::NoChannelsInFile;
    return names;
}

Result<std::vector<std::string>> readNamesFile(const std::string& path) {
    auto bytes = readFileBytes(path, kMaxNamesFileSize);
    if (!bytes) return bytes.status();
    return parseNames(*bytes);
}

Result<OrderReference> readOrderReference(const std::string& path, ListId list) {
    OrderReference reference;
    const FileFormat* format = channelFileFormat(path);
    if (format != nullptr) {
        auto set = format->readChannels(path);
        const bool text = format->id == FileFormatId::Text;
        const bool namesInstead =
            text && (set ? !holdsChannel(set->lists.tv) && !holdsChannel(set->lists.radio)
                         : set.error() == ErrorCode::WrongLineLength ||
                               set.error() == ErrorCode::NoChannelsInFile);
        if (!namesInstead) {
            if (!set) return set.status();
            reference.channels = std::move(list == ListId::TV ? set->lists.tv : set->lists.radio);
            return reference;
        }
    }
    auto names = readNamesFile(path);
    if (!names) return names.status();
    reference.namesOnly = true;
    reference.names = std::move(*names);
    return reference;
}

}  // namespace qel
