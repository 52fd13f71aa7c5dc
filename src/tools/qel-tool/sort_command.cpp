// qel-tool sort and reorder: a channel file's lists sorted, or put into the order of another
// list, written in its own format.
#include <iostream>
#include <optional>

#include "files/file_formats.h"
#include "files/names_file.h"
#include "listedit/reorder.h"
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

// "TV: matched by ids 120, by name 30, not matched 5, satellite headers 3 of 4".
void printReport(ListId list, const ReorderReport& r) {
    std::cout << listName(list) << ": matched by ids " << r.byIds << ", by name " << r.byName
              << ", not matched " << r.unmatched;
    if (r.headers > 0)
        std::cout << ", satellite headers " << r.headersMatched << " of " << r.headers;
    std::cout << '\n';
}

int reorderCommand(const Args& args) {
    const std::string& in = args.operands[0];
    const std::string& referenceFile = args.operands[1];
    const std::string& out = args.operands[2];
    const ReorderOptions options{
        args.value("--by") == "name" ? ReorderMatch::NameOnly : ReorderMatch::IdsThenName,
        args.value("--rest") == "keep" ? ReorderRest::Keep : ReorderRest::End};

    auto set = readChannels(in);
    if (!set) return refusedFile(in, set.status());
    Workspace ws;
    ws.installChannels(std::move(set.value()));
    for (ListId list : {ListId::TV, ListId::Radio}) {
        auto reference = readOrderReference(referenceFile, list);
        if (!reference) return refusedFile(referenceFile, reference.status());
        const ChannelList& channels = ws.list(list);
        const Reordering r = reference->namesOnly
                                 ? reorderByNames(channels, reference->names, options.rest)
                                 : reorderLike(channels, reference->channels, options);
        ws.changeLists(touchOf(list),
                       [&](EditableLists& lists) { applyOrder(lists.of(list), r.order); });
        printReport(list, r.report);
    }
    if (Status st = findFileFormat(in)->write(ws, out, {}); !st) return refusedFile(out, st);
    return kExitOk;
}

constexpr OptionSpec kOptions[] = {
    {"--by", OptionType::Choice, "name|freq|sid|sat"}, {"--desc"}, {"--across-headers"}};
constexpr OptionSpec kReorderOptions[] = {{"--by", OptionType::Choice, "ids|name"},
                                          {"--rest", OptionType::Choice, "end|keep"}};

constexpr Command kCommands[] = {
    {"sort", "sort IN OUT --by name|freq|sid|sat [--desc] [--across-headers]",
     "      IN's channels sorted within each satellite header's block (across\n"
     "      the headers with --across-headers), written to OUT in IN's format.\n",
     kOptions, 2, 2, sortCommand},
    {"reorder", "reorder IN REFERENCE OUT [--by ids|name] [--rest end|keep]",
     "      IN's TV and RADIO lists in the order of REFERENCE's (a channel file, or\n"
     "      channel names one a line): matched by network, transport stream and\n"
     "      service ids, then by name (by name only with --by name), satellite\n"
     "      headers by name; the others after them (--rest end) or in their places\n"
     "      (--rest keep). Written to OUT in IN's format; prints the matches.\n",
     kReorderOptions, 3, 3, reorderCommand},
};

}  // namespace

std::span<const Command> sortCommands() {
    return kCommands;
}

}  // namespace qel::tool
