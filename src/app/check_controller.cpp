#include "app/check_controller.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <optional>

#include "app/config_store.h"
#include "app/texts.h"

namespace qel {

namespace {

const QString kSatellitesSection = QStringLiteral("Satellites");
const QString kSatellitesFileKey = QStringLiteral("File");
const QString kAssignmentSection = QStringLiteral("SatelliteAssignments");

// The store's key for a list file: its path could hold characters a key cannot.
QString assignmentKey(const QString& listPath) {
    return QString::fromLatin1(
        QCryptographicHash::hash(QFileInfo(listPath).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(20));
}

// A group as stored: "H" and the header's name (percent-encoded), "P" and the port, "A" and
// the antenna.
QString storedGroup(const SatGroup& g) {
    switch (g.kind) {
        case SatGroupKind::Header:
            return 'H' + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLatin1(g.name)));
        case SatGroupKind::DiseqcPort:
            return 'P' + QString::number(g.number);
        case SatGroupKind::Antenna:
            return 'A' + QString::number(g.number);
    }
    return {};
}

std::optional<SatGroup> groupFromStored(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const QString rest = text.mid(1);
    SatGroup g;
    if (text[0] == 'H') {
        g.kind = SatGroupKind::Header;
        g.name = QUrl::fromPercentEncoding(rest.toLatin1()).toLatin1().toStdString();
        return g;
    }
    bool ok = false;
    g.number = rest.toInt(&ok);
    if (!ok) return std::nullopt;
    if (text[0] == 'P' && g.number >= 1 && g.number <= 4) {
        g.kind = SatGroupKind::DiseqcPort;
        return g;
    }
    if (text[0] == 'A' && g.number >= 1 && g.number <= 8) {
        g.kind = SatGroupKind::Antenna;
        return g;
    }
    return std::nullopt;
}

QString satelliteText(const SatellitesSat& sat) {
    return QString::fromStdString(satelliteLabel(sat));
}

}  // namespace

CheckController::CheckController(Session& session, ListController& list, EditingController& editing,
                                 Prompter& prompter, FileChooser* chooser, ConfigStore* store,
                                 QObject* parent)
    : QObject(parent),
      session_(session),
      list_(list),
      editing_(editing),
      prompter_(prompter),
      chooser_(chooser),
      store_(store) {
    connect(&session_, &Session::listsChanged, this, [this](unsigned changes) {
        if (changes & kChannelsChanged) {
            refresh();
            if (satellites_ != nullptr) emit satellitesChanged();
        }
    });
    // The file kind, the settings or the font may change what is found; another list file
    // has satellites of its own.
    connect(&session_, &Session::stateChanged, this, [this] {
        if (session_.channelFile() != assignmentList_) {
            loadAssignment();
            emit satellitesChanged();
        }
        refresh();
    });
    loadAssignment();
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
    std::vector<Finding> found = checkLists(in);
    if (satellites_ != nullptr && !assignment_.empty()) {
        SatelliteCheckInput sat = satelliteInput();
        sat.ftaImage = in.ftaImage;
        std::vector<Finding> more = checkAgainstSatellites(sat);
        found.insert(found.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    }
    return found;
}

void CheckController::setWatching(bool on) {
    watching_ = on;
    // The satellites.xml of the last session comes back quietly: a file gone since is simply
    // not there.
    if (on && satellites_ == nullptr && store_ != nullptr) {
        const QString last = store_->value(kSatellitesSection, kSatellitesFileKey);
        if (!last.isEmpty() && QFileInfo::exists(last)) {
            auto read = readSatellitesXml(QFile::encodeName(last).toStdString());
            if (read) {
                satellites_ = std::make_shared<const SatellitesFile>(std::move(read.value()));
                satellitesPath_ = last;
                emit satellitesChanged();
            }
        }
    }
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

SatelliteCheckInput CheckController::satelliteInput() const {
    const Workspace& ws = session_.workspace();
    SatelliteCheckInput in;
    in.tv = &ws.tvList();
    in.radio = &ws.radioList();
    in.ftaImage = ws.fileType() == FileKind::BIN;
    in.satellites = satellites_.get();
    in.assignment = &assignment_;
    return in;
}

void CheckController::chooseSatellitesFile() {
    if (chooser_ == nullptr) return;
    const QString folder = satellitesPath_.isEmpty() ? session_.workingDir()
                                                     : QFileInfo(satellitesPath_).absolutePath();
    const QString path = chooser_->openFile(folder, tr("Satellites files (*.xml);;All files (*)"));
    if (!path.isEmpty()) loadSatellitesFrom(path);
}

bool CheckController::loadSatellitesFrom(const QString& path) {
    auto read = readSatellitesXml(QFile::encodeName(path).toStdString());
    if (!read) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(read.status(), path));
        return false;
    }
    satellites_ = std::make_shared<const SatellitesFile>(std::move(read.value()));
    satellitesPath_ = path;
    if (store_ != nullptr) store_->setValue(kSatellitesSection, kSatellitesFileKey, path);
    emit satellitesChanged();
    refresh();
    return true;
}

std::vector<SatGroup> CheckController::groups() const {
    const Workspace& ws = session_.workspace();
    return satelliteGroups(ws.tvList(), ws.radioList(), ws.fileType() == FileKind::BIN);
}

std::optional<int> CheckController::assigned(const SatGroup& group) const {
    const auto it = assignment_.find(group);
    if (it == assignment_.end()) return std::nullopt;
    return it->second;
}

void CheckController::assign(const SatGroup& group, std::optional<int> position) {
    if (assigned(group) == position) return;
    if (position) {
        assignment_[group] = *position;
    } else {
        assignment_.erase(group);
    }
    saveAssignment();
    refresh();
}

QString CheckController::groupText(const SatGroup& group) {
    switch (group.kind) {
        case SatGroupKind::Header:
            return Texts::fromLatin1(group.name);
        case SatGroupKind::DiseqcPort:
            return tr("DiSEqC port %1").arg(group.number);
        case SatGroupKind::Antenna:
            return tr("Antenna %1").arg(group.number);
    }
    return {};
}

void CheckController::loadAssignment() {
    assignmentList_ = session_.channelFile();
    assignment_.clear();
    if (store_ == nullptr || assignmentList_.isEmpty()) return;
    const QString stored = store_->value(kAssignmentSection, assignmentKey(assignmentList_));
    for (const QString& entry : stored.split(';', Qt::SkipEmptyParts)) {
        const qsizetype eq = entry.lastIndexOf('=');
        if (eq < 0) continue;
        bool ok = false;
        const int position = entry.mid(eq + 1).toInt(&ok);
        const std::optional<SatGroup> group = groupFromStored(entry.left(eq));
        if (ok && group && position >= -1800 && position <= 1800) assignment_[*group] = position;
    }
}

void CheckController::saveAssignment() const {
    if (store_ == nullptr || assignmentList_.isEmpty()) return;
    QStringList entries;
    for (const auto& [group, position] : assignment_)
        entries << storedGroup(group) + '=' + QString::number(position);
    store_->setValue(kAssignmentSection, assignmentKey(assignmentList_), entries.join(';'));
}

void CheckController::takeOverFromSatellites() {
    if (satellites_ == nullptr) return;
    const std::vector<TakeOverChange> changes = proposeTakeOver(satelliteInput());
    const auto settable = std::count_if(changes.begin(), changes.end(), [](const auto& c) {
        return c.srate.has_value() || c.fec.has_value();
    });
    const auto fecKept =
        std::count_if(changes.begin(), changes.end(), [](const auto& c) { return c.fecNotTaken; });
    const QString file = QFileInfo(satellitesPath_).fileName();
    const QString kept =
        fecKept == 0 ? QString()
                     : "\n" + tr("%1 channel(s) keep their FEC: the receiver has no code for the "
                                 "one in the file.")
                                  .arg(fecKept);
    if (settable == 0) {
        prompter_.tell(Prompter::Icon::Information,
                       tr("Nothing to take over: no channel differs from its transponder in %1 "
                          "only in symbol rate or FEC.")
                               .arg(file) +
                           kept);
        return;
    }
    const QString question =
        tr("%1 channel(s) take the symbol rate or FEC of their transponder in %2.")
            .arg(settable)
            .arg(file) +
        kept + "\n\n" + tr("Take them over?");
    if (prompter_.ask(Prompter::Icon::Question, question, Prompter::Buttons::YesNo,
                      Prompter::Answer::Yes) != Prompter::Answer::Yes) {
        return;
    }
    Workspace& ws = session_.workspace();
    const bool edited = editing_.undoable(kTouchTV | kTouchRadio, [&] {
        ws.changeLists(kTouchTV | kTouchRadio,
                       [&](EditableLists& l) { applyTakeOver(l.tv, l.radio, changes); });
    });
    if (edited) {
        ws.setChannelsModified(true);
        emit editing_.listsEdited();
    }
}

void CheckController::fillTransponders(int antenna) {
    Workspace& ws = session_.workspace();
    if (satellites_ == nullptr || ws.fileType() != FileKind::BIN) return;
    const std::optional<int> position = assigned({SatGroupKind::Antenna, {}, antenna});
    const SatellitesSat* sat = position ? satellites_->atPosition(*position) : nullptr;
    if (sat == nullptr) {
        prompter_.tell(Prompter::Icon::Exclamation,
                       tr("Choose the satellite of antenna %1 first.").arg(antenna));
        return;
    }
    const FtaFill fill = fillFtaTransponders({ws.tvList(), ws.radioList()}, ws.imageTables(),
                                             {.antenna = antenna, .sat = sat});
    if (!fill.fits) {
        prompter_.tell(Prompter::Icon::Critical,
                       tr("The image cannot hold the transponders of %1: %2 of %3 fit.")
                           .arg(satelliteText(*sat))
                           .arg(fill.fitting)
                           .arg(fill.asked));
        return;
    }
    const bool edited = editing_.undoable(kTouchTV | kTouchRadio, [&] {
        ws.changeLists(kTouchTV | kTouchRadio, [&](EditableLists& l) {
            l.tv = fill.lists.tv;
            l.radio = fill.lists.radio;
        });
    });
    if (!edited) return;
    ws.setChannelsModified(true);
    emit editing_.listsEdited();
    prompter_.tell(Prompter::Icon::Information,
                   tr("Antenna %1 now has the transponders of %2: %3 channel(s) refreshed, %4 "
                      "transponder entries added, %5 earlier ones dropped.")
                       .arg(antenna)
                       .arg(satelliteText(*sat))
                       .arg(fill.refreshed)
                       .arg(fill.asked)
                       .arg(fill.dropped));
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
