// Every message box of the program goes through a Prompter, every file dialog through
// a FileChooser, so that tests can answer them without a real modal dialog. The real
// ones, Qt's dialogs, are the windows' (ui/qt_dialogs.h).
#pragma once

#include <QString>

namespace qel {

class Prompter {
public:
    enum class Icon { Critical, Exclamation, Information, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;
    // `defaultAnswer` is the button Enter presses: No where Yes would discard work.
    virtual Answer ask(Icon icon, const QString& text, Buttons buttons,
                       Answer defaultAnswer = Answer::Yes) = 0;

    void tell(Icon icon, const QString& text) { ask(icon, text, Buttons::Ok, Answer::Ok); }
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file, or an empty text when the user cancels. `filter` is in Qt's
    // form: "Description (*.ext);;Other (*.x)".
    virtual QString openFile(const QString& folder, const QString& filter) = 0;
    // `proposedName` is the file name offered; the chosen filter's extension is added
    // to a name typed without one.
    virtual QString saveFile(const QString& folder, const QString& proposedName,
                             const QString& filter) = 0;
};

}  // namespace qel
