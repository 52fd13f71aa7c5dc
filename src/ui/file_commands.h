// The file menu's commands with their questions, dialogs and messages: load and save
// channels, load and save settings, convert to an FTA image and upgrade from a file.
#pragma once

#include <QObject>
#include <QString>

#include "app/session.h"
#include "ui/prompter.h"

namespace qel {

class EditRecorder;
class RecentFiles;

class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(Session& session, Prompter& prompter, FileChooser& chooser,
                 RecentFiles* recent = nullptr, QObject* parent = nullptr);

    static QString ChannelFilter();
    static QString SettingsFilter();
    static QString UpgradeFilter();

    void Load_Channel_Click();
    void Save_Channel_Click();
    void Load_Settings_Click();
    void Save_Settings_Click();
    void DVB2Bin_Click();
    void UpgDVB_Click();

    // Opens a channel file chosen elsewhere (command line, drop, recent files): asks to
    // save unsaved channels first. False when nothing was loaded.
    bool OpenChannelFile(const QString& path);

    // "Save correction to <file> ? " for unsaved channels; true when the command may go on.
    bool AskToSaveChannels();

    // Saving an FTA image and converting change the lists (names trimmed, identifiers
    // given, bands set); upgrading from a file fills the buffer. The recorder makes
    // those changes undoable.
    void setRecorder(EditRecorder* recorder) { recorder_ = recorder; }

signals:
    void channelsLoaded();  // new lists: show them from row 1
    void settingsLoaded();  // DVB98 settings loaded: the Settings tab opens
    void bufferFilled();    // the buffer received upgrade records: the Buffer tab opens
    void busy(bool on);     // a file is being read or written

private:
    bool AskToSaveSettings();
    bool LoadChannelsFrom(const QString& path);
    bool SaveTo(const QString& path);
    void TakeFolderOf(const QString& path);
    void Report(ErrorCode code, const QString& path);

    Session& s_;
    Prompter& prompter_;
    FileChooser& chooser_;
    RecentFiles* recent_;
    EditRecorder* recorder_ = nullptr;
};

}  // namespace qel
