#include "app/session.h"

#include "app/language.h"

namespace qel {

Session::Session(QObject* parent) : QObject(parent) {
    ws_.setObserver(this);
}

Session::~Session() {
    ws_.setObserver(nullptr);
}

void Session::workspaceChanged(unsigned changes) {
    const unsigned lists = kChannelsChanged | kBufferChanged | kShownListChanged;
    if (changes & lists) emit listsChanged(changes & lists);
    if (changes & ~lists) emit stateChanged();
}

void Session::setChannelFile(const QString& path) {
    if (channelFile_ == path) return;
    channelFile_ = path;
    emit stateChanged();
}

void Session::setSettingsFile(const QString& path) {
    if (settingsFile_ == path) return;
    settingsFile_ = path;
    emit stateChanged();
}

void Session::setFontFile(const QString& path) {
    if (fontFile_ == path) return;
    fontFile_ = path;
    emit stateChanged();
}

void Session::setConfig(const Config& config) {
    const QString before = config_.language;
    config_ = config;
    if (config_.language != before) emit languageChanged();
}

bool Session::english() const {
    return Language::isEnglish(config_.language);
}

void Session::setLanguage(const QString& code) {
    if (config_.language == code) return;
    config_.language = code;
    emit languageChanged();
}

void Session::keepListsBeforeDownload(TvRadioLists lists, FileKind kind) {
    listsBeforeDownload_ = std::move(lists);
    kindBeforeDownload_ = kind;
    emit stateChanged();
}

void Session::forgetListsBeforeDownload() {
    if (!listsBeforeDownload_) return;
    listsBeforeDownload_.reset();
    emit stateChanged();
}

void Session::keepListsAsOpened(Opened how) {
    listsAsOpened_ = TvRadioLists{ws_.tvList(), ws_.radioList()};
    openedBy_ = how;
    kindAsOpened_ = ws_.fileType();
    emit stateChanged();
}

void Session::setTransferBusy(bool busy) {
    if (transferBusy_ == busy) return;
    transferBusy_ = busy;
    emit stateChanged();
}

void Session::setDebugMode(bool on, const QString& logPath) {
    if (on) {
        debugLog_ = std::make_unique<DebugLogFile>(logPath);
    } else {
        debugLog_.reset();
    }
}

}  // namespace qel
