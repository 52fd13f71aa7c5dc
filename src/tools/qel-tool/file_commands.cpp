// The file commands: dump, convert, upgrade and sample.
#include <iostream>
#include <optional>
#include <string>

#include "files/boot_picture.h"
#include "files/file_commands.h"
#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "files/text_import.h"
#include "image_decoder.h"
#include "json_out.h"
#include "listedit/font_glyphs.h"
#include "model/workspace.h"
#include "sample_list.h"
#include "tool_command.h"
#include "tool_common.h"

namespace qel::tool {

namespace {

// Reads a .dvb or .bin file into a fresh document.
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

int dumpChannels(const std::string& path, bool image) {
    Workspace ws;
    if (Status st = loadInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":")" << (image ? "BIN" : "DVB") << R"(","tv":)"
              << jsonChannelArray(ws.tvList()) << R"(,"radio":)"
              << jsonChannelArray(ws.radioList());
    if (image) std::cout << R"(,"image":)" << jsonImageTables(ws.imageTables());
    std::cout << "}\n";
    return kExitOk;
}

int dumpG98(const std::string& path) {
    Workspace ws;
    if (Status st = loadSettingsInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"G98","loaded":)"
              << (settingsImageLoaded(ws.settingsImage()) ? "true" : "false") << R"(,"image":)"
              << jsonString(ws.settingsImage()) << "}\n";
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
int dump(const Args& args) {
    const std::string& path = args.operands[0];
    const FileFormat* format = findFileFormat(path);
    if (format == nullptr || format->imported) return unsupportedInput(path);
    switch (format->content) {
        case FileContent::Channels:
            return dumpChannels(path, format->kind == FileKind::BIN);
        case FileContent::Settings:
            return dumpG98(path);
        case FileContent::Font:
            return dumpFont(path);
        case FileContent::Picture:
        case FileContent::Transponders:
            break;
    }
    return unsupportedInput(path);
}

int convertImage(const std::string& in, const std::string& out) {
    auto picture = convertedPicture(in);
    if (!picture) return refused(picture.status());
    if (Status st = writeFileAtomic(out, *picture); !st) return refused(st);
    return kExitOk;
}

bool isChannelFile(const FileFormat* format) {
    return format != nullptr && format->readerOf<ChannelReader>() != nullptr;
}

int convert(const Args& args) {
    const std::string& in = args.operands[0];
    const std::string& out = args.operands[1];
    const FileFormat* from = findFileFormat(in);
    const FileFormat* to = findFileFormat(out);
    if (to != nullptr && to->id == FileFormatId::BootPicture) return convertImage(in, out);
    if (from == nullptr) return unsupportedInput(in);
    Workspace ws;
    SaveOptions options;
    if (isChannelFile(from) && isChannelFile(to)) {
        auto set = readChannels(in);
        if (!set) return refused(set.status());
        ws.installChannels(std::move(set.value()));
        // A DVB98 list becomes an image the way "Convert to bin" makes one.
        options.convertToBin = ws.fileType() == FileKind::DVB && to->kind == FileKind::BIN;
    } else if (to != nullptr && from->content == FileContent::Settings &&
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

int upgrade(const Args& args) {
    const std::string& loaded = args.operands[0];
    const std::string& other = args.operands[1];
    if (!isFileOfFormat(loaded, FileFormatId::Dvb)) return unsupportedInput(loaded);
    if (!isFileOfFormat(other, FileFormatId::Dvb)) return unsupportedInput(other);
    Workspace ws;
    if (Status st = loadInto(ws, loaded); !st) return refused(st);
    if (Status st = upgradeFromFile(ws, other); !st) return refused(st);
    std::cout << R"({"buffer":)" << jsonChannelArray(ws.bufferList()) << "}\n";
    return kExitOk;
}

int sample(const Args& args) {
    const std::string& path = args.operands[0];
    Workspace ws;
    if (isFileOfFormat(path, FileFormatId::G98)) {
        ws.installSettings(makeSampleSettings());
    } else if (isFileOfFormat(path, FileFormatId::Dvb)) {
        ws.installChannels({makeSampleLists(), FileKind::DVB, {}});
    } else {
        return unsupportedOutput(path);
    }
    if (Status st = saveFile(ws, path); !st) return refused(st);
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"dump", "dump FILE   (.dvb, .bin, .g98, or a font: .fos, .oc1, .oc2)", "", {}, 1, 1, dump},
    {"convert",
     "convert IN OUT",
     "      IN and OUT: .dvb, .bin, .txt (the import-compatible text) or .csv;\n"
     "      or .g98 to .g98; or an image to OUT.bmp, the 280x240 16-colour boot\n"
     "      picture (" QEL_TOOL_IMAGES_READ ")\n",
     {},
     2,
     2,
     convert},
    {"upgrade", "upgrade LOADED.dvb OTHER.dvb", "", {}, 2, 2, upgrade},
    {"sample", "sample FILE.dvb|FILE.g98", "", {}, 1, 1, sample},
};

}  // namespace

std::span<const Command> fileCommands() {
    return kCommands;
}

}  // namespace qel::tool
