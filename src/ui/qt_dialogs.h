// The real Prompter and FileChooser: Qt's message boxes and file dialogs over a window.
#pragma once

#include "app/prompter.h"

class QWidget;

namespace qel {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}
    Answer ask(Icon icon, const QString& text, Buttons buttons, Answer defaultAnswer) override;

private:
    QWidget* parent_;
};

class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    QString openFile(const QString& folder, const QString& filter) override;
    QString saveFile(const QString& folder, const QString& proposedName,
                     const QString& filter) override;

private:
    QWidget* parent_;
};

}  // namespace qel
