#include "model/workspace.h"

namespace qel {

bool settingsImageLoaded(std::string_view image) {
    return image.substr(0, kDvb98Tag.size()) == kDvb98Tag;
}

void Workspace::clearChannels() {
    tv_.clear();
    radio_.clear();
    tvRow_ = 1;
    radioRow_ = 1;
    shown_ = ListId::TV;
    notify(kChannelsChanged | kShownListChanged);
}

void Workspace::installChannels(ChannelSet set) {
    unsigned changes =
        kChannelsChanged | kShownListChanged | kFileStateChanged | kImageTablesChanged;
    if (set.fileType == FileKind::BIN) {
        const std::string before = settings_.substr(0, kDvb98Tag.size());
        settings_.replace(0, kDvb98Tag.size(), kDvb98Tag.size(), ' ');
        if (settings_.compare(0, kDvb98Tag.size(), before) != 0) changes |= kSettingsChanged;
        settingsModified_ = false;  // unloaded settings have nothing left to save
    }
    tv_ = std::move(set.lists.tv);
    radio_ = std::move(set.lists.radio);
    tables_ = std::move(set.imageTables);
    fileType_ = set.fileType;
    channelsModified_ = false;
    tvRow_ = 1;
    radioRow_ = 1;
    shown_ = (tv_.empty() && !radio_.empty()) ? ListId::Radio : ListId::TV;
    notify(changes);
}

void Workspace::showList(ListId list) {
    if (shown_ == list) return;
    shown_ = list;
    notify(kShownListChanged);
}

void Workspace::rememberRow(ListId list, int row) {
    int& remembered = list == ListId::TV ? tvRow_ : radioRow_;
    if (remembered == row) return;
    remembered = row;
    notify(kShownListChanged);
}

void Workspace::setChannelsModified(bool modified) {
    if (channelsModified_ == modified) return;
    channelsModified_ = modified;
    notify(kFileStateChanged);
}

void Workspace::setSettingsModified(bool modified) {
    if (settingsModified_ == modified) return;
    settingsModified_ = modified;
    notify(kFileStateChanged);
}

void Workspace::setFontsModified(bool modified) {
    if (fontsModified_ == modified) return;
    fontsModified_ = modified;
    notify(kFileStateChanged);
}

void Workspace::installSettings(std::string image) {
    settingsWork_ = image;
    settings_ = std::move(image);
    settingsModified_ = false;
    notify(kSettingsChanged | kFileStateChanged);
}

void Workspace::copySettingsToWork() {
    settingsWork_ = settings_;
    notify(kSettingsChanged);
}

void Workspace::setSettingsWork(std::string work) {
    settingsWork_ = std::move(work);
    notify(kSettingsChanged);
}

void Workspace::storeSettingsWork() {
    settings_ = settingsWork_;
    settingsModified_ = true;
    notify(kSettingsChanged | kFileStateChanged);
}

void Workspace::storeImageTables(FtaImageTables tables) {
    tables_ = std::move(tables);
    channelsModified_ = true;
    notify(kImageTablesChanged | kFileStateChanged);
}

bool Workspace::installFont(FontType type, std::string bytes) {
    if (bytes.size() != fontSize(type)) return false;
    fontType_ = type;
    font_ = std::move(bytes);
    fontsModified_ = false;
    notify(kFontChanged | kFileStateChanged);
    return true;
}

bool Workspace::storeFont(std::string bytes) {
    if (!fontType_ || bytes.size() != font_.size()) return false;
    font_ = std::move(bytes);
    fontsModified_ = true;
    notify(kFontChanged | kFileStateChanged);
    return true;
}

}  // namespace qel
