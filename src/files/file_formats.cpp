#include "files/file_formats.h"

#include <algorithm>
#include <array>
#include <type_traits>

#include "files/csv_file.h"
#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/fta_image_layout.h"
#include "files/fta_reader.h"
#include "files/fta_writer.h"
#include "files/g98_file.h"
#include "files/text_export.h"
#include "model/translatable_text.h"

namespace qel {

namespace {

Result<ChannelSet> readDvb(const std::string& path, const ReadOptions& options) {
    auto lists = readDvbFile(path, options.log);
    if (!lists) return lists.status();
    return ChannelSet{std::move(lists.value()), FileKind::DVB, {}};
}

Result<ChannelSet> readImage(const std::string& path, const ReadOptions& options) {
    auto bytes = readFileBytes(path, fta::kImageSize);
    if (!bytes) {
        return bytes.error() == ErrorCode::FileTooLarge ? ErrorCode::WrongFileLength
                                                        : bytes.error();
    }
    auto tables = readFtaImage(*bytes, options.log);
    if (!tables) return tables.status();
    ChannelSet set;
    set.lists = channelListsOf(*tables);
    set.fileType = FileKind::BIN;
    set.imageTables = std::move(tables.value());
    rememberSourceImage(set.imageTables, set.lists, *bytes);
    return set;
}

Result<ChannelSet> imported(Result<TvRadioLists> lists) {
    if (!lists) return lists.status();
    return ChannelSet{std::move(lists.value()), FileKind::DVB, {}};
}

Result<ChannelSet> readText(const std::string& path, const ReadOptions& options) {
    return imported(readImportTextFile(path, options.problem, options.log));
}

Result<ChannelSet> readCsv(const std::string& path, const ReadOptions& options) {
    return imported(readCsvFile(path, options.problem));
}

Status writeDvb(Workspace& ws, const std::string& path, const SaveOptions& /*options*/) {
    if (ws.channelCount() > kMaxDvb98Channels) return ErrorCode::TooManyChannelsDvb;
    Status st = writeFileAtomic(path, encodeDvb(ws.tvList(), ws.radioList()));
    if (st) ws.setChannelsModified(false);
    return st;
}

// A DVB98 list, having no image settings of its own, gets the default settings block, and
// so does a conversion. Once the image is made, the lists take its normalized form. A loaded
// image nobody changed is written as its file holds it.
Status writeImage(Workspace& ws, const std::string& path, const SaveOptions& options) {
    const bool fromImage = ws.fileType() == FileKind::BIN && !options.convertToBin;
    TvRadioLists lists = normalizeForFtaImage(ws.tvList(), ws.radioList());
    auto image = fromImage ? imageOfLoadedFile(lists.tv, lists.radio, ws.imageTables())
                           : encodeFtaImage(lists.tv, lists.radio, ws.imageTables(),
                                            ImageSettings::Defaults);
    if (!image) return image.status();
    ws.changeLists(kTouchTV | kTouchRadio, [&lists](EditableLists& l) {
        l.tv = std::move(lists.tv);
        l.radio = std::move(lists.radio);
    });
    Status st = writeFileAtomic(path, *image);
    if (st && !options.convertToBin) ws.setChannelsModified(false);
    return st;
}

Status writeText(Workspace& ws, const std::string& path, const SaveOptions& /*options*/) {
    ExportOptions text;
    text.form = TextForm::ImportCompatible;
    return writeFileAtomic(path, latin1ToUtf8(exportText(ws.tvList(), ws.radioList(), text, {})));
}

Status writeCsv(Workspace& ws, const std::string& path, const SaveOptions& /*options*/) {
    return writeFileAtomic(path, exportCsv(ws.tvList(), ws.radioList()));
}

Status writeSettings(Workspace& ws, const std::string& path, const SaveOptions& /*options*/) {
    if (!ws.settingsLoaded()) return ErrorCode::NoDvb98Settings;
    Status st = writeFileAtomic(path, encodeG98(ws.settingsImage()));
    if (st) ws.setSettingsModified(false);
    return st;
}

Status writeFont(Workspace& ws, const std::string& path, const SaveOptions& /*options*/) {
    Status st = writeFontFile(path, ws.fontData());
    if (st) ws.setFontsModified(false);
    return st;
}

constexpr DialogFilter kDvbFilter{QEL_TRANSLATE_NOOP("FileFormats", "Dr.Vellox settings"),
                                  "*.dvb "};
constexpr DialogFilter kImageFilter{QEL_TRANSLATE_NOOP("FileFormats", "Settings Files"), "*.bin"};
constexpr DialogFilter kG98Filter{QEL_TRANSLATE_NOOP("FileFormats", "DVB generic settings"),
                                  "*.g98"};
constexpr DialogFilter kCsvFilter{QEL_TRANSLATE_NOOP("FileFormats", "CSV files"), "*.csv"};
constexpr DialogFilter kFosFilter{QEL_TRANSLATE_NOOP("FileFormats", "System font (1 set)"),
                                  "*.fos"};
constexpr DialogFilter kOc1Filter{QEL_TRANSLATE_NOOP("FileFormats", "System font (2 set)"),
                                  "*.oc1"};
constexpr DialogFilter kOc2Filter{QEL_TRANSLATE_NOOP("FileFormats", "Teletext font"), "*.oc2"};
constexpr DialogFilter kSatellitesFilter{
    QEL_TRANSLATE_NOOP("FileFormats", "Satellites and transponders"), "*.xml"};

const std::array kFormats{
    FileFormat{.id = FileFormatId::Dvb,
               .extension = "dvb",
               .content = FileContent::Channels,
               .kind = FileKind::DVB,
               .opensOnDrop = true,
               .opensFromCommandLine = true,
               .openFilter = kDvbFilter,
               .saveFilter = kDvbFilter,
               .reader = ChannelReader{readDvb},
               .writer = writeDvb},
    FileFormat{.id = FileFormatId::FtaImage,
               .extension = "bin",
               .content = FileContent::Channels,
               .kind = FileKind::BIN,
               .opensOnDrop = true,
               .opensFromCommandLine = true,
               .openFilter = kImageFilter,
               .saveFilter = kImageFilter,
               .reader = ChannelReader{readImage},
               .writer = writeImage},
    FileFormat{.id = FileFormatId::G98,
               .extension = "g98",
               .content = FileContent::Settings,
               .opensFromCommandLine = true,
               .openFilter = kG98Filter,
               .saveFilter = kG98Filter,
               .reader = SettingsReader{readSettingsFile},
               .writer = writeSettings},
    FileFormat{.id = FileFormatId::Text,
               .extension = "txt",
               .content = FileContent::Channels,
               .kind = FileKind::DVB,
               .imported = true,
               .openFilter = {QEL_TRANSLATE_NOOP("FileFormats", "Import from text file"), "*.txt "},
               .saveFilter = {QEL_TRANSLATE_NOOP("FileFormats", "Text files"), "*.txt"},
               .reader = ChannelReader{readText},
               .writer = writeText},
    FileFormat{.id = FileFormatId::Csv,
               .extension = "csv",
               .content = FileContent::Channels,
               .kind = FileKind::DVB,
               .imported = true,
               .openFilter = kCsvFilter,
               .saveFilter = kCsvFilter,
               .reader = ChannelReader{readCsv},
               .writer = writeCsv},
    FileFormat{.id = FileFormatId::SystemFontOneSet,
               .extension = "fos",
               .content = FileContent::Font,
               .fontType = FontType::SystemOneSet,
               .opensFromCommandLine = true,
               .openFilter = kFosFilter,
               .saveFilter = kFosFilter,
               .reader = FontReader{readFontFile},
               .writer = writeFont},
    FileFormat{.id = FileFormatId::SystemFontTwoSets,
               .extension = "oc1",
               .content = FileContent::Font,
               .fontType = FontType::SystemTwoSets,
               .opensFromCommandLine = true,
               .openFilter = kOc1Filter,
               .saveFilter = kOc1Filter,
               .reader = FontReader{readFontFile},
               .writer = writeFont},
    FileFormat{.id = FileFormatId::TeletextFont,
               .extension = "oc2",
               .content = FileContent::Font,
               .fontType = FontType::Teletext,
               .opensFromCommandLine = true,
               .openFilter = kOc2Filter,
               .saveFilter = kOc2Filter,
               .reader = FontReader{readFontFile},
               .writer = writeFont},
    FileFormat{
        .id = FileFormatId::BootPicture, .extension = "bmp", .content = FileContent::Picture},
    // Read only, beside the document: a list's tuning is checked against it.
    FileFormat{.id = FileFormatId::SatellitesXml,
               .extension = "xml",
               .content = FileContent::Transponders,
               .openFilter = kSatellitesFilter,
               .reader = TransponderReader{readSatellitesXml}},
};

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

}  // namespace

std::span<const FileFormat> fileFormats() {
    return kFormats;
}

const FileFormat& fileFormat(FileFormatId id) {
    return *std::find_if(kFormats.begin(), kFormats.end(),
                         [id](const FileFormat& f) { return f.id == id; });
}

std::string_view fileExtension(std::string_view path, ExtensionRule rule) {
    if (rule == ExtensionRule::LastThreeCharacters)
        return path.substr(path.size() < 3 ? 0 : path.size() - 3);
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

const FileFormat* findFileFormat(std::string_view path, ExtensionRule rule) {
    const std::string_view ext = fileExtension(path, rule);
    for (const FileFormat& f : kFormats) {
        if (sameIgnoringCase(ext, f.extension)) return &f;
    }
    return nullptr;
}

FileContent FileFormat::readerContent() const {
    return std::visit(
        [this]<class R>(const R&) {
            if constexpr (std::is_same_v<R, std::monostate>) {
                return content;
            } else {
                return R::content;
            }
        },
        reader);
}

Result<ChannelSet> FileFormat::readChannels(const std::string& path,
                                            const ReadOptions& options) const {
    const auto* r = readerOf<ChannelReader>();
    if (r == nullptr) return ErrorCode::UnsupportedFileType;
    return r->read(path, options);
}

Result<std::string> FileFormat::readSettings(const std::string& path) const {
    const auto* r = readerOf<SettingsReader>();
    if (r == nullptr) return ErrorCode::UnsupportedFileType;
    return r->read(path);
}

Result<FontFile> FileFormat::readFont(const std::string& path) const {
    const auto* r = readerOf<FontReader>();
    if (r == nullptr) return ErrorCode::UnsupportedFileType;
    return r->read(path);
}

Result<SatellitesFile> FileFormat::readTransponders(const std::string& path) const {
    const auto* r = readerOf<TransponderReader>();
    if (r == nullptr) return ErrorCode::UnsupportedFileType;
    return r->read(path);
}

Status FileFormat::write(Workspace& ws, const std::string& path, const SaveOptions& options) const {
    if (writer == nullptr) return ErrorCode::UnsupportedFileType;
    return writer(ws, path, options);
}

const FileFormat* channelFileFormat(std::string_view path, bool documentFilesOnly) {
    const FileFormat* format = findFileFormat(path);
    const bool holdsChannels = format != nullptr && format->readerOf<ChannelReader>() != nullptr;
    return holdsChannels && !(documentFilesOnly && format->imported) ? format : nullptr;
}

Result<ChannelSet> readChannels(const std::string& path, const ReadOptions& options) {
    const FileFormat* format = channelFileFormat(path, options.documentFilesOnly);
    if (format == nullptr) return ErrorCode::UnsupportedFileType;
    return format->readChannels(path, options);
}

bool isFileOfFormat(std::string_view path, FileFormatId id) {
    const FileFormat* f = findFileFormat(path);
    return f != nullptr && f->id == id;
}

const FileFormat& fontFileFormat(std::string_view path) {
    const FileFormat* f = findFileFormat(path);
    return f != nullptr && f->content == FileContent::Font ? *f
                                                           : fileFormat(FileFormatId::TeletextFont);
}

const FileFormat& formatToSave(const Workspace& ws, std::string_view target,
                               const SaveOptions& options) {
    const FileFormat* named = findFileFormat(target);
    if (named != nullptr && named->content == FileContent::Settings) return *named;
    if (options.convertToBin) return fileFormat(FileFormatId::FtaImage);
    if (named != nullptr && named->content == FileContent::Channels && !named->imported)
        return *named;
    // An image under a name no channel format has: the loaded image's own format.
    return fileFormat(ws.fileType() == FileKind::BIN ? FileFormatId::FtaImage : FileFormatId::Dvb);
}

}  // namespace qel
