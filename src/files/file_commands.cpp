#include "files/file_commands.h"

#include <unordered_set>

#include "bytes/conversions.h"
#include "files/dvb_file.h"

namespace qel {

namespace {

constexpr std::string_view kTvUpgradeHeader = "TV CHANNEL (UPG)";
constexpr std::string_view kRadioUpgradeHeader = "RADIO CHANNELS (UPG)";

bool zeroFrequency(const ChannelRec& r) {
    return decimalValue(r.Freq.view()) == 0;
}

bool isSeparator(const ChannelRec& r) {
    return zeroFrequency(r) && r.ChName.view().substr(0, 3) == "---";
}

struct KeyHash {
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Appends the records of `upgrade` whose key is not among the keys of `loaded`.
void appendNew(const ChannelList& loaded, const ChannelList& upgrade, ChannelList& out) {
    std::unordered_set<std::string_view, KeyHash> keys;
    keys.reserve(loaded.size());
    for (const auto& r : loaded)
        keys.insert(r.MatchKey.view());
    for (const auto& r : upgrade) {
        if (isSeparator(r) || !keys.contains(r.MatchKey.view())) out.push_back(r);
    }
}

}  // namespace

Result<ChannelSet> readChannelFile(const std::string& path, DebugLog* log) {
    return readChannels(path, ReadOptions{.log = log, .documentFilesOnly = true});
}

Status saveFile(Workspace& ws, const std::string& target, SaveOptions options) {
    return formatToSave(ws, target, options).write(ws, target, options);
}

std::string convertedName(const std::string& current) {
    return current.substr(0, current.size() < 4 ? 0 : current.size() - 4) + "." +
           std::string(fileFormat(FileFormatId::FtaImage).extension);
}

Result<std::string> convertToBin(Workspace& ws, const std::string& current) {
    const std::string target = convertedName(current);
    if (Status st = saveFile(ws, target, SaveOptions{.convertToBin = true}); !st) return st;
    return target;
}

ChannelList collectUpgrade(const ChannelList& tv, const ChannelList& radio,
                           const ChannelList& tvUpgrade, const ChannelList& radioUpgrade) {
    ChannelList all;
    all.push_back(namedEmptyChannel(kTvUpgradeHeader));
    appendNew(tv, tvUpgrade, all);
    const std::size_t radioHeader = all.size();
    all.push_back(namedEmptyChannel(kRadioUpgradeHeader));
    appendNew(radio, radioUpgrade, all);

    // An entry at frequency 0 followed by another at frequency 0 goes, so each run
    // keeps its last entry; the headers always stay. Whether the follower itself
    // survives does not matter: if it goes, its own follower is at frequency 0 too.
    ChannelList kept;
    kept.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool header = i == 0 || i == radioHeader;
        const bool dropped =
            !header && zeroFrequency(all[i]) && i + 1 < all.size() && zeroFrequency(all[i + 1]);
        if (!dropped) kept.push_back(std::move(all[i]));
    }
    return kept;
}

Status upgradeFromFile(Workspace& ws, const std::string& path, DebugLog* log) {
    if (ws.channelCount() == 0) return {};
    auto upgrade = readDvbFile(path, log);
    if (!upgrade) return upgrade.status();
    ChannelList added = collectUpgrade(ws.tvList(), ws.radioList(), upgrade->tv, upgrade->radio);
    ws.changeLists(kTouchBuffer, [&added](EditableLists& l) {
        l.buffer.insert(l.buffer.end(), std::make_move_iterator(added.begin()),
                        std::make_move_iterator(added.end()));
    });
    ws.setChannelsModified(true);
    return {};
}

}  // namespace qel
