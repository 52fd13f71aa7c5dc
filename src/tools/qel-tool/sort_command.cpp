#include "sort_command.h"

#include <iostream>
#include <optional>

#include "files/file_formats.h"
#include "files/text_import.h"
#include "listedit/sort.h"
#include "model/workspace.h"

namespace qel::tool {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;

struct SortArgs {
    std::string in;
    std::string out;
    SortOptions options;
};

int sortUsage() {
    std::cerr << "usage: qel-tool sort IN OUT --by name|freq|sid|sat [--desc] [--across-headers]\n";
    return kExitUsage;
}

std::optional<SortArgs> parse(const std::vector<std::string>& args) {
    SortArgs parsed;
    std::vector<std::string> files;
    bool keyGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--by" && i + 1 < args.size()) {
            const std::optional<SortKey> key = sortKeyNamed(args[++i]);
            if (!key) return std::nullopt;
            parsed.options.key = *key;
            keyGiven = true;
        } else if (a == "--desc") {
            parsed.options.descending = true;
        } else if (a == "--across-headers") {
            parsed.options.keepHeaders = false;
        } else if (a.rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2 || !keyGiven) return std::nullopt;
    parsed.in = files[0];
    parsed.out = files[1];
    return parsed;
}

int refused(const std::string& path, const Status& st) {
    std::cerr << "qel-tool: " << path << ": " << importMessage(st) << '\n';
    return kExitRefused;
}

}  // namespace

int sortCommand(const std::vector<std::string>& args) {
    const std::optional<SortArgs> parsed = parse(args);
    if (!parsed) return sortUsage();

    // OUT is written in IN's format, whatever its name says.
    const FileFormat* format = findFileFormat(parsed->in);
    if (format == nullptr || format->content != FileContent::Channels) {
        return refused(parsed->in, ErrorCode::UnsupportedFileType);
    }
    auto set = format->readChannels(parsed->in, {});
    if (!set) return refused(parsed->in, set.status());
    Workspace ws;
    ws.installChannels(std::move(set.value()));

    ws.changeLists(kTouchTV | kTouchRadio, [&](EditableLists& lists) {
        sortChannels(lists.tv, parsed->options);
        sortChannels(lists.radio, parsed->options);
    });
    if (Status st = format->write(ws, parsed->out, {}); !st) return refused(parsed->out, st);
    return kExitOk;
}

}  // namespace qel::tool
