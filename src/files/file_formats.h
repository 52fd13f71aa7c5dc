// The file formats the program reads and writes, each registered once: its extension, what
// it holds, its reader and writer, its file-dialog filter and whether it opens on a drop or
// from the command line. The file commands, the controllers, the frame, the command line and
// qel-tool find a file's format here; a new format is one entry in file_formats.cpp plus its
// reader (and its writer, unless the program only reads it). A channel file of any format is
// read through readChannels().
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "files/font_file.h"
#include "files/satellites_xml.h"
#include "files/text_import.h"
#include "model/debug_log.h"
#include "model/errors.h"
#include "model/font_type.h"
#include "model/workspace.h"

namespace qel {

enum class FileFormatId {
    Dvb,                // DVB98 channel list
    FtaImage,           // FTA flash image
    G98,                // DVB98 generic settings
    Text,               // the text export; its import-compatible form reads back as channels
    Csv,                // channel lists as comma-separated values
    SystemFontOneSet,   // system font, one set of glyphs
    SystemFontTwoSets,  // system font, two sets
    TeletextFont,
    BootPicture,    // the receiver's 280x240 16-colour boot picture, a BMP file
    SatellitesXml,  // satellites.xml: satellites and their transponders, read beside the document
};

// The part of the document a file holds.
enum class FileContent {
    Channels,
    Settings,
    Font,
    Picture,
    Transponders,  // a satellite's transponders: read beside the document, never part of it
};

// How a name's extension is read. The file commands and qel-tool go by the name's last three
// characters, so "listdvb" and "list.xdvb" are .dvb files to them; a drop and the command line
// go by what follows the last dot of the file's own name (not of a folder's).
enum class ExtensionRule { LastThreeCharacters, AfterLastDot };

// A file dialog's filter: "Dr.Vellox settings (*.dvb )". The name is English; the windows
// show it translated (context kFileFormatTextContext). The patterns are as the dialog shows
// them, a blank included where there is one.
struct DialogFilter {
    std::string_view name;
    std::string_view patterns;
};
inline constexpr const char* kFileFormatTextContext = "FileFormats";

struct ReadOptions {
    DebugLog* log = nullptr;
    ImportProblem* problem = nullptr;  // where a text or CSV import refused its file
    // Only the formats that are the document's own file (not an import's text or CSV): what
    // loading a channel file reads.
    bool documentFilesOnly = false;
};

struct SaveOptions {
    // "Convert to bin": an FTA image with the default settings, whatever the name says;
    // the current file stays unsaved.
    bool convertToBin = false;
};

// The readers, one kind per content: each kind names the content it reads. A new kind of
// content is a value of FileContent, a reader kind here and an alternative of FormatReader.
struct ChannelReader {  // a text gives a DVB98 list with no file of its own
    static constexpr FileContent content = FileContent::Channels;
    Result<ChannelSet> (*read)(const std::string& path, const ReadOptions& options) = nullptr;
};
struct SettingsReader {
    static constexpr FileContent content = FileContent::Settings;
    Result<std::string> (*read)(const std::string& path) = nullptr;
};
struct FontReader {
    static constexpr FileContent content = FileContent::Font;
    Result<FontFile> (*read)(const std::string& path) = nullptr;
};
struct TransponderReader {
    static constexpr FileContent content = FileContent::Transponders;
    Result<SatellitesFile> (*read)(const std::string& path) = nullptr;
};
// A format's reader; none where the program does not read the format back (a boot picture is
// made from an image).
using FormatReader =
    std::variant<std::monostate, ChannelReader, SettingsReader, FontReader, TransponderReader>;

// Writes the part of the document the format holds; a document file, once written, is no
// longer unsaved.
using DocumentWriter = Status (*)(Workspace& ws, const std::string& path,
                                  const SaveOptions& options);

struct FileFormat {
    FileFormatId id;
    std::string_view extension;  // lower-case, without the dot
    FileContent content;
    FileKind kind = FileKind::None;  // a channel file: the kind the lists get
    FontType fontType = FontType::Teletext;
    // Read into a DVB98 list that has no file of its own, written by an export: not loaded,
    // saved or opened as the document's file.
    bool imported = false;
    bool opensOnDrop = false;
    bool opensFromCommandLine = false;
    DialogFilter openFilter{};  // the dialogs that read the file (and save a document file)
    DialogFilter saveFilter{};  // the dialog of an export
    FormatReader reader{};
    DocumentWriter writer = nullptr;  // null: the program only reads the format

    bool reads() const { return !std::holds_alternative<std::monostate>(reader); }
    bool writes() const { return writer != nullptr; }
    // The reader of kind R; null when the format has another kind or none.
    template <class R>
    const R* readerOf() const {
        return std::get_if<R>(&reader);
    }
    // The content the format's reader reads; the format's own content when it has none.
    FileContent readerContent() const;

    // What the format's reader gives; UnsupportedFileType when it has no reader of that kind.
    Result<ChannelSet> readChannels(const std::string& path, const ReadOptions& options = {}) const;
    Result<std::string> readSettings(const std::string& path) const;
    Result<FontFile> readFont(const std::string& path) const;
    Result<SatellitesFile> readTransponders(const std::string& path) const;
    // UnsupportedFileType for a format the program only reads.
    Status write(Workspace& ws, const std::string& path, const SaveOptions& options) const;
};

// Every format, in the order the dialogs list them.
std::span<const FileFormat> fileFormats();
const FileFormat& fileFormat(FileFormatId id);

// The extension of `path` as written, without the dot: its last three characters (the whole
// path when shorter), or what follows the last dot of its last component (empty without one).
std::string_view fileExtension(std::string_view path, ExtensionRule rule);

// The format whose extension `path` has, compared without regard to case; null when none has.
const FileFormat* findFileFormat(std::string_view path,
                                 ExtensionRule rule = ExtensionRule::LastThreeCharacters);
// The format of the channel file `path` by its last three characters: one that reads
// channels (with documentFilesOnly, not an import's); null when there is none.
const FileFormat* channelFileFormat(std::string_view path, bool documentFilesOnly = false);
// The channels of the channel file `path`, of whichever format its last three characters
// name: UnsupportedFileType when no format that reads channels has that extension (or, with
// options.documentFilesOnly, when it is an import's).
Result<ChannelSet> readChannels(const std::string& path, const ReadOptions& options = {});

// Whether `path` names a file of the format (by its last three characters).
bool isFileOfFormat(std::string_view path, FileFormatId id);

// The format of a font file: a .fos or .oc1 name a system font, any other name the teletext
// font.
const FileFormat& fontFileFormat(std::string_view path);

// The format a save of the document to `target` writes: the settings for a .g98 name; an FTA
// image when converting; a .dvb or .bin name's own format; otherwise the loaded kind's (an
// image for a loaded image, else DVB98 records).
const FileFormat& formatToSave(const Workspace& ws, std::string_view target,
                               const SaveOptions& options);

}  // namespace qel
