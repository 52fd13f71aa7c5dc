#include "serial/receiver_backup.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "bytes/checksum.h"
#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/g98_file.h"
#include "model/workspace.h"

namespace qel {

Status writeReceiverBackup(const std::string& folder, std::string_view channelImage,
                           std::string_view settingsBlock) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path root(folder);
    const std::pair<std::string, std::string> files[] = {
        {(root / kBackupChannelsName).string(), std::string(channelImage)},
        {(root / kBackupSettingsName).string(), encodeG98(settingsImageOf(settingsBlock))},
    };
    for (const auto& [path, bytes] : files) {
        if (Status st = writeFileAtomic(path, bytes); !st) {
            // The file that could not be written, and the system's reason why.
            return Error{st.error(), st.detail().empty() ? path : path + ": " + st.detail()};
        }
    }
    return {};
}

namespace {

namespace fs = std::filesystem;

// The value of the decimal digits `text` holds, or -1 when one is no digit.
int digitsValue(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The local time of a file time; a zero date when it has none.
BackupDate localDateOf(fs::file_time_type written) {
    const auto since = std::chrono::file_clock::to_sys(written);
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(since));
    std::tm local{};
#ifdef _WIN32
    if (::localtime_s(&local, &t) != 0) return {};
#else
    if (::localtime_r(&t, &local) == nullptr) return {};
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

// An error naming the file it concerns, with the reader's own detail after it.
Error fileError(const Status& st, const fs::path& file) {
    std::string detail = utf8FromPath(file);
    if (!st.detail().empty()) detail += ": " + st.detail();
    return Error{st.error(), std::move(detail)};
}

// receiver.dvb read and checked: its records go back as the file holds them.
Status readBackupChannels(const fs::path& file, ReceiverBackup& into) {
    Result<std::string> bytes = readFileBytes(utf8FromPath(file), kMaxDvbFileSize);
    if (!bytes) return fileError(bytes.status(), file);
    const Result<TvRadioLists> lists = parseDvb(*bytes);
    if (!lists) return fileError(lists.status(), file);
    into.tvCount = lists->tv.size();
    into.radioCount = lists->radio.size();
    const std::size_t records = bytes->size() / kDvbRecordSize;
    if (records > kMaxDvb98Channels) {
        return fileError(Error{ErrorCode::TooManyChannelsDvb, std::to_string(records) + " records"},
                         file);
    }
    into.channelImage = std::move(bytes.value());
    return {};
}

// receiver.g98 read and checked: its checksum byte must be its block's, its block DVB98
// settings.
Status readBackupSettings(const fs::path& file, ReceiverBackup& into) {
    Result<std::string> bytes = readFileBytes(utf8FromPath(file), kG98FileSize);
    if (!bytes) {
        if (bytes.error() == ErrorCode::FileTooLarge)
            return fileError(ErrorCode::WrongFileLength, file);
        return fileError(bytes.status(), file);
    }
    const Result<std::string> image = decodeG98(*bytes);
    if (!image) return fileError(image.status(), file);
    const std::string_view block = std::string_view(*bytes).substr(0, kSettingsBlockSize);
    if (static_cast<std::uint8_t>(bytes->back()) != blockChecksum(block))
        return fileError(ErrorCode::WrongChecksum, file);
    if (!image->starts_with(kDvb98Tag)) {
        return fileError(
            Error{ErrorCode::SettingsNotTagged, "the settings do not begin with 4456534F"}, file);
    }
    into.settingsImage = *image;
    return {};
}

bool present(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// Reads what `folder` holds into `into`, each file as far as it goes: the first failure.
Status readInto(const fs::path& folder, ReceiverBackup& into) {
    const fs::path channels = folder / kBackupChannelsName;
    const fs::path settings = folder / kBackupSettingsName;
    into.hasChannels = present(channels);
    into.hasSettings = present(settings);
    if (!into.hasChannels && !into.hasSettings) {
        return Error{ErrorCode::CannotOpenFile, utf8FromPath(folder)};
    }
    Status st;
    if (into.hasChannels) st = readBackupChannels(channels, into);
    if (into.hasSettings) {
        Status settingsSt = readBackupSettings(settings, into);
        if (st.ok()) st = std::move(settingsSt);
    }
    return st;
}

// The newest modification time of the backup's files.
BackupDate modificationDate(const fs::path& folder) {
    std::optional<fs::file_time_type> newest;
    for (const std::string_view name : {kBackupChannelsName, kBackupSettingsName}) {
        std::error_code ec;
        const fs::file_time_type t = fs::last_write_time(folder / name, ec);
        if (!ec && (!newest || t > *newest)) newest = t;
    }
    return newest ? localDateOf(*newest) : BackupDate{};
}

}  // namespace

std::string backupDateText(const BackupDate& d) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                  d.hour, d.minute, d.second);
    return text;
}

std::optional<BackupFolderName> parseBackupFolderName(std::string_view name) {
    // yyyyMMdd-HHmmss, then "-N" or nothing.
    constexpr std::size_t kStampLength = 15;
    if (name.size() < kStampLength || name[8] != '-') return std::nullopt;
    BackupFolderName parsed;
    const std::string_view rest = name.substr(kStampLength);
    if (!rest.empty()) {
        // Up to five digits: no count can overflow.
        if (rest[0] != '-' || rest.size() > 6) return std::nullopt;
        parsed.sequence = digitsValue(rest.substr(1));
        if (parsed.sequence < 2) return std::nullopt;
    }
    BackupDate& d = parsed.date;
    d.year = digitsValue(name.substr(0, 4));
    d.month = digitsValue(name.substr(4, 2));
    d.day = digitsValue(name.substr(6, 2));
    d.hour = digitsValue(name.substr(9, 2));
    d.minute = digitsValue(name.substr(11, 2));
    d.second = digitsValue(name.substr(13, 2));
    if (d.year < 0 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.hour < 0 ||
        d.hour > 23 || d.minute < 0 || d.minute > 59 || d.second < 0 || d.second > 59) {
        return std::nullopt;
    }
    return parsed;
}

bool holdsReceiverBackup(const std::string& folder) {
    const fs::path root = pathFromUtf8(folder);
    return present(root / kBackupChannelsName) || present(root / kBackupSettingsName);
}

Result<ReceiverBackup> readReceiverBackup(const std::string& folder) {
    ReceiverBackup backup;
    if (Status st = readInto(pathFromUtf8(folder), backup); !st) return st;
    return backup;
}

namespace {

std::optional<BackupEntry> entryOf(const fs::path& folder) {
    BackupEntry entry;
    ReceiverBackup backup;
    entry.damage = readInto(folder, backup);
    if (!backup.hasChannels && !backup.hasSettings) return std::nullopt;
    entry.folder = utf8FromPath(folder);
    entry.name = utf8FromPath(folder.filename());
    entry.hasChannels = backup.hasChannels;
    entry.hasSettings = backup.hasSettings;
    // The counts of records that read whole, even when they are too many to go up.
    entry.tvCount = backup.tvCount;
    entry.radioCount = backup.radioCount;
    if (const auto named = parseBackupFolderName(entry.name)) {
        entry.date = named->date;
        entry.sequence = named->sequence;
        entry.dateFromName = true;
    } else {
        entry.date = modificationDate(folder);
    }
    return entry;
}

}  // namespace

std::optional<BackupEntry> receiverBackupEntry(const std::string& folder) {
    // A trailing separator would leave the folder without a name.
    fs::path path = pathFromUtf8(folder).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return entryOf(path);
}

std::vector<BackupEntry> listReceiverBackups(const std::string& root) {
    std::vector<BackupEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(pathFromUtf8(root), ec);
    if (ec) return entries;
    for (const fs::directory_entry& item : it) {
        std::error_code typeEc;
        if (!item.is_directory(typeEc)) continue;
        if (std::optional<BackupEntry> entry = entryOf(item.path())) {
            entries.push_back(std::move(*entry));
        }
    }
    std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        if (a.date != b.date) return a.date > b.date;
        if (a.sequence != b.sequence) return a.sequence > b.sequence;
        return a.name > b.name;
    });
    return entries;
}

UploadRequest restoreRequest(const ReceiverBackup& backup, bool keepBackupFirst, bool verify) {
    UploadRequest request;
    request.backup = keepBackupFirst;
    request.verify = verify;
    if (backup.hasChannels) {
        request.channels = true;
        request.channelKind = FileKind::DVB;
        request.channelImage = backup.channelImage;
        request.channelCount = backup.tvCount + backup.radioCount;
    }
    if (backup.hasSettings) {
        request.settings = true;
        request.settingsImage = backup.settingsImage;
    }
    return request;
}

}  // namespace qel
