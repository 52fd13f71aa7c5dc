// The file-format registry: which format a name gives under each way of reading its
// extension, which format a save writes, finding a channel file's format, and the
// conformance of every registered format (its lengths, the empty file, the round trip); then
// what the font and settings formats add to that.
#include "files/file_formats.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/file_commands.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "support/channel_builder.h"
#include "support/csv_rows.h"
#include "support/fta_image_builder.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using Id = FileFormatId;
using Rule = ExtensionRule;

std::optional<Id> idOf(std::string_view path, Rule rule) {
    const FileFormat* f = findFileFormat(path, rule);
    return f == nullptr ? std::nullopt : std::optional<Id>(f->id);
}

TEST(FileFormats, TheNameGivesTheFormat) {
    const struct {
        const char* path;
        std::optional<Id> lastThree;  // the file commands and qel-tool
        std::optional<Id> afterDot;   // a drop and the command line
    } kCases[] = {
        {"list.dvb", Id::Dvb, Id::Dvb},
        {"LIST.DVB", Id::Dvb, Id::Dvb},
        {"img.Bin", Id::FtaImage, Id::FtaImage},
        {"gen.g98", Id::G98, Id::G98},
        {"rows.TXT", Id::Text, Id::Text},
        {"rows.csv", Id::Csv, Id::Csv},
        {"a.fos", Id::SystemFontOneSet, Id::SystemFontOneSet},
        {"a.OC1", Id::SystemFontTwoSets, Id::SystemFontTwoSets},
        {"a.oC2", Id::TeletextFont, Id::TeletextFont},
        {"boot.bmp", Id::BootPicture, Id::BootPicture},
        // The last three characters count whatever stands before them; after a dot, the
        // whole extension must match.
        {"listdvb", Id::Dvb, {}},
        {"list.xdvb", Id::Dvb, {}},
        {"dvb", Id::Dvb, {}},
        {".dvb", Id::Dvb, Id::Dvb},
        {"archive.tar.bin", Id::FtaImage, Id::FtaImage},
        // A dot in a folder's name is no extension.
        {"/home/u/lists.dvb/channels", {}, {}},
        {"/home/u/lists.dvb/channels.bin", Id::FtaImage, Id::FtaImage},
        {"/home/u.g98/list", {}, {}},
        // Unknown, short, empty and nearly right names.
        {"notes.doc", {}, {}},
        {"list.dv", {}, {}},
        {"list.dvb ", {}, {}},
        {"list.", {}, {}},
        {"vb", {}, {}},
        {"", {}, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string("\"") + c.path + "\"");
        EXPECT_EQ(idOf(c.path, Rule::LastThreeCharacters), c.lastThree);
        EXPECT_EQ(idOf(c.path, Rule::AfterLastDot), c.afterDot);
        EXPECT_EQ(isFileOfFormat(c.path, Id::Dvb), c.lastThree == Id::Dvb);
    }
}

TEST(FileFormats, TheExtensionAsWritten) {
    const struct {
        const char* path;
        Rule rule;
        const char* extension;
    } kCases[] = {
        {"List.Dvb", Rule::LastThreeCharacters, "Dvb"},
        {"ab", Rule::LastThreeCharacters, "ab"},
        {"", Rule::LastThreeCharacters, ""},
        {"List.Dvb", Rule::AfterLastDot, "Dvb"},
        {"a.b.json", Rule::AfterLastDot, "json"},
        {"/x.y/name", Rule::AfterLastDot, ""},
        {"name.", Rule::AfterLastDot, ""},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(fileExtension(c.path, c.rule), c.extension) << c.path;
}

TEST(FileFormats, EveryFormatIsFoundByItsOwnNameAndOfferedByTheDialogs) {
    std::set<std::string_view> extensions;
    for (const FileFormat& f : fileFormats()) {
        SCOPED_TRACE(std::string(f.extension));
        EXPECT_TRUE(extensions.insert(f.extension).second) << "extension registered twice";
        EXPECT_EQ(&fileFormat(f.id), &f);
        EXPECT_EQ(findFileFormat("name." + std::string(f.extension)), &f);
        // A reader reads the format's own content, and a channel file gives the lists a kind.
        EXPECT_EQ(f.readerContent(), f.content);
        EXPECT_EQ(f.content == FileContent::Channels, f.kind != FileKind::None);
        // Only a document file opens on a drop or from the command line; an import does not.
        EXPECT_FALSE(f.imported && (f.opensOnDrop || f.opensFromCommandLine));
        if (!f.reads()) continue;
        // Every file the program reads is offered by a dialog, and so is every file it writes.
        EXPECT_FALSE(f.openFilter.name.empty());
        EXPECT_NE(f.openFilter.patterns.find(f.extension), std::string_view::npos);
        EXPECT_EQ(f.saveFilter.name.empty(), !f.writes());
    }
}

TEST(FileFormats, AReaderOfAnotherKindOrNoWriterRefusesAsUnsupported) {
    Workspace ws;
    const FileFormat& picture = fileFormat(Id::BootPicture);
    EXPECT_FALSE(picture.reads());
    EXPECT_FALSE(picture.writes());
    EXPECT_EQ(picture.write(ws, "x.bmp", {}).error(), ErrorCode::UnsupportedFileType);
    EXPECT_EQ(picture.readChannels("x.bmp").error(), ErrorCode::UnsupportedFileType);
    EXPECT_EQ(fileFormat(Id::Dvb).readSettings("x.dvb").error(), ErrorCode::UnsupportedFileType);
    EXPECT_EQ(fileFormat(Id::G98).readFont("x.g98").error(), ErrorCode::UnsupportedFileType);
    EXPECT_EQ(fileFormat(Id::TeletextFont).readChannels("x.oc2").error(),
              ErrorCode::UnsupportedFileType);
}

TEST(ReadChannels, FindsTheChannelFormatByTheLastThreeCharacters) {
    test::TempDir dir;
    const std::string rec = test::DvbRecord().name("NEW").bytes();
    const struct {
        const char* name;
        std::string bytes;
        bool read;            // any channel file
        bool readAsDocument;  // documentFilesOnly: an import's text or CSV is refused
    } kCases[] = {
        {"LIST.DVB", rec, true, true},
        {"listdvb", rec, true, true},
        {"rows.txt", std::string(20, 'N') + "\n", true, false},
        {"rows.csv", test::kCsvHeader + "\r\n" + test::kCsvRow, true, false},
        {"list.txt.dvb.g98", rec, false, false},
        {"font.oc2", rec, false, false},
        {"boot.bmp", rec, false, false},
        {"notes.doc", rec, false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write(c.name, c.bytes);
        EXPECT_EQ(channelFileFormat(path) != nullptr, c.read);
        EXPECT_EQ(channelFileFormat(path, true) != nullptr, c.readAsDocument);
        const auto any = readChannels(path);
        const auto document = readChannels(path, {.documentFilesOnly = true});
        EXPECT_EQ(any.ok(), c.read);
        EXPECT_EQ(document.ok(), c.readAsDocument);
        EXPECT_EQ(readChannelFile(path).ok(), c.readAsDocument);  // what loading reads
        if (!c.read) {
            EXPECT_EQ(any.error(), ErrorCode::UnsupportedFileType);
        } else {
            EXPECT_EQ(any->lists.tv.size(), 1u);
        }
        if (!c.readAsDocument) {
            EXPECT_EQ(document.error(), ErrorCode::UnsupportedFileType);
        }
    }
}

// The conformance suite: every registered format, driven by the registry. Each format has a
// sample file here (a new format that lacks one fails); the suite reads it, refuses the
// lengths the format does not have and the empty file, and writes it back where the format
// writes.
struct Sample {
    std::string bytes;
    bool fixedLength;  // any other length is refused with lengthError
    ErrorCode lengthError;
    std::optional<ErrorCode> ifEmpty;  // nothing: an empty file reads
    bool sameBytes;                    // what is read writes back as the same bytes
    unsigned clears;                   // the unsaved marks a save clears
};
constexpr unsigned kChannelsMark = 1, kSettingsMark = 2, kFontsMark = 4;

std::string g98Sample() {
    std::string block = "DVSO";
    for (std::size_t i = block.size(); i < kSettingsBlockSize; ++i)
        block += static_cast<char>(i * 7);
    return block + static_cast<char>(blockChecksum(block));
}

std::string fontSample(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

std::string ftaSample() {
    return test::FtaImage()
        .add(0x87AA, test::channelEntry("TV1", 1, 2, 3, 0))
        .add(0x87BF, test::channelEntry("RADIO1", 1, 2, 4, 0))
        .add(0x9001, test::tunedTransponder(1, 2, 0x0010, 8, "01176600", "013", 1, 0, "275000", 3))
        .add(0x9000, test::word16(1))
        .add(0x4321, "keep")
        .build();
}

std::optional<Sample> sampleOf(Id id) {
    const auto W = ErrorCode::WrongFileLength;
    const auto F = ErrorCode::WrongFontLength;
    const auto none = ErrorCode::NoChannelsInFile;
    const std::string dvb = test::DvbRecord().name("TV").freqMHz(11766).fecCode(1).bytes() +
                            test::DvbRecord().type(2).name("RADIO").fecCode(4).bytes();
    const std::string text =
        "RAI UNO              013E 2775 D431 011766 V 27500 3/4 0200 0201 0202 0000 0102 0203 0A5 "
        "1 4 01 BEEF\n--- HOTBIRD 13E ---  0000 0000 0000 000000 H 00000 0/0 0000 0000 0000 0000 "
        "0000 0000 000 0 1 00 0000\n";
    const std::string csv = test::kCsvHeader + "\r\n" + test::kCsvRow + "\r\n";
    // The boot picture is made from an image: nothing to read.
    const std::pair<Id, Sample> kSamples[] = {
        {Id::Dvb, {dvb, true, W, std::nullopt, true, kChannelsMark}},
        {Id::FtaImage, {ftaSample(), true, W, W, true, kChannelsMark}},
        {Id::G98, {g98Sample(), true, W, W, true, kSettingsMark}},
        {Id::Text, {text, false, W, none, false, 0}},
        {Id::Csv, {csv, false, W, none, false, 0}},
        {Id::SystemFontOneSet, {fontSample(4096), true, F, F, true, kFontsMark}},
        {Id::SystemFontTwoSets, {fontSample(8192), true, F, F, true, kFontsMark}},
        {Id::TeletextFont, {fontSample(3190), true, F, F, true, kFontsMark}},
        {Id::SatellitesXml,
         {"<satellites><sat name=\"A\" position=\"192\"><transponder frequency=\"11494000\" "
          "symbol_rate=\"22000000\" polarization=\"0\"/></sat></satellites>",
          false, W, ErrorCode::SatellitesXmlDamaged, false, 0}},
    };
    for (const auto& [format, sample] : kSamples) {
        if (format == id) return sample;
    }
    return std::nullopt;
}

// Reads `path` with the format's own reader into the document, as the program loads it.
Status load(const FileFormat& f, Workspace& ws, const std::string& path) {
    const auto install = [](auto read, auto&& into) -> Status {
        if (!read) return read.status();
        into(std::move(read.value()));
        return {};
    };
    switch (f.content) {
        case FileContent::Channels:
            return install(f.readChannels(path),
                           [&](ChannelSet set) { ws.installChannels(std::move(set)); });
        case FileContent::Settings:
            return install(f.readSettings(path),
                           [&](std::string image) { ws.installSettings(std::move(image)); });
        case FileContent::Font:
            return install(f.readFont(path), [&](FontFile font) {
                ws.installFont(font.type, std::move(font.bytes));
            });
        case FileContent::Transponders: {
            // Read beside the document, never into it: the file must hold a transponder.
            auto file = f.readTransponders(path);
            if (!file) return file.status();
            return file->sats.empty() || file->sats[0].transponders.empty()
                       ? Status(ErrorCode::NoChannelsInFile)
                       : Status();
        }
        default:
            return ErrorCode::UnsupportedFileType;
    }
}

// What a document holds, to compare two.
std::string contentOf(const Workspace& ws) {
    return encodeDvb(ws.tvList(), ws.radioList()) + "|" + ws.settingsImage() + "|" + ws.fontData() +
           "|" + std::to_string(static_cast<int>(ws.fileType()));
}

unsigned marksOf(const Workspace& ws) {
    return (ws.channelsModified() ? kChannelsMark : 0) |
           (ws.settingsModified() ? kSettingsMark : 0) | (ws.fontsModified() ? kFontsMark : 0);
}

void markAll(Workspace& ws) {
    ws.setChannelsModified(true);
    ws.setSettingsModified(true);
    ws.setFontsModified(true);
}

TEST(FormatConformance, EveryFormatReadsItsSampleRefusesOtherLengthsAndWritesBack) {
    test::TempDir dir;
    for (const FileFormat& f : fileFormats()) {
        SCOPED_TRACE(std::string(f.extension));
        const std::optional<Sample> sample = sampleOf(f.id);
        ASSERT_EQ(sample.has_value(), f.reads()) << "a format that reads needs a sample here";
        if (!sample) continue;
        const std::string ext = "." + std::string(f.extension);
        const std::string& bytes = sample->bytes;

        const std::string samplePath = dir.write("sample" + ext, bytes);
        Workspace ws;
        ASSERT_TRUE(load(f, ws, samplePath).ok());
        const std::string loaded = contentOf(ws);
        if (f.content != FileContent::Transponders) {
            EXPECT_NE(loaded, contentOf(Workspace{}));
        }

        // A refused file changes nothing in the document it was to be read into.
        const auto refused = [&](const std::string& file) -> std::optional<ErrorCode> {
            Workspace target;
            EXPECT_TRUE(load(f, target, samplePath).ok());
            const Status st = load(f, target, dir.write("refused" + ext, file));
            if (st.ok()) return std::nullopt;
            EXPECT_EQ(contentOf(target), loaded);
            return st.error();
        };
        EXPECT_EQ(refused(""), sample->ifEmpty) << "empty";
        EXPECT_EQ(load(f, ws, dir.file("missing" + ext)).error(), ErrorCode::CannotOpenFile);
        if (sample->fixedLength) {
            EXPECT_EQ(refused(bytes.substr(1)), sample->lengthError) << "short";
            EXPECT_EQ(refused(bytes + "x"), sample->lengthError) << "long";
            EXPECT_EQ(refused(bytes + bytes.substr(1)), sample->lengthError) << "nearly twice";
        }

        if (!f.writes()) continue;
        markAll(ws);
        const std::string out = dir.file("written" + ext);
        ASSERT_TRUE(f.write(ws, out, {}).ok());
        EXPECT_EQ(marksOf(ws), (kChannelsMark | kSettingsMark | kFontsMark) & ~sample->clears);
        const std::string written = test::TempDir::read(out);
        if (sample->sameBytes) {
            EXPECT_EQ(written, bytes);
        }
        Workspace back;
        ASSERT_TRUE(load(f, back, out).ok());
        EXPECT_EQ(contentOf(back), contentOf(ws));
        ASSERT_TRUE(f.write(back, out, {}).ok());
        EXPECT_EQ(test::TempDir::read(out), written) << "a second round trip changes nothing";

        // A write that cannot be made keeps the unsaved marks and makes no file.
        markAll(ws);
        EXPECT_EQ(f.write(ws, dir.file("no-folder/x" + ext), {}).error(),
                  ErrorCode::CannotWriteFile);
        EXPECT_EQ(marksOf(ws), kChannelsMark | kSettingsMark | kFontsMark);
    }
}

// A font file's name gives its type (any name not a system font's is the teletext font), and
// the file is read only at that type's size.
TEST(FileFormats, AFontIsReadAtTheSizeOfTheTypeItsNameGives) {
    const struct {
        const char* path;
        FontType type;
        std::size_t size;
    } kCases[] = {
        {"a.fos", FontType::SystemOneSet, 4096}, {"A.FOS", FontType::SystemOneSet, 4096},
        {"oc1", FontType::SystemTwoSets, 8192},  {"a.oc2", FontType::Teletext, 3190},
        {"a.dvb", FontType::Teletext, 3190},     {"font", FontType::Teletext, 3190},
    };
    test::TempDir dir;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fontFileFormat(c.path).fontType, c.type);
        EXPECT_EQ(fontFileFormat(c.path).content, FileContent::Font);
        for (const std::size_t size : {3190u, 4096u, 8192u}) {
            const std::string bytes = fontSample(size);
            const auto font = readFontFile(dir.write(c.path, bytes));
            EXPECT_EQ(font.ok(), size == c.size) << size;
            if (!font) {
                EXPECT_EQ(font.error(), ErrorCode::WrongFontLength) << size;
                continue;
            }
            EXPECT_EQ(font->type, c.type);
            EXPECT_TRUE(font->bytes == bytes);
        }
    }
    const std::string two = fontSample(8192);
    EXPECT_TRUE(systemFontSet(two, FontType::SystemTwoSets, 1) == two.substr(4096));
    EXPECT_TRUE(systemFontSet(two, FontType::SystemTwoSets, 0) == two.substr(0, 4096));
    EXPECT_EQ(systemFontSet(two.substr(0, 4096), FontType::SystemOneSet, 1), "");
    EXPECT_EQ(systemFontSet(two.substr(0, 4096), FontType::SystemTwoSets, 0), "");
    EXPECT_EQ(systemFontSet(two.substr(0, 3190), FontType::Teletext, 0), "");
}

// The settings image is the hex of the block's 1264 bytes and the first digit pair of its
// checksum byte, whatever the block holds; the writer computes the checksum again.
TEST(G98, TheImageIsTheBlocksHexAndTheWriterRecomputesTheChecksum) {
    const std::string file = g98Sample();
    auto image = decodeG98(file);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(*image,
              bytesToHex(file.substr(0, 1264)) + bytesToHex(file.substr(1264)).substr(0, 2));
    EXPECT_TRUE(settingsImageLoaded(*image));
    std::string damaged = file;
    damaged.back() = 'x';
    EXPECT_EQ(encodeG98(*decodeG98(damaged)), file);

    image = decodeG98(std::string(kG98FileSize, '\xEE'));
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->size(), kSettingsImageLength);
    EXPECT_FALSE(settingsImageLoaded(*image));
}

TEST(FileFormats, WhatASaveWrites) {
    const struct {
        FileKind loaded;
        const char* target;
        bool convert;
        Id written;
    } kCases[] = {
        {FileKind::DVB, "out.dvb", false, Id::Dvb},
        {FileKind::DVB, "out.BIN", false, Id::FtaImage},
        {FileKind::DVB, "out", false, Id::Dvb},
        {FileKind::DVB, "out.txt", false, Id::Dvb},  // the save is no export
        {FileKind::DVB, "out.fos", false, Id::Dvb},
        {FileKind::DVB, "out.dvb", true, Id::FtaImage},
        {FileKind::BIN, "out.dvb", false, Id::Dvb},
        {FileKind::BIN, "out", false, Id::FtaImage},
        {FileKind::BIN, "out.csv", false, Id::FtaImage},
        {FileKind::None, "out", false, Id::Dvb},
        {FileKind::BIN, "s.G98", false, Id::G98},
        {FileKind::DVB, "s.g98", true, Id::G98},
    };
    for (const auto& c : kCases) {
        Workspace ws;
        if (c.loaded != FileKind::None) ws.installChannels({{}, c.loaded, {}});
        EXPECT_EQ(formatToSave(ws, c.target, SaveOptions{.convertToBin = c.convert}).id, c.written)
            << c.target << (c.convert ? " converting" : "");
    }
}

}  // namespace
}  // namespace qel
