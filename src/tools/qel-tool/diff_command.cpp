#include "diff_command.h"

#include <iostream>
#include <optional>
#include <string_view>

#include "command_args.h"
#include "files/file_formats.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "json_out.h"
#include "listedit/compare.h"
#include "model/workspace.h"

namespace qel::tool {

namespace {

constexpr int kExitEqual = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;
constexpr int kExitDifferent = 3;

// The lists of any channel file the program reads (.dvb, .bin, .txt, .csv) and their kind.
Result<ChannelSet> readLists(const std::string& path) {
    const FileFormat* format = findFileFormat(path);
    if (format == nullptr || format->content != FileContent::Channels)
        return ErrorCode::UnsupportedFileType;
    return format->readChannels(path, {});
}

std::string row(std::size_t index) {
    return std::to_string(index + 1);
}

std::string jsonList(ListId list) {
    return R"("list":")" + std::string(listName(list)) + '"';
}

// "first_row":1,"second_row":2 — the rows as the lists show them, from 1.
std::string jsonRows(std::size_t first, std::size_t second) {
    return R"("first_row":)" + row(first) + R"(,"second_row":)" + row(second);
}

template <class Entries, class Write>
std::string jsonArray(const Entries& entries, Write write) {
    std::string out = "[";
    for (const auto& e : entries) {
        if (out.size() > 1) out += ',';
        out += '{' + write(e) + '}';
    }
    return out + ']';
}

std::string json(const ListComparison& c) {
    const auto unpaired = [](const UnpairedChannel& e) {
        return jsonList(e.list) + R"(,"row":)" + row(e.row) + R"(,"name":)" + jsonString(e.name);
    };
    const auto changed = [](const ChangedChannel& e) {
        std::string fields;
        for (const FieldDifference& f : e.fields) {
            if (!fields.empty()) fields += ',';
            fields +=
                jsonString(f.field) + ":[" + jsonString(f.first) + ',' + jsonString(f.second) + ']';
        }
        return jsonList(e.list) + ',' + jsonRows(e.firstRow, e.secondRow) + R"(,"name":)" +
               jsonString(e.name) + R"(,"fields":{)" + fields + '}';
    };
    const auto moved = [](const MovedChannel& e) {
        return jsonList(e.list) + ',' + jsonRows(e.firstRow, e.secondRow) + R"(,"name":)" +
               jsonString(e.name);
    };
    return R"({"only_in_first":)" + jsonArray(c.onlyInFirst, unpaired) + R"(,"only_in_second":)" +
           jsonArray(c.onlyInSecond, unpaired) + R"(,"changed":)" + jsonArray(c.changed, changed) +
           R"(,"moved":)" + jsonArray(c.moved, moved) + "}\n";
}

std::string text(std::string_view s) {
    return latin1ToUtf8(s);
}

// The report: a heading with its count per kind, then a line per channel.
std::string report(const ListComparison& c, const std::string& a, const std::string& b) {
    std::string out;
    const auto heading = [&](const std::string& what, std::size_t count) {
        out += what + ": " + std::to_string(count) + '\n';
    };
    heading("Only in " + a, c.onlyInFirst.size());
    for (const UnpairedChannel& e : c.onlyInFirst)
        out += "  " + std::string(listName(e.list)) + ' ' + row(e.row) + "  " + text(e.name) + '\n';
    heading("Only in " + b, c.onlyInSecond.size());
    for (const UnpairedChannel& e : c.onlyInSecond)
        out += "  " + std::string(listName(e.list)) + ' ' + row(e.row) + "  " + text(e.name) + '\n';
    heading("Changed", c.changed.size());
    for (const ChangedChannel& e : c.changed) {
        out += "  " + std::string(listName(e.list)) + ' ' + row(e.firstRow) + " / " +
               row(e.secondRow) + "  " + text(e.name) + '\n';
        for (const FieldDifference& f : e.fields) {
            out += "      " + std::string(f.field) + ": \"" + text(f.first) + "\" -> \"" +
                   text(f.second) + "\"\n";
        }
    }
    heading("Moved", c.moved.size());
    for (const MovedChannel& e : c.moved) {
        out += "  " + std::string(listName(e.list)) + ' ' + row(e.firstRow) + " -> " +
               row(e.secondRow) + "  " + text(e.name) + '\n';
    }
    return out;
}

}  // namespace

int diffCommand(const std::vector<std::string>& args) {
    const CommandArgs split = splitCommandArgs(args, {{"--json"}, {"--take-over", true}});
    if (!split.ok()) {
        std::cerr << "qel-tool diff: " << split.error << '\n';
        return kExitUsage;
    }
    const std::vector<std::string>& files = split.operands;
    std::string takenOver;  // --take-over OUT, given once
    std::size_t takeOvers = 0;
    for (const auto& [option, value] : split.options) {
        if (option != "--take-over") continue;
        takenOver = value;
        ++takeOvers;
    }
    if (files.size() != 2 || takeOvers > 1 || (takeOvers == 1 && takenOver.empty())) {
        std::cerr << "usage: qel-tool diff A B [--json] [--take-over OUT]\n";
        return kExitUsage;
    }
    const bool asJson = split.has("--json");
    ChannelSet sets[2];
    for (std::size_t i = 0; i < 2; ++i) {
        auto read = readLists(files[i]);
        if (!read && read.error() == ErrorCode::UnsupportedFileType) {
            std::cerr << "qel-tool: unsupported file type: " << files[i] << '\n';
            return kExitRefused;
        }
        if (!read) {
            std::cerr << files[i] << ": " << importMessage(read.status()) << '\n';
            return kExitRefused;
        }
        sets[i] = std::move(read.value());
    }
    const ListComparison c =
        compareLists(sets[0].lists, sets[1].lists, sets[0].fileType, sets[1].fileType);
    std::cout << (asJson ? json(c) : report(c, files[0], files[1]));
    // A with B's values for every changed channel, written in A's format, as "Take over the
    // changes" does for the chosen ones.
    if (!takenOver.empty()) {
        Workspace ws;
        ws.installChannels(std::move(sets[0]));
        ws.changeLists(kTouchTV | kTouchRadio, [&](EditableLists& lists) {
            takeOverChanges(lists.tv, lists.radio, sets[1].lists, c.changed);
        });
        if (Status st = findFileFormat(files[0])->write(ws, takenOver, {}); !st) {
            std::cerr << takenOver << ": " << importMessage(st) << '\n';
            return kExitRefused;
        }
    }
    return c.equal() ? kExitEqual : kExitDifferent;
}

}  // namespace qel::tool
