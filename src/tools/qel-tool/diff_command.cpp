// qel-tool diff: the comparison of two channel files, as a report or JSON.
#include <iostream>
#include <optional>
#include <string_view>

#include "files/file_formats.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "json_out.h"
#include "listedit/compare.h"
#include "model/workspace.h"
#include "tool_command.h"
#include "tool_common.h"

namespace qel::tool {

namespace {

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

int diffCommand(const Args& args) {
    const std::vector<std::string>& files = args.operands;
    const std::string takenOver = args.value("--take-over");
    const bool asJson = args.has("--json");
    ChannelSet sets[2];
    for (std::size_t i = 0; i < 2; ++i) {
        auto read = readChannels(files[i]);
        if (!read && read.error() == ErrorCode::UnsupportedFileType) {
            return unsupportedInput(files[i]);
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
    return c.equal() ? kExitOk : kExitDifferent;
}

constexpr OptionSpec kOptions[] = {{"--json"}, {"--take-over", OptionType::Path, {}, true}};

constexpr Command kCommands[] = {
    {"diff", "diff A B [--json] [--take-over OUT]",
     "      Compares the channels of A and B (.dvb, .bin, .txt or .csv): those only\n"
     "      in A, only in B, changed (same list, NetId, TsId and SerId; headers by\n"
     "      name) and moved. Exit status 0 when equal, 3 when different.\n"
     "      --take-over writes A with B's values for every changed channel to OUT.\n",
     kOptions, 2, 2, diffCommand},
};

}  // namespace

std::span<const Command> diffCommands() {
    return kCommands;
}

}  // namespace qel::tool
