// The commands of the main window's menus and keys, declared once each in the command
// table: object name, caption, keys, menu and place, and when the command is offered. The
// tabs are named here; what each opens is in the tool-window table (app/tool_windows.h). A new
// command is one entry in the table (commands.cpp) and its handler (the composition root wires it).
#pragma once

#include <QKeyCombination>
#include <QList>
#include <array>
#include <cstddef>
#include <span>

#include "listedit/list_view.h"

namespace qel {

enum class Command {
    LoadChannels,
    SaveChannels,
    LoadSettings,
    SaveSettings,
    LoadFonts,
    SaveFonts,
    ImportText,
    ImportCsv,
    ExportCsv,
    Print,
    ExportPdf,
    UpgradeFromFile,
    CompareWithFile,
    CompareBeforeDownload,
    ChangesSinceLoading,
    ChangesSinceDownload,
    ConvertToBin,
    CheckList,
    Exit,
    Find,
    FindNext,
    Undo,
    Redo,
    Settings,
    Fonts,
    Serial,
    Export,
    Options,
    About,
    Help,
    Edit,
    Insert,
    Delete,
    MoveToBuffer,
    PasteAll,
    PasteSpecial,
    Antenna1,
    Antenna2,
    Antenna3,
    Antenna4,
    Antenna5,
    Antenna6,
    Antenna7,
    Antenna8,
    VoltageOn,
    VoltageOff,
    DiseqcPort1,
    DiseqcPort2,
    DiseqcPort3,
    DiseqcPort4,
    SpectrumAuto,
    SpectrumOn,
    SpectrumOff,
    ParentalOn,
    ParentalOff,
    AutoPmtOn,
    AutoPmtOff,
    AutoPidOn,
    AutoPidOff,
    StabPosition,
    SortList,
    OrderLike,
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::OrderLike) + 1;

// The tabs of the main window, in strip order; every tab but List opens a tool window.
enum class Tab { List, Data, Buffer, Settings, Fonts, Serial, Export, Options };
inline constexpr std::size_t kTabCount = static_cast<std::size_t>(Tab::Options) + 1;
inline constexpr std::size_t index(Tab tab) {
    return static_cast<std::size_t>(tab);
}

// What decides which commands are offered.
struct CommandState {
    MainCommands list;  // from the lists and the selected row
    bool canUndo = false;
    bool canRedo = false;
    bool imageLoaded = false;               // the lists come from an FTA image
    bool fontLoaded = false;                // a font file is loaded
    bool settingsLoaded = false;            // DVB98 settings are loaded
    bool listsBeforeDownload = false;       // the lists a download replaced are kept
    bool listsAsLoaded = false;             // the lists as the loaded file brought them are kept
    bool listsAsDownloaded = false;         // the lists as the download brought them are kept
    std::array<bool, kTabCount> windows{};  // a tool window exists for the tab
    bool hasWindow(Tab tab) const { return windows[index(tab)]; }
};

// The menus the commands sit in. File and Search open from the main menu; the submenus
// after Editing open from the editing menu.
enum class Menu {
    Main,
    File,
    Search,
    Editing,
    Antenna,
    Voltage,
    Diseqc,
    Spectrum,
    Parental,
    AutoPmt,
    AutoPid,
};

struct MenuInfo {
    Menu menu;
    Menu parent;             // the menu it opens from (itself for the two top menus)
    const char* objectName;  // "" when nothing refers to the menu by name
    const char* title;       // translated in the context "qel::MainWindow"
};

// Where a command goes in its menus, after the entries before it in the table.
enum class Place {
    Next,              // right after the entry before it
    AfterSeparator,    // a separator first (before the submenu when it opens one)
    AfterRecentFiles,  // after the recent files submenu, between separators
};

struct CommandInfo {
    Command command;
    const char* objectName;       // the action's name, which tests and settings use
    const char* caption;          // translated in the context "qel::MainWindow"; %1 takes `number`
    int number;                   // 0: the caption takes no number
    QList<QKeyCombination> keys;  // the first is the one the menu shows
    std::array<Menu, 2> menus;    // the second equals the first unless the command is in two
    Place place;
    bool (*enabled)(const CommandState&);
};

// Every command, in menu order.
std::span<const CommandInfo> commandTable();
const CommandInfo& commandInfo(Command command);
// Every menu, parents before their submenus.
std::span<const MenuInfo> menuTable();

bool commandEnabled(Command command, const CommandState& state);

// Whether a tab can be selected now: the list's always, another when a window is registered
// on it and its row in the tool-window table lets it.
bool tabEnabled(Tab tab, const CommandState& state);

}  // namespace qel
