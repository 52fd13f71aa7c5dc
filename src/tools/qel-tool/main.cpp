// qel-tool: the program's file formats from the command line.
//   qel-tool dump FILE               the content of a .dvb, .bin, .g98 or font file as JSON
//   qel-tool convert IN OUT          read IN and write OUT through the program's own code
//                                    (.dvb, .bin, .txt import-compatible text, .csv; .g98;
//                                    an image to a .bmp boot picture)
//   qel-tool export IN OUT.txt|OUT.pdf [--format headed|plain|import] [--columns LIST]
//                   [--decimal] [--lang en|it] [--utf8]
//                                    the text export of the channel lists; OUT.pdf: its
//                                    headed pages as a PDF (a build with Qt)
//   qel-tool upgrade LOADED OTHER    the records "Upgrade from file" would add to the buffer
//   qel-tool sort IN OUT --by name|freq|sid|sat [--desc] [--across-headers]
//                                    IN's channel lists sorted, written to OUT in IN's format
//   qel-tool diff A B [--json] [--take-over OUT]
//                                    compare two channel files (exit 0 equal, 3 different)
//   qel-tool check FILE [--json] [--lang en|it] [--settings FILE.g98] [--font FILE]
//                  [--remove-duplicates OUT]
//                                    what the receiver cannot take in the lists (exit 3:
//                                    warnings only, 2: errors)
//   qel-tool sample FILE.dvb|.g98    write a sample channel list or DVB98 settings file
//   qel-tool lzw IN OUT [--blocks]   IN as one compress (.Z) stream; or its 64 KB blocks as
//                                    the firmware upgrade compresses them, in OUT.000, ...
//   qel-tool download PORT [--channels OUT.dvb] [--settings OUT.g98]
//                                    fetch the channels and settings of a DVB98 receiver
//   qel-tool upload PORT [--channels FILE.dvb|FILE.bin] [--settings FILE.g98] [--backup DIR]
//                   [--no-verify] [--yes] [--system-font FILE.fos|FILE.oc1 [--set 1|2]]
//                   [--teletext-font FILE.oc2]
//                                    write channels (DVB98 or through the FTA loader), DVB98
//                                    settings and fonts into the receiver
//   qel-tool picture PORT IMAGE [--slot 1|2]
//                                    send a boot picture (an image is converted first)
//   qel-tool --version               the program's version
//   qel-tool firmware PORT FILE [--erase-all] [--routine PATH]
//                                    upgrade the receiver's firmware through the flash routine
// Options may come anywhere after the command. Exit status: 0 done, 1 wrong usage (an output
// of a type the command cannot write among it), 2 an input refused (one of a type the
// command does not read among it) or a transfer failed (the message on stderr).

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bytes/conversions.h"
#include "bytes/lzw.h"
#include "check_command.h"
#include "command_args.h"
#include "diff_command.h"
#include "files/boot_picture.h"
#include "files/csv_file.h"
#include "files/dvb_file.h"
#include "files/file_commands.h"
#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/firmware_files.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "image_decoder.h"
#include "json_out.h"
#include "line/serial_line.h"
#include "listedit/font_glyphs.h"
#include "model/errors.h"
#include "model/workspace.h"
#include "pdf_export.h"
#include "sample_list.h"
#include "serial/download.h"
#include "serial/firmware.h"
#include "serial/loader_frames.h"
#include "serial/picture.h"
#include "serial/receiver_backup.h"
#include "serial/upload.h"
#include "sort_command.h"
#include "tool_platform.h"

namespace {

using namespace qel;

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;
// No image a boot picture is made from comes near this.
constexpr std::size_t kMaxImageFileSize = std::size_t{256} << 20;

int usage() {
    std::cerr << "usage:\n"
                 "  qel-tool --version\n"
                 "  qel-tool dump FILE   (.dvb, .bin, .g98, or a font: .fos, .oc1, .oc2)\n"
                 "  qel-tool convert IN OUT\n"
                 "      IN and OUT: .dvb, .bin, .txt (the import-compatible text) or .csv;\n"
                 "      or .g98 to .g98; or an image to OUT.bmp, the 280x240 16-colour boot\n"
                 "      picture ("
#ifdef QEL_TOOL_QT_IMAGES
                 "any image Qt reads"
#else
                 "a BMP file"
#endif
                 ")\n"
                 "  qel-tool export IN OUT.txt|OUT.pdf [--format headed|plain|import]\n"
                 "           [--columns ids,ant,freq,pol,sr,fec,pids,acbw] [--decimal]\n"
                 "           [--lang en|it] [--utf8]\n"
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
                 ").\n"
                 "  qel-tool upgrade LOADED.dvb OTHER.dvb\n"
                 "  qel-tool sort IN OUT --by name|freq|sid|sat [--desc] [--across-headers]\n"
                 "      IN's channels sorted within each satellite header's block (across\n"
                 "      the headers with --across-headers), written to OUT in IN's format.\n"
                 "  qel-tool diff A B [--json] [--take-over OUT]\n"
                 "      Compares the channels of A and B (.dvb, .bin, .txt or .csv): those only\n"
                 "      in A, only in B, changed (same list, NetId, TsId and SerId; headers by\n"
                 "      name) and moved. Exit status 0 when equal, 3 when different.\n"
                 "      --take-over writes A with B's values for every changed channel to OUT.\n"
                 "  qel-tool check FILE [--json] [--lang en|it] [--settings FILE.g98]\n"
                 "           [--font FILE.fos|FILE.oc1] [--remove-duplicates OUT]\n"
                 "      The list check of a channel file: duplicates, values the receiver\n"
                 "      cannot use, capacity and structure. Exit 0 when nothing is found, 3\n"
                 "      for warnings only, 2 for errors or a refused file. --remove-duplicates\n"
                 "      writes the lists without duplicates to OUT (FILE's format) and checks it.\n"
                 "  qel-tool sample FILE.dvb|FILE.g98\n"
                 "  qel-tool lzw [--blocks] IN OUT\n"
                 "      IN compressed in the Unix compress (.Z) format that gzip -d and\n"
                 "      uncompress read, one stream for the whole file. With --blocks, IN's\n"
                 "      65536-byte blocks each compressed on its own as a firmware upgrade\n"
                 "      sends them, in OUT.000, OUT.001, ...\n"
                 "  qel-tool download PORT [--channels OUT.dvb] [--settings OUT.g98]\n"
                 "           [--timeout-ms N]   (the answer timeout, 5000 by default)\n"
                 "  qel-tool upload PORT [--channels FILE.dvb|FILE.bin] [--settings FILE.g98]\n"
                 "           [--backup DIR] [--no-verify] [--yes] [--timeout-ms N]\n"
                 "           [--system-font FILE.fos|FILE.oc1 [--set 1|2]]\n"
                 "           [--teletext-font FILE.oc2]\n"
                 "      A .dvb goes up as DVB98 channels (the lists read from it, written as\n"
                 "      QEL writes them), a .bin through the FTA loader (the file's own 49152\n"
                 "      bytes, once it reads as an image), a .g98 as DVB98 settings, then the\n"
                 "      system font's first set (or --set 2 of an .oc1) and the teletext font.\n"
                 "      --backup keeps the receiver's channels and settings in DIR first\n"
                 "      (receiver.dvb, receiver.g98; DVB98 only); each DVB98 part is read back\n"
                 "      and compared unless --no-verify. Operator prompts wait for Enter unless\n"
                 "      --yes.\n"
                 "  qel-tool picture PORT IMAGE [--slot 1|2] [--timeout-ms N]\n"
                 "      A file of 33718 bytes goes up as it is; any other image is converted\n"
                 "      as convert does. Slot 1 unless --slot 2.\n"
                 "  qel-tool firmware PORT FILE [--erase-all] [--routine PATH] [--timeout-ms N]\n"
                 "      Upgrades the receiver's firmware with FILE through the flash routine\n"
                 "      rodflash.sbr (found in the per-user data folder, beside qel-tool, or\n"
                 "      in ../share/qel; or PATH). --erase-all erases the whole flash first.\n"
                 "  Options may come anywhere after the command; after -- every word is an\n"
                 "  operand.\n";
    return kExitUsage;
}

int refused(const Status& st) {
    std::cerr << importMessage(st) << '\n';
    return kExitRefused;
}

// Reads a channel file into a fresh document.
Status loadInto(Workspace& ws, const std::string& path) {
    auto set = readChannelFile(path);
    if (!set) return set.status();
    ws.installChannels(std::move(set.value()));
    return {};
}

Status loadSettingsInto(Workspace& ws, const std::string& path) {
    auto image = readSettingsFile(path);
    if (!image) return image.status();
    ws.installSettings(std::move(image.value()));
    return {};
}

// An input of a type the command does not read is refused; an output it cannot write is
// wrong usage.
int unsupportedInput(const std::string& path) {
    std::cerr << "qel-tool: unsupported file type: " << path << '\n';
    return kExitRefused;
}

int unsupportedOutput(const std::string& path) {
    std::cerr << "qel-tool: unsupported file type: " << path << '\n';
    return kExitUsage;
}

int dumpDvb(const std::string& path) {
    Workspace ws;
    if (Status st = loadInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"DVB","tv":)" << tool::jsonChannelArray(ws.tvList())
              << R"(,"radio":)" << tool::jsonChannelArray(ws.radioList()) << "}\n";
    return kExitOk;
}

int dumpG98(const std::string& path) {
    Workspace ws;
    if (Status st = loadSettingsInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"G98","loaded":)"
              << (settingsImageLoaded(ws.settingsImage()) ? "true" : "false") << R"(,"image":)"
              << tool::jsonString(ws.settingsImage()) << "}\n";
    return kExitOk;
}

int dumpBin(const std::string& path) {
    Workspace ws;
    if (Status st = loadInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"BIN","tv":)" << tool::jsonChannelArray(ws.tvList())
              << R"(,"radio":)" << tool::jsonChannelArray(ws.radioList()) << R"(,"image":)"
              << tool::jsonImageTables(ws.imageTables()) << "}\n";
    return kExitOk;
}

// Every glyph of every set, each an array of its rows (0-255).
int dumpFont(const std::string& path) {
    auto font = readFontFile(path);
    if (!font) return refused(font.status());
    std::string glyphs;
    for (int set = 0; set < fontSetCount(font->type); ++set) {
        for (int n = 0; n < glyphsPerSet(font->type); ++n) {
            glyphs += glyphs.empty() ? "[" : ",[";
            const std::optional<GlyphRows> rows = readGlyph(font->bytes, font->type, set, n);
            for (std::size_t r = 0; rows && r < rows->size(); ++r)
                glyphs += (r == 0 ? "" : ",") + std::to_string((*rows)[r]);
            glyphs += "]";
        }
    }
    std::cout << R"({"file_type":"FONT","type":")" << fontTypeTag(font->type) << R"(","glyphs":[)"
              << glyphs << "]}\n";
    return kExitOk;
}

// The document's own files dump; an import's text and a picture do not.
int dump(const std::string& path) {
    const FileFormat* format = findFileFormat(path);
    if (format == nullptr || format->imported) return unsupportedInput(path);
    switch (format->content) {
        case FileContent::Channels:
            return format->kind == FileKind::BIN ? dumpBin(path) : dumpDvb(path);
        case FileContent::Settings:
            return dumpG98(path);
        case FileContent::Font:
            return dumpFont(path);
        case FileContent::Picture:
            break;
    }
    return unsupportedInput(path);
}

// The boot picture an image file makes.
Result<std::string> convertedPicture(const std::string& path) {
    auto bytes = readFileBytes(path, kMaxImageFileSize);
    if (!bytes) return bytes.status();
    auto pixels = tool::decodeImage(*bytes);
    if (!pixels) return pixels.status();
    return convertToBootPicture(*pixels);
}

int convertImage(const std::string& in, const std::string& out) {
    auto picture = convertedPicture(in);
    if (!picture) return refused(picture.status());
    if (Status st = writeFileAtomic(out, *picture); !st) return refused(st);
    return kExitOk;
}

bool isChannelFile(const FileFormat* format) {
    return format != nullptr && format->content == FileContent::Channels;
}

// Reads the channels of a .dvb, .bin, import-compatible .txt or .csv file; the two texts
// give a DVB98 list.
Status loadAnyChannels(Workspace& ws, const std::string& path) {
    const FileFormat* format = findFileFormat(path);
    if (!isChannelFile(format)) return ErrorCode::UnsupportedFileType;
    auto set = format->readChannels(path, {});
    if (!set) return set.status();
    ws.installChannels(std::move(set.value()));
    return {};
}

int importFormOfImage() {
    std::cerr << "The import compatible form needs a DVB98 channel list\n";
    return kExitRefused;
}

int convert(const std::string& in, const std::string& out) {
    const FileFormat* from = findFileFormat(in);
    const FileFormat* to = findFileFormat(out);
    if (to != nullptr && to->id == FileFormatId::BootPicture) return convertImage(in, out);
    if (from == nullptr) return unsupportedInput(in);
    Workspace ws;
    SaveOptions options;
    if (isChannelFile(from) && isChannelFile(to)) {
        if (Status st = loadAnyChannels(ws, in); !st) return refused(st);
        // A DVB98 list becomes an image the way "Convert to bin" makes one.
        options.convertToBin = ws.fileType() == FileKind::DVB && to->kind == FileKind::BIN;
    } else if (from != nullptr && to != nullptr && from->content == FileContent::Settings &&
               to->content == FileContent::Settings) {
        if (Status st = loadSettingsInto(ws, in); !st) return refused(st);
    } else {
        std::cerr << "qel-tool: cannot convert " << in << " to " << out << '\n';
        return kExitUsage;
    }
    // The import-compatible text holds DVB98 records only.
    if (to->id == FileFormatId::Text && ws.fileType() == FileKind::BIN) return importFormOfImage();
    const Status st = to->imported ? to->write(ws, out, options) : saveFile(ws, out, options);
    if (!st) return refused(st);
    return kExitOk;
}

struct ExportArgs {
    std::string in;
    std::string out;
    ExportOptions options;
    bool italian = false;
    bool utf8 = false;
};

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

// Parses "IN OUT [--format F] [--columns LIST] [--decimal] [--lang L] [--utf8]", the options
// anywhere after the command.
std::optional<ExportArgs> parseExportArgs(const std::vector<std::string>& args) {
    const tool::CommandArgs split = tool::splitCommandArgs(
        args,
        {{"--format", true}, {"--columns", true}, {"--decimal"}, {"--lang", true}, {"--utf8"}});
    if (!split.ok() || split.operands.size() != 2) return std::nullopt;
    ExportArgs parsed;
    parsed.in = split.operands[0];
    parsed.out = split.operands[1];
    for (const auto& [option, value] : split.options) {
        if (option == "--decimal") {
            parsed.options.decimal = true;
        } else if (option == "--utf8") {
            parsed.utf8 = true;
        } else if (option == "--format" &&
                   (value == "headed" || value == "plain" || value == "import")) {
            parsed.options.form = value == "headed"  ? TextForm::Headed
                                  : value == "plain" ? TextForm::Plain
                                                     : TextForm::ImportCompatible;
        } else if (option == "--columns") {
            if (value.empty() || !parseColumns(value, parsed.options.columns)) return std::nullopt;
        } else if (option == "--lang" && (value == "en" || value == "it")) {
            parsed.italian = value == "it";
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

// The program's version text, two digits a part.
std::string versionText() {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d", QEL_VERSION_MAJOR, QEL_VERSION_MINOR,
                  QEL_VERSION_PATCH);
    return text;
}

// The page header's texts; a PDF's pages say "Page" in the language chosen, as printed.
ExportTexts exportTexts(bool italian, const std::string& in, bool pdf) {
    ExportTexts t;
    t.title = std::string(italian ? "QEL - Versione " : "QEL - Version ") + versionText();
    // The name as the header's other texts, one byte per character.
    t.fileName = decodeText(utf8FromPath(pathFromUtf8(in).filename())).text;
    t.date = tool::today();
    if (italian) {
        t.tvTitle = "CANALI TELEVISIVI  ";
        t.radioTitle = "CANALI RADIOFONICI";
        t.hexNote =
            "I valori di Network Id, Transponder Id, Service Id, PIDs e  Acq.Bandwith sono in "
            "formato esadecimale";
        t.decimalNote = "Tutti i valori sono in formato decimale";
        t.nameHeader = "Nome";
        if (pdf) t.page = "Pagina";
    } else {
        t.tvTitle = "TELEVISION CHANNELS";
        t.radioTitle = "RADIO CHANNELS    ";
        t.hexNote =
            "Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in "
            "hexadecimal format";
        t.decimalNote = "All values are in decimal format";
        t.nameHeader = "Name";
    }
    return t;
}

// The extension of a file name in lower case, with its dot.
std::string lowerExtension(const std::string& path) {
    std::string ext = utf8FromPath(pathFromUtf8(path).extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

bool isPdfName(const std::string& path) {
    return lowerExtension(path) == ".pdf";
}

bool isTextName(const std::string& path) {
    return lowerExtension(path) == ".txt";
}

// The headed pages as a PDF; the other forms and the byte encoding are the text file's.
int exportPdf(const ExportArgs& parsed) {
    if (!tool::canWritePdf()) {
        std::cerr << "qel-tool: this qel-tool was built without Qt and writes no PDF\n";
        return kExitUsage;
    }
    if (parsed.options.form != TextForm::Headed || parsed.utf8) {
        std::cerr << "qel-tool: a PDF holds the headed pages only: --format plain|import and "
                     "--utf8 are for text files\n";
        return kExitUsage;
    }
    Workspace ws;
    if (Status st = loadAnyChannels(ws, parsed.in); !st) return refused(st);
    ExportOptions options = parsed.options;
    options.ftaImage = ws.fileType() == FileKind::BIN;
    const std::vector<std::string> pages = exportPages(
        ws.tvList(), ws.radioList(), options, exportTexts(parsed.italian, parsed.in, true));
    const std::string title = utf8FromPath(pathFromUtf8(parsed.in).filename());
    if (Status st = tool::writePdf(pages, parsed.out, title); !st) return refused(st);
    return kExitOk;
}

int exportCommand(const std::vector<std::string>& args) {
    std::optional<ExportArgs> parsed = parseExportArgs(args);
    if (!parsed) return usage();
    if (!isChannelFile(findFileFormat(parsed->in))) return unsupportedInput(parsed->in);
    if (isPdfName(parsed->out)) return exportPdf(*parsed);
    if (!isTextName(parsed->out)) {
        std::cerr << "qel-tool: the export writes OUT.txt or OUT.pdf: " << parsed->out << '\n';
        return kExitUsage;
    }
    Workspace ws;
    if (Status st = loadAnyChannels(ws, parsed->in); !st) return refused(st);
    parsed->options.ftaImage = ws.fileType() == FileKind::BIN;
    if (parsed->options.ftaImage && parsed->options.form == TextForm::ImportCompatible) {
        return importFormOfImage();
    }
    const std::string text = exportText(ws.tvList(), ws.radioList(), parsed->options,
                                        exportTexts(parsed->italian, parsed->in, false));
    if (Status st = writeFileAtomic(parsed->out, parsed->utf8 ? latin1ToUtf8(text) : text); !st) {
        return refused(st);
    }
    return kExitOk;
}

int upgrade(const std::string& loaded, const std::string& other) {
    if (!isFileOfFormat(loaded, FileFormatId::Dvb)) return unsupportedInput(loaded);
    if (!isFileOfFormat(other, FileFormatId::Dvb)) return unsupportedInput(other);
    Workspace ws;
    if (Status st = loadInto(ws, loaded); !st) return refused(st);
    if (Status st = upgradeFromFile(ws, other); !st) return refused(st);
    std::cout << R"({"buffer":)" << tool::jsonChannelArray(ws.bufferList()) << "}\n";
    return kExitOk;
}

int sample(const std::string& path) {
    Workspace ws;
    if (isFileOfFormat(path, FileFormatId::G98)) {
        ws.installSettings(tool::makeSampleSettings());
        if (Status st = saveFile(ws, path); !st) return refused(st);
        return kExitOk;
    }
    if (!isFileOfFormat(path, FileFormatId::Dvb)) return unsupportedOutput(path);
    ws.installChannels({tool::makeSampleLists(), FileKind::DVB, {}});
    if (Status st = saveFile(ws, path); !st) return refused(st);
    return kExitOk;
}

// Input the lzw command takes (the compressed stream is held until it is saved).
constexpr std::size_t kMaxLzwInputSize = std::size_t{256} << 20;
// How much of the input is read at a time.
constexpr std::size_t kLzwReadSize = std::size_t{1} << 20;

// The file at `path` read from start to end in pieces of at most pieceSize bytes, each
// handed to take(piece) while the next is not yet read; refused as readFileBytes refuses.
// Stops when take returns a failure and returns it.
template <typename Take>
Status readInPieces(const std::string& path, std::size_t maxSize, std::size_t pieceSize,
                    Take take) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    if (!std::filesystem::is_regular_file(file, ec)) return ErrorCode::CannotOpenFile;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) return ErrorCode::CannotOpenFile;
    if (size > maxSize) return ErrorCode::FileTooLarge;
    std::ifstream in(file, std::ios::binary);
    if (!in) return ErrorCode::CannotOpenFile;
    std::string piece;
    // A file that grows while it is read is read only up to the size checked.
    for (auto left = static_cast<std::size_t>(size); left > 0;) {
        piece.resize(std::min(left, pieceSize));
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        if (in.gcount() != static_cast<std::streamsize>(piece.size())) {
            return ErrorCode::CannotOpenFile;
        }
        left -= piece.size();
        if (Status st = take(std::string_view(piece)); !st) return st;
    }
    return {};
}

// IN as one compress (.Z) stream in OUT.
int lzw(const std::string& in, const std::string& out) {
    LzwEncoder encoder;
    std::string stream;
    const Status read =
        readInPieces(in, kMaxLzwInputSize, kLzwReadSize, [&](std::string_view piece) {
            encoder.write(piece, stream);
            return Status{};
        });
    if (!read) return refused(read);
    encoder.finish(stream);
    if (Status st = writeFileAtomic(out, stream); !st) return refused(st);
    return kExitOk;
}

// IN's 64 KB blocks compressed each on its own as a firmware upgrade sends them, in OUT.000,
// OUT.001, ... (more digits from block 1000 on).
int lzwBlocks(const std::string& in, const std::string& out) {
    std::size_t index = 0;
    const Status done =
        readInPieces(in, kMaxLzwInputSize, kFirmwareBlockSize, [&](std::string_view block) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".%03zu", index++);
            return writeFileAtomic(out + suffix, lzwCompress(block));
        });
    if (!done) return refused(done);
    return kExitOk;
}

int lzwCommand(const std::vector<std::string>& args) {
    // An option misspelt is no input file.
    const tool::CommandArgs split = tool::splitCommandArgs(args, {{"--blocks"}});
    if (!split.ok() || split.operands.size() != 2) return usage();
    const std::string& in = split.operands[0];
    const std::string& out = split.operands[1];
    return split.has("--blocks") ? lzwBlocks(in, out) : lzw(in, out);
}

// The status line and progress of a transfer, on stderr when a person watches it; the
// operator's prompts on stderr, answered on stdin (or all with yes); the receiver's previous
// data kept in a folder when one is named.
class ConsoleObserver final : public SilentTransferObserver {
public:
    explicit ConsoleObserver(bool shown, bool alwaysYes = true, std::string backupDir = {})
        : shown_(shown), alwaysYes_(alwaysYes), backupDir_(std::move(backupDir)) {}
    ~ConsoleObserver() override { endProgressLine(); }
    ConsoleObserver(const ConsoleObserver&) = delete;
    ConsoleObserver& operator=(const ConsoleObserver&) = delete;

    void status(std::string_view text) override {
        if (!shown_) return;
        endProgressLine();
        std::cerr << text << '\n';
    }
    void progress(std::size_t done, std::size_t total) override {
        if (!shown_ || total == 0) return;
        const std::size_t percent = done * 100 / total;
        if (inProgressLine_ && percent == percent_) return;
        percent_ = percent;
        inProgressLine_ = true;
        std::cerr << '\r' << done << " of " << total << " bytes (" << percent << " %)"
                  << std::flush;
    }

    bool confirm(Confirmation which) override {
        endProgressLine();
        switch (which) {
            case Confirmation::UnplugMainPower:
                // The operator must act whether or not the tool waits.
                std::cerr << "Unplug Vandu main power\n";
                if (alwaysYes_) return true;
                std::cerr << "(Enter when done, Ctrl+D to stop) " << std::flush;
                return readAnswer().has_value();
            case Confirmation::UploadWithoutBackup: {
                std::cerr << "The receiver's channels and settings could not be kept first.\n";
                if (alwaysYes_) return true;
                std::cerr << "Upload anyway? (y/N) " << std::flush;
                const std::optional<std::string> answer = readAnswer();
                return answer && (*answer == "y" || *answer == "Y" || *answer == "yes");
            }
            case Confirmation::DiscardUnsavedChannels:
            case Confirmation::DiscardUnsavedSettings:
                return true;
        }
        return false;
    }

    bool keepBackup(std::string_view channelImage, std::string_view settingsBlock) override {
        if (backupDir_.empty()) return true;
        if (Status st = writeReceiverBackup(backupDir_, channelImage, settingsBlock); !st) {
            endProgressLine();
            std::cerr << errorText(st.error()) << " (backup: " << st.detail() << ")\n";
            return false;
        }
        return true;
    }

private:
    void endProgressLine() {
        if (inProgressLine_) std::cerr << '\n';
        inProgressLine_ = false;
    }

    // A line from stdin; nothing at its end.
    static std::optional<std::string> readAnswer() {
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;
        return line;
    }

    bool shown_;
    bool alwaysYes_;
    std::string backupDir_;
    bool inProgressLine_ = false;
    std::size_t percent_ = 0;
};

// Ctrl+C cancels the transfer, which then ends at its next look at the line.
Link* gCancelOnInterrupt = nullptr;

void cancelTransfer() {
    if (gCancelOnInterrupt != nullptr) gCancelOnInterrupt->cancel();
}

void cancelOnInterrupt(Link* link) {
    gCancelOnInterrupt = link;
    tool::onInterrupt(cancelTransfer);
}

// The answer timeout of --timeout-ms: 1 to 999999 ms.
bool parseTimeout(const std::string& value, Timing& timing) {
    if (value.find_first_not_of("0123456789") != std::string::npos || value.size() > 6 ||
        decimalValue(value) <= 0) {
        return false;
    }
    timing.timeout = Millis{decimalValue(value)};
    return true;
}

struct DownloadArgs {
    std::string port;
    std::string channelsOut;
    std::string settingsOut;
    Timing timing;
};

// Parses "PORT [--channels OUT.dvb] [--settings OUT.g98] [--timeout-ms N]"; neither output
// named: both, into download.dvb and download.g98.
std::optional<DownloadArgs> parseDownloadArgs(const std::vector<std::string>& args) {
    const tool::CommandArgs split = tool::splitCommandArgs(
        args, {{"--channels", true}, {"--settings", true}, {"--timeout-ms", true}});
    if (!split.ok() || split.operands.size() != 1) return std::nullopt;
    DownloadArgs parsed;
    parsed.port = split.operands[0];
    for (const auto& [option, value] : split.options) {
        if (value.empty()) return std::nullopt;
        if (option == "--channels" && parsed.channelsOut.empty()) {
            parsed.channelsOut = value;
        } else if (option == "--settings" && parsed.settingsOut.empty()) {
            parsed.settingsOut = value;
        } else if (option != "--timeout-ms" || !parseTimeout(value, parsed.timing)) {
            return std::nullopt;
        }
    }
    if (parsed.channelsOut.empty() && parsed.settingsOut.empty()) {
        parsed.channelsOut = "download.dvb";
        parsed.settingsOut = "download.g98";
    }
    return parsed;
}

// The message of a failed part, the part named in its detail.
void reportFailure(std::string_view part, const Status& st) {
    std::cerr << errorText(st.error()) << " (" << part;
    if (!st.detail().empty()) std::cerr << ": " << st.detail();
    std::cerr << ")\n";
}

// Opens the port for a transfer at the DVB98 firmware's speed (the FTA loader's exchanges
// set their own), with RTS off (the firmware upgrade raises it itself) and Ctrl+C cancelling
// the transfer; nothing, with the reason on stderr, when it cannot be opened.
std::unique_ptr<SerialLine> openPort(const std::string& port) {
    auto link = SerialLine::open(serialDevice(port), kDvb98Speed);
    if (!link) {
        reportFailure("port", link.status());
        if (link.error() == ErrorCode::PortNoPermission) {
            std::cerr << "The port belongs to the group \"" << link.detail()
                      << "\": add your user to it and log in again.\n";
        }
        return nullptr;
    }
    std::unique_ptr<SerialLine> opened = std::move(link.value());
    cancelOnInterrupt(opened.get());
    return opened;
}

int download(const std::vector<std::string>& args) {
    const std::optional<DownloadArgs> parsed = parseDownloadArgs(args);
    if (!parsed) return usage();
    const std::unique_ptr<SerialLine> link = openPort(parsed->port);
    if (!link) return kExitRefused;

    ConsoleObserver observer(tool::stderrIsTerminal());
    DownloadRequest request;
    request.channels = !parsed->channelsOut.empty();
    request.settings = !parsed->settingsOut.empty();
    const DownloadResult result = download(*link, observer, parsed->timing, request);
    gCancelOnInterrupt = nullptr;

    int exitCode = kExitOk;
    if (request.channels) {
        Status st = result.channels.status;
        if (result.channels.ok) {
            st = writeFileAtomic(parsed->channelsOut,
                                 encodeDvb(result.lists.tv, result.lists.radio));
        }
        if (!st) {
            reportFailure("channels", st);
            exitCode = kExitRefused;
        }
    }
    if (request.settings) {
        Status st = result.settings.status;
        if (result.settings.ok) {
            st = writeFileAtomic(parsed->settingsOut, encodeG98(result.settingsImage));
        }
        if (!st) {
            reportFailure("settings", st);
            exitCode = kExitRefused;
        }
    }
    return exitCode;
}

struct UploadArgs {
    std::string port;
    std::string channels;
    std::string settings;
    std::string backupDir;
    std::string systemFont;
    int systemFontSet = 0;  // 0: not named, the first
    std::string teletextFont;
    bool verify = true;
    bool yes = false;
    Timing timing;
};

std::optional<UploadArgs> parseUploadArgs(const std::vector<std::string>& args) {
    const tool::CommandArgs split = tool::splitCommandArgs(args, {{"--channels", true},
                                                                  {"--settings", true},
                                                                  {"--backup", true},
                                                                  {"--system-font", true},
                                                                  {"--set", true},
                                                                  {"--teletext-font", true},
                                                                  {"--timeout-ms", true},
                                                                  {"--no-verify"},
                                                                  {"--yes"}});
    if (!split.ok() || split.operands.size() != 1) return std::nullopt;
    UploadArgs parsed;
    parsed.port = split.operands[0];
    for (const auto& [option, value] : split.options) {
        if (option == "--no-verify") {
            parsed.verify = false;
        } else if (option == "--yes") {
            parsed.yes = true;
        } else if (value.empty()) {
            return std::nullopt;
        } else if (option == "--channels" && parsed.channels.empty()) {
            parsed.channels = value;
        } else if (option == "--settings" && parsed.settings.empty()) {
            parsed.settings = value;
        } else if (option == "--backup" && parsed.backupDir.empty()) {
            parsed.backupDir = value;
        } else if (option == "--system-font" && parsed.systemFont.empty()) {
            parsed.systemFont = value;
        } else if (option == "--set" && parsed.systemFontSet == 0 &&
                   (value == "1" || value == "2")) {
            parsed.systemFontSet = value == "1" ? 1 : 2;
        } else if (option == "--teletext-font" && parsed.teletextFont.empty()) {
            parsed.teletextFont = value;
        } else if (option != "--timeout-ms" || !parseTimeout(value, parsed.timing)) {
            return std::nullopt;
        }
    }
    if (parsed.channels.empty() && parsed.settings.empty() && parsed.systemFont.empty() &&
        parsed.teletextFont.empty()) {
        return std::nullopt;
    }
    // A set names one of the system font's sets; only a two-set font has a second.
    if (parsed.systemFontSet != 0 &&
        (parsed.systemFont.empty() ||
         (parsed.systemFontSet == 2 &&
          fontTypeOfFileName(parsed.systemFont) != FontType::SystemTwoSets))) {
        return std::nullopt;
    }
    return parsed;
}

// The request for the files named, read and checked; refused as the upload would refuse it,
// before anything is sent.
Result<UploadRequest> uploadRequestOf(const UploadArgs& args, std::string& refusedPart) {
    UploadRequest request;
    request.backup = !args.backupDir.empty();
    request.verify = args.verify;
    if (!args.channels.empty()) {
        refusedPart = "channels";
        auto set = readChannelFile(args.channels);
        if (!set) return set.status();
        request.channels = true;
        request.channelCount = set->lists.tv.size() + set->lists.radio.size();
        if (set->fileType == FileKind::DVB) {
            request.channelKind = FileKind::DVB;
            request.channelImage = encodeDvb(set->lists.tv, set->lists.radio);
        } else {
            // The image goes up as the file holds it, byte for byte.
            auto bytes = readFileBytes(args.channels, kFtaImageSize);
            if (!bytes) return bytes.status();
            request.channelKind = FileKind::BIN;
            request.channelImage = std::move(bytes.value());
        }
        if (Status st = checkChannels(request); !st) return st;
    }
    if (!args.settings.empty()) {
        refusedPart = "settings";
        if (!isFileOfFormat(args.settings, FileFormatId::G98))
            return ErrorCode::UnsupportedFileType;
        auto image = readSettingsFile(args.settings);
        if (!image) return image.status();
        request.settings = true;
        request.settingsImage = std::move(image.value());
        if (Status st = checkSettings(request); !st) return st;
    }
    if (!args.systemFont.empty()) {
        refusedPart = "system font";
        if (!isSystemFont(fontTypeOfFileName(args.systemFont))) {
            return ErrorCode::UnsupportedFileType;
        }
        auto font = readFontFile(args.systemFont);
        if (!font) return font.status();
        request.systemFont = true;
        request.systemFontSet =
            systemFontSet(font->bytes, font->type, std::max(args.systemFontSet, 1) - 1);
        if (Status st = checkSystemFont(request); !st) return st;
    }
    if (!args.teletextFont.empty()) {
        refusedPart = "teletext font";
        if (fontTypeOfFileName(args.teletextFont) != FontType::Teletext) {
            return ErrorCode::UnsupportedFileType;
        }
        auto font = readFontFile(args.teletextFont);
        if (!font) return font.status();
        request.teletextFont = true;
        request.teletextFontData = std::move(font->bytes);
        if (Status st = checkTeletextFont(request); !st) return st;
    }
    return request;
}

int upload(const std::vector<std::string>& args) {
    const std::optional<UploadArgs> parsed = parseUploadArgs(args);
    if (!parsed) return usage();
    std::string refusedPart;
    Result<UploadRequest> request = uploadRequestOf(*parsed, refusedPart);
    if (!request) {
        if (request.error() == ErrorCode::UnsupportedFileType) {
            return unsupportedInput(refusedPart == "channels"      ? parsed->channels
                                    : refusedPart == "settings"    ? parsed->settings
                                    : refusedPart == "system font" ? parsed->systemFont
                                                                   : parsed->teletextFont);
        }
        reportFailure(refusedPart, request.status());
        return kExitRefused;
    }
    const std::unique_ptr<SerialLine> link = openPort(parsed->port);
    if (!link) return kExitRefused;

    ConsoleObserver observer(tool::stderrIsTerminal(), parsed->yes, parsed->backupDir);
    const UploadResult result = upload(*link, observer, parsed->timing, *request);
    gCancelOnInterrupt = nullptr;

    int exitCode = kExitOk;
    const struct {
        const char* name;
        const PartOutcome& outcome;
    } kParts[] = {{"channels", result.channels},
                  {"settings", result.settings},
                  {"system font", result.systemFont},
                  {"teletext font", result.teletextFont}};
    for (const auto& part : kParts) {
        if (!part.outcome.attempted || part.outcome.ok) continue;
        reportFailure(part.name, part.outcome.status);
        exitCode = kExitRefused;
    }
    // The loader need not answer a block: the image went up, with a warning.
    if (result.channels.ok && result.unansweredBlocks != 0) {
        std::cerr << "Warning: " << result.unansweredBlocks << " of the " << kFtaBlockCount
                  << " blocks got no answer from the receiver (channels)\n";
    }
    return exitCode;
}

struct PictureArgs {
    std::string port;
    std::string image;
    int slot = 1;
    Timing timing;
};

std::optional<PictureArgs> parsePictureArgs(const std::vector<std::string>& args) {
    const tool::CommandArgs split =
        tool::splitCommandArgs(args, {{"--slot", true}, {"--timeout-ms", true}});
    if (!split.ok() || split.operands.size() != 2 || split.operands[1].empty()) {
        return std::nullopt;
    }
    PictureArgs parsed;
    parsed.port = split.operands[0];
    parsed.image = split.operands[1];
    for (const auto& [option, value] : split.options) {
        if (option == "--slot" && (value == "1" || value == "2")) {
            parsed.slot = value == "1" ? 1 : 2;
        } else if (option != "--timeout-ms" || !parseTimeout(value, parsed.timing)) {
            return std::nullopt;
        }
    }
    return parsed;
}

int picture(const std::vector<std::string>& args) {
    const std::optional<PictureArgs> parsed = parsePictureArgs(args);
    if (!parsed) return usage();
    // A file of the picture's size goes as it is; anything else is made into one.
    Result<std::string> file = readFileBytes(parsed->image, kMaxImageFileSize);
    if (file && file->size() != kPictureFileSize) file = convertedPicture(parsed->image);
    if (!file) {
        reportFailure("picture", file.status());
        return kExitRefused;
    }
    const std::unique_ptr<SerialLine> link = openPort(parsed->port);
    if (!link) return kExitRefused;

    ConsoleObserver observer(tool::stderrIsTerminal());
    const PictureResult result =
        uploadPictureTransfer(*link, observer, parsed->timing, *file, parsed->slot);
    gCancelOnInterrupt = nullptr;
    if (!result.status) {
        reportFailure("picture", result.status);
        return kExitRefused;
    }
    return kExitOk;
}

struct FirmwareArgs {
    std::string port;
    std::string file;
    bool eraseAll = false;
    std::string routine;
    Timing timing;
};

std::optional<FirmwareArgs> parseFirmwareArgs(const std::vector<std::string>& args) {
    const tool::CommandArgs split = tool::splitCommandArgs(
        args, {{"--erase-all"}, {"--routine", true}, {"--timeout-ms", true}});
    if (!split.ok() || split.operands.size() != 2 || split.operands[0].empty() ||
        split.operands[1].empty()) {
        return std::nullopt;
    }
    FirmwareArgs parsed;
    parsed.port = split.operands[0];
    parsed.file = split.operands[1];
    for (const auto& [option, value] : split.options) {
        if (option == "--erase-all") {
            parsed.eraseAll = true;
        } else if (option == "--routine" && !value.empty()) {
            parsed.routine = value;
        } else if (option != "--timeout-ms" || !parseTimeout(value, parsed.timing)) {
            return std::nullopt;
        }
    }
    return parsed;
}

// Where the program looks for the flash routine: the per-user data folder the program
// uses, the folder of the programs, and the installed data folder beside it.
std::vector<std::string> flashRoutinePlaces() {
    std::vector<std::string> places;
    if (std::string user = tool::userDataFolder(); !user.empty()) places.push_back(user);
    if (const std::string folder = tool::programFolder(); !folder.empty()) {
        places.push_back(folder);
        places.push_back(utf8FromPath(pathFromUtf8(folder).parent_path() / "share" / "qel"));
    }
    return places;
}

int firmware(const std::vector<std::string>& args) {
    const std::optional<FirmwareArgs> parsed = parseFirmwareArgs(args);
    if (!parsed) return usage();
    Result<std::string> routinePath = parsed->routine.empty()
                                          ? findFlashRoutine(flashRoutinePlaces())
                                          : Result<std::string>(parsed->routine);
    if (!routinePath) {
        std::cerr << errorText(ErrorCode::NoFlashRoutine) << '\n' << routinePath.detail() << '\n';
        return kExitRefused;
    }
    const Result<std::string> routine = readFlashRoutine(*routinePath);
    if (!routine) {
        reportFailure("flash routine", routine.status());
        return kExitRefused;
    }
    const Result<std::string> file = readFirmwareFile(parsed->file);
    if (!file) {
        reportFailure(parsed->file, file.status());
        return kExitRefused;
    }
    const std::unique_ptr<SerialLine> link = openPort(parsed->port);
    if (!link) return kExitRefused;
    ConsoleObserver observer(tool::stderrIsTerminal());
    const FirmwareResult result =
        upgradeFirmware(*link, observer, parsed->timing, {*routine, *file, parsed->eraseAll});
    gCancelOnInterrupt = nullptr;
    if (!result.status) {
        reportFailure("firmware", result.status);
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    tool::prepareStandardStreams();
    const std::vector<std::string> args = tool::arguments(argc, argv);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "qel-tool " QEL_VERSION "\n";
        return kExitOk;
    }
    if (args.size() == 2 && args[0] == "dump") return dump(args[1]);
    if (args.size() == 3 && args[0] == "convert") return convert(args[1], args[2]);
    if (!args.empty() && args[0] == "export") return exportCommand(args);
    if (args.size() == 3 && args[0] == "upgrade") return upgrade(args[1], args[2]);
    if (!args.empty() && args[0] == "sort") return tool::sortCommand(args);
    if (!args.empty() && args[0] == "diff") return tool::diffCommand(args);
    if (!args.empty() && args[0] == "check") return tool::checkCommand(args);
    if (args.size() == 2 && args[0] == "sample") return sample(args[1]);
    if (!args.empty() && args[0] == "lzw") return lzwCommand(args);
    if (!args.empty() && args[0] == "download") return download(args);
    if (!args.empty() && args[0] == "upload") return upload(args);
    if (!args.empty() && args[0] == "picture") return picture(args);
    if (!args.empty() && args[0] == "firmware") return firmware(args);
    return usage();
}
