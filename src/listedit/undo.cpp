#include "listedit/undo.h"

#include <utility>

namespace qel {

std::size_t UndoHistory::Step::bytes() const {
    return (tv.size() + radio.size() + buffer.size()) * sizeof(ChannelRec) + sizeof(Step);
}

UndoHistory::Step UndoHistory::capture(const Workspace& ws, unsigned touches,
                                       const ListSelection& selection) {
    Step s;
    s.touches = touches;
    if (touches & kTouchTV) s.tv = ws.tvList();
    if (touches & kTouchRadio) s.radio = ws.radioList();
    if (touches & kTouchBuffer) s.buffer = ws.bufferList();
    s.selection = selection;
    return s;
}

// Exchanges the kept lists with the workspace's: the step then holds the other state.
void UndoHistory::swap(Workspace& ws, Step& step) {
    ws.changeLists(step.touches, [&step](EditableLists& lists) {
        if (step.touches & kTouchTV) std::swap(lists.tv, step.tv);
        if (step.touches & kTouchRadio) std::swap(lists.radio, step.radio);
        if (step.touches & kTouchBuffer) std::swap(lists.buffer, step.buffer);
    });
}

void UndoHistory::record(const Workspace& ws, unsigned touches, const ListSelection& selection) {
    for (const Step& s : redo_)
        bytes_ -= s.bytes();
    redo_.clear();
    // A change to the buffer alone leaves the channels as saved or unsaved as they were.
    const std::size_t id = touches == kTouchBuffer ? currentId() : nextId_++;
    undo_.push_back(capture(ws, touches, selection));
    undo_.back().id = id;
    bytes_ += undo_.back().bytes();
    trim();
}

void UndoHistory::forget() {
    if (undo_.empty()) return;
    bytes_ -= undo_.back().bytes();
    undo_.pop_back();
}

bool UndoHistory::lastStepUnchanged(const Workspace& ws) const {
    if (undo_.empty()) return false;
    const Step& s = undo_.back();
    return (!(s.touches & kTouchTV) || s.tv == ws.tvList()) &&
           (!(s.touches & kTouchRadio) || s.radio == ws.radioList()) &&
           (!(s.touches & kTouchBuffer) || s.buffer == ws.bufferList());
}

void UndoHistory::trim() {
    while (bytes_ > maxBytes_ && undo_.size() > 1) {
        bytes_ -= undo_.front().bytes();
        undo_.pop_front();
    }
}

std::optional<ListSelection> UndoHistory::undo(Workspace& ws, const ListSelection& current) {
    if (undo_.empty()) return std::nullopt;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= step.bytes();
    swap(ws, step);
    ListSelection shown = std::exchange(step.selection, current);
    bytes_ += step.bytes();
    redo_.push_back(std::move(step));
    return shown;
}

std::optional<ListSelection> UndoHistory::redo(Workspace& ws, const ListSelection& current) {
    if (redo_.empty()) return std::nullopt;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= step.bytes();
    swap(ws, step);
    ListSelection shown = std::exchange(step.selection, current);
    bytes_ += step.bytes();
    undo_.push_back(std::move(step));
    return shown;
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    savedId_ = 0;
}

}  // namespace qel
