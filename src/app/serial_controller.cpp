#include "app/serial_controller.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "app/app_paths.h"
#include "app/texts.h"
#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/firmware_files.h"
#include "files/font_file.h"
#include "files/fta_writer.h"
#include "files/g98_file.h"
#include "line/serial_line.h"

namespace qel {

namespace {

// Whether a part that failed may have left the receiver sending: anything but a refusal
// before its first byte.
bool mayLeaveLineBusy(const PartOutcome& part) {
    if (!part.attempted || part.ok) return false;
    switch (part.status.error()) {
        case ErrorCode::NoChannelsLoaded:
        case ErrorCode::TooManyChannelsDvb:
        case ErrorCode::TooManyChannelsFta:
        case ErrorCode::SettingsNotTagged:
        case ErrorCode::NoFontLoaded:
        case ErrorCode::WrongFontLength:
        case ErrorCode::WrongFileLength:
        case ErrorCode::WrongPictureFile:
            return false;
        case ErrorCode::TransferCancelled:
            return part.status.detail() != kNotConfirmed;
        default:
            return true;
    }
}

}  // namespace

SerialController::SerialController(Session& session, Prompter& prompter, QObject* parent)
    : QObject(parent),
      session_(session),
      prompter_(prompter),
      runner_(std::make_unique<TransferRunner>()),
      backupRoot_(AppPaths::dataDir() + QStringLiteral("/backups")) {
    connectRunner();
}

SerialController::~SerialController() = default;

void SerialController::setLinkFactory(TransferRunner::LinkFactory factory) {
    runner_ = std::make_unique<TransferRunner>(std::move(factory));
    connectRunner();
}

void SerialController::connectRunner() {
    TransferRunner* r = runner_.get();
    r->confirm = [this](Confirmation which) { return confirm(which); };
    r->keepBackup = [this](const std::string& channels, const std::string& settings) {
        return keepBackup(channels, settings);
    };
    connect(r, &TransferRunner::opened, this, &SerialController::portOpened);
    connect(r, &TransferRunner::status, this, &SerialController::setAdvise);
    connect(r, &TransferRunner::statusColour, this, [this](int colour) {
        adviseColour_ = static_cast<StatusColour>(colour);
        emit adviseColourChanged(adviseColour_);
    });
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
            setAdvise(adviseBeforeSettling_);
            emit settlingChanged(false);
            return;
        }
        settleAfter_ = false;
        if (whenDone_) {
            const std::function<void()> done = std::move(whenDone_);
            whenDone_ = nullptr;
            done();
        }
        uploading_ = false;
        emit progress(0, 0);
        setBusy(false);
        if (settleAfter_) settle();
        // Said once the window is usable again (or waits only for the line), not over a
        // window that still looks busy.
        const std::vector<Message> messages = std::move(messages_);
        messages_.clear();
        for (const Message& m : messages)
            prompter_.tell(m.icon, m.text);
    });
}

void SerialController::portOpened(bool ok) {
    portOpen_ = ok;
    // These status texts are the same in every language.
    setAdvise(ok ? QStringLiteral("Com open") : QStringLiteral("Error on COM"));
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
    adviseBeforeSettling_ = advise_;
    const Millis quiet = timing_.settle;
    if (!runner_->run(
            [quiet](Link& link, TransferObserver&) { (void)waitForQuietLine(link, quiet); })) {
        return;
    }
    settling_ = true;
    setAdvise(tr("Waiting for the receiver to finish sending..."));
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

void SerialController::start() {
    setAdvise(QString());
    const Workspace& ws = session_.workspace();
    if (ws.fileType() == FileKind::BIN) {
        mode_ = Mode::Fta;
        bytesUsed_ = QStringLiteral(" 49152");
    } else {
        mode_ = Mode::Dvb98;
        bytesUsed_ = QString::number(ws.channelCount() * 64);
    }
    showCounts();
    hideMarks();
    emit progress(0, 0);
    emit modeChanged(mode_);
    emit speedChanged(speedText(mode_) + ' ');
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

void SerialController::setMark(int index, bool ok) {
    marks_[static_cast<std::size_t>(index)] = ok ? Mark::Ok : Mark::Ko;
}

void SerialController::stop() {
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

void SerialController::setAdvise(const QString& text) {
    advise_ = text;
    emit adviseChanged(text);
}

void SerialController::setBytes(const QString& text) {
    bytes_ = text;
    emit bytesChanged(text);
}

void SerialController::setChannels(const QString& text) {
    channels_ = text;
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
    // One folder for each upload, named by its time; a second upload within the same
    // second gets a folder of its own too.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QDir root(backupRoot_);
    QString name = stamp;
    for (int n = 2; root.exists(name); ++n)
        name = stamp + '-' + QString::number(n);
    if (!root.mkpath(name)) return false;
    const QString folder = root.filePath(name);
    const std::string channels =
        QDir(folder).filePath(QStringLiteral("receiver.dvb")).toStdString();
    const std::string settings =
        QDir(folder).filePath(QStringLiteral("receiver.g98")).toStdString();
    if (!writeFileAtomic(channels, channelImage) ||
        !writeFileAtomic(settings, encodeG98(settingsImageOf(settingsBlock)))) {
        return false;
    }
    lastBackup_ = folder;
    emit backupKept(folder);
    return true;
}

void SerialController::download(bool channels, bool settings) {
    if (busy_ || settling_ || !portOpen_ || (!channels && !settings)) return;
    hideMarks();
    DownloadRequest request;
    request.channels = channels;
    request.settings = settings;
    request.channelsUnsaved = session_.workspace().channelsModified();
    request.settingsUnsaved =
        session_.workspace().settingsModified() && session_.workspace().settingsLoaded();
    auto result = std::make_shared<DownloadResult>();
    const Timing timing = timing_;
    startTransfer(
        [result, timing, request](Link& link, TransferObserver& o) {
            *result = qel::download(link, o, timing, request);
        },
        [this, result] { finishDownload(*result); });
}

bool SerialController::startTransfer(std::function<void(Link&, TransferObserver&)> job,
                                     std::function<void()> done) {
    setBusy(true);
    whenDone_ = std::move(done);
    if (!runner_->run(std::move(job))) {
        whenDone_ = nullptr;
        setBusy(false);
        return false;
    }
    return true;
}

void SerialController::upload(bool channels, bool settings, bool systemFont, bool teletextFont) {
    if (busy_ || settling_ || !portOpen_ ||
        (!channels && !settings && !systemFont && !teletextFont)) {
        return;
    }
    hideMarks();
    const Workspace& ws = session_.workspace();
    UploadRequest request;
    request.backup = session_.config().backupBeforeUpload;
    request.verify = session_.config().verifyAfterUpload;
    if (channels) {
        request.channels = true;
        request.channelKind = ws.fileType();
        request.channelCount = ws.channelCount();
        if (ws.fileType() == FileKind::DVB) {
            // Records that would be refused are not even built.
            if (ws.channelCount() <= kMaxDvb98Channels)
                request.channelImage = encodeDvb(ws.tvList(), ws.radioList());
        } else if (ws.fileType() == FileKind::BIN) {
            // The image is the one saving would write, built here in memory; the lists
            // stay as they are.
            const TvRadioLists lists = normalizeForFtaImage(ws.tvList(), ws.radioList());
            Result<std::string> image =
                encodeFtaImage(lists.tv, lists.radio, ws.imageTables(), ImageSettings::FromTables);
            if (image) {
                request.channelImage = std::move(image.value());
            } else {
                // Refused by the image writer: its message, and nothing goes up.
                prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(image.status()));
                request.channels = false;
                setMark(kChannels, false);
                emit marksChanged();
            }
        }
    }
    if (settings) {
        request.settings = true;
        if (ws.settingsLoaded()) request.settingsImage = ws.settingsImage();
    }
    const std::optional<FontType> font = ws.fontType();
    if (systemFont) {
        request.systemFont = true;
        // A one-set font has only its first set.
        if (font && isSystemFont(*font)) {
            const int set = fontSetCount(*font) == 2 ? systemFontSet_ : 0;
            request.systemFontSet = std::string(qel::systemFontSet(ws.fontData(), *font, set));
        }
    }
    if (teletextFont) {
        request.teletextFont = true;
        if (font == FontType::Teletext) request.teletextFontData = ws.fontData();
    }
    if (!request.channels && !request.settings && !request.systemFont && !request.teletextFont)
        return;
    auto result = std::make_shared<UploadResult>();
    const Timing timing = timing_;
    uploading_ = true;
    adviseColour_ = StatusColour::Normal;
    emit adviseColourChanged(adviseColour_);
    // What the receiver holds once DVB98 channels went up.
    const QString bytesAfter = request.channelKind == FileKind::DVB
                                   ? QString::number(request.channelImage.size())
                                   : bytesUsed_;
    if (!startTransfer(
            [result, timing, request = std::move(request)](Link& link, TransferObserver& o) {
                *result = qel::upload(link, o, timing, request);
            },
            [this, result, bytesAfter] { finishUpload(*result, bytesAfter); })) {
        uploading_ = false;
    }
}

void SerialController::cancel() {
    runner_->cancel();
}

void SerialController::say(Prompter::Icon icon, const QString& text) {
    messages_.push_back({icon, text});
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

bool SerialController::tellSilence(std::initializer_list<const Status*> failures) {
    for (const Status* failure : failures) {
        if (isSilentReceiver(*failure)) {
            say(Prompter::Icon::Critical, silenceHint());
            return true;
        }
    }
    return false;
}

void SerialController::tellFailure(const PartOutcome& part) {
    const ErrorCode code = part.status.error();
    if (code == ErrorCode::DownloadFailed || code == ErrorCode::WrongChannelDataSize) {
        say(Prompter::Icon::Critical, Texts::errorMessage(code));
    } else if (code == ErrorCode::PortError) {
        say(Prompter::Icon::Critical, Texts::errorMessage(part.status));
    }
}

void SerialController::finishDownload(const DownloadResult& result) {
    Workspace& ws = session_.workspace();
    const QDir folder(session_.workingDir());
    settleAfter_ =
        result.cancelled || mayLeaveLineBusy(result.channels) || mayLeaveLineBusy(result.settings);
    const bool silent =
        !result.cancelled && tellSilence({&result.channels.status, &result.settings.status});
    if (result.channels.attempted) {
        setMark(kChannels, result.channels.ok);
        if (result.replacesChannels()) {
            auto lists = parseDvb(result.channelImage, session_.log());
            if (lists) {
                // Downloaded lists have no file of their own yet.
                ws.installChannels({std::move(lists.value()), FileKind::DVB, {}});
                session_.setChannelFile(folder.filePath(QStringLiteral("Download.dvb")));
            } else {
                setMark(kChannels, false);
            }
        }
        if (result.channels.ok) bytesUsed_ = QString::number(result.channelImage.size());
        if (!result.channels.ok && !result.cancelled && !silent) tellFailure(result.channels);
    }
    if (result.settings.attempted) {
        setMark(kSettings, result.settings.ok);
        if (result.replacesSettings()) {
            ws.installSettings(settingsImageOf(result.settingsBlock));
            session_.setSettingsFile(folder.filePath(QStringLiteral("Download.g98")));
        }
        if (!result.settings.ok && !result.cancelled && !silent) tellFailure(result.settings);
    }
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    showCounts();
    emit marksChanged();
    if (result.replacesChannels()) emit channelsDownloaded();
}

void SerialController::tellUploadFailure(const PartOutcome& part, const UploadResult& result) {
    const Status& st = part.status;
    switch (st.error()) {
        case ErrorCode::TransferCancelled:  // said in the status line
        case ErrorCode::NoChannelsLoaded:   // the Ko mark says it
        case ErrorCode::SettingsNotTagged:  // "Error" in the status line
        case ErrorCode::NoAnswer:           // "Error" in the status line
        case ErrorCode::NoFontLoaded:       // "Error" in the status line, the Ko mark
        case ErrorCode::WrongFontLength:
            return;
        case ErrorCode::PortError:
            say(Prompter::Icon::Critical, Texts::errorMessage(st));
            return;
        case ErrorCode::LoaderTimeout:
            say(Prompter::Icon::Critical,
                Texts::errorMessage(ErrorCode::LoaderTimeout) + QStringLiteral("\n\n") +
                    tr("The receiver's loader did not answer on %1 at 19200 baud. Plug the "
                       "receiver's mains in while \"Connect main plug\" blinks, and check the "
                       "cable and the port in Options.")
                        .arg(serialDeviceText()));
            return;
        case ErrorCode::BlocksUnanswered:
            say(Prompter::Icon::Critical,
                tr("%1 of the 48 blocks got no answer from the receiver.\n"
                   "Repeat the upload.")
                    .arg(result.unansweredBlocks));
            return;
        case ErrorCode::FlashIncomplete:
            say(Prompter::Icon::Critical,
                tr("The upload stopped part-way: the receiver's flash is now "
                   "incomplete and must be written again."));
            return;
        case ErrorCode::VerifyFailed: {
            QString text = Texts::errorMessage(ErrorCode::VerifyFailed);
            if (part.differsAt > 0) {
                text += QStringLiteral("\n") +
                        (&part == &result.channels
                             ? tr("The first channel that differs: %1").arg(part.differsAt)
                             : tr("The first byte that differs: %1").arg(part.differsAt));
            } else {
                text += QStringLiteral("\n") + tr("It could not be read back.");
            }
            say(Prompter::Icon::Critical, text);
            return;
        }
        default:
            // "Too many channels…", "Error during upload", …: the texts as they stand,
            // without detail.
            say(Prompter::Icon::Critical, Texts::errorMessage(st.error()));
            return;
    }
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
            [this, result] { finishPicture(*result); })) {
        uploading_ = false;
    }
}

void SerialController::finishPicture(const PictureResult& result) {
    const Status& st = result.status;
    setMark(kPicture, st.ok());
    settleAfter_ = result.cancelled || (!st.ok() && st.error() != ErrorCode::WrongPictureFile);
    // The status line has told how it went; a refused file is said before anything is sent.
    if (st.error() == ErrorCode::WrongPictureFile) {
        say(Prompter::Icon::Critical, Texts::errorMessage(ErrorCode::WrongPictureFile));
    } else if (st.error() == ErrorCode::PortError) {
        say(Prompter::Icon::Critical, Texts::errorMessage(st));
    } else if (!result.cancelled) {
        tellSilence({&st});
    }
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    showCounts();
    emit marksChanged();
}

void SerialController::finishUpload(const UploadResult& result, const QString& bytesAfter) {
    // The loader runs at its own speed; the port goes back to the chosen mode's.
    runner_->setSpeed(baudOf(mode_));
    adviseColour_ = StatusColour::Normal;
    emit adviseColourChanged(adviseColour_);
    const PartOutcome* parts[] = {&result.channels, &result.settings, &result.systemFont,
                                  &result.teletextFont};
    const bool silent =
        !result.cancelled && tellSilence({&result.channels.status, &result.settings.status,
                                          &result.systemFont.status, &result.teletextFont.status});
    settleAfter_ = result.cancelled;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        const PartOutcome& part = *parts[i];
        if (!part.attempted) continue;
        setMark(static_cast<int>(i), part.ok);
        settleAfter_ = settleAfter_ || mayLeaveLineBusy(part);
        if (!part.ok && !(silent && part.status.error() == ErrorCode::NoAnswer)) {
            tellUploadFailure(part, result);
        }
    }
    if (result.channels.ok) bytesUsed_ = bytesAfter;
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    showCounts();
    emit marksChanged();
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
            [this, result, name] { finishFirmware(*result, name); })) {
        uploading_ = false;
    }
}

void SerialController::finishFirmware(const FirmwareResult& result, const QString& fileName) {
    const Status& st = result.status;
    const ErrorCode code = st.error();
    setMark(kFirmware, st.ok());
    settleAfter_ = !st.ok();
    if (st.ok()) {
        say(Prompter::Icon::Information,
            tr("Firmware upgrade completed") + QStringLiteral("\n") +
                tr("The receiver's flash now holds %1.").arg(fileName));
    } else if (code == ErrorCode::FirmwareCrcError || code == ErrorCode::FirmwareDecompressError ||
               code == ErrorCode::FirmwareWriteError) {
        say(Prompter::Icon::Critical, Texts::errorMessage(code));
    } else if (code == ErrorCode::PortError) {
        say(Prompter::Icon::Critical, Texts::errorMessage(st));
    } else if (code == ErrorCode::FirmwareIncomplete) {
        say(Prompter::Icon::Exclamation, Texts::errorMessage(code));
    } else if (code == ErrorCode::TransferCancelled) {
        setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    } else {
        // "Error" in the status line; a receiver that never answered is told what to check.
        tellSilence({&st});
    }
    showCounts();
    emit marksChanged();
}

}  // namespace qel
