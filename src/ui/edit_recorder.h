// The seam through which commands outside the editing window (file commands, the data
// editor) make their changes to the lists undoable.
#pragma once

namespace qel {

class EditRecorder {
public:
    virtual ~EditRecorder() = default;
    // Before the lists named by `touches` (kTouchTV, kTouchRadio, kTouchBuffer) change.
    virtual void BeforeChange(unsigned touches) = 0;
    // After the change: a step that changed nothing is dropped; `saved` tells that the
    // lists now are what the current channel file holds.
    virtual void AfterChange(bool saved) = 0;
};

}  // namespace qel
