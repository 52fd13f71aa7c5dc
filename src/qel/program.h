// The composition root: creates the controllers and the windows of the program, registers
// the tool windows on their tabs and wires every command, key and signal. Nothing else in
// the program creates a window or connects one controller to another.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "app/check_controller.h"
#include "app/commands.h"
#include "app/compare_controller.h"
#include "app/config_store.h"
#include "app/editing_controller.h"
#include "app/export_controller.h"
#include "app/file_controller.h"
#include "app/font_controller.h"
#include "app/language.h"
#include "app/list_controller.h"
#include "app/prompter.h"
#include "app/reorder_controller.h"
#include "app/serial_controller.h"
#include "app/session.h"
#include "app/settings_controller.h"
#include "ui/frame_window.h"
#include "ui/print_commands.h"

namespace qel {

class CompareWindow;
class CheckWindow;
class MainWindow;
class RecentFiles;

class Program : public QObject, private FrameHost {
    Q_OBJECT

public:
    // Without a prompter or chooser the real message boxes and file dialogs are used.
    Program(Session& session, ConfigStore& store, Language& language, RecentFiles* recent = nullptr,
            Prompter* prompter = nullptr, FileChooser* chooser = nullptr);
    ~Program() override;

    FrameWindow& frame() const { return *frame_; }
    MainWindow& mainWindow() const { return *main_; }
    ListController& list() { return list_; }
    EditingController& editing() { return editing_; }
    FileController& files() { return files_; }
    SettingsController& settings() { return settings_; }
    SerialController& serial() { return serial_; }
    ExportController& exporter() { return exporter_; }
    FontController& fonts() { return fonts_; }
    CompareController& compare() { return compare_; }
    ReorderController& reorder() { return reorder_; }
    // The compare window, once a comparison has opened it.
    CompareWindow* compareWindow() const;
    CheckController& check() { return check_; }
    // The check window, opened by "Check list" (created then).
    CheckWindow* checkWindow() const { return checkWindow_; }
    Prompter& prompter() const { return *prompter_; }
    PrintCommands& printing() { return printing_; }

    // A channel file named on the command line, opened when the main window opens.
    void setFileToOpen(const QString& path) { fileToOpen_ = path; }

private:
    bool mayClose() override;
    bool openDroppedFile(const QString& path) override;
    void registerToolWindows();
    void openCheckWindow();
    void wireCommands();
    void connectControllersToWindows();
    void mainWindowOpened();
    QWidget* openSettings(QWidget* parent);
    void showCompareWindow();
    // The tool window open on `tab`, if that tab's window is the one open.
    QWidget* toolWindow(Tab tab) const;
    // The window a message goes over when no window of the program is active.
    QWidget* windowInFront() const;

    Session& session_;
    ConfigStore& store_;
    Language& language_;
    RecentFiles* recent_;
    std::unique_ptr<FrameWindow> frame_;
    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<FileChooser> ownChooser_;
    std::unique_ptr<Prompter> ownSerialPrompter_;
    Prompter* prompter_;
    FileChooser* chooser_;
    Prompter* serialPrompter_;
    ListController list_;
    EditingController editing_;
    FileController files_;
    SettingsController settings_;
    SerialController serial_;
    ExportController exporter_;
    FontController fonts_;
    CompareController compare_;
    QPointer<CompareWindow> compareWindow_;
    ReorderController reorder_;
    CheckController check_;
    PrintCommands printing_;
    MainWindow* main_ = nullptr;
    CheckWindow* checkWindow_ = nullptr;
    QString fileToOpen_;
};

}  // namespace qel
