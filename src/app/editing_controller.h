// The editing commands of the main list, without widgets: insert, delete, move to the
// buffer, paste and paste special, the bulk attributes and STAB rotor positions, the steps
// between satellite headers, find and find next, sorting the list, moving marked channels, the
// buffer window's sorts and deletes, storing an edited channel, and undo and redo of all of them.
// Each change goes through the document in one undoable step.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "app/commands.h"
#include "app/list_controller.h"
#include "app/prompter.h"
#include "app/session.h"
#include "listedit/buffer_ops.h"
#include "listedit/edit_transaction.h"
#include "listedit/undo.h"

namespace qel {

class EditingController : public QObject {
    Q_OBJECT

public:
    EditingController(Session& session, ListController& list, Prompter& prompter,
                      QObject* parent = nullptr);

    void insertChannel();
    void deleteMarked();
    void moveToBuffer();
    void pasteAll();
    void pasteSpecial();
    // A bulk attribute on every marked channel: `set` is one of the listedit setters.
    void setAttribute(void (*set)(ChannelList&, const Marks&, int), int value);
    void assignRotorPosition();
    void stepToHeader(int direction);  // +1 next, -1 previous satellite header
    void find();
    void findNext();
    void moveMarkedBefore(int beforeRow);
    // Sort: asks how (offering the last choice of the session) and sorts the shown list; the
    // marks and the selected row follow their channels.
    void sortList();
    const SortOptions& sortChoice() const { return sortChoice_; }
    // Puts the shown list into `order` (a permutation of its rows) as one undoable step; the
    // marks and the selected row follow their channels. False when no channel moved.
    bool reorderShown(const SortOrder& order);
    void undo();
    void redo();
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    // A new file starts a new history.
    void clearHistory();

    // Paste special shows the buffer window with its paste buttons; opening the list or
    // the data editor ends that mode. In that mode Paste all moves the buffer entries
    // marked in the buffer window.
    bool pasteSpecialMode() const { return pasteSpecialMode_; }
    void tabOpened(Tab tab);
    // The entries marked in the buffer window (0-based).
    void setBufferMarks(const Marks& marks) { bufferMarks_ = marks; }

    // The buffer window's commands.
    void pasteFromBuffer(const Marks& bufferMarks, bool removeFromBuffer);
    void sortBuffer(BufferOrder order);
    // Gives the buffer row to select.
    int deleteFromBuffer(const Marks& bufferMarks);
    void clearBuffer();

    // The data editor stores `updated` at `row` of `list`, if that row still holds
    // `expected`; false when the channel changed under the editor.
    bool storeChannel(ListId list, int row, const ChannelRec& expected, const ChannelRec& updated);

    // Runs `change` (which changes the lists `touches` names through the document) as one
    // undoable step that does not mark the channels modified; true when the lists changed.
    // The file commands save and upgrade through it.
    template <class F>
    bool undoable(unsigned touches, F&& change) {
        EditTransaction edit(session_.workspace(), history_, touches, list_.selection());
        std::forward<F>(change)();
        const bool changed = edit.finish();
        emit historyChanged();
        return changed;
    }
    // The channels now are what the current channel file holds.
    void markSaved();

    const QString& findText() const { return findText_; }
    const UndoHistory& history() const { return history_; }

signals:
    void historyChanged();  // undo or redo became possible or impossible
    void pasteSpecialModeChanged(bool on);
    void tabRequested(Tab tab);  // a command opens a tool window
    void bufferChanged();        // the buffer window redraws
    void listsEdited();          // a command changed the lists (the data editor checks its channel)

private:
    // An editing command on the shown list: one undoable step that marks the channels
    // modified, then the list shows `selectRow`. `change` gets the shown list and the
    // buffer and gives the row to select.
    template <class F>
    bool edit(unsigned touches, F&& change);
    void afterEdit(int selectRow);
    void findFrom(int startRow);
    void showHistoryStep(const std::optional<ListSelection>& shown);

    Session& session_;
    ListController& list_;
    Prompter& prompter_;
    UndoHistory history_;
    void setPasteSpecialMode(bool on);
    // A change of the buffer alone: undoable, but the buffer is never saved, so the
    // channels do not count as modified by it.
    template <class F>
    void editBuffer(F&& change);

    bool pasteSpecialMode_ = false;
    Marks bufferMarks_;
    QString findText_;
    SortOptions sortChoice_;
};

}  // namespace qel
