#include "ui/qt_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

namespace qel {

Prompter::Answer QtPrompter::ask(Icon icon, const QString& text, Buttons buttons,
                                 Answer defaultAnswer) {
    QMessageBox box(parent_);
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
    // Over the program's window when it shows, else in the middle of the screen.
    box.adjustSize();
    const QWidget* over = parent_ != nullptr && parent_->isVisible() ? parent_->window() : nullptr;
    const QRect area = over != nullptr ? over->frameGeometry()
                                       : QGuiApplication::primaryScreen()->availableGeometry();
    box.move(area.center() - box.rect().center());
    switch (box.exec()) {
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

QString QtFileChooser::openFile(const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, QString(), folder, filter);
}

QString QtFileChooser::saveFile(const QString& folder, const QString& proposedName,
                                const QString& filter) {
    QString selectedFilter;
    QString path = QFileDialog::getSaveFileName(
        parent_, QString(), QDir(folder).filePath(proposedName), filter, &selectedFilter);
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    // A name typed without extension gets the one of the chosen filter.
    const QRegularExpression ext(QStringLiteral("\\*\\.(\\w+)"));
    const auto m = ext.match(selectedFilter.isEmpty() ? filter : selectedFilter);
    return m.hasMatch() ? path + '.' + m.captured(1) : path;
}

}  // namespace qel
