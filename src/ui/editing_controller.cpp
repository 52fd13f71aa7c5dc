#include "ui/editing_controller.h"

#include <QItemSelectionModel>
#include <QListView>

#include "listedit/attributes.h"
#include "listedit/editing.h"
#include "listedit/find.h"
#include "listedit/list_view.h"
#include "ui/channel_list_model.h"
#include "ui/file_commands.h"
#include "ui/find_form.h"
#include "ui/main_form.h"
#include "ui/rotor_form.h"
#include "ui/texts.h"

namespace qel {

EditingController::EditingController(Session& session, MainForm& form, Prompter& prompter,
                                     QObject* parent)
    : QObject(parent), s_(session), form_(form), prompter_(prompter) {
    askRotor = [this] { return RotorForm::Ask(s_.satPos, &form_); };
    askFindText = [this](const QString& previous) { return FindForm::Ask(previous, &form_); };

    form_.Wire("Insertmnu", [this] { Insertmnu_Click(); });
    form_.Wire("Deletemnu", [this] { Deletemnu_Click(); });
    form_.Wire("Cutmnu", [this] { Cutmnu_Click(); });
    form_.Wire("Pastemnu", [this] { Pastemnu_Click(); });
    form_.Wire("Pastespecialmnu", [this] { Pastespecialmnu_Click(); });
    form_.Wire("STABMenu", [this] { STABMenu_Click(); });
    form_.Wire("Findmnu", [this] { Findmnu_Click(); });
    form_.Wire("Findnemnu", [this] { Findnemnu_Click(); });
    form_.Wire("Undomnu", [this] { Undo(); });
    form_.Wire("Redomnu", [this] { Redo(); });
    static const char* const kAntennas[] = {"Ant1", "Ant2", "Ant3", "Ant4",
                                            "Ant5", "Ant6", "Ant7", "Ant8"};
    for (int i = 0; i < 8; ++i)
        form_.Wire(kAntennas[i], [this, i] { SetAttribute(SetAntenna, i + 1); });
    form_.Wire("onv", [this] { SetAttribute(SetVoltage, 1); });
    form_.Wire("offv", [this] { SetAttribute(SetVoltage, 0); });
    static const char* const kPorts[] = {"Port1", "Port2", "Port3", "Port4"};
    for (int i = 0; i < 4; ++i)
        form_.Wire(kPorts[i], [this, i] { SetAttribute(SetDiseqC, i); });
    form_.Wire("Autospi", [this] { SetAttribute(SetSpi, 0); });
    form_.Wire("Offspi", [this] { SetAttribute(SetSpi, 1); });
    form_.Wire("Onspi", [this] { SetAttribute(SetSpi, 2); });
    form_.Wire("OnParCtrl", [this] { SetAttribute(SetParCtrl, 1); });
    form_.Wire("OffParCtrl", [this] { SetAttribute(SetParCtrl, 0); });
    form_.Wire("OnAutoPmt", [this] { SetAttribute(SetAutoPmt, 1); });
    form_.Wire("OffAutoPmt", [this] { SetAttribute(SetAutoPmt, 0); });
    form_.Wire("OnAutoPid", [this] { SetAttribute(SetAutoPid, 1); });
    form_.Wire("OffAutoPid", [this] { SetAttribute(SetAutoPid, 0); });

    connect(&form_, &MainForm::headerStepRequested, this, &EditingController::StepToHeader);
    connect(&form_, &MainForm::rowsDropped, this, &EditingController::MoveMarkedBefore);
    connect(&form_, &MainForm::tabOpened, this, [this](int tab) {
        if (tab == MainForm::ListTab || tab == MainForm::DataTab) pasteSpecialMode_ = false;
    });
    // A new file starts a new history.
    connect(&form_.files(), &FileCommands::channelsLoaded, this, [this] {
        history_.Clear();
        UpdateUndoState();
    });
    form_.files().setRecorder(this);
}

unsigned EditingController::CurrentTouch() const {
    return s_.ws.CurrentList == ListId::TV ? kTouchTV : kTouchRadio;
}

void EditingController::UpdateUndoState() {
    form_.setUndoState(history_.CanUndo(), history_.CanRedo());
}

void EditingController::Record(unsigned touches) {
    history_.Record(s_.ws, touches, form_.currentSelection());
}

// After a command changed the lists: mark them unsaved, show the list with `selectRow`.
void EditingController::Changed(int selectRow) {
    s_.ws.ChannelsModified = true;
    (s_.ws.CurrentList == ListId::TV ? s_.ws.TVPos : s_.ws.RadioPos) = selectRow;
    form_.Fill_List(selectRow);
    form_.listView()->setFocus();
    UpdateUndoState();
    s_.notifyStateChanged();
    emit bufferChanged();
    emit listsEdited();
}

void EditingController::BeforeChange(unsigned touches) {
    Record(touches);
}

void EditingController::AfterChange(bool saved) {
    if (history_.LastStepUnchanged(s_.ws)) history_.Forget();
    if (saved) history_.MarkSaved();
    UpdateUndoState();
}

void EditingController::Insertmnu_Click() {
    Record(CurrentTouch());
    const int row = InsertChannel(s_.ws.Current(), form_.selectedRow());
    Changed(row);
    form_.selectTab(MainForm::DataTab);
}

void EditingController::Deletemnu_Click() {
    if (prompter_.Ask(Prompter::Icon::Question, tr("Are you sure to delete marked channels ?"),
                      Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
        return;
    }
    const Marks marks = form_.marks();
    if (marks.empty()) return;
    Record(CurrentTouch());
    Changed(Delorcut(s_.ws.Current(), s_.ws.BufferList, marks, false, form_.selectedRow()));
}

void EditingController::Cutmnu_Click() {
    const Marks marks = form_.marks();
    if (marks.empty()) return;
    Record(CurrentTouch() | kTouchBuffer);
    Changed(Delorcut(s_.ws.Current(), s_.ws.BufferList, marks, true, form_.selectedRow()));
}

void EditingController::Pastemnu_Click() {
    if (s_.ws.BufferList.empty()) return;
    Record(CurrentTouch() | kTouchBuffer);
    Changed(PasteElements(s_.ws.Current(), s_.ws.BufferList, form_.selectedRow(), false, {}, true));
}

void EditingController::Pastespecialmnu_Click() {
    pasteSpecialMode_ = true;
    form_.selectTab(MainForm::BufferTab);
}

void EditingController::PasteFromBuffer(const Marks& bufferMarks, bool removeFromBuffer) {
    if (bufferMarks.empty()) return;
    Record(CurrentTouch() | kTouchBuffer);
    Changed(PasteElements(s_.ws.Current(), s_.ws.BufferList, form_.selectedRow(), true, bufferMarks,
                          removeFromBuffer));
}

void EditingController::SetAttribute(void (*op)(ChannelList&, const Marks&, int), int value) {
    const Marks marks = form_.marks();
    if (marks.empty()) return;
    Record(CurrentTouch());
    op(s_.ws.Current(), marks, value);
    if (history_.LastStepUnchanged(s_.ws)) {
        history_.Forget();
        return;
    }
    s_.ws.ChannelsModified = true;
    // The icons of locked rows change at once; the data row shows the new values.
    form_.model().RowsChanged(0, static_cast<int>(s_.ws.Current().size()));
    form_.HandleKeyRelease(Qt::NoModifier);
    UpdateUndoState();
    s_.notifyStateChanged();
    emit listsEdited();
}

void EditingController::STABMenu_Click() {
    const int position = askRotor();
    if (position < 1) return;
    SetAttribute(SetStab, position);
    form_.listView()->setFocus();
}

void EditingController::StepToHeader(int direction) {
    const int row = FindSat(s_.ws.Current(), form_.selectedRow(),
                            direction > 0 ? Direction::Next : Direction::Previous);
    (s_.ws.CurrentList == ListId::TV ? s_.ws.TVPos : s_.ws.RadioPos) = row;
    form_.selectOnly(row);
}

void EditingController::FindMatchFrom(int startRow) {
    const ChannelList& list = s_.ws.Current();
    std::vector<std::string> rows;
    rows.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back(RowText(i, list[i]));
    const int selected = form_.selectedRow();
    const FindOutcome out = FindMatch(rows, Texts::ToLatin1(findText_), startRow, selected);

    QItemSelectionModel* sel = form_.listView()->selectionModel();
    ChannelListModel& model = form_.model();
    // The rows passed over lose their marking.
    if (out.lastSearched >= startRow) {
        sel->select(QItemSelection(model.index(std::max(startRow, 1) - 1),
                                   model.index(out.lastSearched - 1)),
                    QItemSelectionModel::Deselect);
    }
    if (out.match) {
        sel->select(model.index(selected - 1), QItemSelectionModel::Deselect);
        sel->setCurrentIndex(model.index(*out.match - 1), QItemSelectionModel::Select);
        form_.listView()->scrollTo(model.index(*out.match - 1));
    } else {
        sel->setCurrentIndex(model.index(selected - 1), QItemSelectionModel::Select);
        prompter_.Tell(Prompter::Icon::Critical, tr("Channel not found"));
    }
    form_.listView()->setFocus();
}

void EditingController::Findmnu_Click() {
    const std::optional<QString> text = askFindText(findText_);
    // "#Cancel#" is the dialog's own cancel mark, whatever way it comes.
    if (!text || *text == QLatin1String("#Cancel#")) return;
    findText_ = *text;
    FindMatchFrom(1);
}

void EditingController::Findnemnu_Click() {
    if (findText_.isEmpty()) return;
    FindMatchFrom(form_.selectedRow());
}

void EditingController::MoveMarkedBefore(int beforeRow) {
    const Marks marks = form_.marks();
    if (marks.empty()) return;
    Record(CurrentTouch());
    const int first = MoveRows(s_.ws.Current(), marks, beforeRow);
    if (history_.LastStepUnchanged(s_.ws)) {
        history_.Forget();
        return;
    }
    Changed(first);
    // The moved channels stay marked together.
    ListSelection shown = form_.currentSelection();
    for (std::size_t i = 0; i < marks.size(); ++i)
        shown.marks.push_back(static_cast<std::size_t>(first - 1) + i);
    form_.restoreSelection(shown);
}

void EditingController::Undo() {
    ShowHistoryStep(history_.Undo(s_.ws, form_.currentSelection()));
}

void EditingController::Redo() {
    ShowHistoryStep(history_.Redo(s_.ws, form_.currentSelection()));
}

// After undo or redo: the lists as the step left them, shown as they were then.
void EditingController::ShowHistoryStep(const std::optional<ListSelection>& shown) {
    if (!shown) return;
    s_.ws.ChannelsModified = !history_.AtSaved();
    form_.restoreSelection(*shown);
    UpdateUndoState();
    s_.notifyStateChanged();
    emit bufferChanged();
    emit listsEdited();
}

void EditingController::SortBuffer(BufferOrder order) {
    Record(kTouchBuffer);
    OrderBuffer(s_.ws.BufferList, order);
    if (history_.LastStepUnchanged(s_.ws)) {
        history_.Forget();
    } else {
        s_.ws.ChannelsModified = true;
    }
    UpdateUndoState();
    emit bufferChanged();
}

int EditingController::DeleteFromBuffer(const Marks& bufferMarks) {
    if (bufferMarks.empty()) return 1;
    Record(kTouchBuffer);
    const int row = DeleteBufferEntries(s_.ws.BufferList, bufferMarks);
    s_.ws.ChannelsModified = true;
    UpdateUndoState();
    s_.notifyStateChanged();
    form_.Refresh();
    emit bufferChanged();
    return row;
}

void EditingController::ClearBuffer() {
    if (s_.ws.BufferList.empty()) return;
    Record(kTouchBuffer);
    s_.ws.BufferList.clear();
    s_.ws.ChannelsModified = true;
    UpdateUndoState();
    s_.notifyStateChanged();
    form_.Refresh();
    emit bufferChanged();
}

}  // namespace qel
