#include "ui/file_commands.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include "app/recent_files.h"
#include "listedit/undo.h"
#include "model/file_commands.h"
#include "model/g98_file.h"
#include "ui/edit_recorder.h"
#include "ui/texts.h"

namespace qel {

namespace {

using Icon = Prompter::Icon;
using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;

// The hourglass, and the window's busy indicator, while a file is read or written.
class BusyCursor {
public:
    explicit BusyCursor(FileCommands& owner) : owner_(owner) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        emit owner_.busy(true);
    }
    ~BusyCursor() {
        emit owner_.busy(false);
        QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    FileCommands& owner_;
};

std::string Path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString Extension3(const QString& path) {
    return QString::fromStdString(FileExtension3(path.toStdString()));
}

}  // namespace

FileCommands::FileCommands(Session& session, Prompter& prompter, FileChooser& chooser,
                           RecentFiles* recent, QObject* parent)
    : QObject(parent), s_(session), prompter_(prompter), chooser_(chooser), recent_(recent) {}

QString FileCommands::ChannelFilter() {
    return QStringLiteral("Dr.Vellox settings (*.dvb );;Settings Files (*.bin)");
}
QString FileCommands::SettingsFilter() {
    return QStringLiteral("DVB generic settings (*.g98)");
}
QString FileCommands::UpgradeFilter() {
    return QStringLiteral("Dr.Vellox settings (*.dvb )");
}

void FileCommands::TakeFolderOf(const QString& path) {
    s_.workingDir = QFileInfo(path).absolutePath();
}

void FileCommands::Report(ErrorCode code, const QString& path) {
    prompter_.Tell(Icon::Critical, Texts::Error(code, path));
}

bool FileCommands::SaveTo(const QString& path) {
    const bool channels = Extension3(path) != QLatin1String("G98");
    if (channels && recorder_ != nullptr) recorder_->BeforeChange(kTouchTV | kTouchRadio);
    Status st;
    {
        BusyCursor busy(*this);
        st = Save_File(s_.ws, Path(path));
    }
    if (channels && recorder_ != nullptr) recorder_->AfterChange(st.ok());
    s_.notifyStateChanged();
    s_.notifyListsChanged();  // the FTA writer trims names and renumbers blank ids
    if (!st) Report(st.error(), path);
    return st.ok();
}

bool FileCommands::AskToSaveChannels() {
    if (!s_.ws.ChannelsModified) return true;
    const Answer a =
        prompter_.Ask(Icon::Question, tr("Save correction to ") + s_.channelFile + tr(" ? "),
                      Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::Yes) {
        // Without a file of their own (a downloaded list) the channels go where the user says.
        QString target = s_.channelFile;
        if (target.isEmpty() || QFileInfo(target).fileName() == QLatin1String("Download")) {
            target = chooser_.SaveFile(s_.workingDir, QStringLiteral("Download"), ChannelFilter());
            if (target.isEmpty()) return false;
        }
        return SaveTo(target);
    }
    return true;
}

bool FileCommands::AskToSaveSettings() {
    if (!s_.ws.SettingsModified) return true;
    const Answer a =
        prompter_.Ask(Icon::Question, tr("Save correction to ") + s_.settingsFile + tr(" ? "),
                      Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::No) {
        s_.ws.SettingsModified = false;
        s_.notifyStateChanged();
        return true;
    }
    QString target = s_.settingsFile;
    if (Extension3(target) != QLatin1String("G98")) {
        // Downloaded settings have no file yet: ask where they go.
        target = chooser_.SaveFile(s_.workingDir, QStringLiteral("Download.g98"), SettingsFilter());
        if (target.isEmpty()) return false;
        if (Extension3(target) != QLatin1String("G98")) target += QStringLiteral(".g98");
    }
    if (!SaveTo(target)) return false;
    s_.settingsFile = target;
    return true;
}

bool FileCommands::LoadChannelsFrom(const QString& path) {
    const QString ext = Extension3(path);
    if (ext != QLatin1String("DVB") && ext != QLatin1String("BIN")) return false;
    Status st;
    {
        BusyCursor busy(*this);
        st = LoadChannels(s_.ws, Path(path), s_.log());
    }
    if (!st) {
        Report(st.error(), path);
        return false;
    }
    s_.channelFile = path;
    if (recent_ != nullptr) recent_->Add(path);
    s_.notifyStateChanged();
    emit channelsLoaded();
    return true;
}

bool FileCommands::OpenChannelFile(const QString& path) {
    if (!AskToSaveChannels()) return false;
    TakeFolderOf(path);
    return LoadChannelsFrom(path);
}

void FileCommands::Load_Channel_Click() {
    if (!AskToSaveChannels()) return;
    const QString path = chooser_.OpenFile(s_.workingDir, ChannelFilter());
    if (path.isEmpty()) return;
    TakeFolderOf(path);
    LoadChannelsFrom(path);
}

void FileCommands::Save_Channel_Click() {
    if (s_.channelFile.isEmpty()) {
        prompter_.Tell(Icon::Exclamation, tr("No channels to save"));
        return;
    }
    const QString name = s_.channelFile.contains(QLatin1String("Download"))
                             ? QStringLiteral("Download")
                             : QFileInfo(s_.channelFile).fileName();
    const QString path = chooser_.SaveFile(s_.workingDir, name, ChannelFilter());
    if (path.isEmpty()) return;
    TakeFolderOf(path);
    if (SaveTo(path)) {
        s_.channelFile = path;
        if (recent_ != nullptr) recent_->Add(path);
        s_.notifyStateChanged();
    }
}

void FileCommands::Load_Settings_Click() {
    if (s_.ws.FileType == FileKind::BIN) {
        prompter_.Tell(Icon::Critical, tr("Not with BIN  files"));
        return;
    }
    if (!AskToSaveSettings()) return;
    const QString path = chooser_.OpenFile(s_.workingDir, SettingsFilter());
    if (path.isEmpty()) return;
    TakeFolderOf(path);
    const Status st = OpenDVB98Settings(s_.ws, Path(path));
    if (!st) {
        Report(st.error(), path);
        return;
    }
    s_.settingsFile = path;
    s_.notifyStateChanged();
    emit settingsLoaded();
}

void FileCommands::Save_Settings_Click() {
    if (!SettingsImageLoaded(s_.ws.DVB98Settings)) {
        prompter_.Tell(Icon::Exclamation, tr("No settings to save"));
        return;
    }
    const QString name = s_.settingsFile.contains(QLatin1String("Download"))
                             ? QStringLiteral("Download")
                             : QFileInfo(s_.settingsFile).fileName();
    QString path = chooser_.SaveFile(s_.workingDir, name, SettingsFilter());
    if (path.isEmpty()) return;
    // The settings always go to a settings file, whatever name was typed.
    if (Extension3(path) != QLatin1String("G98")) path += QStringLiteral(".g98");
    TakeFolderOf(path);
    if (SaveTo(path)) {
        s_.settingsFile = path;
        s_.notifyStateChanged();
    }
}

void FileCommands::DVB2Bin_Click() {
    if (s_.channelFile.isEmpty()) {
        prompter_.Tell(Icon::Exclamation, tr("No channels to save"));
        return;
    }
    if (prompter_.Ask(Icon::Question, tr("Default settings will be used , proceed ??"),
                      Buttons::YesNo) != Answer::Yes) {
        return;
    }
    Result<std::string> target = ErrorCode::CannotWriteFile;
    if (recorder_ != nullptr) recorder_->BeforeChange(kTouchTV | kTouchRadio);
    {
        BusyCursor busy(*this);
        target = DVB2Bin(s_.ws, Path(s_.channelFile));
    }
    if (recorder_ != nullptr) recorder_->AfterChange(false);
    s_.notifyListsChanged();
    if (!target) {
        Report(target.error(), QString::fromStdString(ConvertedName(Path(s_.channelFile))));
        return;
    }
    prompter_.Tell(Icon::Information,
                   tr("Exported on ") + QFile::decodeName(QByteArray::fromStdString(*target)));
}

void FileCommands::UpgDVB_Click() {
    if (s_.ws.ChannelCount() == 0) return;
    const QString path = chooser_.OpenFile(s_.workingDir, UpgradeFilter());
    if (path.isEmpty()) return;
    TakeFolderOf(path);
    if (recorder_ != nullptr) recorder_->BeforeChange(kTouchBuffer);
    const Status st = UpgradeFromFile(s_.ws, Path(path), s_.log());
    if (recorder_ != nullptr) recorder_->AfterChange(false);
    if (!st) {
        Report(st.error(), path);
        return;
    }
    s_.notifyStateChanged();
    s_.notifyListsChanged();
    emit bufferFilled();
}

}  // namespace qel
