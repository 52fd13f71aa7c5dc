// The file commands with their questions, dialogs and messages, without widgets: load and
// save channels, load and save settings, convert to an FTA image, upgrade from a file,
// open a file named elsewhere; the start-up state, the debug mode switch and the close
// check that asks about unsaved work.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/editing_controller.h"
#include "app/list_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "files/file_formats.h"
#include "files/text_import.h"
#include "model/errors.h"

namespace qel {

class RecentFiles;

class FileController : public QObject {
    Q_OBJECT

public:
    FileController(Session& session, ListController& list, EditingController& editing,
                   Prompter& prompter, FileChooser& chooser, RecentFiles* recent = nullptr,
                   QObject* parent = nullptr);

    static QString channelFilter();
    static QString settingsFilter();
    static QString upgradeFilter();

    // The main window's start: empty lists and buffer, the satellite table (written with
    // its defaults, and the user told, when it is missing).
    void startUp(const QString& antPosPath);

    void loadChannels();
    void saveChannels();
    void loadSettings();
    void saveSettings();
    void convertToBin();
    void upgradeFromFile();
    // "Import form text file": both lists from an import-compatible text, as DVB98 lists
    // named after the text with ".dvb"; one undoable step.
    void importText();
    // "Import CSV": the same from a CSV.
    void importCsv();
    // "Export as CSV": both lists into a CSV the user names.
    void exportCsv();

    // Opens a channel file chosen elsewhere (command line, drop, recent files): asks to
    // save unsaved channels first. False when nothing was loaded.
    bool openChannelFile(const QString& path);
    // A settings file named on the command line: as "Load settings" once it is chosen.
    void openSettingsFile(const QString& path);

    // "Save correction to <file> ? " for unsaved channels; true when the command may go on.
    bool askToSaveChannels();

    // The close check: refused while a transfer runs; asks once about unsaved work.
    bool mayClose();
    // The question the close check asks, empty when nothing is unsaved.
    QString unsavedQuestion() const;

    // Ctrl+Shift+Alt+D: debug mode on or off, with the log file at `logPath`.
    void toggleDebugMode(const QString& logPath);

    // Asked before channels are saved as DVB98 records; false stops the save.
    void setWriteCheck(std::function<bool()> mayWrite) { mayWrite_ = std::move(mayWrite); }

signals:
    void channelsLoaded();  // new lists are shown from row 1
    void settingsLoaded();  // DVB98 settings loaded: the Settings tab opens
    void bufferFilled();    // the buffer received upgrade records: the Buffer tab opens
    void busy(bool on);     // a file is being read or written
    void recentFilesChanged();

private:
    void readSettingsFrom(const QString& path);
    bool askToSaveSettings();
    bool loadChannelsFrom(const QString& path);
    bool saveTo(const QString& path);
    void takeFolderOf(const QString& path);
    void report(const Status& status, const QString& path);
    // "Import form text file" and "Import CSV": the lists of a file of the format.
    void importFile(FileFormatId id);
    // The lists an import read (refused: its message naming the row and field).
    void installImport(Result<ChannelSet> set, const ImportProblem& problem, const QString& path);
    QString importRefusal(const Status& status, const ImportProblem& problem) const;

    Session& session_;
    ListController& list_;
    EditingController& editing_;
    Prompter& prompter_;
    FileChooser& chooser_;
    RecentFiles* recent_;
    std::function<bool()> mayWrite_;
};

}  // namespace qel
