// The real Prompter and FileChooser: Qt's message boxes and file dialogs over the window
// that asked, which comes back to the front when they close.
#pragma once

#include <functional>

#include "app/prompter.h"

class QWidget;

namespace qel {

// The window a message box or file dialog belongs to: a dialog already open; else the window
// `preferred` names (the window whose work the messages are about), when it shows; else the
// program's active window; else the window `fallback` names.
class DialogOwner {
public:
    using Window = std::function<QWidget*()>;
    DialogOwner(Window preferred, Window fallback)
        : preferred_(std::move(preferred)), fallback_(std::move(fallback)) {}
    // The window to show a dialog over.
    QWidget* owner() const;
    // Brings `owner` back to the front once its dialog has closed.
    static void restore(QWidget* owner);

private:
    Window preferred_;
    Window fallback_;
};

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(DialogOwner owner) : owner_(std::move(owner)) {}
    Answer ask(Icon icon, const QString& text, Buttons buttons, Answer defaultAnswer) override;
    int askRotorPosition(const SatPosTable& table, int current) override;
    std::optional<QString> askFindText(const QString& previous) override;
    std::optional<SortOptions> askSortOptions(const SortOptions& last) override;
    std::optional<ReorderOptions> askReorderOptions(const ReorderOptions& last) override;

private:
    DialogOwner owner_;
};

class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(DialogOwner owner) : owner_(std::move(owner)) {}
    QString openFile(const QString& folder, const QString& filter) override;
    QString saveFile(const QString& folder, const QString& proposedName,
                     const QString& filter) override;

private:
    DialogOwner owner_;
};

}  // namespace qel
