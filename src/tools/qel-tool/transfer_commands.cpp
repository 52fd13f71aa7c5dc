// The transfer commands: download, upload, restore, picture and firmware, over a serial port.
#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/file_commands.h"
#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/firmware_files.h"
#include "files/font_file.h"
#include "files/g98_file.h"
#include "image_decoder.h"
#include "line/serial_line.h"
#include "model/workspace.h"
#include "serial/download.h"
#include "serial/firmware.h"
#include "serial/loader_frames.h"
#include "serial/picture.h"
#include "serial/receiver_backup.h"
#include "serial/upload.h"
#include "serial/upload_request.h"
#include "tool_command.h"
#include "tool_common.h"
#include "tool_platform.h"

namespace qel::tool {

namespace {

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
    onInterrupt(cancelTransfer);
}

// The answer timeout --timeout-ms gives (checked by the option parser), or the default.
Timing timingOf(const Args& args) {
    Timing timing;
    if (args.has("--timeout-ms")) timing.timeout = Millis{decimalValue(args.value("--timeout-ms"))};
    return timing;
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

// Neither output named: both, into download.dvb and download.g98.
int downloadCommand(const Args& args) {
    std::string channelsOut = args.value("--channels");
    std::string settingsOut = args.value("--settings");
    if (channelsOut.empty() && settingsOut.empty()) {
        channelsOut = "download.dvb";
        settingsOut = "download.g98";
    }
    const std::unique_ptr<SerialLine> link = openPort(args.operands[0]);
    if (!link) return kExitRefused;

    ConsoleObserver observer(stderrIsTerminal());
    DownloadRequest request;
    request.channels = !channelsOut.empty();
    request.settings = !settingsOut.empty();
    const DownloadResult result = download(*link, observer, timingOf(args), request);
    gCancelOnInterrupt = nullptr;

    int exitCode = kExitOk;
    if (request.channels) {
        Status st = result.channels.status;
        if (result.channels.ok)
            st = writeFileAtomic(channelsOut, encodeDvb(result.lists.tv, result.lists.radio));
        if (!st) exitCode = failed("channels", st);
    }
    if (request.settings) {
        Status st = result.settings.status;
        if (result.settings.ok) st = writeFileAtomic(settingsOut, encodeG98(result.settingsImage));
        if (!st) exitCode = failed("settings", st);
    }
    return exitCode;
}

// The files an upload names.
struct UploadArgs {
    std::string channels;
    std::string settings;
    std::string backupDir;
    std::string systemFont;
    int systemFontSet = 0;  // 0: not named, the first
    std::string teletextFont;
    bool verify = true;
};

// The request for the files named, read and checked; refused as the upload would refuse it,
// before anything is sent. The files are loaded as the program loads them and the request is
// built as its serial window builds it; a document holds one font, so a teletext font sent
// beside a system font comes from a second one.
Result<UploadRequest> uploadRequestOf(const UploadArgs& args, std::string& refusedPart) {
    Workspace doc;
    Workspace teletext;
    UploadParts parts;
    FileKind channelKind = FileKind::None;
    if (!args.channels.empty()) {
        refusedPart = "channels";
        auto set = readChannelFile(args.channels);
        if (!set) return set.status();
        channelKind = set->fileType;
        doc.installChannels(std::move(set.value()));
        parts.channels = true;
    }
    if (!args.settings.empty()) {
        refusedPart = "settings";
        if (!isFileOfFormat(args.settings, FileFormatId::G98))
            return ErrorCode::UnsupportedFileType;
        auto image = readSettingsFile(args.settings);
        if (!image) return image.status();
        doc.installSettings(std::move(image.value()));
        parts.settings = true;
    }
    const auto loadFont = [&](const std::string& path, bool system, Workspace& into) -> Status {
        refusedPart = system ? "system font" : "teletext font";
        if (isSystemFont(fontTypeOfFileName(path)) != system) return ErrorCode::UnsupportedFileType;
        auto font = readFontFile(path);
        if (!font) return font.status();
        into.installFont(font->type, std::move(font->bytes));
        return {};
    };
    if (!args.systemFont.empty()) {
        if (Status st = loadFont(args.systemFont, true, doc); !st) return st;
        parts.systemFont = true;
    }
    if (!args.teletextFont.empty()) {
        if (Status st = loadFont(args.teletextFont, false, teletext); !st) return st;
    }
    BuiltUpload built =
        buildUploadRequest(doc, parts, channelKind, std::max(args.systemFontSet, 1) - 1,
                           !args.backupDir.empty(), args.verify);
    if (!args.teletextFont.empty()) {
        BuiltUpload font =
            buildUploadRequest(teletext, {.teletextFont = true}, FileKind::None, 0, false, false);
        built.request.teletextFont = true;
        built.request.teletextFontData = std::move(font.request.teletextFontData);
    }
    UploadRequest& request = built.request;
    if (!built.channelsRefused) {
        refusedPart = "channels";
        return built.channelsRefused;
    }
    const struct {
        bool asked;
        const char* part;
        Status (*check)(const UploadRequest&);
    } checks[] = {
        {request.channels, "channels", checkChannels},
        {request.settings, "settings", checkSettings},
        {request.systemFont, "system font", checkSystemFont},
        {request.teletextFont, "teletext font", checkTeletextFont},
    };
    for (const auto& c : checks) {
        Status st = c.asked ? c.check(request) : Status{};
        if (!st) {
            refusedPart = c.part;
            return st;
        }
    }
    return request;
}

int uploadCommand(const Args& args) {
    UploadArgs parsed;
    parsed.channels = args.value("--channels");
    parsed.settings = args.value("--settings");
    parsed.backupDir = args.value("--backup");
    parsed.systemFont = args.value("--system-font");
    parsed.teletextFont = args.value("--teletext-font");
    parsed.verify = !args.has("--no-verify");
    if (args.has("--set")) parsed.systemFontSet = args.value("--set") == "1" ? 1 : 2;
    if (parsed.channels.empty() && parsed.settings.empty() && parsed.systemFont.empty() &&
        parsed.teletextFont.empty()) {
        return usage(*args.command, "nothing to upload");
    }
    // A set names one of the system font's sets; only a two-set font has a second.
    if (parsed.systemFontSet != 0 &&
        (parsed.systemFont.empty() ||
         (parsed.systemFontSet == 2 &&
          fontTypeOfFileName(parsed.systemFont) != FontType::SystemTwoSets))) {
        return usage(*args.command, "--set names a set of the --system-font");
    }
    std::string refusedPart;
    Result<UploadRequest> request = uploadRequestOf(parsed, refusedPart);
    if (!request) {
        if (request.error() == ErrorCode::UnsupportedFileType) {
            return unsupportedInput(refusedPart == "channels"      ? parsed.channels
                                    : refusedPart == "settings"    ? parsed.settings
                                    : refusedPart == "system font" ? parsed.systemFont
                                                                   : parsed.teletextFont);
        }
        return failed(refusedPart, request.status());
    }
    const std::unique_ptr<SerialLine> link = openPort(args.operands[0]);
    if (!link) return kExitRefused;

    ConsoleObserver observer(stderrIsTerminal(), args.has("--yes"), parsed.backupDir);
    const UploadResult result = upload(*link, observer, timingOf(args), *request);
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

// A backup as a line of the listing: its folder, date, channels and what is wrong with it.
void printBackup(const BackupEntry& b) {
    std::cerr << "  " << b.folder << "  " << backupDateText(b.date);
    if (b.hasChannels) std::cerr << "  TV " << b.tvCount << "  RADIO " << b.radioCount;
    if (!b.hasSettings) std::cerr << "  (channels only)";
    if (!b.hasChannels) std::cerr << "  (settings only)";
    if (b.damaged()) {
        std::cerr << "  damaged: " << errorText(b.damage.error()) << " (" << b.damage.detail()
                  << ")";
    }
    std::cerr << '\n';
}

// BACKUP-DIR is one backup folder. A folder that holds backup folders is refused with them
// listed newest first, so that the user names the one meant; restoring the newest unasked
// could put back something other than what they think.
int restoreCommand(const Args& args) {
    const std::string& folder = args.operands[1];
    if (folder.empty()) return usage(*args.command);
    const std::optional<BackupEntry> entry = receiverBackupEntry(folder);
    if (!entry) {
        const std::vector<BackupEntry> backups = listReceiverBackups(folder);
        if (backups.empty()) {
            std::cerr << folder << " holds no backup (receiver.dvb, receiver.g98)\n";
        } else {
            std::cerr << folder << " holds " << backups.size()
                      << " backups; name the one to restore:\n";
            for (const BackupEntry& b : backups)
                printBackup(b);
        }
        return kExitRefused;
    }
    const Result<ReceiverBackup> backup = readReceiverBackup(folder);
    if (!backup) return failed("backup", backup.status());
    const std::string date = backupDateText(entry->date);
    if (!args.has("--yes")) {
        std::cerr << "Restore the backup of " << date << " to the receiver?";
        if (backup->hasChannels)
            std::cerr << " (TV " << backup->tvCount << ", RADIO " << backup->radioCount << ")";
        std::cerr << " (y/N) " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer) ||
            (answer != "y" && answer != "Y" && answer != "yes")) {
            return failed("restore",
                          Error{ErrorCode::TransferCancelled, std::string(kNotConfirmed)});
        }
    }
    const std::string backupDir = args.value("--backup");
    const UploadRequest request =
        restoreRequest(*backup, !backupDir.empty(), !args.has("--no-verify"));
    const std::unique_ptr<SerialLine> link = openPort(args.operands[0]);
    if (!link) return kExitRefused;

    ConsoleObserver observer(stderrIsTerminal(), args.has("--yes"), backupDir);
    const UploadResult result = upload(*link, observer, timingOf(args), request);
    gCancelOnInterrupt = nullptr;

    int exitCode = kExitOk;
    const struct {
        const char* name;
        const PartOutcome& outcome;
    } kParts[] = {{"channels", result.channels}, {"settings", result.settings}};
    for (const auto& part : kParts) {
        if (!part.outcome.attempted || part.outcome.ok) continue;
        reportFailure(part.name, part.outcome.status);
        exitCode = kExitRefused;
    }
    return exitCode;
}

int pictureCommand(const Args& args) {
    const std::string& image = args.operands[1];
    if (image.empty()) return usage(*args.command);
    const int slot = args.value("--slot") == "2" ? 2 : 1;
    // A file of the picture's size goes as it is; anything else is made into one.
    Result<std::string> file = readFileBytes(image, kMaxImageFileSize);
    if (file && file->size() != kPictureFileSize) file = convertedPicture(image);
    if (!file) return failed("picture", file.status());
    const std::unique_ptr<SerialLine> link = openPort(args.operands[0]);
    if (!link) return kExitRefused;

    ConsoleObserver observer(stderrIsTerminal());
    const PictureResult result =
        uploadPictureTransfer(*link, observer, timingOf(args), *file, slot);
    gCancelOnInterrupt = nullptr;
    if (!result.status) return failed("picture", result.status);
    return kExitOk;
}

// Where the program looks for the flash routine: the per-user data folder the program
// uses, the folder of the programs, and the installed data folder beside it.
std::vector<std::string> flashRoutinePlaces() {
    std::vector<std::string> places;
    if (std::string user = userDataFolder(); !user.empty()) places.push_back(user);
    if (const std::string folder = programFolder(); !folder.empty()) {
        places.push_back(folder);
        places.push_back(utf8FromPath(pathFromUtf8(folder).parent_path() / "share" / "qel"));
    }
    return places;
}

int firmwareCommand(const Args& args) {
    const std::string& port = args.operands[0];
    const std::string& firmwareFile = args.operands[1];
    if (port.empty() || firmwareFile.empty()) return usage(*args.command);
    const std::string routineNamed = args.value("--routine");
    Result<std::string> routinePath = routineNamed.empty() ? findFlashRoutine(flashRoutinePlaces())
                                                           : Result<std::string>(routineNamed);
    if (!routinePath) {
        std::cerr << errorText(ErrorCode::NoFlashRoutine) << '\n' << routinePath.detail() << '\n';
        return kExitRefused;
    }
    const Result<std::string> routine = readFlashRoutine(*routinePath);
    if (!routine) return failed("flash routine", routine.status());
    const Result<std::string> file = readFirmwareFile(firmwareFile);
    if (!file) return failed(firmwareFile, file.status());
    const std::unique_ptr<SerialLine> link = openPort(port);
    if (!link) return kExitRefused;
    ConsoleObserver observer(stderrIsTerminal());
    const FirmwareResult result = upgradeFirmware(*link, observer, timingOf(args),
                                                  {*routine, *file, args.has("--erase-all")});
    gCancelOnInterrupt = nullptr;
    if (!result.status) return failed("firmware", result.status);
    return kExitOk;
}

constexpr OptionSpec kTimeout = {"--timeout-ms", OptionType::Millis};

constexpr OptionSpec kDownloadOptions[] = {{"--channels", OptionType::Path, {}, true},
                                           {"--settings", OptionType::Path, {}, true},
                                           kTimeout};
constexpr OptionSpec kUploadOptions[] = {{"--channels", OptionType::Path, {}, true},
                                         {"--settings", OptionType::Path, {}, true},
                                         {"--backup", OptionType::Path, {}, true},
                                         {"--system-font", OptionType::Path, {}, true},
                                         {"--set", OptionType::Choice, "1|2", true},
                                         {"--teletext-font", OptionType::Path, {}, true},
                                         {"--no-verify"},
                                         {"--yes"},
                                         kTimeout};
constexpr OptionSpec kRestoreOptions[] = {
    {"--backup", OptionType::Path, {}, true}, {"--no-verify"}, {"--yes"}, kTimeout};
constexpr OptionSpec kPictureOptions[] = {{"--slot", OptionType::Choice, "1|2"}, kTimeout};
constexpr OptionSpec kFirmwareOptions[] = {
    {"--erase-all"}, {"--routine", OptionType::Path}, kTimeout};

constexpr Command kCommands[] = {
    {"download",
     "download PORT [--channels OUT.dvb] [--settings OUT.g98]\n"
     "           [--timeout-ms N]   (the answer timeout, 5000 by default)",
     "", kDownloadOptions, 1, 1, downloadCommand},
    {"upload",
     "upload PORT [--channels FILE.dvb|FILE.bin] [--settings FILE.g98]\n"
     "           [--backup DIR] [--no-verify] [--yes] [--timeout-ms N]\n"
     "           [--system-font FILE.fos|FILE.oc1 [--set 1|2]]\n"
     "           [--teletext-font FILE.oc2]",
     "      A .dvb goes up as DVB98 channels (the lists read from it, written as\n"
     "      QEL writes them), a .bin through the FTA loader (the file's own 49152\n"
     "      bytes, once it reads as an image), a .g98 as DVB98 settings, then the\n"
     "      system font's first set (or --set 2 of an .oc1) and the teletext font.\n"
     "      --backup keeps the receiver's channels and settings in DIR first\n"
     "      (receiver.dvb, receiver.g98; DVB98 only); each DVB98 part is read back\n"
     "      and compared unless --no-verify. Operator prompts wait for Enter unless\n"
     "      --yes.\n",
     kUploadOptions, 1, 1, uploadCommand},
    {"restore",
     "restore PORT BACKUP-DIR [--backup DIR] [--no-verify] [--yes]\n"
     "           [--timeout-ms N]",
     "      Puts a backup that QEL or upload --backup kept (BACKUP-DIR holding\n"
     "      receiver.dvb and/or receiver.g98) back into a DVB98 receiver, as\n"
     "      upload sends channels and settings: the file's own records and\n"
     "      settings block, --backup keeping what the receiver holds first, each\n"
     "      part read back unless --no-verify. A damaged backup is refused before\n"
     "      the port is opened; a folder of backups lists them, newest first.\n"
     "      Asks first unless --yes.\n",
     kRestoreOptions, 2, 2, restoreCommand},
    {"picture", "picture PORT IMAGE [--slot 1|2] [--timeout-ms N]",
     "      A file of 33718 bytes goes up as it is; any other image is converted\n"
     "      as convert does. Slot 1 unless --slot 2.\n",
     kPictureOptions, 2, 2, pictureCommand},
    {"firmware", "firmware PORT FILE [--erase-all] [--routine PATH] [--timeout-ms N]",
     "      Upgrades the receiver's firmware with FILE through the flash routine\n"
     "      rodflash.sbr (found in the per-user data folder, beside qel-tool, or\n"
     "      in ../share/qel; or PATH). --erase-all erases the whole flash first.\n",
     kFirmwareOptions, 2, 2, firmwareCommand},
};

}  // namespace

std::span<const Command> transferCommands() {
    return kCommands;
}

}  // namespace qel::tool
