// Everything the windows share: the workspace of lists, buffer, settings image and
// image tables, the current file names, the working directory, the configuration, the
// satellite table and the debug and transfer states. main creates one Session and every
// window receives it; no window keeps a copy of a list.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "app/config_store.h"
#include "app/debug_log_file.h"
#include "model/sat_pos.h"
#include "model/workspace.h"

namespace qel {

class Session : public QObject {
    Q_OBJECT

public:
    explicit Session(QObject* parent = nullptr);
    ~Session() override;

    Workspace ws;
    QString channelFile;   // the current channel file (path); empty before any load
    QString settingsFile;  // the last loaded or saved .g98 file
    QString workingDir;    // start folder of every file dialog
    Config config;
    SatPosTable satPos;
    bool transferBusy = false;  // a serial transfer runs

    bool english() const;

    // Debug mode: while on, the readers write to the debug log file.
    bool debugMode() const { return debugLog_ != nullptr; }
    void setDebugMode(bool on, const QString& logPath);
    DebugLog* log() const { return debugLog_.get(); }

    // The windows call these after changing the shared data.
    void notifyListsChanged() { emit listsChanged(); }
    void notifyStateChanged() { emit stateChanged(); }
    void setLanguage(const QString& code);

signals:
    void listsChanged();  // a list, the buffer or the shown list changed
    void stateChanged();  // file names, file type, modified flags or settings changed
    void languageChanged();

private:
    std::unique_ptr<DebugLogFile> debugLog_;
};

}  // namespace qel
