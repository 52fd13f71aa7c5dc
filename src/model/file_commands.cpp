#include "model/file_commands.h"

#include <unordered_set>

#include "model/conversions.h"
#include "model/dvb_file.h"
#include "model/file_io.h"
#include "model/g98_file.h"
#include "model/workspace.h"
#include "receiver_settings/fta_reader.h"
#include "receiver_settings/fta_writer.h"

namespace qel {

namespace {

constexpr std::string_view kTvUpgradeHeader = "TV CHANNEL (UPG)";
constexpr std::string_view kRadioUpgradeHeader = "RADIO CHANNELS (UPG)";

bool ZeroFrequency(const ChannelRec& r) {
    return ValDec(r.Freq.view()) == 0;
}

bool IsSeparator(const ChannelRec& r) {
    return ZeroFrequency(r) && r.ChName.view().substr(0, 3) == "---";
}

struct KeyHash {
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Appends the records of `upgrade` whose key is not among the keys of `loaded`.
void AppendNew(const ChannelList& loaded, const ChannelList& upgrade, ChannelList& out) {
    std::unordered_set<std::string_view, KeyHash> keys;
    keys.reserve(loaded.size());
    for (const auto& r : loaded)
        keys.insert(r.MatchKey.view());
    for (const auto& r : upgrade) {
        if (IsSeparator(r) || !keys.contains(r.MatchKey.view())) out.push_back(r);
    }
}

}  // namespace

std::string FileExtension3(std::string_view path) {
    std::string ext(path.substr(path.size() < 3 ? 0 : path.size() - 3));
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return ext;
}

Status LoadChannels(Workspace& ws, const std::string& path, DebugLog* log) {
    const std::string ext = FileExtension3(path);
    if (ext == "DVB") return Read_Dvb(ws, path, false, log);
    if (ext != "BIN") return ErrorCode::UnsupportedFileType;

    auto bytes = ReadFileBytes(path, kFtaImageSize);
    if (!bytes) {
        return bytes.error() == ErrorCode::FileTooLarge ? ErrorCode::WrongFileLength
                                                        : bytes.error();
    }
    auto tables = Fill_Array(*bytes, log);
    if (!tables) return tables.error();
    // An FTA image unloads the DVB98 settings: they belong to the other firmware.
    ws.DVB98Settings.replace(0, kDvb98Tag.size(), kDvb98Tag.size(), ' ');
    ws.FileType = FileKind::BIN;
    ws.ChannelsModified = false;
    ws.Initialize();
    ws.ImageTables = std::move(tables.value());
    auto lists = Fill_View_Array(ws.ImageTables);
    ws.TVList = std::move(lists.tv);
    ws.RadioList = std::move(lists.radio);
    ws.CurrentList = (ws.TVList.empty() && !ws.RadioList.empty()) ? ListId::Radio : ListId::TV;
    return {};
}

Status Save_File(Workspace& ws, const std::string& target) {
    const std::string ext = FileExtension3(target);
    if (ext == "G98") {
        if (!SettingsImageLoaded(ws.DVB98Settings)) return ErrorCode::NoDvb98Settings;
        Status st = WriteFileAtomic(target, EncodeG98(ws.DVB98Settings));
        if (st) ws.SettingsModified = false;
        return st;
    }
    // An image is written for a loaded image (but under a ".dvb" name, where it would
    // read back as garbage records), while converting, and for any ".bin" name; a DVB98
    // list gets the default settings block, having no image settings of its own.
    const bool fromImage = ws.FileType == FileKind::BIN;
    if (ws.ConvertToBin || ext == "BIN" || (fromImage && ext != "DVB")) {
        const bool defaults = ws.ConvertToBin || !fromImage;
        auto image = MakeStr_Save(ws.TVList, ws.RadioList, ws.ImageTables, defaults);
        if (!image) return image.error();
        Status st = WriteFileAtomic(target, *image);
        if (st && !ws.ConvertToBin) ws.ChannelsModified = false;
        return st;
    }
    if (ws.ChannelCount() > kMaxDvb98Channels) return ErrorCode::TooManyChannelsDvb;
    Status st = Write_Dvb(ws, target);
    if (st) ws.ChannelsModified = false;
    return st;
}

std::string ConvertedName(const std::string& current) {
    return current.substr(0, current.size() < 4 ? 0 : current.size() - 4) + ".bin";
}

Result<std::string> DVB2Bin(Workspace& ws, const std::string& current) {
    const std::string target = ConvertedName(current);
    ws.ConvertToBin = true;
    Status st = Save_File(ws, target);
    ws.ConvertToBin = false;
    if (!st) return st.error();
    return target;
}

ChannelList CollectUpgrade(const ChannelList& tv, const ChannelList& radio,
                           const ChannelList& tvUpgrade, const ChannelList& radioUpgrade) {
    ChannelList all;
    all.push_back(NamedEmptyChannel(kTvUpgradeHeader));
    AppendNew(tv, tvUpgrade, all);
    const std::size_t radioHeader = all.size();
    all.push_back(NamedEmptyChannel(kRadioUpgradeHeader));
    AppendNew(radio, radioUpgrade, all);

    // An entry at frequency 0 followed by another at frequency 0 goes, so each run
    // keeps its last entry; the headers always stay. Whether the follower itself
    // survives does not matter: if it goes, its own follower is at frequency 0 too.
    ChannelList kept;
    kept.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool header = i == 0 || i == radioHeader;
        const bool dropped =
            !header && ZeroFrequency(all[i]) && i + 1 < all.size() && ZeroFrequency(all[i + 1]);
        if (!dropped) kept.push_back(std::move(all[i]));
    }
    return kept;
}

Status UpgradeFromFile(Workspace& ws, const std::string& path, DebugLog* log) {
    if (ws.ChannelCount() == 0) return {};
    if (Status st = Read_Dvb(ws, path, true, log); !st) return st;
    ChannelList added = CollectUpgrade(ws.TVList, ws.RadioList, ws.TVUpgrade, ws.RadioUpgrade);
    ws.BufferList.insert(ws.BufferList.end(), std::make_move_iterator(added.begin()),
                         std::make_move_iterator(added.end()));
    ws.ChannelsModified = true;
    return {};
}

}  // namespace qel
