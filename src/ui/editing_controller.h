// The editing commands of the main window, wired to its menus and keys: insert, delete,
// move to the buffer, paste and paste special, the bulk attributes and STAB rotor
// positions, satellite-header steps, find and find next, dragging channels to a new
// place, and undo and redo of all of them. The buffer window works through it too.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "app/session.h"
#include "listedit/buffer_ops.h"
#include "listedit/undo.h"
#include "ui/edit_recorder.h"
#include "ui/prompter.h"

namespace qel {

class MainForm;

class EditingController : public QObject, public EditRecorder {
    Q_OBJECT

public:
    EditingController(Session& session, MainForm& form, Prompter& prompter,
                      QObject* parent = nullptr);

    // The rotor dialog: the chosen position (1-based line of the satellite table) or -1.
    std::function<int()> askRotor;
    // The find dialog: the text to find, or nothing when cancelled.
    std::function<std::optional<QString>(const QString& previous)> askFindText;

    void Insertmnu_Click();
    void Deletemnu_Click();
    void Cutmnu_Click();
    void Pastemnu_Click();
    void Pastespecialmnu_Click();
    void SetAttribute(void (*op)(ChannelList&, const Marks&, int), int value);
    void STABMenu_Click();
    void StepToHeader(int direction);
    void Findmnu_Click();
    void Findnemnu_Click();
    void MoveMarkedBefore(int beforeRow);
    void Undo();
    void Redo();

    // The buffer window's commands.
    bool pasteSpecialMode() const { return pasteSpecialMode_; }
    void PasteFromBuffer(const Marks& bufferMarks, bool removeFromBuffer);
    void SortBuffer(BufferOrder order);
    // Gives the buffer row to select.
    int DeleteFromBuffer(const Marks& bufferMarks);
    void ClearBuffer();

    const QString& findText() const { return findText_; }
    UndoHistory& history() { return history_; }

    // EditRecorder
    void BeforeChange(unsigned touches) override;
    void AfterChange(bool saved) override;

signals:
    void bufferChanged();  // the buffer window redraws
    void listsEdited();    // a command changed the lists (the data editor checks its channel)

private:
    void Record(unsigned touches);
    void Changed(int selectRow);
    void FindMatchFrom(int startRow);
    unsigned CurrentTouch() const;
    void UpdateUndoState();
    void ShowHistoryStep(const std::optional<ListSelection>& shown);

    Session& s_;
    MainForm& form_;
    Prompter& prompter_;
    UndoHistory history_;
    bool pasteSpecialMode_ = false;
    QString findText_;
};

}  // namespace qel
