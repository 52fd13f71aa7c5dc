// The file-format registry: which format a name gives under each way of reading its
// extension, that every format is complete, and which format a save writes.
#include "files/file_formats.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

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

TEST(FileFormats, EveryFormatIsCompleteAndFoundByItsOwnName) {
    std::set<std::string_view> extensions;
    for (const FileFormat& f : fileFormats()) {
        SCOPED_TRACE(std::string(f.extension));
        EXPECT_TRUE(extensions.insert(f.extension).second) << "extension registered twice";
        EXPECT_EQ(&fileFormat(f.id), &f);
        EXPECT_EQ(findFileFormat("name." + std::string(f.extension)), &f);
        switch (f.content) {
            case FileContent::Channels:
                EXPECT_NE(f.readChannels, nullptr);
                EXPECT_NE(f.kind, FileKind::None);
                break;
            case FileContent::Settings:
                EXPECT_NE(f.readSettings, nullptr);
                break;
            case FileContent::Font:
                EXPECT_NE(f.readFont, nullptr);
                break;
            case FileContent::Picture:
                continue;  // made from an image, not read or written by a format of its own
        }
        EXPECT_NE(f.write, nullptr);
        // Every file the program reads or writes is offered by a dialog.
        EXPECT_FALSE(f.openFilter.name.empty());
        EXPECT_FALSE(f.saveFilter.name.empty());
        EXPECT_NE(f.openFilter.patterns.find(f.extension), std::string_view::npos);
        // Only a document file opens on a drop or from the command line; an import does not.
        EXPECT_FALSE(f.imported && (f.opensOnDrop || f.opensFromCommandLine));
    }
}

TEST(FileFormats, AnyNameNotASystemFontIsTheTeletextFont) {
    const struct {
        const char* path;
        FontType type;
    } kCases[] = {
        {"a.fos", FontType::SystemOneSet}, {"A.FOS", FontType::SystemOneSet},
        {"oc1", FontType::SystemTwoSets},  {"a.oc2", FontType::Teletext},
        {"a.dvb", FontType::Teletext},     {"font", FontType::Teletext},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(fontFileFormat(c.path).fontType, c.type) << c.path;
        EXPECT_EQ(fontFileFormat(c.path).content, FileContent::Font) << c.path;
    }
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
