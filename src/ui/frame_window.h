// The program's frame: a window of fixed size that shows the about box at start and
// then the main window, with the menu bar, the close check, files dropped on it, and
// a title that names the file and marks unsaved channels.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/config_store.h"
#include "app/language.h"
#include "app/session.h"
#include "ui/prompter.h"

class QMimeData;
class QStackedWidget;

namespace qel {

class EditingController;
class InfoForm;
class MainForm;
class RecentFiles;
class HelpViewer;

class FrameWindow : public QMainWindow {
    Q_OBJECT

public:
    // Without a prompter or chooser the real message boxes and file dialogs are used.
    FrameWindow(Session& session, ConfigStore& store, Language& language,
                RecentFiles* recent = nullptr, Prompter* prompter = nullptr,
                FileChooser* chooser = nullptr, QWidget* parent = nullptr);
    ~FrameWindow() override;

    MainForm& mainForm() const { return *main_; }
    EditingController& editing() const { return *editing_; }
    Prompter& prompter() const { return *prompter_; }
    bool aboutShown() const;

    // Closes the about box and opens the main window; then opens `fileToOpen` if given.
    void OpenMainWindow();
    void setFileToOpen(const QString& path) { fileToOpen_ = path; }

    // The close check: refused during a transfer; asks once about unsaved work.
    bool CanClose();
    // The question the close check asks, empty when nothing is unsaved.
    QString UnsavedQuestion() const;

    // A single .dvb or .bin file dropped on the window opens like one loaded.
    bool AcceptsDrop(const QMimeData* mime) const;
    bool OpenDropped(const QMimeData* mime);

    void ShowAbout();
    void ShowHelp();
    HelpViewer* helpViewer() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdateTitle();

    Session& s_;
    ConfigStore& store_;
    Language& language_;
    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<FileChooser> ownChooser_;
    Prompter* prompter_;
    QStackedWidget* pages_;
    InfoForm* info_;
    MainForm* main_;
    EditingController* editing_;
    QMenu* qelMenu_;
    QPointer<HelpViewer> help_;
    QString fileToOpen_;
    bool mainOpened_ = false;
};

}  // namespace qel
