#include "sort_command.h"

#include <iostream>
#include <optional>

#include "command_args.h"
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
    const CommandArgs split =
        splitCommandArgs(args, {{"--by", true}, {"--desc"}, {"--across-headers"}});
    if (!split.ok() || split.operands.size() != 2 || !split.has("--by")) return std::nullopt;
    SortArgs parsed;
    parsed.in = split.operands[0];
    parsed.out = split.operands[1];
    for (const auto& [option, value] : split.options) {
        if (option == "--by") {
            const std::optional<SortKey> key = sortKeyNamed(value);
            if (!key) return std::nullopt;
            parsed.options.key = *key;
        } else if (option == "--desc") {
            parsed.options.descending = true;
        } else {
            parsed.options.keepHeaders = false;
        }
    }
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
