// The main window's actions and menus, built from the command table: one action per
// command with its object name and keys (shown in the menus' shortcut column), the menus in
// table order, their captions in the current language, and the command a key runs.
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <optional>

#include "app/commands.h"

class QAction;
class QMenu;
class QWidget;

namespace qel {

class MainMenus : public QObject {
    Q_OBJECT

public:
    explicit MainMenus(QWidget* owner);

    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    QMenu* menu(Menu menu) const { return menus_[static_cast<std::size_t>(menu)]; }
    QMenu* recentFiles() const { return recent_; }

    // The captions and titles in the current language.
    void setTexts();

    // The command a key runs: bindings that use the held modifiers are matched first, and
    // modifiers no binding of the key uses do not matter.
    std::optional<Command> commandForKey(int key, Qt::KeyboardModifiers mods) const;

    // The editing menu as a right click on a row shows it: the antennas, named, for an image;
    // the DVB98 attributes for a DVB98 list; neither on the blank row.
    void prepareEditingMenu(bool image, bool blankRow,
                            const std::function<QString(std::size_t)>& antennaName);
    // The recent files submenu: one entry per path, `chosen` when one is chosen.
    void showRecentFiles(const QStringList& paths, std::function<void(const QString&)> chosen);

private:
    QMenu* menuFor(Menu menu, Place place);

    std::array<QAction*, kCommandCount> actions_{};
    std::array<QMenu*, 11> menus_{};
    std::array<bool, 11> placed_{};  // the submenu is in its parent menu
    QMenu* recent_ = nullptr;
};

}  // namespace qel
