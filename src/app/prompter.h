// Every message box and small question dialog of the program goes through a Prompter, every file
// dialog through a FileChooser, so that tests can answer them without a real modal dialog. The real
// ones, Qt's dialogs, are the windows' (ui/qt_dialogs.h).
#pragma once

#include <QString>
#include <optional>

#include "listedit/reorder.h"
#include "listedit/sort.h"
#include "model/sat_pos.h"

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

    // The rotor dialog over `table`, offering `current` (the selected header's position, 0
    // for none): the chosen position (1-based line of the table) or -1.
    virtual int askRotorPosition(const SatPosTable& table, int current) = 0;
    // The find dialog: the text to find, or nothing when cancelled.
    virtual std::optional<QString> askFindText(const QString& previous) = 0;
    // The sort dialog, offering `last` (the choice made before): the sort chosen, or nothing
    // when cancelled.
    virtual std::optional<SortOptions> askSortOptions(const SortOptions& last) = 0;
    // How "Order like" matches and where the unmatched channels go, offering `last`: the
    // choice, or nothing when cancelled.
    virtual std::optional<ReorderOptions> askReorderOptions(const ReorderOptions& last) = 0;
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
