#include "app/serial_controller.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "app/app_paths.h"
#include "app/texts.h"
#include "files/firmware_files.h"
#include "line/serial_line.h"
#include "serial/receiver_backup.h"

namespace qel {

SerialController::SerialController(Session& session, Prompter& prompter, QObject* parent)
    : QObject(parent),
      session_(session),
      prompter_(prompter),
      runner_(std::make_unique<TransferRunner>(TransferRunner::serialPorts(), questions())),
      backupRoot_(AppPaths::dataDir() + QStringLiteral("/backups")) {
    connectRunner();
    connect(&session_, &Session::stateChanged, this, &SerialController::followDocument);
    connect(&session_, &Session::listsChanged, this, &SerialController::followDocument);
}

SerialController::~SerialController() = default;

void SerialController::setLinkOpener(LinkOpener& opener) {
    runner_ = std::make_unique<TransferRunner>(opener, questions());
    connectRunner();
}

void SerialController::connectRunner() {
    TransferRunner* r = runner_.get();
    connect(r, &TransferRunner::opened, this, &SerialController::portOpened);
    connect(r, &TransferRunner::status, this, &SerialController::showTransferStatus);
    connect(r, &TransferRunner::phase, this,
            [this](int phase) { enterPhase(static_cast<TransferPhase>(phase)); });
    connect(r, &TransferRunner::statusColour, this,
            [this](int colour) { setStatusColour(static_cast<StatusColour>(colour)); });
    connect(r, &TransferRunner::bytesShown, this, &SerialController::setBytes);
    connect(r, &TransferRunner::channelsShown, this, &SerialController::setChannels);
    connect(r, &TransferRunner::progress, this, [this](qint64 done, qint64 total) {
        // A download's bytes field counts what arrives, the bar against the block's length;
        // an upload sets the field itself.
        if (!uploading_) setBytes(QString::number(done));
        emit progress(done, total);
    });
    connect(r, &TransferRunner::finished, this, [this] {
        if (settling_) {
            settling_ = false;
            setStatus(statusBeforeSettling_);
            emit settlingChanged(false);
            return;
        }
        settleAfter_ = false;
        if (whenDone_) {
            const std::function<void()> done = std::move(whenDone_);
            whenDone_ = nullptr;
            done();
        }
        // What the transfer gave the document (downloaded lists) is the document followed now.
        followedFile_ = session_.channelFile();
        followedKind_ = session_.workspace().fileType();
        phase_ = TransferPhase::Parts;
        uploading_ = false;
        emit progress(0, 0);
        setBusy(false);
        if (settleAfter_) settle();
        // Said once the window is usable again (or waits only for the line), not over a
        // window that still looks busy.
        const std::vector<TransferMessage> messages = std::move(messages_);
        messages_.clear();
        for (const TransferMessage& m : messages)
            prompter_.tell(m.icon, m.text);
    });
}

void SerialController::portOpened(bool ok) {
    portOpen_ = ok;
    // These status texts are the same in every language.
    setStatus(ok ? QStringLiteral("Com open") : QStringLiteral("Error on COM"));
    portProblem_.clear();
    if (!ok) {
        const Status& failure = runner_->openFailure();
        const QString device = serialDeviceText();
        if (failure.error() == ErrorCode::PortNoPermission) {
            const QString group = QString::fromStdString(failure.detail());
            QString user = qEnvironmentVariable("USER");
            if (user.isEmpty()) user = QStringLiteral("$USER");
            portProblem_ = tr("QEL may not open %1: the port belongs to the group \"%2\". Add "
                              "your user to that group (sudo adduser %3 %2), then log out and "
                              "in again.")
                               .arg(device, group, user);
        } else {
            QString reason = QString::fromStdString(failure.detail());
            if (reason.isEmpty()) reason = Texts::errorMessage(failure.error());
            portProblem_ =
                tr("%1 cannot be opened (%2). Check the port in Options.").arg(device, reason);
        }
    }
    emit portChanged(ok);
}

void SerialController::settle() {
    statusBeforeSettling_ = status_;
    const Millis quiet = timing_.settle;
    if (!runner_->run(
            [quiet](Link& link, TransferObserver&) { (void)waitForQuietLine(link, quiet); })) {
        return;
    }
    settling_ = true;
    setStatus(tr("Waiting for the receiver to finish sending..."));
    emit settlingChanged(true);
}

QString SerialController::speedText(Mode mode) {
    return mode == Mode::Dvb98 ? QStringLiteral("38400,N,8,1") : QStringLiteral("19200,N,8,1");
}

QString SerialController::portText() const {
    const QString port = session_.config().comPortText.trimmed();
    bool numeric = false;
    const int number = port.toInt(&numeric);
    if (numeric) return QStringLiteral(" COM ") + QString::number(number);
    return port;
}

QString SerialController::serialDeviceText() const {
    const QString device =
        QString::fromStdString(serialDevice(session_.config().comPortText.toStdString()));
    const QString port = portText().trimmed();
    return port == device ? device : QStringLiteral("%1 (%2)").arg(device, port);
}

void SerialController::adoptDocument() {
    const Workspace& ws = session_.workspace();
    followedFile_ = session_.channelFile();
    followedKind_ = ws.fileType();
    bytesFromReceiver_ = false;
    if (ws.fileType() == FileKind::BIN) {
        mode_ = Mode::Fta;
        bytesUsed_ = QStringLiteral(" 49152");
    } else {
        mode_ = Mode::Dvb98;
        bytesUsed_ = QString::number(ws.channelCount() * 64);
    }
    emit modeChanged(mode_);
    emit speedChanged(speedText(mode_) + ' ');
}

void SerialController::followDocument() {
    // A transfer's own changes are taken when it has ended.
    if (!started_ || busy_) return;
    const Workspace& ws = session_.workspace();
    if (session_.channelFile() != followedFile_ || ws.fileType() != followedKind_) {
        adoptDocument();
        runner_->setSpeed(baudOf(mode_));
        // The marks told of transfers of the file before.
        marks_.fill(Mark::Hidden);
        emit marksChanged();
    } else if (!bytesFromReceiver_ && ws.fileType() != FileKind::BIN) {
        bytesUsed_ = QString::number(ws.channelCount() * 64);
    }
    showCounts();
}

void SerialController::start() {
    setStatus(QString());
    adoptDocument();
    started_ = true;
    showCounts();
    hideMarks();
    emit progress(0, 0);
    runner_->close();
    portOpen_ = false;
    portProblem_.clear();
    emit portChanged(false);
    runner_->open(QString::fromStdString(serialDevice(session_.config().comPortText.toStdString())),
                  baudOf(mode_));
}

void SerialController::showCounts() {
    setBytes(bytesUsed_);
    setChannels(QString::number(session_.workspace().channelCount()));
}

void SerialController::hideMarks() {
    marks_.fill(Mark::Hidden);
    emit marksChanged();
    // The notice of a backup belongs to the upload that made it.
    lastBackup_.clear();
    emit backupKept(QString());
}

void SerialController::setMark(int index, Mark mark) {
    marks_[static_cast<std::size_t>(index)] = mark;
}

void SerialController::stop() {
    started_ = false;
    cancel();
    runner_->close();
    portOpen_ = false;
}

void SerialController::setMode(Mode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    runner_->setSpeed(baudOf(mode));
    emit modeChanged(mode);
    emit speedChanged(speedText(mode) + ' ');
}

void SerialController::setStatus(const QString& text) {
    status_ = text;
    emit statusChanged(text);
}

void SerialController::showTransferStatus(const QString& text) {
    transferStatus_ = text;
    if (phase_ == TransferPhase::Parts) setStatus(text);
}

void SerialController::enterPhase(TransferPhase phase) {
    phase_ = phase;
    switch (phase) {
        case TransferPhase::Parts:
            setStatus(transferStatus_);
            break;
        case TransferPhase::Backup:
            setStatus(tr("Backing up the receiver..."));
            break;
        case TransferPhase::Verify:
            setStatus(tr("Checking what the receiver holds..."));
            break;
    }
}

FileKind SerialController::channelKind() const {
    if (session_.workspace().fileType() == FileKind::None) return FileKind::None;
    return mode_ == Mode::Fta ? FileKind::BIN : FileKind::DVB;
}

void SerialController::setStatusColour(StatusColour colour) {
    statusColour_ = colour;
    emit statusColourChanged(colour);
}

void SerialController::setBytes(const QString& text) {
    emit bytesChanged(text);
}

void SerialController::setChannels(const QString& text) {
    emit channelsChanged(text);
}

void SerialController::setBusy(bool busy) {
    if (busy_ == busy) return;
    busy_ = busy;
    session_.setTransferBusy(busy);
    emit busyChanged(busy);
}

bool SerialController::confirm(Confirmation which) {
    QString question;
    switch (which) {
        case Confirmation::DiscardUnsavedChannels:
            question = tr("Channels not saved , continue anyway ?");
            break;
        case Confirmation::DiscardUnsavedSettings:
            question = tr("Settings not saved , continue anyway ?");
            break;
        case Confirmation::UnplugMainPower:
            // The operator pulls the plug, then confirms.
            prompter_.tell(Prompter::Icon::Information, tr("Unplug Vandu main power"));
            return true;
        case Confirmation::UploadWithoutBackup:
            question =
                tr("What the receiver holds now could not be saved before the upload.\n"
                   "Upload anyway ?");
            break;
    }
    return prompter_.ask(Prompter::Icon::Question, question, Prompter::Buttons::YesNo,
                         Prompter::Answer::No) == Prompter::Answer::Yes;
}

bool SerialController::keepBackup(const std::string& channelImage,
                                  const std::string& settingsBlock) {
    // A folder of its own named by the time; a second one within the same second too.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir rootDir(backupRoot_);
    QString name = stamp;
    for (int n = 2; rootDir.exists(name); ++n)
        name = stamp + '-' + QString::number(n);
    const QString folder = rootDir.filePath(name);
    if (!writeReceiverBackup(folder.toStdString(), channelImage, settingsBlock)) return false;
    lastBackup_ = folder;
    emit backupKept(folder);
    return true;
}

void SerialController::download(const Parts& parts) {
    // An FTA receiver has nothing to download.
    if (busy_ || settling_ || !portOpen_ || mode_ == Mode::Fta ||
        (!parts.channels && !parts.settings)) {
        return;
    }
    hideMarks();
    DownloadRequest request;
    request.channels = parts.channels;
    request.settings = parts.settings;
    request.channelsUnsaved = session_.workspace().channelsModified();
    request.settingsUnsaved =
        session_.workspace().settingsModified() && session_.workspace().settingsLoaded();
    request.log = session_.log();
    auto result = std::make_shared<DownloadResult>();
    const Timing timing = timing_;
    startTransfer(
        [result, timing, request](Link& link, TransferObserver& o) {
            *result = qel::download(link, o, timing, request);
        },
        [this, result] {
            finish(finishDownload(std::move(*result), {serialDeviceText(), silenceHint()}));
        });
}

bool SerialController::startTransfer(std::function<void(Link&, TransferObserver&)> job,
                                     std::function<void()> done) {
    phase_ = TransferPhase::Parts;
    transferStatus_ = status_;
    setBusy(true);
    whenDone_ = std::move(done);
    if (!runner_->run(std::move(job))) {
        whenDone_ = nullptr;
        setBusy(false);
        return false;
    }
    return true;
}

void SerialController::upload(const Parts& chosen) {
    // The FTA loader takes the image of the channels and nothing else.
    const Parts parts = mode_ == Mode::Fta ? Parts{chosen.channels, false, false, false} : chosen;
    if (busy_ || settling_ || !portOpen_ ||
        (!parts.channels && !parts.settings && !parts.systemFont && !parts.teletextFont)) {
        return;
    }
    if (parts.channels && mayWrite_ && !mayWrite_()) return;
    // A DVB98 list flashed through the FTA loader replaces the receiver's settings with the
    // defaults, as converting it does: the user says so first.
    if (parts.channels && channelKind() == FileKind::BIN &&
        session_.workspace().fileType() != FileKind::BIN &&
        prompter_.ask(Prompter::Icon::Question, tr("Default settings will be used , proceed ??"),
                      Prompter::Buttons::YesNo, Prompter::Answer::No) != Prompter::Answer::Yes) {
        return;
    }
    hideMarks();
    // In the dialect the window shows.
    BuiltUpload built = buildUploadRequest(session_.workspace(), parts, channelKind(),
                                           systemFontSet_, session_.config().backupBeforeUpload,
                                           session_.config().verifyAfterUpload);
    if (!built.channelsRefused.ok()) {
        // Refused by the image writer: its message, and the channels do not go up.
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(built.channelsRefused));
        setMark(kChannels, Mark::Ko);
        emit marksChanged();
    }
    if (!built.sendsAnything()) return;
    startUpload(std::move(built.request), [this](const UploadResult& result, const QString& bytes) {
        return finishUpload(result, bytes, {serialDeviceText(), silenceHint()});
    });
}

void SerialController::startUpload(
    UploadRequest request,
    std::function<TransferEnding(const UploadResult&, const QString&)> finisher) {
    auto result = std::make_shared<UploadResult>();
    const Timing timing = timing_;
    uploading_ = true;
    setStatusColour(StatusColour::Normal);
    // What the receiver holds once DVB98 channels went up.
    const QString bytesAfter = request.channelKind == FileKind::DVB
                                   ? QString::number(request.channelImage.size())
                                   : QStringLiteral(" 49152");
    if (!startTransfer(
            [result, timing, request = std::move(request)](Link& link, TransferObserver& o) {
                *result = qel::upload(link, o, timing, request);
            },
            [this, result, bytesAfter, finisher = std::move(finisher)] {
                // The loader runs at its own speed; the port goes back to the chosen mode's.
                runner_->setSpeed(baudOf(mode_));
                setStatusColour(StatusColour::Normal);
                finish(finisher(*result, bytesAfter));
            })) {
        uploading_ = false;
    }
}

std::vector<BackupEntry> SerialController::backups() const {
    return listReceiverBackups(QDir::toNativeSeparators(backupRoot_).toStdString());
}

void SerialController::restore(const BackupEntry& backup) {
    if (busy_ || settling_ || !portOpen_ || mode_ != Mode::Dvb98) return;
    const QString date = QString::fromStdString(backupDateText(backup.date));
    const Result<ReceiverBackup> read = readReceiverBackup(backup.folder);
    if (!read) {
        prompter_.tell(Prompter::Icon::Critical,
                       tr("The backup of %1 cannot be restored.").arg(date) + '\n' +
                           Texts::errorMessage(read.status()));
        return;
    }
    if (prompter_.ask(Prompter::Icon::Question,
                      tr("Restore the backup of %1 to the receiver?").arg(date),
                      Prompter::Buttons::YesNo, Prompter::Answer::No) != Prompter::Answer::Yes) {
        return;
    }
    hideMarks();
    startUpload(restoreRequest(*read, session_.config().backupBeforeUpload,
                               session_.config().verifyAfterUpload),
                [this, date](const UploadResult& result, const QString& bytes) {
                    return finishRestore(result, bytes, date, {serialDeviceText(), silenceHint()});
                });
}

void SerialController::cancel() {
    runner_->cancel();
}

QString SerialController::silenceHint() const {
    const bool dvb98 = mode_ == Mode::Dvb98;
    return tr("The receiver does not answer on %1 (%2 mode, %3).\n\n"
              "Check that the cable is plugged in at both ends, that the receiver is switched "
              "on and runs the %4 firmware, that the mode above is the receiver's, and that "
              "the port in Options is the one the cable is on.")
        .arg(serialDeviceText(),
             dvb98 ? QStringLiteral("Dr. Vellox") : QStringLiteral("FTA 2.4061"), speedText(mode_),
             dvb98 ? QStringLiteral("DVB98") : QStringLiteral("FTA"));
}

void SerialController::uploadPicture(const std::string& file) {
    if (busy_ || settling_ || !portOpen_) return;
    hideMarks();
    auto result = std::make_shared<PictureResult>();
    const Timing timing = timing_;
    const int slot = pictureSlot_;
    uploading_ = true;
    if (!startTransfer(
            [result, timing, file, slot](Link& link, TransferObserver& o) {
                *result = uploadPictureTransfer(link, o, timing, file, slot);
            },
            [this, result] {
                finish(finishPicture(*result, {serialDeviceText(), silenceHint()}));
            })) {
        uploading_ = false;
    }
}

void SerialController::upgradeFirmware(const QString& firmwarePath, bool eraseAll) {
    if (busy_ || settling_ || !portOpen_ || firmwarePath.isEmpty()) return;
    std::vector<std::string> places;
    for (const QString& place :
         routinePlaces_.isEmpty() ? AppPaths::suppliedPlaces() : routinePlaces_)
        places.push_back(QDir::toNativeSeparators(place).toStdString());
    Result<std::string> routinePath = findFlashRoutine(places);
    if (!routinePath) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(ErrorCode::NoFlashRoutine) +
                                                     '\n' +
                                                     QString::fromStdString(routinePath.detail()));
        return;
    }
    Result<std::string> routine = readFlashRoutine(*routinePath);
    if (!routine) {
        prompter_.tell(Prompter::Icon::Critical,
                       Texts::errorMessage(routine.status(), QString::fromStdString(*routinePath)));
        return;
    }
    Result<std::string> file = readFirmwareFile(firmwarePath.toStdString());
    if (!file) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(file.status(), firmwarePath));
        return;
    }
    hideMarks();
    auto request = std::make_shared<FirmwareRequest>(
        FirmwareRequest{std::move(routine.value()), std::move(file.value()), eraseAll});
    auto result = std::make_shared<FirmwareResult>();
    const Timing timing = timing_;
    // The upgrade shows the bytes sent in the bytes field itself.
    uploading_ = true;
    const QString name = QFileInfo(firmwarePath).fileName();
    if (!startTransfer(
            [result, request, timing](Link& link, TransferObserver& o) {
                *result = qel::upgradeFirmware(link, o, timing, *request);
            },
            [this, result, name] {
                finish(finishFirmware(*result, name, {serialDeviceText(), silenceHint()}));
            })) {
        uploading_ = false;
    }
}

void SerialController::finish(TransferEnding ending) {
    Workspace& ws = session_.workspace();
    const QDir folder(session_.workingDir());
    // The lists a download replaces stay at hand for a comparison with the new ones.
    TvRadioLists before;
    const FileKind kindBefore = ws.fileType();
    const bool listsReplaced = ending.lists.has_value();
    if (listsReplaced) {
        before = {ws.tvList(), ws.radioList()};
        // Downloaded lists have no file of their own yet.
        ws.installChannels({std::move(*ending.lists), FileKind::DVB, {}});
        session_.keepListsAsOpened(Session::Opened::Downloaded);
        session_.setChannelFile(folder.filePath(QStringLiteral("Download.dvb")));
    }
    if (ending.settingsImage) {
        ws.installSettings(std::move(*ending.settingsImage));
        session_.setSettingsFile(folder.filePath(QStringLiteral("Download.g98")));
    }
    if (listsReplaced && (!before.tv.empty() || !before.radio.empty()))
        session_.keepListsBeforeDownload(std::move(before), kindBefore);
    for (const auto& [index, mark] : ending.marks)
        setMark(index, mark);
    messages_.insert(messages_.end(), ending.messages.begin(), ending.messages.end());
    settleAfter_ = ending.settle;
    if (ending.bytesUsed) {
        bytesUsed_ = *ending.bytesUsed;
        bytesFromReceiver_ = true;
    }
    if (ending.status) setStatus(*ending.status);
    showCounts();
    emit marksChanged();
    if (listsReplaced) emit channelsDownloaded();
}

}  // namespace qel
