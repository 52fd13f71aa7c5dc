// Esc and the close button, the same in every tool window: a window holding edits it has not
// stored asks whether to throw them away (No, the default, keeps editing); any other window
// closes. Closes the program makes itself (another tab, a save that ends the window) never ask.
#pragma once

#include <QObject>

class QWidget;

namespace qel {

class Prompter;

// A tool window that holds edits of its own until the user stores them.
class UnsavedEdits {
public:
    virtual ~UnsavedEdits() = default;
    // True while the window shows values it has not stored: closing it would lose them.
    virtual bool hasUnsavedEdits() const = 0;
};

class CloseGuard : public QObject {
    Q_OBJECT

public:
    explicit CloseGuard(QObject* parent = nullptr) : QObject(parent) {}

    // Without a prompter a window closes without asking.
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    // Esc and the close button of `window` go through the guard from now on.
    void watch(QWidget* window);
    // True when `window` may close: it holds no unsaved edits, or the user throws them away.
    bool mayClose(QWidget* window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Prompter* prompter_ = nullptr;
};

}  // namespace qel
