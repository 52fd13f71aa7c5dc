#include "app/commands.h"

#include <QtGlobal>

#include "app/tool_windows.h"

namespace qel {

namespace {

using K = QKeyCombination;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

bool always(const CommandState&) {
    return true;
}
bool canEdit(const CommandState& s) {
    return s.list.edit && s.hasWindow(Tab::Data);
}
bool canInsert(const CommandState& s) {
    return s.list.insert;
}
bool canDelete(const CommandState& s) {
    return s.list.deleteMarked;
}
bool canMoveToBuffer(const CommandState& s) {
    return s.list.moveToBuffer;
}
bool canPaste(const CommandState& s) {
    return s.list.paste;
}
bool canUpgrade(const CommandState& s) {
    return s.list.upgrade;
}
bool canCompare(const CommandState& s) {
    return s.list.compare;
}
bool canCompareBeforeDownload(const CommandState& s) {
    return s.list.compare && s.listsBeforeDownload;
}
bool canCompareAsLoaded(const CommandState& s) {
    return s.list.compare && s.listsAsLoaded;
}
bool canCompareAsDownloaded(const CommandState& s) {
    return s.list.compare && s.listsAsDownloaded;
}
bool canConvert(const CommandState& s) {
    return s.list.convert;
}
bool canSearch(const CommandState& s) {
    return s.list.search;
}
bool canSaveList(const CommandState& s) {
    return s.list.saveList;
}
bool canSaveSettings(const CommandState& s) {
    return s.settingsLoaded;
}
bool canSaveFonts(const CommandState& s) {
    return s.fontLoaded;
}
bool canPrint(const CommandState& s) {
    return s.list.print;
}
bool canOpenExport(const CommandState& s) {
    return s.list.exportList && s.hasWindow(Tab::Export);
}
bool canOpenSettings(const CommandState& s) {
    return s.list.settings && s.hasWindow(Tab::Settings);
}
bool canOpenFonts(const CommandState& s) {
    return s.fontLoaded && s.hasWindow(Tab::Fonts);
}
bool canOpenSerial(const CommandState& s) {
    return s.hasWindow(Tab::Serial);
}
bool canSetRotor(const CommandState& s) {
    return s.list.edit && !s.imageLoaded;
}
bool canSort(const CommandState& s) {
    return s.list.sort;
}
bool canUndo(const CommandState& s) {
    return s.canUndo;
}
bool canRedo(const CommandState& s) {
    return s.canRedo;
}

constexpr std::array<Menu, 2> in(Menu m) {
    return {m, m};
}

// clang-format off
const std::array<CommandInfo, kCommandCount> kCommands = {{
    // File
    {Command::LoadChannels, "Load_Channel", QT_TRANSLATE_NOOP("qel::MainWindow", "Load channels"),
        0, {K(kCtrl, Qt::Key_O)}, in(Menu::File), Place::Next, always},
    {Command::SaveChannels, "Save_Channel", QT_TRANSLATE_NOOP("qel::MainWindow", "Save channels"),
        0, {K(kCtrl, Qt::Key_S)}, in(Menu::File), Place::Next, canSaveList},
    {Command::LoadSettings, "Load_Settings", QT_TRANSLATE_NOOP("qel::MainWindow", "Load settings"),
        0, {}, in(Menu::File), Place::Next, always},
    {Command::SaveSettings, "Save_Settings", QT_TRANSLATE_NOOP("qel::MainWindow", "Save settings"),
        0, {}, in(Menu::File), Place::Next, canSaveSettings},
    {Command::LoadFonts, "Load_Fonts", QT_TRANSLATE_NOOP("qel::MainWindow", "Load fonts"),
        0, {}, in(Menu::File), Place::AfterSeparator, always},
    {Command::SaveFonts, "Save_Fonts", QT_TRANSLATE_NOOP("qel::MainWindow", "Save fonts"),
        0, {}, in(Menu::File), Place::Next, canSaveFonts},
    {Command::ImportText, "ImportFormTXT", QT_TRANSLATE_NOOP("qel::MainWindow", "Import form text file"),
        0, {}, in(Menu::File), Place::AfterSeparator, always},
    {Command::ImportCsv, "ImportCSV", QT_TRANSLATE_NOOP("qel::MainWindow", "Import CSV"),
        0, {}, in(Menu::File), Place::Next, always},
    {Command::ExportCsv, "ExportCSV", QT_TRANSLATE_NOOP("qel::MainWindow", "Export as CSV"),
        0, {}, in(Menu::File), Place::Next, canSaveList},
    {Command::Print, "PrintList", QT_TRANSLATE_NOOP("qel::MainWindow", "Print..."),
        0, {K(kCtrl, Qt::Key_P)}, in(Menu::File), Place::Next, canPrint},
    {Command::ExportPdf, "ExportPDF", QT_TRANSLATE_NOOP("qel::MainWindow", "Export as PDF..."),
        0, {}, in(Menu::File), Place::Next, canPrint},
    {Command::UpgradeFromFile, "UpgDVB", QT_TRANSLATE_NOOP("qel::MainWindow", "Upgrade from file"),
        0, {}, in(Menu::File), Place::AfterSeparator, canUpgrade},
    {Command::CompareWithFile, "CompareFile", QT_TRANSLATE_NOOP("qel::MainWindow", "Compare with file..."),
        0, {}, in(Menu::File), Place::Next, canCompare},
    {Command::CompareBeforeDownload, "CompareDownload",
        QT_TRANSLATE_NOOP("qel::MainWindow", "Compare with the list before the download"),
        0, {}, in(Menu::File), Place::Next, canCompareBeforeDownload},
    {Command::ChangesSinceLoading, "ChangesLoaded",
        QT_TRANSLATE_NOOP("qel::MainWindow", "Changes since loading"),
        0, {}, in(Menu::File), Place::Next, canCompareAsLoaded},
    {Command::ChangesSinceDownload, "ChangesDownload",
        QT_TRANSLATE_NOOP("qel::MainWindow", "Changes since the download"),
        0, {}, in(Menu::File), Place::Next, canCompareAsDownloaded},
    {Command::ConvertToBin, "DVB2Bin", QT_TRANSLATE_NOOP("qel::MainWindow", "&Convert to  bin"),
        0, {K(kCtrl, Qt::Key_C)}, in(Menu::File), Place::Next, canConvert},
    {Command::CheckList, "CheckList", QT_TRANSLATE_NOOP("qel::MainWindow", "Check &list"),
        0, {K(Qt::Key_F7)}, in(Menu::File), Place::Next, always},
    {Command::Exit, "Exitmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "E&xit"),
        0, {}, in(Menu::File), Place::AfterRecentFiles, always},
    // Search
    {Command::Find, "Findmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Find"),
        0, {K(kCtrl, Qt::Key_F)}, in(Menu::Search), Place::Next, canSearch},
    {Command::FindNext, "Findnemnu", QT_TRANSLATE_NOOP("qel::MainWindow", "Find &Next"),
        0, {K(Qt::Key_F3)}, in(Menu::Search), Place::Next, canSearch},
    // Main menu and editing menu
    {Command::Undo, "Undomnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Undo"),
        0, {K(kCtrl, Qt::Key_Z)}, {Menu::Main, Menu::Editing}, Place::Next, canUndo},
    {Command::Redo, "Redomnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Redo"),
        0, {K(kCtrl, Qt::Key_Y), K(kCtrlShift, Qt::Key_Z)}, {Menu::Main, Menu::Editing}, Place::Next, canRedo},
    // Main menu: the tool windows
    {Command::Settings, "Settmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "Se&ttings"),
        0, {}, in(Menu::Main), Place::AfterSeparator, canOpenSettings},
    {Command::Fonts, "Fontmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "F&onts"),
        0, {}, in(Menu::Main), Place::Next, canOpenFonts},
    {Command::Serial, "Serial", QT_TRANSLATE_NOOP("qel::MainWindow", "&Serial functions"),
        0, {}, in(Menu::Main), Place::Next, canOpenSerial},
    {Command::Export, "Export", QT_TRANSLATE_NOOP("qel::MainWindow", "&Export"),
        0, {K(kCtrl, Qt::Key_E)}, in(Menu::Main), Place::Next, canOpenExport},
    {Command::Options, "options", QT_TRANSLATE_NOOP("qel::MainWindow", "&Option"),
        0, {}, in(Menu::Main), Place::Next, always},
    {Command::About, "About", QT_TRANSLATE_NOOP("qel::MainWindow", "&About"),
        0, {}, in(Menu::Main), Place::Next, always},
    {Command::Help, "Help", QT_TRANSLATE_NOOP("qel::MainWindow", "&Help"),
        0, {K(Qt::Key_F1)}, in(Menu::Main), Place::Next, always},
    // Editing menu; its keys reach the list itself
    {Command::Edit, "Editmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Edit"),
        0, {K(Qt::Key_Return), K(Qt::Key_Enter)}, in(Menu::Editing), Place::AfterSeparator, canEdit},
    {Command::Insert, "Insertmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Insert"),
        0, {K(Qt::Key_Insert)}, in(Menu::Editing), Place::Next, canInsert},
    {Command::Delete, "Deletemnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Delete"),
        0, {K(Qt::Key_Delete)}, in(Menu::Editing), Place::Next, canDelete},
    {Command::MoveToBuffer, "Cutmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Move to buffer"),
        0, {K(kCtrl, Qt::Key_X)}, in(Menu::Editing), Place::Next, canMoveToBuffer},
    {Command::PasteAll, "Pastemnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Paste all from buffer"),
        0, {K(kCtrl, Qt::Key_V)}, in(Menu::Editing), Place::Next, canPaste},
    {Command::PasteSpecial, "Pastespecialmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "Paste &Special"),
        0, {K(kCtrlShift, Qt::Key_V)}, in(Menu::Editing), Place::Next, canPaste},
    {Command::Antenna1, "Ant1", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        1, {}, in(Menu::Antenna), Place::AfterSeparator, always},
    {Command::Antenna2, "Ant2", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        2, {}, in(Menu::Antenna), Place::Next, always},
    {Command::Antenna3, "Ant3", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        3, {}, in(Menu::Antenna), Place::Next, always},
    {Command::Antenna4, "Ant4", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        4, {}, in(Menu::Antenna), Place::Next, always},
    {Command::Antenna5, "Ant5", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        5, {}, in(Menu::Antenna), Place::Next, always},
    {Command::Antenna6, "Ant6", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        6, {}, in(Menu::Antenna), Place::Next, always},
    {Command::Antenna7, "Ant7", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        7, {}, in(Menu::Antenna), Place::Next, always},
    {Command::Antenna8, "Ant8", QT_TRANSLATE_NOOP("qel::MainWindow", "Antenna %1"),
        8, {}, in(Menu::Antenna), Place::Next, always},
    {Command::VoltageOn, "onv", QT_TRANSLATE_NOOP("qel::MainWindow", "&On"),
        0, {}, in(Menu::Voltage), Place::Next, always},
    {Command::VoltageOff, "offv", QT_TRANSLATE_NOOP("qel::MainWindow", "O&ff"),
        0, {}, in(Menu::Voltage), Place::Next, always},
    {Command::DiseqcPort1, "Port1", QT_TRANSLATE_NOOP("qel::MainWindow", "Lnb Port &%1"),
        1, {}, in(Menu::Diseqc), Place::Next, always},
    {Command::DiseqcPort2, "Port2", QT_TRANSLATE_NOOP("qel::MainWindow", "Lnb Port &%1"),
        2, {}, in(Menu::Diseqc), Place::Next, always},
    {Command::DiseqcPort3, "Port3", QT_TRANSLATE_NOOP("qel::MainWindow", "Lnb Port &%1"),
        3, {}, in(Menu::Diseqc), Place::Next, always},
    {Command::DiseqcPort4, "Port4", QT_TRANSLATE_NOOP("qel::MainWindow", "Lnb Port &%1"),
        4, {}, in(Menu::Diseqc), Place::Next, always},
    {Command::SpectrumAuto, "Autospi", QT_TRANSLATE_NOOP("qel::MainWindow", "&Auto"),
        0, {}, in(Menu::Spectrum), Place::Next, always},
    {Command::SpectrumOn, "Onspi", QT_TRANSLATE_NOOP("qel::MainWindow", "&On"),
        0, {}, in(Menu::Spectrum), Place::Next, always},
    {Command::SpectrumOff, "Offspi", QT_TRANSLATE_NOOP("qel::MainWindow", "O&ff"),
        0, {}, in(Menu::Spectrum), Place::Next, always},
    {Command::ParentalOn, "OnParCtrl", QT_TRANSLATE_NOOP("qel::MainWindow", "&On"),
        0, {}, in(Menu::Parental), Place::Next, always},
    {Command::ParentalOff, "OffParCtrl", QT_TRANSLATE_NOOP("qel::MainWindow", "O&ff"),
        0, {}, in(Menu::Parental), Place::Next, always},
    {Command::AutoPmtOn, "OnAutoPmt", QT_TRANSLATE_NOOP("qel::MainWindow", "&On"),
        0, {}, in(Menu::AutoPmt), Place::Next, always},
    {Command::AutoPmtOff, "OffAutoPmt", QT_TRANSLATE_NOOP("qel::MainWindow", "O&ff"),
        0, {}, in(Menu::AutoPmt), Place::Next, always},
    {Command::AutoPidOn, "OnAutoPid", QT_TRANSLATE_NOOP("qel::MainWindow", "&On"),
        0, {}, in(Menu::AutoPid), Place::Next, always},
    {Command::AutoPidOff, "OffAutoPid", QT_TRANSLATE_NOOP("qel::MainWindow", "O&ff"),
        0, {}, in(Menu::AutoPid), Place::Next, always},
    {Command::StabPosition, "STABMenu", QT_TRANSLATE_NOOP("qel::MainWindow", "STAB rotor Position"),
        0, {}, in(Menu::Editing), Place::Next, canSetRotor},
    {Command::SortList, "SortList", QT_TRANSLATE_NOOP("qel::MainWindow", "S&ort..."),
        0, {}, in(Menu::Editing), Place::AfterSeparator, canSort},
    {Command::OrderLike, "OrderLike", QT_TRANSLATE_NOOP("qel::MainWindow", "Order like…"),
        0, {}, in(Menu::Editing), Place::Next, canSort},
}};
// clang-format on

const std::array<MenuInfo, 11> kMenus = {{
    {Menu::Main, Menu::Main, "", ""},
    {Menu::Editing, Menu::Editing, "editing_menu", ""},
    {Menu::File, Menu::Main, "", QT_TRANSLATE_NOOP("qel::MainWindow", "&File")},
    {Menu::Search, Menu::Main, "Search", QT_TRANSLATE_NOOP("qel::MainWindow", "&Search")},
    {Menu::Antenna, Menu::Editing, "Antmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Antenna")},
    {Menu::Voltage, Menu::Editing, "Voltmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&12V")},
    {Menu::Diseqc, Menu::Editing, "Diseqcdvbmnu", QT_TRANSLATE_NOOP("qel::MainWindow", "&Diseqc")},
    {Menu::Spectrum, Menu::Editing, "SpecInvmnu",
     QT_TRANSLATE_NOOP("qel::MainWindow", "&Spectrum inversion")},
    {Menu::Parental, Menu::Editing, "ParentCtrlMenu",
     QT_TRANSLATE_NOOP("qel::MainWindow", "&Parental Control")},
    {Menu::AutoPmt, Menu::Editing, "AutoPmtMenu", QT_TRANSLATE_NOOP("qel::MainWindow", "&AutoPmt")},
    {Menu::AutoPid, Menu::Editing, "AutoPidMenu", QT_TRANSLATE_NOOP("qel::MainWindow", "A&utoPid")},
}};

}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo& commandInfo(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

std::span<const MenuInfo> menuTable() {
    return kMenus;
}

bool commandEnabled(Command command, const CommandState& state) {
    return commandInfo(command).enabled(state);
}

bool tabEnabled(Tab tab, const CommandState& s) {
    return tab == Tab::List || (s.hasWindow(tab) && tabWindow(tab).enabled(s));
}

}  // namespace qel
