// qel-tool check: the list check of a channel file, as text or JSON.
#include <algorithm>
#include <iostream>
#include <optional>

#include "bytes/conversions.h"
#include "files/file_formats.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "files/names_file.h"
#include "files/satellites_xml.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "json_out.h"
#include "listcheck/list_check.h"
#include "listcheck/satellite_check.h"
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

// "--sat KEY=POSITION": KEY a header's name, "port:1"-"port:4" (a DVB98 list's DiSEqC port)
// or "ant:1"-"ant:8" (an FTA image's antenna); POSITION "19.2E", "30.0W" or tenths.
std::optional<std::pair<SatGroup, int>> satOption(std::string_view text) {
    const std::size_t eq = text.rfind('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimBlanks(text.substr(0, eq));
    const std::optional<int> position = parsePosition(text.substr(eq + 1));
    if (!position || key.empty()) return std::nullopt;
    const auto numbered = [&key](std::string_view prefix, int highest,
                                 SatGroupKind kind) -> std::optional<SatGroup> {
        if (!key.starts_with(prefix) || key.size() != prefix.size() + 1) return std::nullopt;
        const int n = key.back() - '0';
        if (n < 1 || n > highest) return std::nullopt;
        return SatGroup{kind, {}, n};
    };
    if (key.starts_with("port:")) {
        const auto g = numbered("port:", 4, SatGroupKind::DiseqcPort);
        return g ? std::optional(std::pair{*g, *position}) : std::nullopt;
    }
    if (key.starts_with("ant:")) {
        const auto g = numbered("ant:", 8, SatGroupKind::Antenna);
        return g ? std::optional(std::pair{*g, *position}) : std::nullopt;
    }
    // The header's name in the list's one byte a character, typed in UTF-8 or in that already.
    auto name = parseNames(key);
    if (!name || name->size() != 1) return std::nullopt;
    return std::pair{SatGroup{SatGroupKind::Header, std::move(name->front()), 0}, *position};
}

// A group as --sat names it.
std::string satOptionKey(const SatGroup& g) {
    switch (g.kind) {
        case SatGroupKind::Header:
            return latin1ToUtf8(g.name);
        case SatGroupKind::DiseqcPort:
            return "port:" + std::to_string(g.number);
        case SatGroupKind::Antenna:
            return "ant:" + std::to_string(g.number);
    }
    return {};
}

// A --sat for a group the file does not have would check nothing and still report success:
// the first such one is named, with the groups the file has.
std::optional<std::string> unknownSatGroup(const SatAssignment& assignment,
                                           const std::vector<SatGroup>& groups) {
    for (const auto& entry : assignment) {
        if (std::find(groups.begin(), groups.end(), entry.first) != groups.end()) continue;
        std::string text = "no satellite group \"" + satOptionKey(entry.first) + "\"; its groups:";
        for (const SatGroup& g : groups)
            text += " \"" + satOptionKey(g) + "\"";
        if (groups.empty()) text += " none";
        return text;
    }
    return std::nullopt;
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

    // The satellites each group stands for, checked before the channel file is looked at.
    SatAssignment assignment;
    for (const auto& [name, value] : args.options) {
        if (name != "--sat") continue;
        const auto sat = satOption(value);
        if (!sat)
            return usage(*args.command,
                         "not HEADER=POSITION, port:N=POSITION or ant:N=POSITION: " + value);
        assignment[sat->first] = sat->second;
    }
    const std::string satellitesFile = args.value("--satellites");
    if (satellitesFile.empty() != assignment.empty())
        return usage(*args.command, "--satellites and --sat go together");
    std::optional<SatellitesFile> satellites;
    if (!satellitesFile.empty()) {
        auto read = readSatellitesXml(satellitesFile);
        if (!read) return refusedFile(satellitesFile, read.status());
        for (const auto& [group, position] : assignment) {
            if (read->atPosition(position) == nullptr) {
                std::cerr << "qel-tool: " << satellitesFile << ": no satellite at "
                          << positionText(position) << '\n';
                return kExitRefused;
            }
        }
        satellites = std::move(read.value());
        const auto unknown =
            unknownSatGroup(assignment, satelliteGroups(*in.tv, *in.radio, in.ftaImage));
        if (unknown) {
            std::cerr << "qel-tool: " << file << ": " << *unknown << '\n';
            return kExitRefused;
        }
    }

    std::vector<Finding> findings = checkLists(in);
    if (satellites) {
        const SatelliteCheckInput against{in.tv, in.radio, in.ftaImage, &*satellites, &assignment};
        std::vector<Finding> more = checkAgainstSatellites(against);
        findings.insert(findings.end(), more.begin(), more.end());
    }
    if (args.has("--json")) {
        std::cout << jsonFindings(findings, language) << '\n';
    } else {
        std::cout << textFindings(findings, language);
    }
    const FindingCounts counts = countFindings(findings);
    if (counts.errors > 0) return kExitRefused;
    return counts.warnings > 0 ? kExitDifferent : kExitOk;
}

// The FTA image's transponders for one antenna filled from a satellite of a satellites.xml.
int fillTranspondersCommand(const Args& args) {
    const std::string& image = args.operands[0];
    const std::string& satellitesFile = args.operands[1];
    const std::string& out = args.operands[2];
    const std::optional<int> position = parsePosition(args.value("--position"));
    if (!position) return usage(*args.command, "--position takes 19.2E, 30.0W or tenths");
    const std::string antennaText = args.value("--antenna");
    if (antennaText.size() != 1 || antennaText[0] < '1' || antennaText[0] > '8')
        return usage(*args.command, "--antenna takes 1 to 8");
    if (!isFileOfFormat(out, FileFormatId::FtaImage)) return unsupportedOutput(out);

    auto set = readChannels(image);
    if (!set) return refusedFile(image, set.status());
    if (set->fileType != FileKind::BIN) {
        std::cerr << "qel-tool: " << image << ": not an FTA image\n";
        return kExitRefused;
    }
    auto satellites = readSatellitesXml(satellitesFile);
    if (!satellites) return refusedFile(satellitesFile, satellites.status());
    const SatellitesSat* sat = satellites->atPosition(*position);
    if (sat == nullptr) {
        std::cerr << "qel-tool: " << satellitesFile << ": no satellite at "
                  << positionText(*position) << '\n';
        return kExitRefused;
    }
    const FtaFillRequest request{antennaText[0] - '0', sat,
                                 args.value("--into") == "tv" ? ListId::TV : ListId::Radio};
    FtaFill fill = fillFtaTransponders(set->lists, set->imageTables, request);
    if (!fill.fits) {
        std::cerr << "qel-tool: " << fill.fitting << " of the " << fill.asked
                  << " transponders fit the image\n";
        return kExitRefused;
    }
    Workspace ws;
    ws.installChannels(std::move(set.value()));
    ws.changeLists(kTouchTV | kTouchRadio, [&fill](EditableLists& lists) {
        lists.tv = std::move(fill.lists.tv);
        lists.radio = std::move(fill.lists.radio);
    });
    if (Status st = fileFormat(FileFormatId::FtaImage).write(ws, out, {}); !st)
        return refusedFile(out, st);
    std::cout << fill.asked << " placeholders added, " << fill.dropped << " removed, "
              << fill.refreshed << " channels refreshed, " << fill.unmatched
              << " channels on no transponder of " << positionText(sat->position) << '\n';
    return kExitOk;
}

constexpr OptionSpec kFillOptions[] = {{"--position", OptionType::Text, {}, true},
                                       {"--antenna", OptionType::Text, {}, true},
                                       {"--into", OptionType::Choice, "tv|radio", true}};

constexpr OptionSpec kOptions[] = {{"--json"},
                                   {"--lang", OptionType::Choice, "en|it"},
                                   {"--settings", OptionType::Text},
                                   {"--font", OptionType::Text},
                                   {"--remove-duplicates", OptionType::Text},
                                   {"--satellites", OptionType::Path, {}, true},
                                   {"--sat", OptionType::Text}};

constexpr Command kCommands[] = {
    {"check",
     "check FILE [--json] [--lang en|it] [--settings FILE.g98]\n"
     "           [--font FILE.fos|FILE.oc1] [--remove-duplicates OUT]\n"
     "           [--satellites satellites.xml --sat HEADER=POSITION ...]",
     "      The list check of a channel file: duplicates, values the receiver\n"
     "      cannot use, capacity and structure. Exit 0 when nothing is found, 3\n"
     "      for warnings only, 2 for errors or a refused file. --remove-duplicates\n"
     "      writes the lists without duplicates to OUT (FILE's format) and checks it.\n"
     "      --satellites with one --sat for each satellite group also warns about\n"
     "      channels whose transponder that satellite lacks. A group is a header's\n"
     "      name, port:1-port:4 (a DVB98 list's DiSEqC port) or ant:1-ant:8 (an FTA\n"
     "      image's antenna); POSITION is 19.2E, 30.0W or tenths of a degree.\n"
     "      A group the file does not have is refused, naming the file's groups.\n",
     kOptions, 1, 1, checkCommand},
    {"fill-transponders",
     "fill-transponders IMAGE.bin satellites.xml OUT.bin --position POSITION\n"
     "           --antenna 1-8 [--into tv|radio]",
     "      Fills the image's transponders of one antenna from the satellite at\n"
     "      POSITION: the antenna's channels on one of its transponders take its\n"
     "      frequency, symbol rate and FEC, and each transponder no channel is on\n"
     "      gets a placeholder \"TP <MHz> <H|V> <ksym/s>\" at the end of the RADIO\n"
     "      list (or TV), replacing those of an earlier fill. Refused, with how many\n"
     "      fit, when the image cannot hold them.\n",
     kFillOptions, 3, 3, fillTranspondersCommand},
};

}  // namespace

std::span<const Command> checkCommands() {
    return kCommands;
}

}  // namespace qel::tool
