#include "app/editing_controller.h"

#include "app/texts.h"
#include "bytes/conversions.h"
#include "listedit/attributes.h"
#include "listedit/editing.h"
#include "listedit/find.h"
#include "listedit/sort.h"

namespace qel {

EditingController::EditingController(Session& session, ListController& list, Prompter& prompter,
                                     QObject* parent)
    : QObject(parent), session_(session), list_(list), prompter_(prompter) {}

template <class F>
bool EditingController::edit(unsigned touches, F&& change) {
    Workspace& ws = session_.workspace();
    const ListId shown = ws.shownList();
    int row = list_.selectedRow();
    const bool changed = applyEdit(ws, history_, touches, list_.selection(),
                                   [&](EditableLists& l) { row = change(l.of(shown), l.buffer); });
    emit historyChanged();
    if (changed) afterEdit(row);
    return changed;
}

// After a command changed the lists: the list shows `selectRow`, remembered for the list.
void EditingController::afterEdit(int selectRow) {
    session_.workspace().rememberRow(session_.workspace().shownList(), selectRow);
    list_.selectOnly(selectRow);
    emit bufferChanged();
    emit listsEdited();
}

void EditingController::clearHistory() {
    history_.clear();
    emit historyChanged();
}

void EditingController::markSaved() {
    history_.markSaved();
}

void EditingController::setPasteSpecialMode(bool on) {
    if (pasteSpecialMode_ == on) return;
    pasteSpecialMode_ = on;
    emit pasteSpecialModeChanged(on);
}

void EditingController::tabOpened(Tab tab) {
    if (tab == Tab::List || tab == Tab::Data) setPasteSpecialMode(false);
}

template <class F>
void EditingController::editBuffer(F&& change) {
    EditTransaction edit(session_.workspace(), history_, kTouchBuffer, list_.selection());
    session_.workspace().changeLists(kTouchBuffer, std::forward<F>(change));
    edit.finish();
    emit historyChanged();
    emit bufferChanged();
}

void EditingController::insertChannel() {
    const int at = list_.selectedRow();
    const unsigned touch = touchOf(session_.workspace().shownList());
    if (edit(touch,
             [at](ChannelList& list, ChannelList&) { return qel::insertChannel(list, at); })) {
        emit tabRequested(Tab::Data);
    }
}

void EditingController::deleteMarked() {
    if (prompter_.ask(Prompter::Icon::Question, tr("Are you sure to delete marked channels ?"),
                      Prompter::Buttons::YesNo, Prompter::Answer::No) != Prompter::Answer::Yes) {
        return;
    }
    const Marks marks = list_.marks();
    if (marks.empty()) return;
    const int at = list_.selectedRow();
    edit(touchOf(session_.workspace().shownList()), [&](ChannelList& list, ChannelList& buffer) {
        return removeMarked(list, buffer, marks, false, at);
    });
}

void EditingController::moveToBuffer() {
    const Marks marks = list_.marks();
    if (marks.empty()) return;
    const int at = list_.selectedRow();
    edit(touchOf(session_.workspace().shownList()) | kTouchBuffer,
         [&](ChannelList& list, ChannelList& buffer) {
             return removeMarked(list, buffer, marks, true, at);
         });
}

void EditingController::pasteAll() {
    if (session_.workspace().bufferList().empty()) return;
    if (pasteSpecialMode_) {
        pasteFromBuffer(bufferMarks_, true);
        emit tabRequested(Tab::List);
        return;
    }
    const int at = list_.selectedRow();
    edit(touchOf(session_.workspace().shownList()) | kTouchBuffer,
         [at](ChannelList& list, ChannelList& buffer) {
             return pasteEntries(list, buffer, at, false, {}, true);
         });
}

void EditingController::pasteSpecial() {
    setPasteSpecialMode(true);
    emit tabRequested(Tab::Buffer);
}

void EditingController::pasteFromBuffer(const Marks& bufferMarks, bool removeFromBuffer) {
    if (bufferMarks.empty()) return;
    const int at = list_.selectedRow();
    edit(touchOf(session_.workspace().shownList()) | kTouchBuffer,
         [&](ChannelList& list, ChannelList& buffer) {
             return pasteEntries(list, buffer, at, true, bufferMarks, removeFromBuffer);
         });
}

void EditingController::setAttribute(void (*set)(ChannelList&, const Marks&, int), int value) {
    const Marks marks = list_.marks();
    if (marks.empty()) return;
    Workspace& ws = session_.workspace();
    const ListId shown = ws.shownList();
    // The rows are redrawn in place: the selection and the marks stay.
    const bool changed = applyEdit(ws, history_, touchOf(shown), list_.selection(),
                                   [&](EditableLists& l) { set(l.of(shown), marks, value); });
    emit historyChanged();
    if (changed) emit listsEdited();
}

void EditingController::assignRotorPosition() {
    const ChannelList& shown = session_.workspace().shown();
    const int row = list_.selectedRow();
    const int current = row >= 1 && row <= static_cast<int>(shown.size())
                            ? hexToDec(shown[static_cast<std::size_t>(row - 1)].APid.view())
                            : 0;
    const int position = prompter_.askRotorPosition(session_.satPos(), current);
    if (position < 1) return;
    setAttribute(setStabPosition, position);
}

void EditingController::stepToHeader(int direction) {
    Workspace& ws = session_.workspace();
    if (ws.channelCount() == 0) return;
    const int row = findSatelliteHeader(ws.shown(), list_.selectedRow(),
                                        direction > 0 ? Direction::Next : Direction::Previous);
    ws.rememberRow(ws.shownList(), row);
    // The row left loses its mark, the header reached gets one; other marks stay.
    const auto left = static_cast<std::size_t>(list_.selectedRow() - 1);
    Marks marks;
    for (std::size_t m : list_.marks()) {
        if (m != left) marks.push_back(m);
    }
    marks.push_back(static_cast<std::size_t>(row - 1));
    list_.select(row, std::move(marks));
}

void EditingController::findFrom(int startRow) {
    const ChannelList& list = session_.workspace().shown();
    std::vector<std::string> rows;
    rows.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back(rowText(i, list[i]));
    const int selected = list_.selectedRow();
    const FindOutcome out = findMatch(rows, Texts::toLatin1(findText_), startRow, selected);

    // The rows passed over lose their marking.
    Marks marks;
    for (std::size_t m : list_.marks()) {
        const auto row = static_cast<int>(m) + 1;
        const bool passed = row >= startRow && row <= out.lastSearched;
        if (!passed && !(out.match && row == selected)) marks.push_back(m);
    }
    const int shown = out.match ? *out.match : selected;
    if (shown >= 1 && shown <= static_cast<int>(list.size())) {
        marks.push_back(static_cast<std::size_t>(shown - 1));
    }
    list_.select(shown, std::move(marks));
    if (!out.match) prompter_.tell(Prompter::Icon::Critical, tr("Channel not found"));
}

void EditingController::find() {
    const std::optional<QString> text = prompter_.askFindText(findText_);
    // "#Cancel#" is the dialog's own cancel mark, whatever way it comes.
    if (!text || *text == QLatin1String("#Cancel#")) return;
    findText_ = *text;
    findFrom(1);
}

void EditingController::findNext() {
    if (findText_.isEmpty()) return;
    findFrom(list_.selectedRow());
}

void EditingController::moveMarkedBefore(int beforeRow) {
    const Marks marks = list_.marks();
    if (marks.empty()) return;
    int first = 1;
    if (!edit(touchOf(session_.workspace().shownList()), [&](ChannelList& list, ChannelList&) {
            first = moveRows(list, marks, beforeRow);
            return first;
        })) {
        return;
    }
    // The moved channels stay marked together.
    Marks moved;
    for (std::size_t i = 0; i < marks.size(); ++i)
        moved.push_back(static_cast<std::size_t>(first - 1) + i);
    list_.select(first, std::move(moved));
}

void EditingController::sortList() {
    Workspace& ws = session_.workspace();
    if (ws.shown().size() < 2) return;
    const std::optional<SortOptions> chosen = prompter_.askSortOptions(sortChoice_);
    if (!chosen) return;
    sortChoice_ = *chosen;
    reorderShown(sortOrder(ws.shown(), sortChoice_));
}

bool EditingController::reorderShown(const SortOrder& order) {
    Workspace& ws = session_.workspace();
    const ListId shown = ws.shownList();
    if (order.size() != ws.shown().size()) return false;
    const ListSelection before = list_.selection();
    const bool changed = applyEdit(ws, history_, touchOf(shown), before,
                                   [&](EditableLists& l) { applyOrder(l.of(shown), order); });
    emit historyChanged();
    if (!changed) return false;
    const int row = movedRow(before.selectedRow, order);
    ws.rememberRow(shown, row);
    list_.select(row, movedMarks(before.marks, order));
    emit listsEdited();
    return true;
}

void EditingController::undo() {
    showHistoryStep(history_.undo(session_.workspace(), list_.selection()));
}

void EditingController::redo() {
    showHistoryStep(history_.redo(session_.workspace(), list_.selection()));
}

// After undo or redo: the lists as the step left them, shown as they were then.
void EditingController::showHistoryStep(const std::optional<ListSelection>& shown) {
    if (!shown) return;
    session_.workspace().setChannelsModified(!history_.atSaved());
    list_.showSelection(*shown);
    emit historyChanged();
    emit bufferChanged();
    emit listsEdited();
}

void EditingController::sortBuffer(BufferOrder order) {
    editBuffer([order](EditableLists& l) { orderBuffer(l.buffer, order); });
}

int EditingController::deleteFromBuffer(const Marks& bufferMarks) {
    if (bufferMarks.empty()) return 1;
    int row = 1;
    editBuffer([&](EditableLists& l) { row = deleteBufferEntries(l.buffer, bufferMarks); });
    return row;
}

void EditingController::clearBuffer() {
    if (session_.workspace().bufferList().empty()) return;
    editBuffer([](EditableLists& l) { l.buffer.clear(); });
}

bool EditingController::storeChannel(ListId list, int row, const ChannelRec& expected,
                                     const ChannelRec& updated) {
    Workspace& ws = session_.workspace();
    const ChannelList& channels = ws.list(list);
    if (row < 1 || row > static_cast<int>(channels.size()) ||
        channels[static_cast<std::size_t>(row - 1)] != expected) {
        return false;
    }
    EditTransaction store(ws, history_, touchOf(list), list_.selection());
    ws.changeLists(touchOf(list), [&](EditableLists& l) {
        l.of(list)[static_cast<std::size_t>(row - 1)] = updated;
    });
    store.finish();
    // Saving the editor counts as a change even when the values stayed.
    ws.setChannelsModified(true);
    emit historyChanged();
    return true;
}

}  // namespace qel
