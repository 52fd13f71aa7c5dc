#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>

#include "ui/find_dialog.h"
#include "ui/reorder_dialog.h"
#include "ui/rotor_dialog.h"
#include "ui/sort_dialog.h"

namespace qel {

QWidget* DialogOwner::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* window = preferred_ ? preferred_() : nullptr; window && window->isVisible())
        return window;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return fallback_ ? fallback_() : nullptr;
}

void DialogOwner::restore(QWidget* owner) {
    if (owner == nullptr || !owner->isVisible()) return;
    // Whatever the window manager raised when the dialog closed, the window that asked is
    // in front again, with the keyboard.
    owner->window()->raise();
    owner->window()->activateWindow();
}

Prompter::Answer QtPrompter::ask(Icon icon, const QString& text, Buttons buttons,
                                 Answer defaultAnswer) {
    const QPointer<QWidget> owner = owner_.owner();
    QMessageBox box(owner);
    box.setWindowTitle(QStringLiteral("QEL"));
    box.setText(text);
    switch (icon) {
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (defaultAnswer) {
        case Answer::Yes:
            if (buttons != Buttons::Ok) box.setDefaultButton(QMessageBox::Yes);
            break;
        case Answer::No:
            if (buttons != Buttons::Ok) box.setDefaultButton(QMessageBox::No);
            break;
        case Answer::Cancel:
            if (buttons == Buttons::YesNoCancel) box.setDefaultButton(QMessageBox::Cancel);
            break;
        case Answer::Ok:
            break;
    }
    // Over the window that asked when it shows, else in the middle of the screen.
    box.adjustSize();
    const QWidget* over = owner != nullptr && owner->isVisible() ? owner->window() : nullptr;
    const QRect area = over != nullptr ? over->frameGeometry()
                                       : QGuiApplication::primaryScreen()->availableGeometry();
    box.move(area.center() - box.rect().center());
    const int chosen = box.exec();
    DialogOwner::restore(owner);
    switch (chosen) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

int QtPrompter::askRotorPosition(const SatPosTable& table, int current) {
    const QPointer<QWidget> owner = owner_.owner();
    const int chosen = RotorDialog::ask(table, current, owner);
    DialogOwner::restore(owner);
    return chosen;
}

std::optional<QString> QtPrompter::askFindText(const QString& previous) {
    const QPointer<QWidget> owner = owner_.owner();
    std::optional<QString> text = FindDialog::ask(previous, owner);
    DialogOwner::restore(owner);
    return text;
}

std::optional<SortOptions> QtPrompter::askSortOptions(const SortOptions& last) {
    const QPointer<QWidget> owner = owner_.owner();
    std::optional<SortOptions> chosen = SortDialog::ask(last, owner);
    DialogOwner::restore(owner);
    return chosen;
}

std::optional<ReorderOptions> QtPrompter::askReorderOptions(const ReorderOptions& last) {
    const QPointer<QWidget> owner = owner_.owner();
    std::optional<ReorderOptions> chosen = ReorderDialog::ask(last, owner);
    DialogOwner::restore(owner);
    return chosen;
}

QString QtFileChooser::openFile(const QString& folder, const QString& filter) {
    const QPointer<QWidget> owner = owner_.owner();
    const QString path = QFileDialog::getOpenFileName(owner, QString(), folder, filter);
    DialogOwner::restore(owner);
    return path;
}

QString QtFileChooser::saveFile(const QString& folder, const QString& proposedName,
                                const QString& filter) {
    const QPointer<QWidget> owner = owner_.owner();
    QString selectedFilter;
    QString path = QFileDialog::getSaveFileName(
        owner, QString(), QDir(folder).filePath(proposedName), filter, &selectedFilter);
    DialogOwner::restore(owner);
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    // A name typed without extension gets the one of the chosen filter.
    const QRegularExpression ext(QStringLiteral("\\*\\.(\\w+)"));
    const auto m = ext.match(selectedFilter.isEmpty() ? filter : selectedFilter);
    return m.hasMatch() ? path + '.' + m.captured(1) : path;
}

}  // namespace qel
