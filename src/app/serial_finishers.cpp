#include "app/serial_finishers.h"

#include <QDateTime>
#include <QDir>
#include <initializer_list>

#include "app/texts.h"
#include "files/dvb_file.h"
#include "serial/receiver_backup.h"

namespace qel {

namespace {

void say(TransferEnding& ending, Prompter::Icon icon, const QString& text) {
    ending.messages.push_back({icon, text});
}

void mark(TransferEnding& ending, int index, bool ok) {
    ending.marks.emplace_back(index, ok ? SerialController::Mark::Ok : SerialController::Mark::Ko);
}

// A part the user chose not to go on with is neither a success nor a failure.
bool declined(const PartOutcome& part) {
    return part.status.error() == ErrorCode::TransferCancelled &&
           part.status.detail() == kNotConfirmed;
}

void mark(TransferEnding& ending, int index, const PartOutcome& part) {
    if (declined(part)) {
        ending.marks.emplace_back(index, SerialController::Mark::Skipped);
    } else {
        mark(ending, index, part.ok);
    }
}

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

// Says so when the receiver did not answer at all, once for the whole transfer; true when
// it did.
bool tellSilence(TransferEnding& ending, const LineNames& line,
                 std::initializer_list<const Status*> failures) {
    for (const Status* failure : failures) {
        if (isSilentReceiver(*failure)) {
            say(ending, Prompter::Icon::Critical, line.silenceHint);
            return true;
        }
    }
    return false;
}

void tellDownloadFailure(TransferEnding& ending, const PartOutcome& part) {
    const ErrorCode code = part.status.error();
    if (code == ErrorCode::DownloadFailed || code == ErrorCode::WrongChannelDataSize) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(code));
    } else if (code == ErrorCode::PortError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(part.status));
    }
}

QString verifyFailureText(const PartOutcome& part, bool channels) {
    QString text = Texts::errorMessage(ErrorCode::VerifyFailed) + QStringLiteral("\n");
    if (part.differsAt == 0) return text + SerialController::tr("It could not be read back.");
    return text +
           (channels
                ? SerialController::tr("The first channel that differs: %1").arg(part.differsAt)
                : SerialController::tr("The first byte that differs: %1").arg(part.differsAt));
}

void tellUploadFailure(TransferEnding& ending, const PartOutcome& part, const UploadResult& result,
                       const LineNames& line) {
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
            say(ending, Prompter::Icon::Critical, Texts::errorMessage(st));
            return;
        case ErrorCode::LoaderTimeout:
            say(ending, Prompter::Icon::Critical,
                Texts::errorMessage(ErrorCode::LoaderTimeout) + QStringLiteral("\n\n") +
                    SerialController::tr(
                        "The receiver's loader did not answer on %1 at 19200 baud. Plug the "
                        "receiver's mains in while \"Connect main plug\" blinks, and check the "
                        "cable and the port in Options.")
                        .arg(line.device));
            return;
        case ErrorCode::FlashIncomplete:
            say(ending, Prompter::Icon::Critical,
                SerialController::tr("The upload stopped part-way: the receiver's flash is now "
                                     "incomplete and must be written again."));
            return;
        case ErrorCode::VerifyFailed:
            say(ending, Prompter::Icon::Critical,
                verifyFailureText(part, &part == &result.channels));
            return;
        default:
            // "Too many channels…", "Error during upload", …: the texts as they stand,
            // without detail.
            say(ending, Prompter::Icon::Critical, Texts::errorMessage(st.error()));
            return;
    }
}

}  // namespace

TransferEnding finishDownload(const DownloadResult& result, Session& session,
                              const LineNames& line) {
    TransferEnding ending;
    Workspace& ws = session.workspace();
    const QDir folder(session.workingDir());
    ending.settle =
        result.cancelled || mayLeaveLineBusy(result.channels) || mayLeaveLineBusy(result.settings);
    ending.cancelled = result.cancelled;
    const bool silent =
        !result.cancelled &&
        tellSilence(ending, line, {&result.channels.status, &result.settings.status});
    if (result.channels.attempted) {
        mark(ending, SerialController::kChannels, result.channels);
        if (result.replacesChannels()) {
            auto lists = parseDvb(result.channelImage, session.log());
            if (lists) {
                // Downloaded lists have no file of their own yet.
                ws.installChannels({std::move(lists.value()), FileKind::DVB, {}});
                session.setChannelFile(folder.filePath(QStringLiteral("Download.dvb")));
            } else {
                mark(ending, SerialController::kChannels, false);
            }
        }
        if (result.channels.ok) ending.bytesUsed = QString::number(result.channelImage.size());
        if (!result.channels.ok && !result.cancelled && !silent)
            tellDownloadFailure(ending, result.channels);
    }
    if (result.settings.attempted) {
        mark(ending, SerialController::kSettings, result.settings);
        if (result.replacesSettings()) {
            ws.installSettings(settingsImageOf(result.settingsBlock));
            session.setSettingsFile(folder.filePath(QStringLiteral("Download.g98")));
        }
        if (!result.settings.ok && !result.cancelled && !silent)
            tellDownloadFailure(ending, result.settings);
    }
    ending.channelsReplaced = result.replacesChannels();
    return ending;
}

TransferEnding finishUpload(const UploadResult& result, const QString& bytesAfter,
                            const LineNames& line) {
    TransferEnding ending;
    // In the order of the marks.
    const PartOutcome* parts[] = {&result.channels, &result.settings, &result.systemFont,
                                  &result.teletextFont};
    const bool silent =
        !result.cancelled && tellSilence(ending, line,
                                         {&result.channels.status, &result.settings.status,
                                          &result.systemFont.status, &result.teletextFont.status});
    ending.settle = result.cancelled;
    ending.cancelled = result.cancelled;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        const PartOutcome& part = *parts[i];
        if (!part.attempted) continue;
        mark(ending, static_cast<int>(i), part);
        ending.settle = ending.settle || mayLeaveLineBusy(part);
        if (!part.ok && !(silent && part.status.error() == ErrorCode::NoAnswer))
            tellUploadFailure(ending, part, result, line);
    }
    if (result.channels.ok) ending.bytesUsed = bytesAfter;
    // The loader need not answer a block: the image went up, with a warning.
    if (result.channels.ok && result.unansweredBlocks != 0) {
        say(ending, Prompter::Icon::Exclamation,
            SerialController::tr(
                "The image went up, but %1 of the 48 blocks got no answer from the receiver.\n"
                "If the receiver does not work with the new lists, repeat the upload.")
                .arg(result.unansweredBlocks));
    }
    return ending;
}

TransferEnding finishPicture(const PictureResult& result, const LineNames& line) {
    TransferEnding ending;
    const Status& st = result.status;
    mark(ending, SerialController::kPicture, st.ok());
    ending.settle = result.cancelled || (!st.ok() && st.error() != ErrorCode::WrongPictureFile);
    ending.cancelled = result.cancelled;
    // The status line has told how it went; a refused file is said before anything is sent.
    if (st.error() == ErrorCode::WrongPictureFile) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(ErrorCode::WrongPictureFile));
    } else if (st.error() == ErrorCode::PortError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(st));
    } else if (!result.cancelled) {
        tellSilence(ending, line, {&st});
    }
    return ending;
}

TransferEnding finishFirmware(const FirmwareResult& result, const QString& fileName,
                              const LineNames& line) {
    TransferEnding ending;
    const Status& st = result.status;
    const ErrorCode code = st.error();
    mark(ending, SerialController::kFirmware, st.ok());
    ending.settle = !st.ok();
    if (st.ok()) {
        say(ending, Prompter::Icon::Information,
            SerialController::tr("Firmware upgrade completed") + QStringLiteral("\n") +
                SerialController::tr("The receiver's flash now holds %1.").arg(fileName));
    } else if (code == ErrorCode::FirmwareCrcError || code == ErrorCode::FirmwareDecompressError ||
               code == ErrorCode::FirmwareWriteError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(code));
    } else if (code == ErrorCode::PortError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(st));
    } else if (code == ErrorCode::FirmwareIncomplete) {
        say(ending, Prompter::Icon::Exclamation, Texts::errorMessage(code));
    } else if (code == ErrorCode::TransferCancelled) {
        ending.cancelled = true;
    } else {
        // "Error" in the status line; a receiver that never answered is told what to check.
        tellSilence(ending, line, {&st});
    }
    return ending;
}

std::optional<QString> keepReceiverBackup(const QString& root, const std::string& channelImage,
                                          const std::string& settingsBlock) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir rootDir(root);
    QString name = stamp;
    for (int n = 2; rootDir.exists(name); ++n)
        name = stamp + '-' + QString::number(n);
    const QString folder = rootDir.filePath(name);
    if (!writeReceiverBackup(folder.toStdString(), channelImage, settingsBlock))
        return std::nullopt;
    return folder;
}

}  // namespace qel
