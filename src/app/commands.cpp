#include "app/commands.h"

namespace qel {

bool commandEnabled(Command command, const CommandState& s) {
    const MainCommands& c = s.list;
    switch (command) {
        case Command::Edit:
            return c.edit && s.hasWindow(Tab::Data);
        case Command::Insert:
            return c.insert;
        case Command::Delete:
            return c.del;
        case Command::MoveToBuffer:
            return c.cut;
        case Command::PasteAll:
        case Command::PasteSpecial:
            return c.paste;
        case Command::UpgradeFromFile:
            return c.upgrade;
        case Command::ConvertToBin:
            return c.convert;
        case Command::Find:
        case Command::FindNext:
            return c.search;
        case Command::Export:
            return c.exportList && s.hasWindow(Tab::Export);
        case Command::Settings:
            return c.settings && s.hasWindow(Tab::Settings);
        case Command::Fonts:
            return s.fontLoaded && s.hasWindow(Tab::Fonts);
        case Command::Serial:
            return s.hasWindow(Tab::Serial);
        case Command::ExportCsv:
            return c.exportList;
        case Command::StabPosition:
            return c.edit && !s.imageLoaded;
        case Command::Undo:
            return s.canUndo;
        case Command::Redo:
            return s.canRedo;
        default:
            return true;
    }
}

bool tabEnabled(Tab tab, const CommandState& s) {
    const bool window = s.hasWindow(tab);
    switch (tab) {
        case Tab::List:
            return true;
        case Tab::Data:
            return window && s.list.edit;
        case Tab::Buffer:
            return window && s.list.buffer;
        case Tab::Settings:
            return window && s.list.settings;
        case Tab::Export:
            return window && s.list.exportList;
        case Tab::Fonts:
            return window && s.fontLoaded;
        case Tab::Serial:
        case Tab::Options:
            return window;
    }
    return false;
}

}  // namespace qel
