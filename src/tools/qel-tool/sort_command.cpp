// qel-tool sort: a channel file's lists sorted, written in its own format.
#include <iostream>
#include <optional>

#include "files/file_formats.h"
#include "listedit/sort.h"
#include "model/workspace.h"
#include "tool_command.h"
#include "tool_common.h"

namespace qel::tool {

namespace {

int sortCommand(const Args& args) {
    if (!args.has("--by")) return usage(*args.command, "--by is missing");
    const std::string& in = args.operands[0];
    const std::string& out = args.operands[1];
    SortOptions options;
    options.key = *sortKeyNamed(args.value("--by"));
    options.descending = args.has("--desc");
    options.keepHeaders = !args.has("--across-headers");

    // OUT is written in IN's format, whatever its name says.
    auto set = readChannels(in);
    if (!set) return refusedFile(in, set.status());
    Workspace ws;
    ws.installChannels(std::move(set.value()));
    ws.changeLists(kTouchTV | kTouchRadio, [&](EditableLists& lists) {
        sortChannels(lists.tv, options);
        sortChannels(lists.radio, options);
    });
    if (Status st = findFileFormat(in)->write(ws, out, {}); !st) return refusedFile(out, st);
    return kExitOk;
}

constexpr OptionSpec kOptions[] = {
    {"--by", OptionType::Choice, "name|freq|sid|sat"}, {"--desc"}, {"--across-headers"}};

constexpr Command kCommands[] = {
    {"sort", "sort IN OUT --by name|freq|sid|sat [--desc] [--across-headers]",
     "      IN's channels sorted within each satellite header's block (across\n"
     "      the headers with --across-headers), written to OUT in IN's format.\n",
     kOptions, 2, 2, sortCommand},
};

}  // namespace

std::span<const Command> sortCommands() {
    return kCommands;
}

}  // namespace qel::tool
