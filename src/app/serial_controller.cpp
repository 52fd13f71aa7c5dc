#include "app/serial_controller.h"

#include <QDateTime>
#include <QDir>
#include <QTimer>

#include "app/app_paths.h"
#include "app/serial_link.h"
#include "app/texts.h"
#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/firmware_files.h"
#include "files/font_file.h"
#include "files/fta_writer.h"
#include "files/g98_file.h"

namespace qel {

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
    connect(r, &TransferRunner::opened, this, [this](bool ok, const QString&) {
        portOpen_ = ok;
        // These status texts are the same in every language.
        setAdvise(ok ? QStringLiteral("Com open") : QStringLiteral("Error on COM"));
        emit portChanged(ok);
    });
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
        if (whenDone_) {
            const std::function<void()> done = std::move(whenDone_);
            whenDone_ = nullptr;
            done();
        }
        uploading_ = false;
        setBusy(false);
    });
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

void SerialController::start() {
    setAdvise(QString());
    const Workspace& ws = session_.workspace();
    const std::size_t channels = ws.channelCount();
    if (ws.fileType() == FileKind::BIN) {
        mode_ = Mode::Fta;
        setBytes(QStringLiteral(" 49152"));
    } else {
        mode_ = Mode::Dvb98;
        setBytes(QString::number(channels * 64));
    }
    setChannels(QString::number(channels));
    emit modeChanged(mode_);
    emit speedChanged(speedText(mode_) + ' ');
    runner_->close();
    portOpen_ = false;
    emit portChanged(false);
    runner_->open(SerialLink::deviceOf(session_.config().comPortText), baudOf(mode_));
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
    if (busy_ || !portOpen_ || (!channels && !settings)) return;
    marks_.fill(Mark::Hidden);
    emit marksChanged();
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

void SerialController::upload(bool channels, bool settings, bool systemFont, int systemFontSet,
                              bool teletextFont) {
    if (busy_ || !portOpen_ || (!channels && !settings && !systemFont && !teletextFont)) return;
    marks_.fill(Mark::Hidden);
    emit marksChanged();
    lastBackup_.clear();
    emit backupKept(QString());
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
                marks_[0] = Mark::Ko;
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
            const int set = fontSetCount(*font) == 2 ? systemFontSet : 0;
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
    if (!startTransfer(
            [result, timing, request = std::move(request)](Link& link, TransferObserver& o) {
                *result = qel::upload(link, o, timing, request);
            },
            [this, result] { finishUpload(*result); })) {
        uploading_ = false;
    }
}

void SerialController::cancel() {
    runner_->cancel();
}

void SerialController::tellFailure(const PartOutcome& part) {
    const ErrorCode code = part.status.error();
    if (code == ErrorCode::DownloadFailed || code == ErrorCode::WrongChannelDataSize) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(code));
    }
}

void SerialController::finishDownload(const DownloadResult& result) {
    Workspace& ws = session_.workspace();
    const QDir folder(session_.workingDir());
    if (result.channels.attempted) {
        marks_[0] = result.channels.ok ? Mark::Ok : Mark::Ko;
        if (result.replacesChannels()) {
            auto lists = parseDvb(result.channelImage, session_.log());
            if (lists) {
                // Downloaded lists have no file of their own yet.
                ws.installChannels({std::move(lists.value()), FileKind::DVB, {}});
                session_.setChannelFile(folder.filePath(QStringLiteral("Download.dvb")));
            } else {
                marks_[0] = Mark::Ko;
            }
        }
        if (!result.channels.ok && !result.cancelled) tellFailure(result.channels);
    }
    if (result.settings.attempted) {
        marks_[1] = result.settings.ok ? Mark::Ok : Mark::Ko;
        if (result.replacesSettings()) {
            ws.installSettings(settingsImageOf(result.settingsBlock));
            session_.setSettingsFile(folder.filePath(QStringLiteral("Download.g98")));
        }
        if (!result.settings.ok && !result.cancelled) tellFailure(result.settings);
    }
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
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
        case ErrorCode::PortError:          // the status line names the port's trouble
        case ErrorCode::NoFontLoaded:       // "Error" in the status line, the Ko mark
        case ErrorCode::WrongFontLength:
            return;
        case ErrorCode::BlocksUnanswered:
            prompter_.tell(Prompter::Icon::Critical,
                           tr("%1 of the 48 blocks got no answer from the receiver.\n"
                              "Repeat the upload.")
                               .arg(result.unansweredBlocks));
            return;
        case ErrorCode::FlashIncomplete:
            prompter_.tell(Prompter::Icon::Critical,
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
            prompter_.tell(Prompter::Icon::Critical, text);
            return;
        }
        default:
            // "Too many channels…", "Error during upload", "Timeout", …: the texts as they
            // stand, without detail.
            prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(st.error()));
            return;
    }
}

void SerialController::uploadPicture(const std::string& file, int slot) {
    if (busy_ || !portOpen_) return;
    marks_.fill(Mark::Hidden);
    emit marksChanged();
    auto result = std::make_shared<PictureResult>();
    const Timing timing = timing_;
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
    // The status line has told how it went; a refused file is said before anything is sent.
    if (result.status.error() == ErrorCode::WrongPictureFile)
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(ErrorCode::WrongPictureFile));
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
}

void SerialController::finishUpload(const UploadResult& result) {
    // The loader runs at its own speed; the port goes back to the chosen mode's.
    runner_->setSpeed(baudOf(mode_));
    adviseColour_ = StatusColour::Normal;
    emit adviseColourChanged(adviseColour_);
    const PartOutcome* parts[] = {&result.channels, &result.settings, &result.systemFont,
                                  &result.teletextFont};
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        const PartOutcome& part = *parts[i];
        if (!part.attempted) continue;
        marks_[i] = part.ok ? Mark::Ok : Mark::Ko;
        if (!part.ok) tellUploadFailure(part, result);
    }
    if (result.cancelled) setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    emit marksChanged();
}

void SerialController::upgradeFirmware(const QString& firmwarePath, bool eraseAll) {
    if (busy_ || !portOpen_ || firmwarePath.isEmpty()) return;
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
    marks_.fill(Mark::Hidden);
    emit marksChanged();
    auto request = std::make_shared<FirmwareRequest>(
        FirmwareRequest{std::move(routine.value()), std::move(file.value()), eraseAll});
    auto result = std::make_shared<FirmwareResult>();
    const Timing timing = timing_;
    const QString bytesBefore = bytes_;
    // The upgrade shows the bytes sent in the bytes field itself.
    uploading_ = true;
    if (!startTransfer(
            [result, request, timing](Link& link, TransferObserver& o) {
                *result = qel::upgradeFirmware(link, o, timing, *request);
            },
            [this, result, bytesBefore] { finishFirmware(*result, bytesBefore); })) {
        uploading_ = false;
    }
}

void SerialController::finishFirmware(const FirmwareResult& result, const QString& bytesBefore) {
    setBytes(bytesBefore);
    const ErrorCode code = result.status.error();
    if (result.status.ok()) {
        // Said once the window is usable again, not over a window that still looks busy.
        QTimer::singleShot(0, this, [this] {
            prompter_.tell(Prompter::Icon::Information, tr("Firmware upgrade completed"));
        });
    } else if (code == ErrorCode::FirmwareCrcError || code == ErrorCode::FirmwareDecompressError ||
               code == ErrorCode::FirmwareWriteError || code == ErrorCode::PortError) {
        prompter_.tell(Prompter::Icon::Critical, Texts::errorMessage(code));
    } else if (code == ErrorCode::FirmwareIncomplete) {
        prompter_.tell(Prompter::Icon::Exclamation, Texts::errorMessage(code));
    } else if (code == ErrorCode::TransferCancelled) {
        setAdvise(Texts::errorMessage(ErrorCode::TransferCancelled));
    }
    // A receiver that did not answer before the blocks: "Error" in the status line says so.
}

}  // namespace qel
