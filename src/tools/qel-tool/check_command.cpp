// qel-tool check: the list check of a channel file, as text or JSON.
#include <iostream>
#include <optional>

#include "files/file_formats.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "json_out.h"
#include "listcheck/list_check.h"
#include "model/workspace.h"
#include "tool_command.h"
#include "tool_common.h"

namespace qel::tool {

namespace {

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

int checkCommand(const Args& args) {
    const std::string& file = args.operands[0];
    const std::string settingsFile = args.value("--settings");
    const std::string fontFile = args.value("--font");
    const std::string withoutDuplicates = args.value("--remove-duplicates");
    const TextLanguage language =
        args.value("--lang") == "it" ? TextLanguage::Italian : TextLanguage::English;
    auto set = readChannels(file);
    if (!set && set.error() == ErrorCode::UnsupportedFileType) {
        std::cerr << "qel-tool: not a channel file: " << file << '\n';
        return kExitRefused;
    }
    if (!set) return refusedFile(file, set.status());
    Workspace ws;
    ws.installChannels(std::move(set.value()));

    // The first channel of each group of duplicates stays; OUT, in FILE's format, is what is
    // checked then.
    if (!withoutDuplicates.empty()) {
        ws.changeLists(kTouchTV | kTouchRadio, [](EditableLists& lists) {
            removeDuplicates(lists.tv);
            removeDuplicates(lists.radio);
        });
        if (Status st = findFileFormat(file)->write(ws, withoutDuplicates, {}); !st) {
            return refusedFile(withoutDuplicates, st);
        }
    }

    CheckInput in;
    in.tv = &ws.tvList();
    in.radio = &ws.radioList();
    in.ftaImage = ws.fileType() == FileKind::BIN;
    in.imageTables = &ws.imageTables();
    std::string settings;
    if (!settingsFile.empty()) {
        auto image = readSettingsFile(settingsFile);
        if (!image) return refusedFile(settingsFile, image.status());
        settings = std::move(image.value());
        in.settingsImage = settings;
    }
    if (!fontFile.empty()) {
        auto font = readFontFile(fontFile);
        if (!font) return refusedFile(fontFile, font.status());
        in.font = fontCharacters(font->bytes, font->type);
    }

    const std::vector<Finding> findings = checkLists(in);
    if (args.has("--json")) {
        std::cout << jsonFindings(findings, language) << '\n';
    } else {
        std::cout << textFindings(findings, language);
    }
    const FindingCounts counts = countFindings(findings);
    if (counts.errors > 0) return kExitRefused;
    return counts.warnings > 0 ? kExitDifferent : kExitOk;
}

constexpr OptionSpec kOptions[] = {{"--json"},
                                   {"--lang", OptionType::Choice, "en|it"},
                                   {"--settings", OptionType::Text},
                                   {"--font", OptionType::Text},
                                   {"--remove-duplicates", OptionType::Text}};

constexpr Command kCommands[] = {
    {"check",
     "check FILE [--json] [--lang en|it] [--settings FILE.g98]\n"
     "           [--font FILE.fos|FILE.oc1] [--remove-duplicates OUT]",
     "      The list check of a channel file: duplicates, values the receiver\n"
     "      cannot use, capacity and structure. Exit 0 when nothing is found, 3\n"
     "      for warnings only, 2 for errors or a refused file. --remove-duplicates\n"
     "      writes the lists without duplicates to OUT (FILE's format) and checks it.\n",
     kOptions, 1, 1, checkCommand},
};

}  // namespace

std::span<const Command> checkCommands() {
    return kCommands;
}

}  // namespace qel::tool
