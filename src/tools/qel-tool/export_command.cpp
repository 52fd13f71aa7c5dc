// qel-tool export: the text export of a channel file, or its headed pages as a PDF.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "bytes/conversions.h"
#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "model/workspace.h"
#include "pdf_export.h"
#include "tool_command.h"
#include "tool_common.h"
#include "tool_platform.h"
#include "tool_translation.h"

namespace qel::tool {

namespace {

bool parseColumns(std::string_view list, ExportColumns& columns) {
    columns = ExportColumns{false, false, false, false, false, false, false, false};
    const std::pair<std::string_view, bool ExportColumns::*> kNames[] = {
        {"ids", &ExportColumns::ids},        {"ant", &ExportColumns::antenna},
        {"freq", &ExportColumns::frequency}, {"pol", &ExportColumns::polarisation},
        {"sr", &ExportColumns::symbolRate},  {"fec", &ExportColumns::fec},
        {"pids", &ExportColumns::pids},      {"acbw", &ExportColumns::bandwidth}};
    while (!list.empty()) {
        const std::size_t comma = std::min(list.find(','), list.size());
        const std::string_view name = list.substr(0, comma);
        const auto* known = std::find_if(std::begin(kNames), std::end(kNames),
                                         [name](const auto& n) { return n.first == name; });
        if (known == std::end(kNames)) return false;
        columns.*(known->second) = true;
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return true;
}

// The program's version text, two digits a part.
std::string versionText() {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d", QEL_VERSION_MAJOR, QEL_VERSION_MINOR,
                  QEL_VERSION_PATCH);
    return text;
}

// The page header's texts as the export window writes them, in its translation when
// Italian; a PDF's pages say "Page" in the language chosen, as printed.
ExportTexts exportTexts(bool italian, const std::string& in, bool pdf) {
    const auto text = [italian](const char* source, const char* disambiguation = nullptr) {
        return italian ? italianText("qel::ExportController", source, disambiguation)
                       : std::string(source);
    };
    ExportTexts t;
    t.title = text("QEL - Version ") + versionText();
    // The name as the header's other texts, one byte per character.
    t.fileName = decodeText(utf8FromPath(pathFromUtf8(in).filename())).text;
    t.date = today();
    t.tvTitle = text("TELEVISION CHANNELS");
    t.radioTitle = text("RADIO CHANNELS    ");
    t.hexNote = text(
        "Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in "
        "hexadecimal format");
    t.decimalNote = text("All values are in decimal format");
    t.nameHeader = text("Name");
    if (pdf && italian) t.page = text("Page", "before the page number on printed pages");
    return t;
}

// The extension of a file name in lower case, with its dot.
std::string lowerExtension(const std::string& path) {
    std::string ext = utf8FromPath(pathFromUtf8(path).extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

int exportCommand(const Args& args) {
    const std::string& in = args.operands[0];
    const std::string& out = args.operands[1];
    ExportOptions options;
    if (args.has("--decimal")) options.decimal = true;
    const std::string form = args.value("--format");
    if (!form.empty()) {
        options.form = form == "headed"  ? TextForm::Headed
                       : form == "plain" ? TextForm::Plain
                                         : TextForm::ImportCompatible;
    }
    if (args.has("--columns") && !parseColumns(args.value("--columns"), options.columns)) {
        return usage(*args.command, "unknown column in " + args.value("--columns"));
    }
    const bool italian = args.value("--lang") == "it";
    const bool utf8 = args.has("--utf8");
    if (italian && !hasTranslations()) {
        std::cerr << "qel-tool: this qel-tool was built without Qt and has no Italian texts\n";
        return kExitUsage;
    }
    const bool pdf = lowerExtension(out) == ".pdf";
    auto set = readChannels(in);
    if (!set && set.error() == ErrorCode::UnsupportedFileType) return unsupportedInput(in);
    if (pdf) {
        if (!canWritePdf()) {
            std::cerr << "qel-tool: this qel-tool was built without Qt and writes no PDF\n";
            return kExitUsage;
        }
        if (options.form != TextForm::Headed || utf8) {
            std::cerr << "qel-tool: a PDF holds the headed pages only: --format plain|import "
                         "and --utf8 are for text files\n";
            return kExitUsage;
        }
    } else if (lowerExtension(out) != ".txt") {
        std::cerr << "qel-tool: the export writes OUT.txt or OUT.pdf: " << out << '\n';
        return kExitUsage;
    }
    if (!set) return refused(set.status());
    Workspace ws;
    ws.installChannels(std::move(set.value()));
    options.ftaImage = ws.fileType() == FileKind::BIN;
    const ExportTexts texts = exportTexts(italian, in, pdf);
    if (pdf) {
        const std::vector<std::string> pages =
            exportPages(ws.tvList(), ws.radioList(), options, texts);
        const std::string title = utf8FromPath(pathFromUtf8(in).filename());
        if (Status st = writePdf(pages, out, title); !st) return refused(st);
        return kExitOk;
    }
    if (options.ftaImage && options.form == TextForm::ImportCompatible) return importFormOfImage();
    const std::string text = exportText(ws.tvList(), ws.radioList(), options, texts);
    if (Status st = writeFileAtomic(out, utf8 ? latin1ToUtf8(text) : text); !st) {
        return refused(st);
    }
    return kExitOk;
}

constexpr OptionSpec kOptions[] = {{"--format", OptionType::Choice, "headed|plain|import"},
                                   {"--columns", OptionType::Path},
                                   {"--decimal"},
                                   {"--lang", OptionType::Choice, "en|it"},
                                   {"--utf8"}};

constexpr Command kCommands[] = {
    {"export",
     "export IN OUT.txt|OUT.pdf [--format headed|plain|import]\n"
     "           [--columns ids,ant,freq,pol,sr,fec,pids,acbw] [--decimal]\n"
     "           [--lang en|it] [--utf8]",
     "      The text export of IN's channels: headed pages (the default), plain\n"
     "      rows or the rows the text import reads; every column unless --columns\n"
     "      names some (the antenna for an FTA image only), hexadecimal unless\n"
     "      --decimal. One byte per character unless --utf8.\n"
     "      OUT.pdf: the headed pages as a PDF, one page on each sheet ("
#ifdef QEL_TOOL_PDF
     "no display needed"
#else
     "not in this build, made without Qt"
#endif
     ").\n",
     kOptions, 2, 2, exportCommand},
};

}  // namespace

std::span<const Command> exportCommands() {
    return kCommands;
}

}  // namespace qel::tool
