// Everything the windows share: the document (lists, buffer, settings image, image tables),
// the current file names, the working directory, the configuration, the satellite table
// and the debug and transfer states. The program creates one Session and every window and
// controller receives it; nobody keeps a copy of a list. Every change is announced: the
// document's through listsChanged and stateChanged, the Session's own through stateChanged.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "app/config_store.h"
#include "app/debug_log_file.h"
#include "model/sat_pos.h"
#include "model/workspace.h"

namespace qel {

class Session : public QObject, private WorkspaceObserver {
    Q_OBJECT

public:
    explicit Session(QObject* parent = nullptr);
    ~Session() override;

    Workspace& workspace() { return ws_; }
    const Workspace& workspace() const { return ws_; }

    // The current channel file (path); empty before any load.
    const QString& channelFile() const { return channelFile_; }
    void setChannelFile(const QString& path);
    // The last loaded or saved .g98 file.
    const QString& settingsFile() const { return settingsFile_; }
    void setSettingsFile(const QString& path);
    // The loaded font file.
    const QString& fontFile() const { return fontFile_; }
    void setFontFile(const QString& path);
    // The start folder of every file dialog.
    const QString& workingDir() const { return workingDir_; }
    void setWorkingDir(const QString& dir) { workingDir_ = dir; }

    const Config& config() const { return config_; }
    void setConfig(const Config& config);
    bool english() const;
    // Sets the language code; languageChanged tells when it differs.
    void setLanguage(const QString& code);

    const SatPosTable& satPos() const { return satPos_; }
    void setSatPos(SatPosTable table) { satPos_ = std::move(table); }

    // A serial transfer runs.
    bool transferBusy() const { return transferBusy_; }
    void setTransferBusy(bool busy);

    // The lists as they were before a download replaced them, kept for "Compare with the list
    // before the download"; null when none are kept. A loaded file lets them go. Their kind
    // is the one the document had then.
    const TvRadioLists* listsBeforeDownload() const {
        return listsBeforeDownload_ ? &*listsBeforeDownload_ : nullptr;
    }
    FileKind kindBeforeDownload() const { return kindBeforeDownload_; }
    void keepListsBeforeDownload(TvRadioLists lists, FileKind kind);
    void forgetListsBeforeDownload();

    // The lists as the last loaded channel file or the last download brought them, kept for
    // "Changes since loading" and "Changes since the download"; null before either. Only the
    // newest is kept: a load replaces a download's lists and the other way round.
    enum class Opened { Loaded, Downloaded };
    const TvRadioLists* listsAsOpened() const {
        return listsAsOpened_ ? &*listsAsOpened_ : nullptr;
    }
    Opened openedBy() const { return openedBy_; }
    FileKind kindAsOpened() const { return kindAsOpened_; }
    // Keeps the document's lists as they are now.
    void keepListsAsOpened(Opened how);

    // Debug mode: while on, the readers write to the debug log file.
    bool debugMode() const { return debugLog_ != nullptr; }
    void setDebugMode(bool on, const QString& logPath);
    DebugLog* log() const { return debugLog_.get(); }

signals:
    // The document's lists changed: `changes` holds its WorkspaceChange bits
    // (kChannelsChanged, kBufferChanged, kShownListChanged).
    void listsChanged(unsigned changes);
    // File names, file type, modified flags, settings, image tables or the transfer state.
    void stateChanged();
    void languageChanged();

private:
    void workspaceChanged(unsigned changes) override;

    Workspace ws_;
    QString channelFile_;
    QString settingsFile_;
    QString fontFile_;
    QString workingDir_;
    Config config_;
    SatPosTable satPos_;
    bool transferBusy_ = false;
    std::optional<TvRadioLists> listsBeforeDownload_;
    FileKind kindBeforeDownload_ = FileKind::None;
    std::optional<TvRadioLists> listsAsOpened_;
    Opened openedBy_ = Opened::Loaded;
    FileKind kindAsOpened_ = FileKind::None;
    std::unique_ptr<DebugLogFile> debugLog_;
};

}  // namespace qel
