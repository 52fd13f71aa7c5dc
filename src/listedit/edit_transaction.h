// One undoable change of the lists: the lists it touches are kept for undo before it,
// and after it a change that left them as they were leaves no undo step.
#pragma once

#include <utility>

#include "listedit/undo.h"
#include "model/workspace.h"

namespace qel {

class EditTransaction {
public:
    // Keeps the lists `touches` names as they are now, with the selection shown now.
    EditTransaction(Workspace& ws, UndoHistory& history, unsigned touches,
                    const ListSelection& shown)
        : ws_(ws), history_(history) {
        history_.record(ws_, touches, shown);
    }
    EditTransaction(const EditTransaction&) = delete;
    EditTransaction& operator=(const EditTransaction&) = delete;

    // Ends the change: true when it changed the lists; otherwise its step is dropped.
    bool finish() {
        if (history_.lastStepUnchanged(ws_)) {
            history_.forget();
            return false;
        }
        return true;
    }

private:
    Workspace& ws_;
    UndoHistory& history_;
};

// An editing command: keeps the lists for undo, makes `change` through the document (which
// announces it) and marks the channels modified; a change that changed nothing leaves
// neither an undo step nor a mark. True when the lists changed.
template <class F>
bool applyEdit(Workspace& ws, UndoHistory& history, unsigned touches, const ListSelection& shown,
               F&& change) {
    EditTransaction edit(ws, history, touches, shown);
    ws.changeLists(touches, std::forward<F>(change));
    if (!edit.finish()) return false;
    ws.setChannelsModified(true);
    return true;
}

}  // namespace qel
