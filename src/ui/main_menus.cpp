#include "ui/main_menus.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace qel {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("qel::MainWindow", text);
}

}  // namespace

MainMenus::MainMenus(QWidget* owner) : QObject(owner) {
    for (const MenuInfo& info : menuTable()) {
        auto* m = new QMenu(owner);
        m->setObjectName(QString::fromLatin1(info.objectName));
        menus_[static_cast<std::size_t>(info.menu)] = m;
        placed_[static_cast<std::size_t>(info.menu)] = info.parent == info.menu;
    }
    for (const CommandInfo& info : commandTable()) {
        auto* a = new QAction(owner);
        a->setObjectName(QString::fromLatin1(info.objectName));
        QList<QKeySequence> keys;
        for (QKeyCombination key : info.keys)
            keys.append(QKeySequence(key));
        // The main window runs the keys itself (commandForKey); the menus show them.
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WidgetShortcut);
        a->setShortcutVisibleInContextMenu(true);
        a->setEnabled(false);
        actions_[static_cast<std::size_t>(info.command)] = a;
        menuFor(info.menus[0], info.place)->addAction(a);
        if (info.menus[1] != info.menus[0]) menuFor(info.menus[1], info.place)->addAction(a);
    }
    setTexts();
}

QMenu* MainMenus::menuFor(Menu which, Place place) {
    QMenu* m = menu(which);
    const std::size_t i = static_cast<std::size_t>(which);
    // The menu the entry goes in, or the menu its submenu opens from.
    QMenu* host = m;
    for (const MenuInfo& info : menuTable()) {
        if (info.menu == which && !placed_[i]) host = menu(info.parent);
    }
    if (place == Place::AfterSeparator) host->addSeparator();
    if (place == Place::AfterRecentFiles) {
        host->addSeparator();
        recent_ = host->addMenu(QString());
        recent_->setObjectName("RecentFiles");
        host->addSeparator();
    }
    if (!placed_[i]) {
        host->addMenu(m);
        placed_[i] = true;
    }
    return m;
}

void MainMenus::setTexts() {
    for (const CommandInfo& info : commandTable()) {
        QString text = translated(info.caption);
        if (info.number > 0) text = text.arg(info.number);
        action(info.command)->setText(text);
    }
    for (const MenuInfo& info : menuTable()) {
        if (*info.title != '\0') menu(info.menu)->setTitle(translated(info.title));
    }
    if (recent_ != nullptr)
        recent_->setTitle(translated(QT_TRANSLATE_NOOP("qel::MainWindow", "Recent files")));
}

std::optional<Command> MainMenus::commandForKey(int key, Qt::KeyboardModifiers mods) const {
    const Qt::KeyboardModifiers held =
        mods & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    // Fewer dropped modifiers first: the binding closest to what is held wins.
    for (Qt::KeyboardModifiers dropped :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::AltModifier),
          Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::AltModifier | Qt::ShiftModifier,
          Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::AltModifier,
          Qt::ControlModifier | Qt::ShiftModifier,
          Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier}) {
        if ((held & dropped) != dropped) continue;
        const QKeyCombination pressed(held & ~dropped, static_cast<Qt::Key>(key));
        for (const CommandInfo& info : commandTable()) {
            if (info.keys.contains(pressed)) return info.command;
        }
    }
    return std::nullopt;
}

void MainMenus::prepareEditingMenu(bool image, bool blankRow,
                                   const std::function<QString(std::size_t)>& antennaName) {
    QMenu* antennas = menu(Menu::Antenna);
    antennas->setEnabled(image && !blankRow);
    if (image) {
        const QList<QAction*> items = antennas->actions();
        for (int i = 0; i < items.size() && i < 8; ++i) {
            const QString name = antennaName(static_cast<std::size_t>(i));
            items[i]->setText(QString::number(i + 1) + ' ' + name.trimmed());
        }
    }
    for (Menu m : {Menu::Voltage, Menu::Diseqc, Menu::Spectrum, Menu::Parental, Menu::AutoPmt,
                   Menu::AutoPid}) {
        menu(m)->setEnabled(!image && !blankRow);
    }
}

void MainMenus::showRecentFiles(const QStringList& paths,
                                std::function<void(const QString&)> chosen) {
    recent_->clear();
    for (const QString& path : paths) {
        QAction* a = recent_->addAction(QFileInfo(path).fileName());
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [chosen, path] { chosen(path); });
    }
    recent_->setEnabled(!paths.isEmpty());
}

}  // namespace qel
