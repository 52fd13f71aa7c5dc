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

class UndoHistory {
public:
    // Steps are dropped from the oldest end beyond this many bytes of kept lists.
    explicit UndoHistory(std::size_t maxBytes = 64u << 20) : maxBytes_(maxBytes) {}

    // Call before changing the workspace: keeps what `touches` names as it is now.
    void record(const Workspace& ws, unsigned touches, const ListSelection& selection);
    // Takes back the last record when the change turned out to change nothing.
    void forget();
    // True when the lists the last record kept still equal the workspace's.
    bool lastStepUnchanged(const Workspace& ws) const;

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // Restores the state before the last change and gives the selection to show;
    // `current` is what is shown now (kept for redo).
    std::optional<ListSelection> undo(Workspace& ws, const ListSelection& current);
    std::optional<ListSelection> redo(Workspace& ws, const ListSelection& current);

    // The channels now shown are the ones last saved; atSaved tells whether undo or redo
    // came back to them (the channels then count as saved; the buffer is not saved).
    void markSaved() { savedId_ = currentId(); }
    bool atSaved() const { return currentId() == savedId_; }

    void clear();
    std::size_t size() const { return undo_.size(); }

private:
    struct Step {
        unsigned touches = 0;
        ChannelList tv;
        ChannelList radio;
        ChannelList buffer;
        std::size_t id = 0;  // names the state the step leads to
        ListSelection selection;
        std::size_t bytes() const;
    };
    static Step capture(const Workspace& ws, unsigned touches, const ListSelection& selection);
    static void swap(Workspace& ws, Step& step);
    void trim();
    std::size_t currentId() const { return undo_.empty() ? 0 : undo_.back().id; }

    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::size_t maxBytes_;
    std::size_t bytes_ = 0;
    std::size_t nextId_ = 1;
    std::size_t savedId_ = 0;
};

}  // namespace qel
