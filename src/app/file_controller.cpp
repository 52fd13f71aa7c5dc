#include "app/file_controller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/file_filters.h"
#include "app/recent_files.h"
#include "app/texts.h"
#include "files/ant_pos_file.h"
#include "files/file_commands.h"
#include "files/file_formats.h"

namespace qel {

namespace {

using Icon = Prompter::Icon;
using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;

// Tells the windows a file is being read or written for as long as it lives.
class BusyScope {
public:
    explicit BusyScope(FileController& owner) : owner_(owner) { emit owner_.busy(true); }
    ~BusyScope() { emit owner_.busy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FileController& owner_;
};

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool isSettingsFile(const QString& path) {
    return isFileOfFormat(localPath(path), FileFormatId::G98);
}

// A name typed without the settings file's extension gets it.
QString withSettingsExtension(const QString& path) {
    return isSettingsFile(path) ? path : path + dottedExtension(FileFormatId::G98);
}

}  // namespace

FileController::FileController(Session& session, ListController& list, EditingController& editing,
                               Prompter& prompter, FileChooser& chooser, RecentFiles* recent,
                               QObject* parent)
    : QObject(parent),
      session_(session),
      list_(list),
      editing_(editing),
      prompter_(prompter),
      chooser_(chooser),
      recent_(recent) {}

QString FileController::channelFilter() {
    return documentFilter(FileContent::Channels);
}
QString FileController::settingsFilter() {
    return documentFilter(FileContent::Settings);
}
QString FileController::upgradeFilter() {
    return openFilter(FileFormatId::Dvb);
}

void FileController::startUp(const QString& antPosPath) {
    Workspace& ws = session_.workspace();
    ws.clearChannels();
    ws.changeLists(kTouchBuffer, [](EditableLists& l) { l.buffer.clear(); });
    if (auto table = loadAntPos(localPath(antPosPath))) {
        session_.setSatPos(table->table);
        if (table->rebuilt) {
            prompter_.tell(Icon::Information,
                           tr("<AntPos.txt> does not exist: rebuilt with default values"));
        }
    }
    list_.selectOnly(1);
}

void FileController::takeFolderOf(const QString& path) {
    session_.setWorkingDir(QFileInfo(path).absolutePath());
}

void FileController::report(const Status& status, const QString& path) {
    prompter_.tell(Icon::Critical, Texts::errorMessage(status, path));
}

bool FileController::saveTo(const QString& path) {
    Status st;
    const auto save = [&] {
        BusyScope busy(*this);
        st = saveFile(session_.workspace(), localPath(path));
    };
    if (isSettingsFile(path)) {
        save();
    } else {
        const bool dvb98 =
            formatToSave(session_.workspace(), localPath(path), {}).id == FileFormatId::Dvb;
        if (dvb98 && mayWrite_ && !mayWrite_()) return false;
        // Saving an image gives the lists the image's form: one undoable step.
        editing_.undoable(kTouchTV | kTouchRadio, save);
        if (st) editing_.markSaved();
    }
    if (!st) report(st, path);
    return st.ok();
}

bool FileController::askToSaveChannels() {
    if (!session_.workspace().channelsModified()) return true;
    const Answer a = prompter_.ask(Icon::Question,
                                   tr("Save correction to ") + session_.channelFile() + tr(" ? "),
                                   Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::Yes) {
        // Without a file of their own (a downloaded list) the channels go where the user says.
        QString target = session_.channelFile();
        if (target.isEmpty() || QFileInfo(target).fileName() == QLatin1String("Download")) {
            target = chooser_.saveFile(session_.workingDir(), QStringLiteral("Download"),
                                       channelFilter());
            if (target.isEmpty()) return false;
        }
        return saveTo(target);
    }
    return true;
}

bool FileController::askToSaveSettings() {
    // Only settings that are there can be saved: unloaded ones leave nothing to ask about.
    if (!session_.workspace().settingsModified() || !session_.workspace().settingsLoaded()) {
        return true;
    }
    const Answer a = prompter_.ask(Icon::Question,
                                   tr("Save correction to ") + session_.settingsFile() + tr(" ? "),
                                   Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::No) {
        session_.workspace().setSettingsModified(false);
        return true;
    }
    QString target = session_.settingsFile();
    if (!isSettingsFile(target)) {
        // Downloaded settings have no file yet: ask where they go.
        target = chooser_.saveFile(session_.workingDir(), QStringLiteral("Download.g98"),
                                   settingsFilter());
        if (target.isEmpty()) return false;
        target = withSettingsExtension(target);
    }
    if (!saveTo(target)) return false;
    session_.setSettingsFile(target);
    return true;
}

bool FileController::loadChannelsFrom(const QString& path) {
    const FileFormat* format = channelFileFormat(localPath(path), true);
    if (format == nullptr) return false;
    // An FTA image unloads the DVB98 settings: unsaved ones are asked about first.
    if (format->kind == FileKind::BIN && !askToSaveSettings()) return false;
    Result<ChannelSet> set = ErrorCode::CannotOpenFile;
    {
        BusyScope busy(*this);
        set = format->readChannels(localPath(path),
                                   ReadOptions{.log = session_.log(), .documentFilesOnly = true});
    }
    if (!set) {
        report(set.status(), path);
        // A recent file that has gone leaves the list of recent files.
        if (recent_ != nullptr && !QFileInfo::exists(path)) {
            recent_->remove(path);
            emit recentFilesChanged();
        }
        return false;
    }
    session_.workspace().installChannels(std::move(set.value()));
    session_.keepListsAsOpened(Session::Opened::Loaded);
    session_.setChannelFile(path);
    if (recent_ != nullptr) recent_->add(path);
    emit recentFilesChanged();
    editing_.clearHistory();
    list_.selectOnly(1);
    emit channelsLoaded();
    return true;
}

bool FileController::openChannelFile(const QString& path) {
    if (!askToSaveChannels()) return false;
    takeFolderOf(path);
    return loadChannelsFrom(path);
}

void FileController::loadChannels() {
    if (!askToSaveChannels()) return;
    const QString path = chooser_.openFile(session_.workingDir(), channelFilter());
    if (path.isEmpty()) return;
    takeFolderOf(path);
    loadChannelsFrom(path);
}

void FileController::saveChannels() {
    const QString current = session_.channelFile();
    if (current.isEmpty()) {
        prompter_.tell(Icon::Exclamation, tr("No channels to save"));
        return;
    }
    const QString name = current.contains(QLatin1String("Download"))
                             ? QStringLiteral("Download")
                             : QFileInfo(current).fileName();
    const QString path = chooser_.saveFile(session_.workingDir(), name, channelFilter());
    if (path.isEmpty()) return;
    takeFolderOf(path);
    if (saveTo(path)) {
        session_.setChannelFile(path);
        if (recent_ != nullptr) recent_->add(path);
        emit recentFilesChanged();
    }
}

void FileController::loadSettings() {
    if (session_.workspace().fileType() == FileKind::BIN) {
        prompter_.tell(Icon::Critical, tr("Not with BIN  files"));
        return;
    }
    if (!askToSaveSettings()) return;
    const QString path = chooser_.openFile(session_.workingDir(), settingsFilter());
    if (!path.isEmpty()) readSettingsFrom(path);
}

void FileController::openSettingsFile(const QString& path) {
    if (session_.workspace().fileType() == FileKind::BIN) {
        prompter_.tell(Icon::Critical, tr("Not with BIN  files"));
        return;
    }
    if (askToSaveSettings()) readSettingsFrom(path);
}

void FileController::readSettingsFrom(const QString& path) {
    takeFolderOf(path);
    auto image = fileFormat(FileFormatId::G98).readSettings(localPath(path));
    if (!image) {
        report(image.status(), path);
        return;
    }
    session_.workspace().installSettings(std::move(image.value()));
    session_.setSettingsFile(path);
    emit settingsLoaded();
}

void FileController::saveSettings() {
    if (!session_.workspace().settingsLoaded()) {
        prompter_.tell(Icon::Exclamation, tr("No settings to save"));
        return;
    }
    const QString current = session_.settingsFile();
    const QString name = current.contains(QLatin1String("Download"))
                             ? QStringLiteral("Download")
                             : QFileInfo(current).fileName();
    QString path = chooser_.saveFile(session_.workingDir(), name, settingsFilter());
    if (path.isEmpty()) return;
    // The settings always go to a settings file, whatever name was typed.
    path = withSettingsExtension(path);
    takeFolderOf(path);
    if (saveTo(path)) session_.setSettingsFile(path);
}

void FileController::convertToBin() {
    const QString current = session_.channelFile();
    if (current.isEmpty()) {
        prompter_.tell(Icon::Exclamation, tr("No channels to save"));
        return;
    }
    if (prompter_.ask(Icon::Question, tr("Default settings will be used , proceed ??"),
                      Buttons::YesNo) != Answer::Yes) {
        return;
    }
    Result<std::string> target = ErrorCode::CannotWriteFile;
    editing_.undoable(kTouchTV | kTouchRadio, [&] {
        BusyScope busy(*this);
        target = qel::convertToBin(session_.workspace(), localPath(current));
    });
    if (!target) {
        report(target.status(), QString::fromStdString(convertedName(localPath(current))));
        return;
    }
    prompter_.tell(Icon::Information,
                   tr("Exported on ") + QFile::decodeName(QByteArray::fromStdString(*target)));
}

void FileController::upgradeFromFile() {
    if (session_.workspace().channelCount() == 0) return;
    const QString path = chooser_.openFile(session_.workingDir(), upgradeFilter());
    if (path.isEmpty()) return;
    takeFolderOf(path);
    Status st;
    editing_.undoable(kTouchBuffer, [&] {
        st = qel::upgradeFromFile(session_.workspace(), localPath(path), session_.log());
    });
    if (!st) {
        report(st, path);
        return;
    }
    emit bufferFilled();
}

void FileController::importText() {
    importFile(FileFormatId::Text);
}

void FileController::importCsv() {
    importFile(FileFormatId::Csv);
}

void FileController::importFile(FileFormatId id) {
    if (!askToSaveChannels()) return;
    const QString path = chooser_.openFile(session_.workingDir(), openFilter(id));
    if (path.isEmpty()) return;
    takeFolderOf(path);
    ImportProblem problem;
    Result<ChannelSet> set = [&] {
        BusyScope busy(*this);
        return fileFormat(id).readChannels(localPath(path),
                                           ReadOptions{.log = session_.log(), .problem = &problem});
    }();
    installImport(std::move(set), problem, path);
}

QString FileController::importRefusal(const Status& status, const ImportProblem& problem) const {
    if (status.error() == ErrorCode::WrongLineLength)
        return tr("Wrong lenght in row %1").arg(problem.row);
    // Not read at all: the file's own trouble, as its detail says.
    if (problem.row == 0) return Texts::errorMessage(status);
    // "Not a valid value in row 3 (Freq)": the text ends where the row goes.
    QString text = Texts::errorMessage(status.error()) + QString::number(problem.row);
    if (!problem.field.empty())
        text += QStringLiteral(" (") + Texts::fromLatin1(problem.field) + ')';
    return text;
}

void FileController::installImport(Result<ChannelSet> set, const ImportProblem& problem,
                                   const QString& path) {
    if (!set) {
        prompter_.tell(Icon::Critical, importRefusal(set.status(), problem));
        return;
    }
    // One undoable step: undo brings back the lists the import replaced.
    Workspace& ws = session_.workspace();
    editing_.undoable(kTouchTV | kTouchRadio, [&] { ws.installChannels(std::move(set.value())); });
    // The lists are now a DVB98 list that has no file of its own yet.
    ws.setChannelsModified(true);
    const QFileInfo text(path);
    session_.setChannelFile(
        text.dir().filePath(text.completeBaseName() + dottedExtension(FileFormatId::Dvb)));
    list_.selectOnly(1);
    emit channelsLoaded();
}

void FileController::exportCsv() {
    const QString loaded = session_.channelFile();
    const QString ext = dottedExtension(FileFormatId::Csv);
    const QString proposed = loaded.isEmpty() ? QStringLiteral("channels") + ext
                                              : QFileInfo(loaded).completeBaseName() + ext;
    const QString path =
        chooser_.saveFile(session_.workingDir(), proposed, saveFilter(FileFormatId::Csv));
    if (path.isEmpty()) return;
    Status st;
    {
        BusyScope busy(*this);
        st = fileFormat(FileFormatId::Csv).write(session_.workspace(), localPath(path), {});
    }
    if (!st) {
        report(st, path);
        return;
    }
    prompter_.tell(Icon::Information, tr("Export completed"));
}

QString FileController::unsavedQuestion() const {
    const Workspace& ws = session_.workspace();
    QString unsaved;
    if (ws.channelsModified()) unsaved += tr("Channels ");
    if (ws.settingsModified()) unsaved += tr("Settings ");
    if (ws.fontsModified()) unsaved += QStringLiteral("Fonts ");
    if (unsaved.isEmpty()) return {};
    return unsaved + tr("not saved , continue anyway ?");
}

bool FileController::mayClose() {
    if (session_.transferBusy()) {
        prompter_.tell(Icon::Critical, tr("Connection in progress.."));
        return false;
    }
    const QString question = unsavedQuestion();
    if (!question.isEmpty() &&
        prompter_.ask(Icon::Question, question, Buttons::YesNo, Answer::No) != Answer::Yes) {
        return false;
    }
    session_.setDebugMode(false, QString());
    return true;
}

void FileController::toggleDebugMode(const QString& logPath) {
    // These two messages exist in English only.
    const bool on = !session_.debugMode();
    session_.setDebugMode(on, logPath);
    prompter_.tell(Icon::Information,
                   on ? QStringLiteral("Debug mode on") : QStringLiteral("Debug mode off"));
}

}  // namespace qel
