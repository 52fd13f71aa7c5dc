#include "app/list_controller.h"

#include <algorithm>

#include "app/texts.h"

namespace qel {

ListController::ListController(Session& session, QObject* parent)
    : QObject(parent), session_(session) {
    connect(&session_, &Session::listsChanged, this, &ListController::onListsChanged);
}

int ListController::channelCount() const {
    return static_cast<int>(session_.workspace().shown().size());
}

int ListController::rowCount() const {
    return channelCount() + 1;
}

ListSelection ListController::selection() const {
    return {session_.workspace().shownList(), row_, marks_};
}

void ListController::clamp() {
    row_ = std::clamp(row_, 1, rowCount());
    const auto channels = static_cast<std::size_t>(channelCount());
    marks_.erase(std::lower_bound(marks_.begin(), marks_.end(), channels), marks_.end());
}

void ListController::onListsChanged(unsigned changes) {
    if (!(changes & (kChannelsChanged | kShownListChanged))) return;
    clamp();
    emit rowsChanged();
}

void ListController::userSelected(int row, const Marks& marks) {
    row_ = row;
    marks_ = marks;
    clamp();
}

void ListController::rememberSelectedRow() {
    session_.workspace().rememberRow(session_.workspace().shownList(), row_);
}

void ListController::select(int row, Marks marks) {
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    row_ = row;
    marks_ = std::move(marks);
    clamp();
    emit selectionShown();
}

void ListController::selectOnly(int row) {
    row = std::clamp(row, 1, rowCount());
    Marks marks;
    if (row <= channelCount()) marks.push_back(static_cast<std::size_t>(row - 1));
    select(row, std::move(marks));
}

void ListController::showSelection(const ListSelection& selection) {
    // Shown after the list: the rows are redrawn first.
    row_ = selection.selectedRow;
    marks_ = selection.marks;
    session_.workspace().showList(selection.list);
    clamp();
    emit rowsChanged();
}

void ListController::switchList() {
    Workspace& ws = session_.workspace();
    const ListId other = ws.shownList() == ListId::TV ? ListId::Radio : ListId::TV;
    ws.rememberRow(ws.shownList(), row_);
    row_ = ws.rememberedRow(other);
    marks_.clear();
    ws.showList(other);
    selectOnly(ws.rememberedRow(other));
}

MainCommands ListController::commands() const {
    return mainCommands(session_.workspace(), blankRowSelected());
}

QString ListController::dataRowText() const {
    const ChannelList& list = session_.workspace().shown();
    if (row_ < 1 || row_ > static_cast<int>(list.size())) return {};
    const auto index = static_cast<std::size_t>(row_ - 1);
    const std::string line =
        qel::dataRowText(list[index], index, session_.workspace().fileType(), session_.satPos(),
                         Texts::toLatin1(tr("  STAB rotor position is ")));
    return Texts::fromLatin1(line);
}

}  // namespace qel
