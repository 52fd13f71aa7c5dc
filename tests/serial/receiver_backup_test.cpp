// The receiver's backup files: the channel records as they came, the settings block as a .g98
// file, and which file a failed backup names; the backups listed under their root, read back
// and checked for a restore, and a restore against the simulated receiver.
#include "serial/receiver_backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bytes/checksum.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"
#include "serial/download.h"
#include "serial/transfer_recorder.h"
#include "support/channel_builder.h"
#include "support/receiver_data.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::TempDir;

std::string settingsBlock(char fill) {
    return "DVSO" + std::string(kSettingsBlockSize - 4, fill);
}

TEST(ReceiverBackupTest, WritesTheRecordsAndTheSettingsFileIntoANewFolder) {
    TempDir dir;
    const std::string folder = dir.file("backups/20240101-120000");
    const std::string channels(3 * 64, '\x41');
    const std::string block = settingsBlock('\x22');
    ASSERT_TRUE(writeReceiverBackup(folder, channels, block).ok());

    EXPECT_EQ(TempDir::read(folder + "/receiver.dvb"), channels);
    // The .g98 file is the block and its checksum byte, and reads back as the block's image.
    const std::string g98 = TempDir::read(folder + "/receiver.g98");
    EXPECT_EQ(g98, block + static_cast<char>(blockChecksum(block)));
    const Result<std::string> image = readSettingsFile(folder + "/receiver.g98");
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(*image, settingsImageOf(block));
    EXPECT_EQ(encodeG98(*image), g98);

    // A second backup into the same folder replaces both files.
    const std::string other = settingsBlock('\x07');
    ASSERT_TRUE(writeReceiverBackup(folder, "", other).ok());
    EXPECT_EQ(TempDir::read(folder + "/receiver.dvb"), "");
    EXPECT_EQ(TempDir::read(folder + "/receiver.g98"),
              other + static_cast<char>(blockChecksum(other)));
}

TEST(ReceiverBackupTest, AFailedBackupNamesTheFileThatCouldNotBeWritten) {
    const struct {
        const char* name;
        // Prepares the temporary folder; gives the backup folder and the file named.
        std::string (*prepare)(const TempDir&);
        const char* named;
        const char* reason;
    } kCases[] = {
        {"the folder is a file", [](const TempDir& dir) { return dir.write("taken", "x"); },
         "receiver.dvb", "Not a directory"},
        {"the settings file is a folder",
         [](const TempDir& dir) {
             std::filesystem::create_directories(dir.path() / "bk" / "receiver.g98");
             return dir.file("bk");
         },
         "receiver.g98", "Is a directory"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string folder = c.prepare(dir);
        const Status st = writeReceiverBackup(folder, std::string(64, 'a'), settingsBlock('1'));
        EXPECT_EQ(st.error(), ErrorCode::CannotWriteFile);
        EXPECT_EQ(st.detail(),
                  (std::filesystem::path(folder) / c.named).string() + ": " + c.reason);
    }
}

TEST(ReceiverBackupTest, AFolderNameGivesTheDateAndTheSecondsBackup) {
    const struct {
        const char* name;
        const char* date;  // empty: not a backup folder's name
        int sequence;
    } kCases[] = {
        {"20240131-080509", "2024-01-31 08:05:09", 1},
        {"20241231-235959", "2024-12-31 23:59:59", 1},
        {"20240101-000000", "2024-01-01 00:00:00", 1},
        {"20240131-080509-2", "2024-01-31 08:05:09", 2},
        {"20240131-080509-99999", "2024-01-31 08:05:09", 99999},
        {"20240131-080509-999999", "", 0},
        {"20240131-080509-1", "", 0},  // the first of a second has no number
        {"20240131-080509x2", "", 0},
        {"20241331-080509", "", 0},  // month 13
        {"20240031-080509", "", 0},
        {"20240132-080509", "", 0},  // day 32
        {"20240100-080509", "", 0},
        {"20240131-240509", "", 0},  // hour 24
        {"20240131-086009", "", 0},  // minute 60
        {"20240131-080560", "", 0},  // second 60
        {"20240131_080509", "", 0},
        {"20240131-08050", "", 0},
        {"2024013a-080509", "", 0},
        {"2024/131-080509", "", 0},
        {"x0240131-080509", "", 0},
        {"20240131-x80509", "", 0},
        {"20240131-08x509", "", 0},
        {"20240131-0805x9", "", 0},
        {"backup", "", 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::optional<BackupFolderName> parsed = parseBackupFolderName(c.name);
        ASSERT_EQ(parsed.has_value(), *c.date != '\0');
        if (!parsed) continue;
        EXPECT_EQ(backupDateText(parsed->date), c.date);
        EXPECT_EQ(parsed->sequence, c.sequence);
    }
}

namespace {

// Records of `tv` TV and `radio` RADIO channels.
std::string records(int tv, int radio) {
    std::string image = test::channelImage(tv);
    for (int i = 0; i < radio; ++i)
        image += test::DvbRecord().type(2).name("R " + std::to_string(i)).bytes();
    return image;
}

std::string g98(const std::string& block) {
    return block + static_cast<char>(blockChecksum(block));
}

// A backup folder under `root` holding the files given (nothing: the file is left out).
void backup(const TempDir& dir, const std::string& name, std::optional<std::string> channels,
            std::optional<std::string> settings) {
    const std::filesystem::path folder = dir.path() / "root" / name;
    std::filesystem::create_directories(folder);
    if (channels) dir.write("root/" + name + "/receiver.dvb", *channels);
    if (settings) dir.write("root/" + name + "/receiver.g98", *settings);
}

// An entry as "name date tv/radio parts state", the state the error of a damaged one.
std::string shown(const BackupEntry& e) {
    std::string parts = std::string(e.hasChannels ? "C" : "") + (e.hasSettings ? "S" : "");
    return e.name + " " + (e.dateFromName ? backupDateText(e.date) : "by time") + " " +
           std::to_string(e.tvCount) + "/" + std::to_string(e.radioCount) + " " + parts + " " +
           (e.damaged() ? std::string(errorText(e.damage.error())) : "ok");
}

}  // namespace

TEST(ReceiverBackupTest, TheBackupsListNewestFirstWithTheirCountsAndDamage) {
    TempDir dir;
    const std::string good = g98(settingsBlock('\x22'));
    backup(dir, "20240101-120000", records(3, 2), good);
    backup(dir, "20240101-120000-2", records(1, 0), good);
    backup(dir, "20240101-120000-10", records(4, 0), good);
    backup(dir, "20231231-235959", records(0, 1), good);
    backup(dir, "20240102-080000", std::string(65, 'x'), good);
    backup(dir, "20240103-000000", records(2, 0), good.substr(0, 1264) + "\x01");
    backup(dir, "20240104-000000", records(2, 0), g98("OSVD" + std::string(1260, '\x22')));
    backup(dir, "20240105-000000", std::nullopt, good);
    backup(dir, "20240106-000000", records(3072, 0), good);
    backup(dir, "20240106-000000-2", records(3071, 0), good);
    backup(dir, "20240107-000000", std::string(), std::string(1266, 'x'));
    backup(dir, "20240108-000000", records(2, 1), std::nullopt);
    backup(dir, "nothing here", std::nullopt, std::nullopt);
    // Renamed by hand: dated by its files, the newest of them.
    backup(dir, "kept", records(1, 1), good);
    const auto at = [](int year) {
        // Noon UTC on 15 June, that day in any time zone.
        const std::chrono::sys_time<std::filesystem::file_time_type::duration> noon =
            std::chrono::sys_days{std::chrono::year{year} / std::chrono::June / 15} +
            std::chrono::hours{12};
        return std::filesystem::file_time_type::clock::from_sys(noon);
    };
    std::filesystem::last_write_time(dir.path() / "root/kept/receiver.dvb", at(2001));
    std::filesystem::last_write_time(dir.path() / "root/kept/receiver.g98", at(2002));
    // Of the same time: the name last in order first.
    backup(dir, "another", std::nullopt, good);
    std::filesystem::last_write_time(dir.path() / "root/another/receiver.g98", at(2002));
    dir.write("root/20240109-000000", records(1, 0));  // a file, no folder

    std::vector<std::string> listed;
    for (const BackupEntry& e : listReceiverBackups(dir.file("root")))
        listed.push_back(shown(e));
    const std::vector<std::string> expected = {
        "20240108-000000 2024-01-08 00:00:00 2/1 C ok",
        "20240107-000000 2024-01-07 00:00:00 0/0 CS Wrong file lenght",
        "20240106-000000-2 2024-01-06 00:00:00 3071/0 CS ok",
        "20240106-000000 2024-01-06 00:00:00 3072/0 CS Too many channels for DVB 98 : no "
        "Upload/Save ",
        "20240105-000000 2024-01-05 00:00:00 0/0 S ok",
        "20240104-000000 2024-01-04 00:00:00 2/0 CS Error",
        "20240103-000000 2024-01-03 00:00:00 2/0 CS Wrong checksum",
        "20240102-080000 2024-01-02 08:00:00 0/0 CS Wrong file lenght",
        "20240101-120000-10 2024-01-01 12:00:00 4/0 CS ok",
        "20240101-120000-2 2024-01-01 12:00:00 1/0 CS ok",
        "20240101-120000 2024-01-01 12:00:00 3/2 CS ok",
        "20231231-235959 2023-12-31 23:59:59 0/1 CS ok",
        "kept by time 1/1 CS ok",
        "another by time 0/0 S ok",
    };
    EXPECT_EQ(listed, expected);
    const std::vector<BackupEntry> entries = listReceiverBackups(dir.file("root"));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().date.year, 2002);
    EXPECT_EQ(entries.back().date.month, 6);
    EXPECT_EQ(entries.back().folder, (dir.path() / "root" / "another").string());
    // One folder alone, named with or without a separator after it.
    const std::optional<BackupEntry> one = receiverBackupEntry(dir.file("root/20240108-000000/"));
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(shown(*one), listed.front());
    EXPECT_FALSE(receiverBackupEntry(dir.file("root")).has_value());

    // A root without backups, and none at all.
    std::filesystem::create_directories(dir.path() / "empty" / "sub");
    EXPECT_TRUE(listReceiverBackups(dir.file("empty")).empty());
    EXPECT_TRUE(listReceiverBackups(dir.file("missing")).empty());
    EXPECT_FALSE(holdsReceiverBackup(dir.file("root")));
    EXPECT_TRUE(holdsReceiverBackup(dir.file("root/20240105-000000")));
}

TEST(ReceiverBackupTest, ABackupReadsBackAsTheUploadThatRestoresIt) {
    TempDir dir;
    const std::string block = settingsBlock('\x33');
    backup(dir, "both", records(3, 2), g98(block));
    backup(dir, "settings", std::nullopt, g98(block));
    backup(dir, "damaged", records(1, 0), g98(block).substr(0, 1000));

    const Result<ReceiverBackup> both = readReceiverBackup(dir.file("root/both"));
    ASSERT_TRUE(both.ok()) << both.detail();
    const UploadRequest r = restoreRequest(*both, true, false);
    EXPECT_TRUE(r.channels && r.settings && r.backup && !r.verify);
    EXPECT_EQ(r.channelKind, FileKind::DVB);
    EXPECT_TRUE(r.channelImage == records(3, 2));  // the file's own bytes
    EXPECT_EQ(r.channelCount, 5u);
    EXPECT_EQ(r.settingsImage, settingsImageOf(block));
    EXPECT_TRUE(checkChannels(r).ok() && checkSettings(r).ok());

    const Result<ReceiverBackup> settingsOnly = readReceiverBackup(dir.file("root/settings"));
    ASSERT_TRUE(settingsOnly.ok());
    const UploadRequest s = restoreRequest(*settingsOnly, false, true);
    EXPECT_TRUE(!s.channels && s.settings && !s.backup && s.verify);

    const std::filesystem::path damagedFolder = dir.path() / "root" / "damaged";
    const Result<ReceiverBackup> damaged = readReceiverBackup(damagedFolder.string());
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.error(), ErrorCode::WrongFileLength);
    EXPECT_EQ(damaged.detail(), (damagedFolder / "receiver.g98").string());
    const Result<ReceiverBackup> none = readReceiverBackup(dir.file("root"));
    EXPECT_EQ(none.error(), ErrorCode::CannotOpenFile);
    EXPECT_EQ(none.detail(), dir.file("root"));
}

// The receiver holds the backup's bytes afterwards; what it held before is kept first, and
// the read-back finds the backup's bytes.
TEST(ReceiverBackupTest, ARestorePutsTheBackupsBytesBackIntoTheReceiver) {
    TempDir dir;
    const std::string kept = records(7, 3);
    const std::string keptBlock = settingsBlock('\x44');
    ASSERT_TRUE(writeReceiverBackup(dir.file("bk"), kept, keptBlock).ok());
    const Result<ReceiverBackup> read = readReceiverBackup(dir.file("bk"));
    ASSERT_TRUE(read.ok()) << read.detail();

    test::Bench b(20);
    const UploadResult r = upload(b.link, b.recorder, Timing{}, restoreRequest(*read, true, true));
    EXPECT_TRUE(r.channels.ok && r.settings.ok && r.backupTaken) << r.channels.status.detail();
    EXPECT_TRUE(b.sim.channelImage() == kept);
    EXPECT_TRUE(b.sim.settingsBlock() == keptBlock);
    ASSERT_EQ(b.recorder.backups.size(), 1u);
    EXPECT_TRUE(b.recorder.backups[0].first == test::channelImage(20));
    EXPECT_TRUE(b.recorder.backups[0].second == test::settingsBlock());
}

}  // namespace
}  // namespace qel
