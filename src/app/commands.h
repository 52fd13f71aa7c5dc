// The commands of the main window's menus and keys, the tabs that open the tool windows,
// and when each command is offered.
#pragma once

#include <array>
#include <cstddef>

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
    UpgradeFromFile,
    ConvertToBin,
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
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::StabPosition) + 1;

// The tabs of the main window, in strip order; every tab but List opens a tool window.
enum class Tab { List = 1, Data, Buffer, Settings, Fonts, Serial, Export, Options };
inline constexpr std::size_t kTabCount = 8;

// What decides which commands are offered.
struct CommandState {
    MainCommands list;  // from the lists and the selected row
    bool canUndo = false;
    bool canRedo = false;
    bool imageLoaded = false;               // the lists come from an FTA image
    bool fontLoaded = false;                // a font file is loaded
    std::array<bool, kTabCount> windows{};  // a tool window exists for the tab (index tab - 1)
    bool hasWindow(Tab tab) const { return windows[static_cast<std::size_t>(tab) - 1]; }
};

bool commandEnabled(Command command, const CommandState& state);

// Whether a tab can be selected now.
bool tabEnabled(Tab tab, const CommandState& state);

}  // namespace qel
