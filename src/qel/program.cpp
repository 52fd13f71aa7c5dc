#include "qel/program.h"

#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <map>
#include <string_view>

#include "app/app_paths.h"
#include "app/tool_windows.h"
#include "files/file_formats.h"
#include "listedit/attributes.h"
#include "ui/about_box.h"
#include "ui/buffer_window.h"
#include "ui/channel_data_window.h"
#include "ui/check_window.h"
#include "ui/compare_window.h"
#include "ui/dvb98_settings_windows.h"
#include "ui/export_window.h"
#include "ui/font_window.h"
#include "ui/frame_window.h"
#include "ui/fta_settings_window.h"
#include "ui/main_window.h"
#include "ui/options_window.h"
#include "ui/osd_color_window.h"
#include "ui/qt_dialogs.h"
#include "ui/serial_window.h"

namespace qel {

namespace {

template <class T>
T* realOr(T* given, std::unique_ptr<T>& own, auto make) {
    if (given != nullptr) return given;
    own = make();
    return own.get();
}

}  // namespace

Program::Program(Session& session, ConfigStore& store, Language& language, RecentFiles* recent,
                 Prompter* prompter, FileChooser* chooser)
    : session_(session),
      store_(store),
      language_(language),
      recent_(recent),
      frame_(std::make_unique<FrameWindow>(session, static_cast<FrameHost&>(*this))),
      prompter_(realOr<Prompter>(prompter, ownPrompter_,
                                 [this] {
                                     return std::make_unique<QtPrompter>(
                                         DialogOwner({}, [this] { return windowInFront(); }));
                                 })),
      chooser_(realOr<FileChooser>(chooser, ownChooser_,
                                   [this] {
                                       return std::make_unique<QtFileChooser>(
                                           DialogOwner({}, [this] { return windowInFront(); }));
                                   })),
      // What a transfer asks and tells belongs to the serial window, wherever the user is.
      serialPrompter_(realOr<Prompter>(prompter, ownSerialPrompter_,
                                       [this] {
                                           return std::make_unique<QtPrompter>(DialogOwner(
                                               [this] { return toolWindow(Tab::Serial); },
                                               [this] { return windowInFront(); }));
                                       })),
      list_(session),
      editing_(session, list_, *prompter_),
      files_(session, list_, editing_, *prompter_, *chooser_, recent),
      settings_(session),
      serial_(session, *serialPrompter_),
      exporter_(session, store, AboutBox::versionText()),
      fonts_(session, *prompter_, *chooser_),
      compare_(session, list_, editing_, *prompter_, *chooser_),
      reorder_(session, editing_, *prompter_, *chooser_),
      check_(session, list_, editing_, *prompter_, chooser_, &store),
      // Print and PDF take the Export window's choices while it is open.
      printing_(
          exporter_, session, *prompter_, *chooser_,
          [this] {
              auto* open = qobject_cast<ExportWindow*>(toolWindow(Tab::Export));
              return open != nullptr ? open->options() : exporter_.startingOptions();
          },
          [this] { return windowInFront(); }),
      main_(new MainWindow(session, list_, recent)) {
    frame_->setMainWindow(main_);
    // Tool windows ask before unsaved edits go, and open where the user last put them.
    main_->setPrompter(prompter_);
    main_->setPlaceStore(&store_);
    registerToolWindows();
    wireCommands();
    connectControllersToWindows();

    // The frame opens where it was closed, at the size it had.
    frame_->restoreGeometry(store_.windowGeometry());
    connect(frame_.get(), &FrameWindow::mainWindowOpened, this, &Program::mainWindowOpened);
}

void Program::connectControllersToWindows() {
    connect(&editing_, &EditingController::historyChanged, main_,
            [this] { main_->setUndoState(editing_.canUndo(), editing_.canRedo()); });
    connect(&editing_, &EditingController::tabRequested, main_,
            [this](Tab tab) { main_->selectTab(tab); });
    connect(main_, &MainWindow::tabOpened, &editing_, [this](Tab tab) { editing_.tabOpened(tab); });
    connect(main_, &MainWindow::headerStepRequested, &editing_, &EditingController::stepToHeader);
    connect(main_, &MainWindow::rowsDropped, &editing_, &EditingController::moveMarkedBefore);
    connect(main_, &MainWindow::debugModeRequested, &files_,
            [this] { files_.toggleDebugMode(AppPaths::debugLogPath()); });
    connect(main_, &MainWindow::recentFileChosen, &files_, &FileController::openChannelFile);

    connect(&files_, &FileController::recentFilesChanged, main_, &MainWindow::refreshRecentMenu);
    // While a transfer runs the main window and its menus wait.
    connect(&serial_, &SerialController::busyChanged, main_, [this](bool busy) {
        main_->setEnabled(!busy);
        frame_->menuBar()->setEnabled(!busy);
    });
    // Lists from the receiver start a new history and are shown from row 1.
    connect(&serial_, &SerialController::channelsDownloaded, this, [this] {
        editing_.clearHistory();
        list_.selectOnly(1);
    });
    // New channels: the data editor and the settings windows showed the old ones; a tab
    // the new file closes goes back to the list too.
    connect(&files_, &FileController::channelsLoaded, main_, [this] {
        const Tab open = main_->currentTab();
        if (open == Tab::Data || open == Tab::Settings || !main_->tabEnabled(open)) {
            main_->selectTab(Tab::List);
        }
    });
    connect(&files_, &FileController::settingsLoaded, main_,
            [this] { main_->selectTab(Tab::Settings); });
    connect(&files_, &FileController::bufferFilled, main_,
            [this] { main_->selectTab(Tab::Buffer); });
    connect(&files_, &FileController::busy, main_, &MainWindow::showBusy);
    connect(&fonts_, &FontController::fontLoaded, main_, [this] { main_->selectTab(Tab::Fonts); });
    // Lists with errors the receiver cannot take are saved or sent only when the user says so.
    files_.setWriteCheck(
        [this] { return check_.mayWrite(FileKind::DVB, CheckController::Purpose::Save); });
    serial_.setWriteCheck([this] {
        return check_.mayWrite(serial_.channelKind(), CheckController::Purpose::Upload);
    });

    // A comparison opens its window; the channels it puts into the buffer open the Buffer tab.
    // A loaded file ends "before the download": the lists kept then are let go.
    connect(&compare_, &CompareController::opened, this, &Program::showCompareWindow);
    connect(&compare_, &CompareController::bufferFilled, main_,
            [this] { main_->selectTab(Tab::Buffer); });
    connect(&files_, &FileController::channelsLoaded, this,
            [this] { session_.forgetListsBeforeDownload(); });
}

CompareWindow* Program::compareWindow() const {
    return compareWindow_;
}

void Program::showCompareWindow() {
    if (compareWindow_ == nullptr) compareWindow_ = new CompareWindow(compare_, main_);
    main_->showToolWindow(compareWindow_);
}

Program::~Program() {
    // The windows go first: they use the controllers to the end.
    frame_.reset();
}

bool Program::mayClose() {
    if (!files_.mayClose()) return false;
    store_.setWindowGeometry(frame_->saveGeometry());
    return true;
}

bool Program::openDroppedFile(const QString& path) {
    return files_.openChannelFile(path);
}

QWidget* Program::toolWindow(Tab tab) const {
    return main_ != nullptr && main_->currentTab() == tab ? main_->openChild() : nullptr;
}

QWidget* Program::windowInFront() const {
    // The tool window the user works in stays in front of the main window.
    if (main_ != nullptr) {
        if (QWidget* open = main_->openChild(); open != nullptr && open->isVisible()) return open;
    }
    return frame_.get();
}

void Program::mainWindowOpened() {
    files_.startUp(AppPaths::antPosPath());
    main_->load();
    if (!fileToOpen_.isEmpty()) {
        const QString path = QFileInfo(fileToOpen_).absoluteFilePath();
        // The command line goes by the extension after the last dot of the file's name.
        const FileFormat* format =
            findFileFormat(QFile::encodeName(path).toStdString(), ExtensionRule::AfterLastDot);
        if (format != nullptr && format->opensFromCommandLine) {
            switch (format->content) {
                case FileContent::Channels:
                    files_.openChannelFile(path);
                    break;
                case FileContent::Settings:
                    files_.openSettingsFile(path);
                    break;
                case FileContent::Font:
                    fonts_.openFontFile(path);
                    break;
                case FileContent::Picture:
                case FileContent::Transponders:
                    break;
            }
        }
        fileToOpen_.clear();
    }
}

void Program::registerToolWindows() {
    // The window each tab opens, by the object name of the tab's first row in the table.
    const std::map<std::string_view, MainWindow::WindowFactory> factories = {
        {"DataForm",
         [this](QWidget* parent) {
             auto* window = new ChannelDataWindow(session_, list_, editing_, parent);
             // A command that changes the edited channel under the editor closes it.
             connect(&editing_, &EditingController::listsEdited, window, [window] {
                 if (!window->stillEditing()) window->close();
             });
             return window;
         }},
        {"BufferForm",
         [this](QWidget* parent) {
             return new BufferWindow(session_, editing_, *prompter_, parent);
         }},
        {"SettingDVB_1Form", [this](QWidget* parent) { return openSettings(parent); }},
        {"SerialForm",
         [this](QWidget* parent) {
             auto* window =
                 new SerialWindow(serial_, session_, *serialPrompter_, *chooser_, parent);
             connect(window, &SerialWindow::compareBeforeDownloadRequested, &compare_,
                     &CompareController::compareWithListsBeforeDownload);
             return window;
         }},
        {"FontForm", [this](QWidget* parent) { return new FontWindow(fonts_, session_, parent); }},
        {"ExportForm",
         [this](QWidget* parent) {
             return new ExportWindow(exporter_, session_, *prompter_, *chooser_, parent);
         }},
        {"OptionsForm",
         [this](QWidget* parent) {
             return new OptionsWindow(session_, store_, language_, parent);
         }},
    };
    for (const ToolWindowInfo& w : toolWindowTable()) {
        if (w.tab && w.caption != nullptr) main_->setToolWindow(*w.tab, factories.at(w.objectName));
    }
}

void Program::openCheckWindow() {
    if (checkWindow_ == nullptr) checkWindow_ = new CheckWindow(check_, main_);
    main_->showToolWindow(checkWindow_);
}

QWidget* Program::openSettings(QWidget* parent) {
    if (session_.workspace().fileType() == FileKind::BIN) {
        return new FtaSettingsWindow(session_, settings_, parent);
    }
    settings_.settingsOpening();
    auto* general = new Dvb98SettingsWindow(session_, settings_, parent);
    const auto backToSettings = [this] {
        settings_.returningToSettings();
        main_->selectTab(Tab::Settings);
    };
    connect(general, &Dvb98SettingsWindow::moreRequested, this, [this, parent, backToSettings] {
        auto* further = new Dvb98MoreSettingsWindow(session_, settings_, parent);
        connect(further, &Dvb98MoreSettingsWindow::backRequested, this, backToSettings);
        main_->replaceOpenChild(further);
    });
    connect(general, &Dvb98SettingsWindow::colorsRequested, this, [this, parent, backToSettings] {
        auto* colors = new OsdColorWindow(settings_, parent);
        connect(colors, &OsdColorWindow::backRequested, this, backToSettings);
        main_->replaceOpenChild(colors);
    });
    return general;
}

void Program::wireCommands() {
    MainWindow& m = *main_;
    m.wire(Command::LoadChannels, [this] { files_.loadChannels(); });
    m.wire(Command::SaveChannels, [this] { files_.saveChannels(); });
    m.wire(Command::LoadSettings, [this] { files_.loadSettings(); });
    m.wire(Command::SaveSettings, [this] { files_.saveSettings(); });
    m.wire(Command::UpgradeFromFile, [this] { files_.upgradeFromFile(); });
    m.wire(Command::ConvertToBin, [this] { files_.convertToBin(); });
    m.wire(Command::CompareWithFile, [this] { compare_.compareWithFile(); });
    m.wire(Command::CompareBeforeDownload, [this] { compare_.compareWithListsBeforeDownload(); });
    m.wire(Command::ChangesSinceLoading, [this] { compare_.compareWithListsAsOpened(); });
    m.wire(Command::ChangesSinceDownload, [this] { compare_.compareWithListsAsOpened(); });
    m.wire(Command::CheckList, [this] { openCheckWindow(); });
    m.wire(Command::LoadFonts, [this] { fonts_.loadFonts(); });
    m.wire(Command::SaveFonts, [this] { fonts_.saveFonts(); });
    m.wire(Command::ImportText, [this] { files_.importText(); });
    m.wire(Command::ImportCsv, [this] { files_.importCsv(); });
    m.wire(Command::ExportCsv, [this] { files_.exportCsv(); });
    m.wire(Command::Print, [this] { printing_.print(); });
    m.wire(Command::ExportPdf, [this] { printing_.exportPdf(); });
    m.wire(Command::Exit, [this] { frame_->close(); });
    m.wire(Command::About, [this] { frame_->showAbout(); });
    m.wire(Command::Help, [this] { frame_->showHelp(); });
    // The commands that open a tab's window select the tab.
    for (const ToolWindowInfo& w : toolWindowTable()) {
        if (w.tab && w.command) m.wire(*w.command, [this, tab = *w.tab] { main_->selectTab(tab); });
    }

    m.wire(Command::Insert, [this] { editing_.insertChannel(); });
    m.wire(Command::Delete, [this] { editing_.deleteMarked(); });
    m.wire(Command::MoveToBuffer, [this] { editing_.moveToBuffer(); });
    m.wire(Command::PasteAll, [this] { editing_.pasteAll(); });
    m.wire(Command::PasteSpecial, [this] { editing_.pasteSpecial(); });
    m.wire(Command::StabPosition, [this] { editing_.assignRotorPosition(); });
    m.wire(Command::SortList, [this] { editing_.sortList(); });
    m.wire(Command::OrderLike, [this] { reorder_.orderLikeFile(); });
    m.wire(Command::Find, [this] { editing_.find(); });
    m.wire(Command::FindNext, [this] { editing_.findNext(); });
    m.wire(Command::Undo, [this] { editing_.undo(); });
    m.wire(Command::Redo, [this] { editing_.redo(); });

    const Command antennas[] = {Command::Antenna1, Command::Antenna2, Command::Antenna3,
                                Command::Antenna4, Command::Antenna5, Command::Antenna6,
                                Command::Antenna7, Command::Antenna8};
    for (int i = 0; i < 8; ++i)
        m.wire(antennas[i], [this, i] { editing_.setAttribute(setAntenna, i + 1); });
    const Command ports[] = {Command::DiseqcPort1, Command::DiseqcPort2, Command::DiseqcPort3,
                             Command::DiseqcPort4};
    for (int i = 0; i < 4; ++i)
        m.wire(ports[i], [this, i] { editing_.setAttribute(setDiseqcPort, i); });
    const std::pair<Command, std::pair<void (*)(ChannelList&, const Marks&, int), int>>
        attributes[] = {
            {Command::VoltageOn, {setVoltage, 1}},
            {Command::VoltageOff, {setVoltage, 0}},
            {Command::SpectrumAuto, {setSpectralInversion, 0}},
            {Command::SpectrumOff, {setSpectralInversion, 1}},
            {Command::SpectrumOn, {setSpectralInversion, 2}},
            {Command::ParentalOn, {setParentalLock, 1}},
            {Command::ParentalOff, {setParentalLock, 0}},
            {Command::AutoPmtOn, {setAutoPmt, 1}},
            {Command::AutoPmtOff, {setAutoPmt, 0}},
            {Command::AutoPidOn, {setAutoPid, 1}},
            {Command::AutoPidOff, {setAutoPid, 0}},
        };
    for (const auto& [command, attribute] : attributes) {
        const auto [set, value] = attribute;
        m.wire(command, [this, set, value] { editing_.setAttribute(set, value); });
    }
}

}  // namespace qel
