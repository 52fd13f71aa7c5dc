#include "ui/close_guard.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWidget>

#include "app/prompter.h"

namespace qel {

void CloseGuard::watch(QWidget* window) {
    // Installed once however often the window is shown.
    window->installEventFilter(this);
}

bool CloseGuard::mayClose(QWidget* window) const {
    const auto* edits = dynamic_cast<const UnsavedEdits*>(window);
    if (edits == nullptr || prompter_ == nullptr || !edits->hasUnsavedEdits()) return true;
    return prompter_->ask(Prompter::Icon::Question,
                          tr("The changes in this window are not saved. Close it anyway?"),
                          Prompter::Buttons::YesNo, Prompter::Answer::No) == Prompter::Answer::Yes;
}

bool CloseGuard::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || !window->isWindow()) return false;
    if (event->type() == QEvent::KeyPress) {
        // Esc reaches the window when none of its controls took it (an open list keeps it).
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
        if (mayClose(window)) window->close();
        return true;
    }
    // The close button: a close the program asks for itself is not the user's to answer.
    if (event->type() == QEvent::Close && event->spontaneous() && !mayClose(window)) {
        event->ignore();
        return true;
    }
    return false;
}

}  // namespace qel
