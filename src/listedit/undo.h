// Undo and redo of the changes to the channel lists and the buffer. Each step keeps the
// lists it changed as they were, with the shown list and the marked rows, so that undoing
// restores lists, buffer and selection exactly.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "listedit/editing.h"
#include "model/workspace.h"

namespace qel {

// What the main list showed: which list, which row was selected and which were marked.
struct ListSelection {
    ListId list = ListId::TV;
    int selectedRow = 1;
    Marks marks;
};

// Which parts of the workspace a change touches.
enum Touches : unsigned { kTouchTV = 1, kTouchRadio = 2, kTouchBuffer = 4 };

class UndoHistory {
public:
    // Steps are dropped from the oldest end beyond this many bytes of kept lists.
    explicit UndoHistory(std::size_t maxBytes = 64u << 20) : maxBytes_(maxBytes) {}

    // Call before changing the workspace: keeps what `touches` names as it is now.
    void Record(const Workspace& ws, unsigned touches, const ListSelection& selection);
    // Takes back the last Record when the change turned out to change nothing.
    void Forget();
    // True when the lists the last Record kept still equal the workspace's.
    bool LastStepUnchanged(const Workspace& ws) const;

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

    // Restores the state before the last change and gives the selection to show;
    // `current` is what is shown now (kept for redo).
    std::optional<ListSelection> Undo(Workspace& ws, const ListSelection& current);
    std::optional<ListSelection> Redo(Workspace& ws, const ListSelection& current);

    // The channels now shown are the ones last saved; AtSaved tells whether undo or redo
    // came back to them (the channels then count as saved; the buffer is not saved).
    void MarkSaved() { savedId_ = CurrentId(); }
    bool AtSaved() const { return CurrentId() == savedId_; }

    void Clear();
    std::size_t size() const { return undo_.size(); }

private:
    struct Step {
        unsigned touches = 0;
        ChannelList tv;
        ChannelList radio;
        ChannelList buffer;
        std::size_t id = 0;  // names the state the step leads to
        ListSelection selection;
        std::size_t Bytes() const;
    };
    static Step Capture(const Workspace& ws, unsigned touches, const ListSelection& selection);
    static void Swap(Workspace& ws, Step& step);
    void Trim();
    std::size_t CurrentId() const { return undo_.empty() ? 0 : undo_.back().id; }

    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::size_t maxBytes_;
    std::size_t bytes_ = 0;
    std::size_t nextId_ = 1;
    std::size_t savedId_ = 0;
};

}  // namespace qel
