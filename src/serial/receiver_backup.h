// What the receiver held before an upload, kept as files: its channel records as a .dvb file
// and its settings block as a .g98 file, in a folder of their own. The program and qel-tool
// both keep their backups this way, list the folders under a root, and read one back to
// restore it: an upload of its records and its settings block.
#pragma once

#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"
#include "serial/upload.h"

namespace qel {

inline constexpr std::string_view kBackupChannelsName = "receiver.dvb";
inline constexpr std::string_view kBackupSettingsName = "receiver.g98";

// Writes the channel records as they came and the 1264-byte settings block as a .g98 file
// (the block and its checksum) into `folder`, made first when it is missing. Each file is
// saved as writeFileAtomic saves, so an earlier backup in the same folder survives a failed
// save. A file that cannot be written fails the backup with its error and the file's path as
// detail; a folder that cannot be made fails at the first file.
Status writeReceiverBackup(const std::string& folder, std::string_view channelImage,
                           std::string_view settingsBlock);

// When a backup was made, in the local time of the machine that made it.
struct BackupDate {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend auto operator<=>(const BackupDate&, const BackupDate&) = default;
};

// "2024-01-31 08:05:09": the same in every language.
std::string backupDateText(const BackupDate& date);

// A backup folder's name as the program gives it: the time "yyyyMMdd-HHmmss", and "-N" for
// the Nth backup made within the same second (N from 2 on; 1 for the first).
struct BackupFolderName {
    BackupDate date;
    int sequence = 1;
};
// Nothing for a name of any other form, or one whose month, day, hour, minute or second
// cannot be.
std::optional<BackupFolderName> parseBackupFolderName(std::string_view name);

// A backup read back whole and checked, ready to go up.
struct ReceiverBackup {
    // receiver.dvb: the records as the file holds them, and its TV and RADIO channels.
    bool hasChannels = false;
    std::string channelImage;
    std::size_t tvCount = 0;
    std::size_t radioCount = 0;
    // receiver.g98: the settings image (as reading the .g98 file gives it).
    bool hasSettings = false;
    std::string settingsImage;
};

// Whether `folder` holds a backup: a receiver.dvb or a receiver.g98 (or both).
bool holdsReceiverBackup(const std::string& folder);

// Reads the backup in `folder`. Refused, with the damaged file's path as detail, when a file
// it holds cannot be sent back as it is: CannotOpenFile (not readable), WrongFileLength
// (records that are not whole, or a .g98 file of another size than 1265 bytes), FileTooLarge,
// TooManyChannelsDvb (more records than the receiver takes), WrongChecksum (the .g98 file's
// checksum byte does not match its block), SettingsNotTagged (no DVB98 settings). A folder
// without either file is refused with CannotOpenFile and the folder as detail.
Result<ReceiverBackup> readReceiverBackup(const std::string& folder);

// One backup folder as a listing shows it.
struct BackupEntry {
    std::string folder;  // its path
    std::string name;    // its own name
    BackupDate date;
    // The date came from the name; otherwise from the newest modification time of its
    // files (a folder renamed by hand still lists).
    bool dateFromName = false;
    int sequence = 1;
    bool hasChannels = false;
    bool hasSettings = false;
    // The channels of a readable receiver.dvb; 0 when it is missing or damaged.
    std::size_t tvCount = 0;
    std::size_t radioCount = 0;
    // Why it cannot be restored (as readReceiverBackup refuses it); ok when it can.
    Status damage;
    bool damaged() const { return !damage.ok(); }
};

// The backup in `folder` as a listing shows it; nothing when it holds neither file.
std::optional<BackupEntry> receiverBackupEntry(const std::string& folder);

// The backups in the folders right under `root`, newest first (a later date first; within
// the same second the higher sequence, then the name last in order first). Folders holding
// neither file are left out; a damaged backup lists, marked. An empty list when the root is
// missing or holds no backup.
std::vector<BackupEntry> listReceiverBackups(const std::string& root);

// The upload that puts `backup` back into the receiver: its records as DVB98 channels and its
// settings image, each part when the backup has it; with the upload's own backup first and
// its read-back as asked.
UploadRequest restoreRequest(const ReceiverBackup& backup, bool keepBackupFirst, bool verify);

}  // namespace qel
