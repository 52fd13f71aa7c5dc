// Every message box of the program goes through a Prompter, every file dialog through
// a FileChooser, so that tests can answer them without a real modal dialog.
#pragma once

#include <QString>

class QWidget;

namespace qel {

class Prompter {
public:
    enum class Icon { Critical, Exclamation, Information, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;
    virtual Answer Ask(Icon icon, const QString& text, Buttons buttons) = 0;

    void Tell(Icon icon, const QString& text) { Ask(icon, text, Buttons::Ok); }
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file, or an empty text when the user cancels. `filter` is in Qt's
    // form: "Description (*.ext);;Other (*.x)".
    virtual QString OpenFile(const QString& folder, const QString& filter) = 0;
    // `proposedName` is the file name offered; the chosen filter's extension is added
    // to a name typed without one.
    virtual QString SaveFile(const QString& folder, const QString& proposedName,
                             const QString& filter) = 0;
};

// The real ones: Qt's message boxes and file dialogs over `parent`.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}
    Answer Ask(Icon icon, const QString& text, Buttons buttons) override;

private:
    QWidget* parent_;
};

class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    QString OpenFile(const QString& folder, const QString& filter) override;
    QString SaveFile(const QString& folder, const QString& proposedName,
                     const QString& filter) override;

private:
    QWidget* parent_;
};

}  // namespace qel
