#include "app/check_controller.h"

#include <algorithm>
#include <optional>

#include "app/texts.h"

namespace qel {

CheckController::CheckController(Session& session, ListController& list, EditingController& editing,
                                 Prompter& prompter, QObject* parent)
    : QObject(parent), session_(session), list_(list), editing_(editing), prompter_(prompter) {
    connect(&session_, &Session::listsChanged, this, [this](unsigned changes) {
        if (changes & kChannelsChanged) refresh();
    });
    // The file kind, the settings or the font may change what is found.
    connect(&session_, &Session::stateChanged, this, &CheckController::refresh);
}

// The findings speak the language of the windows' own texts.
TextLanguage CheckController::language() const {
    return tr("English", "the language of the list check's messages") == QLatin1String("English")
               ? TextLanguage::English
               : TextLanguage::Italian;
}

std::vector<Finding> CheckController::check(FileKind target) const {
    const Workspace& ws = session_.workspace();
    CheckInput in;
    in.tv = &ws.tvList();
    in.radio = &ws.radioList();
    in.ftaImage = target == FileKind::BIN;
    in.imageTables = &ws.imageTables();
    if (ws.settingsLoaded()) in.settingsImage = ws.settingsImage();
    if (const std::optional<FontType> type = ws.fontType()) {
        in.font = fontCharacters(ws.fontData(), *type);
    }
    return checkLists(in);
}

void CheckController::setWatching(bool on) {
    watching_ = on;
    if (on) refresh();
}

void CheckController::refresh() {
    if (!watching_) return;
    findings_ = check(session_.workspace().fileType());
    emit findingsChanged();
}

bool CheckController::nothingToCheck() const {
    return session_.workspace().channelCount() == 0;
}

bool CheckController::hasDuplicates() const {
    return std::any_of(findings_.begin(), findings_.end(),
                       [](const Finding& f) { return f.message == FindingMessage::SameAsRow; });
}

QString CheckController::message(const Finding& finding) const {
    return Texts::fromLatin1(findingText(finding, language()));
}

QString CheckController::levelText(FindingLevel level) {
    return level == FindingLevel::Error ? tr("Error") : tr("Warning");
}

void CheckController::showFinding(std::size_t index) {
    if (index >= findings_.size()) return;
    const Finding f = findings_[index];
    if (session_.workspace().shownList() != f.list) list_.switchList();
    list_.selectOnly(f.row);
    list_.rememberSelectedRow();
}

void CheckController::removeDuplicates() {
    Workspace& ws = session_.workspace();
    const ListId shown = ws.shownList();
    // Taken before the change: the shorter list would drop the marks past its end.
    const int row = list_.selectedRow();
    const Marks marked = list_.marks();
    std::vector<std::size_t> where;
    const bool changed = editing_.undoable(kTouchTV | kTouchRadio, [&] {
        ws.changeLists(kTouchTV | kTouchRadio, [&](EditableLists& lists) {
            for (const ListId id : {ListId::TV, ListId::Radio}) {
                std::vector<std::size_t> w = qel::removeDuplicates(lists.of(id));
                if (id == shown) where = std::move(w);
            }
        });
    });
    if (!changed) return;
    ws.setChannelsModified(true);
    const auto follow = [&where](std::size_t i) { return i < where.size() ? where[i] : i; };
    const int newRow = row >= 1 && static_cast<std::size_t>(row) <= where.size()
                           ? static_cast<int>(follow(static_cast<std::size_t>(row - 1))) + 1
                           : static_cast<int>(ws.shown().size()) + 1;
    Marks marks;
    for (const std::size_t m : marked)
        marks.push_back(follow(m));
    ws.rememberRow(shown, newRow);
    list_.select(newRow, std::move(marks));
    // The data editor checks whether its channel is still there.
    emit editing_.listsEdited();
}

bool CheckController::mayWrite(FileKind target, Purpose purpose) {
    if (!session_.config().askOnCheckErrors) return true;
    const std::vector<Finding> found = check(target);
    const auto first = std::find_if(found.begin(), found.end(), [](const Finding& f) {
        return f.level == FindingLevel::Error;
    });
    if (first == found.end()) return true;
    const QString text =
        tr("The check finds %1 error(s) in the lists that the receiver cannot take.\n"
           "The first: %2, row %3 \"%4\": %5\n\n%6")
            .arg(countFindings(found).errors)
            .arg(QString::fromLatin1(listName(first->list)))
            .arg(first->row)
            .arg(Texts::fromLatin1(first->name), message(*first),
                 purpose == Purpose::Save ? tr("Save the list all the same?")
                                          : tr("Start the upload all the same?"));
    return prompter_.ask(Prompter::Icon::Question, text, Prompter::Buttons::YesNo,
                         Prompter::Answer::No) == Prompter::Answer::Yes;
}

}  // namespace qel
