#include "app/compare_controller.h"

#include <QFile>
#include <QFileInfo>

#include "app/file_filters.h"
#include "app/texts.h"
#include "files/file_formats.h"

namespace qel {

namespace {

template <class Entries>
auto chosen(const Entries& all, const std::vector<std::size_t>& places) {
    Entries picked;
    for (std::size_t i : places) {
        if (i < all.size()) picked.push_back(all[i]);
    }
    return picked;
}

}  // namespace

CompareController::CompareController(Session& session, ListController& list,
                                     EditingController& editing, Prompter& prompter,
                                     FileChooser& chooser, QObject* parent)
    : QObject(parent),
      session_(session),
      list_(list),
      editing_(editing),
      prompter_(prompter),
      chooser_(chooser) {
    connect(&session_, &Session::listsChanged, this, [this](unsigned changes) {
        if (active_ && (changes & kChannelsChanged)) recompare();
    });
}

void CompareController::compareWithFile() {
    const QString path = chooser_.openFile(session_.workingDir(), channelFilesFilter());
    if (path.isEmpty()) return;
    session_.setWorkingDir(QFileInfo(path).absolutePath());
    compareWithPath(path);
}

bool CompareController::compareWithPath(const QString& path) {
    const std::string local = QFile::encodeName(path).toStdString();
    auto set = readChannels(local, ReadOptions{.log = session_.log()});
    if (!set) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(set.status(), path));
        return false;
    }
    start(std::move(set->lists), set->fileType, QFileInfo(path).fileName(), Other::File);
    return true;
}

void CompareController::compareWithListsBeforeDownload() {
    const TvRadioLists* before = session_.listsBeforeDownload();
    if (before == nullptr) return;
    start(*before, session_.kindBeforeDownload(), QString(), Other::BeforeDownload);
}

void CompareController::compareWithListsAsOpened() {
    const TvRadioLists* opened = session_.listsAsOpened();
    if (opened == nullptr) return;
    start(*opened, session_.kindAsOpened(), QString(),
          session_.openedBy() == Session::Opened::Loaded ? Other::AsLoaded : Other::AsDownloaded);
}

QString CompareController::otherName() const {
    switch (against_) {
        case Other::File:
            break;
        case Other::BeforeDownload:
            return tr("the list before the download");
        case Other::AsLoaded:
            return tr("the list as loaded");
        case Other::AsDownloaded:
            return tr("the list as downloaded");
    }
    return otherName_;
}

void CompareController::start(TvRadioLists other, FileKind kind, const QString& name,
                              Other against) {
    other_ = std::move(other);
    otherKind_ = kind;
    otherName_ = name;
    against_ = against;
    active_ = true;
    recompare();
    emit opened();
}

void CompareController::recompare() {
    const Workspace& ws = session_.workspace();
    comparison_ = compareLists({ws.tvList(), ws.radioList()}, other_, ws.fileType(), otherKind_);
    emit comparisonChanged();
}

void CompareController::takeOver(const std::vector<std::size_t>& changed) {
    const std::vector<ChangedChannel> picked = chosen(comparison_.changed, changed);
    if (picked.empty()) return;
    Workspace& ws = session_.workspace();
    const bool edited = editing_.undoable(kTouchTV | kTouchRadio, [&] {
        ws.changeLists(kTouchTV | kTouchRadio,
                       [&](EditableLists& l) { takeOverChanges(l.tv, l.radio, other_, picked); });
    });
    if (edited) ws.setChannelsModified(true);
}

void CompareController::putIntoBuffer(const std::vector<std::size_t>& onlyInSecond) {
    ChannelList records = recordsOf(other_, chosen(comparison_.onlyInSecond, onlyInSecond));
    if (records.empty()) return;
    editing_.undoable(kTouchBuffer, [&] {
        session_.workspace().changeLists(kTouchBuffer, [&](EditableLists& l) {
            l.buffer.insert(l.buffer.end(), std::make_move_iterator(records.begin()),
                            std::make_move_iterator(records.end()));
        });
    });
    emit bufferFilled();
}

void CompareController::showInList(ListId list, std::size_t row) {
    const ChannelList& channels = session_.workspace().list(list);
    if (row >= channels.size()) return;
    list_.showSelection({list, static_cast<int>(row) + 1, {row}});
}

}  // namespace qel
