#include "listedit/undo.h"

#include <utility>

namespace qel {

std::size_t UndoHistory::Step::Bytes() const {
    return (tv.size() + radio.size() + buffer.size()) * sizeof(ChannelRec) + sizeof(Step);
}

UndoHistory::Step UndoHistory::Capture(const Workspace& ws, unsigned touches,
                                       const ListSelection& selection) {
    Step s;
    s.touches = touches;
    if (touches & kTouchTV) s.tv = ws.TVList;
    if (touches & kTouchRadio) s.radio = ws.RadioList;
    if (touches & kTouchBuffer) s.buffer = ws.BufferList;
    s.selection = selection;
    return s;
}

// Exchanges the kept lists with the workspace's: the step then holds the other state.
void UndoHistory::Swap(Workspace& ws, Step& step) {
    if (step.touches & kTouchTV) std::swap(ws.TVList, step.tv);
    if (step.touches & kTouchRadio) std::swap(ws.RadioList, step.radio);
    if (step.touches & kTouchBuffer) std::swap(ws.BufferList, step.buffer);
}

void UndoHistory::Record(const Workspace& ws, unsigned touches, const ListSelection& selection) {
    for (const Step& s : redo_)
        bytes_ -= s.Bytes();
    redo_.clear();
    // A change to the buffer alone leaves the channels as saved or unsaved as they were.
    const std::size_t id = touches == kTouchBuffer ? CurrentId() : nextId_++;
    undo_.push_back(Capture(ws, touches, selection));
    undo_.back().id = id;
    bytes_ += undo_.back().Bytes();
    Trim();
}

void UndoHistory::Forget() {
    if (undo_.empty()) return;
    bytes_ -= undo_.back().Bytes();
    undo_.pop_back();
}

bool UndoHistory::LastStepUnchanged(const Workspace& ws) const {
    if (undo_.empty()) return false;
    const Step& s = undo_.back();
    return (!(s.touches & kTouchTV) || s.tv == ws.TVList) &&
           (!(s.touches & kTouchRadio) || s.radio == ws.RadioList) &&
           (!(s.touches & kTouchBuffer) || s.buffer == ws.BufferList);
}

void UndoHistory::Trim() {
    while (bytes_ > maxBytes_ && undo_.size() > 1) {
        bytes_ -= undo_.front().Bytes();
        undo_.pop_front();
    }
}

std::optional<ListSelection> UndoHistory::Undo(Workspace& ws, const ListSelection& current) {
    if (undo_.empty()) return std::nullopt;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= step.Bytes();
    Swap(ws, step);
    ListSelection shown = std::exchange(step.selection, current);
    bytes_ += step.Bytes();
    redo_.push_back(std::move(step));
    return shown;
}

std::optional<ListSelection> UndoHistory::Redo(Workspace& ws, const ListSelection& current) {
    if (redo_.empty()) return std::nullopt;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= step.Bytes();
    Swap(ws, step);
    ListSelection shown = std::exchange(step.selection, current);
    bytes_ += step.Bytes();
    undo_.push_back(std::move(step));
    return shown;
}

void UndoHistory::Clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    savedId_ = 0;
}

}  // namespace qel
