#include "check_command.h"

#include <iostream>
#include <optional>

#include "command_args.h"
#include "files/file_formats.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "json_out.h"
#include "listcheck/list_check.h"
#include "model/workspace.h"

namespace qel::tool {

namespace {

constexpr int kExitClean = 0;
constexpr int kExitUsage = 1;
constexpr int kExitErrors = 2;
constexpr int kExitWarnings = 3;

struct CheckArgs {
    std::string file;
    bool json = false;
    TextLanguage language = TextLanguage::English;
    std::string settings;
    std::string font;
    std::string withoutDuplicates;  // --remove-duplicates OUT
};

std::optional<CheckArgs> parse(const std::vector<std::string>& args) {
    const CommandArgs split = splitCommandArgs(args, {{"--json"},
                                                      {"--lang", true},
                                                      {"--settings", true},
                                                      {"--font", true},
                                                      {"--remove-duplicates", true}});
    if (!split.ok() || split.operands.size() != 1) return std::nullopt;
    CheckArgs parsed;
    parsed.file = split.operands[0];
    for (const auto& [option, value] : split.options) {
        if (option == "--json") {
            parsed.json = true;
        } else if (option == "--lang") {
            if (value != "en" && value != "it") return std::nullopt;
            parsed.language = value == "en" ? TextLanguage::English : TextLanguage::Italian;
        } else if (option == "--settings") {
            parsed.settings = value;
        } else if (option == "--font") {
            parsed.font = value;
        } else {
            parsed.withoutDuplicates = value;
        }
    }
    return parsed;
}

int refused(const std::string& path, const Status& st) {
    std::cerr << "qel-tool: " << path << ": " << importMessage(st) << '\n';
    return kExitErrors;
}

std::string jsonFindings(const std::vector<Finding>& findings, TextLanguage language) {
    std::string out = "[";
    for (const Finding& f : findings) {
        if (out.size() > 1) out += ',';
        out += R"({"level":")" + std::string(levelName(f.level)) + R"(","list":")" +
               std::string(listName(f.list)) + R"(","row":)" + std::to_string(f.row) +
               R"(,"field":)" + jsonString(f.field) + R"(,"kind":")" +
               std::string(kindName(f.kind)) + R"(","message":)" +
               jsonString(findingText(f, language)) + "}";
    }
    return out + "]";
}

// One line a finding: "error  TV 12 "RAI 1" VPid: PID 2000 is above 1FFF".
std::string textFindings(const std::vector<Finding>& findings, TextLanguage language) {
    std::string out;
    for (const Finding& f : findings) {
        out += std::string(levelText(f.level, language)) + "  " + std::string(listName(f.list)) +
               " " + std::to_string(f.row) + " \"" + f.name + "\"" +
               (f.field.empty() ? std::string() : " " + f.field) + ": " + findingText(f, language) +
               "\n";
    }
    return latin1ToUtf8(out);
}

}  // namespace

int checkCommand(const std::vector<std::string>& args) {
    const std::optional<CheckArgs> parsed = parse(args);
    if (!parsed) {
        std::cerr << "usage: qel-tool check FILE [--json] [--lang en|it] [--settings FILE.g98]"
                     " [--font FILE.fos|FILE.oc1] [--remove-duplicates OUT]\n";
        return kExitUsage;
    }
    const FileFormat* format = findFileFormat(parsed->file);
    if (format == nullptr || format->content != FileContent::Channels) {
        std::cerr << "qel-tool: not a channel file: " << parsed->file << '\n';
        return kExitErrors;
    }
    auto set = format->readChannels(parsed->file, {});
    if (!set) return refused(parsed->file, set.status());
    Workspace ws;
    ws.installChannels(std::move(set.value()));

    // The first channel of each group of duplicates stays; OUT, in FILE's format, is what is
    // checked then.
    if (!parsed->withoutDuplicates.empty()) {
        ws.changeLists(kTouchTV | kTouchRadio, [](EditableLists& lists) {
            removeDuplicates(lists.tv);
            removeDuplicates(lists.radio);
        });
        if (Status st = format->write(ws, parsed->withoutDuplicates, {}); !st) {
            return refused(parsed->withoutDuplicates, st);
        }
    }

    CheckInput in;
    in.tv = &ws.tvList();
    in.radio = &ws.radioList();
    in.ftaImage = ws.fileType() == FileKind::BIN;
    in.imageTables = &ws.imageTables();
    std::string settings;
    if (!parsed->settings.empty()) {
        auto image = readSettingsFile(parsed->settings);
        if (!image) return refused(parsed->settings, image.status());
        settings = std::move(image.value());
        in.settingsImage = settings;
    }
    if (!parsed->font.empty()) {
        auto font = readFontFile(parsed->font);
        if (!font) return refused(parsed->font, font.status());
        in.font = fontCharacters(font->bytes, font->type);
    }

    const std::vector<Finding> findings = checkLists(in);
    if (parsed->json) {
        std::cout << jsonFindings(findings, parsed->language) << '\n';
    } else {
        std::cout << textFindings(findings, parsed->language);
    }
    const FindingCounts counts = countFindings(findings);
    if (counts.errors > 0) return kExitErrors;
    return counts.warnings > 0 ? kExitWarnings : kExitClean;
}

}  // namespace qel::tool
