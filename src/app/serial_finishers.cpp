#include "app/serial_finishers.h"

#include <QCoreApplication>
#include <QStringList>
#include <initializer_list>

#include "app/texts.h"

namespace qel {

namespace {

using Mark = TransferMarks::Mark;

// The finishers' texts are the serial window's.
QString tr(const char* text) {
    return QCoreApplication::translate("qel::SerialController", text);
}

void say(TransferEnding& ending, Prompter::Icon icon, const QString& text) {
    ending.messages.push_back({icon, text});
}

void mark(TransferEnding& ending, int index, bool ok) {
    ending.marks.emplace_back(index, ok ? Mark::Ok : Mark::Ko);
}

// A part the user chose not to go on with is neither a success nor a failure.
bool declined(const PartOutcome& part) {
    return part.status.error() == ErrorCode::TransferCancelled &&
           part.status.detail() == kNotConfirmed;
}

void mark(TransferEnding& ending, int index, const PartOutcome& part) {
    if (declined(part)) {
        ending.marks.emplace_back(index, Mark::Skipped);
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
    if (part.differsAt == 0) return text + tr("It could not be read back.");
    return text + (channels ? tr("The first channel that differs: %1").arg(part.differsAt)
                            : tr("The first byte that differs: %1").arg(part.differsAt));
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
                    tr("The receiver's loader did not answer on %1 at 19200 baud. Plug the "
                       "receiver's mains in while \"Connect main plug\" blinks, and check the "
                       "cable and the port in Options.")
                        .arg(line.device));
            return;
        case ErrorCode::FlashIncomplete:
            say(ending, Prompter::Icon::Critical,
                tr("The upload stopped part-way: the receiver's flash is now "
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

// The status line once the transfer has ended: "Cancelled"; or what the user chose not to do
// rather than a plain "Com open" (or the "Error" of a backup that made the user stop), while
// no part failed: a part that failed keeps the status it ended on.
TransferEnding endWith(TransferEnding& ending, bool cancelled) {
    QStringList skipped;
    bool failed = false;
    for (const auto& [index, m] : ending.marks) {
        failed = failed || m == Mark::Ko;
        const QString name = transferPartName(index);
        if (m == Mark::Skipped && !skipped.contains(name)) skipped.append(name);
    }
    if (cancelled) {
        ending.status = Texts::errorMessage(ErrorCode::TransferCancelled);
    } else if (!skipped.isEmpty() && !failed) {
        ending.status = tr("Skipped: %1").arg(skipped.join(QStringLiteral(", ")));
    }
    return std::move(ending);
}

}  // namespace

QString transferPartName(int index) {
    switch (index) {
        case TransferMarks::kChannels:
            return tr("channels");
        case TransferMarks::kSettings:
            return tr("settings");
        case TransferMarks::kSystemFont:
            return tr("system font");
        case TransferMarks::kTeletextFont:
            return tr("teletext font");
        default:
            return {};
    }
}

TransferEnding finishDownload(DownloadResult result, const LineNames& line) {
    TransferEnding ending;
    ending.settle =
        result.cancelled || mayLeaveLineBusy(result.channels) || mayLeaveLineBusy(result.settings);
    const bool silent =
        !result.cancelled &&
        tellSilence(ending, line, {&result.channels.status, &result.settings.status});
    if (result.channels.attempted) {
        mark(ending, TransferMarks::kChannels, result.channels);
        if (result.replacesChannels()) ending.lists = std::move(result.lists);
        if (result.channels.ok) ending.bytesUsed = QString::number(result.channelBytes);
        if (!result.channels.ok && !result.cancelled && !silent)
            tellDownloadFailure(ending, result.channels);
    }
    if (result.settings.attempted) {
        mark(ending, TransferMarks::kSettings, result.settings);
        if (result.replacesSettings()) ending.settingsImage = std::move(result.settingsImage);
        if (!result.settings.ok && !result.cancelled && !silent)
            tellDownloadFailure(ending, result.settings);
    }
    return endWith(ending, result.cancelled);
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
            tr("The image went up, but %1 of the 48 blocks got no answer from the receiver.\n"
               "If the receiver does not work with the new lists, repeat the upload.")
                .arg(result.unansweredBlocks));
    }
    return endWith(ending, result.cancelled);
}

TransferEnding finishRestore(const UploadResult& result, const QString& bytesAfter,
                             const QString& date, const LineNames& line) {
    TransferEnding ending = finishUpload(result, bytesAfter, line);
    const bool sent = result.channels.attempted || result.settings.attempted;
    const bool allWell = (!result.channels.attempted || result.channels.ok) &&
                         (!result.settings.attempted || result.settings.ok);
    if (sent && allWell && !result.cancelled) {
        say(ending, Prompter::Icon::Information,
            tr("The backup of %1 is back in the receiver.").arg(date));
    }
    return ending;
}

TransferEnding finishPicture(const PictureResult& result, const LineNames& line) {
    TransferEnding ending;
    const Status& st = result.status;
    mark(ending, TransferMarks::kPicture, st.ok());
    ending.settle = result.cancelled || (!st.ok() && st.error() != ErrorCode::WrongPictureFile);
    // The status line has told how it went; a refused file is said before anything is sent.
    if (st.error() == ErrorCode::WrongPictureFile) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(ErrorCode::WrongPictureFile));
    } else if (st.error() == ErrorCode::PortError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(st));
    } else if (!result.cancelled) {
        tellSilence(ending, line, {&st});
    }
    return endWith(ending, result.cancelled);
}

TransferEnding finishFirmware(const FirmwareResult& result, const QString& fileName,
                              const LineNames& line) {
    TransferEnding ending;
    const Status& st = result.status;
    const ErrorCode code = st.error();
    mark(ending, TransferMarks::kFirmware, st.ok());
    ending.settle = !st.ok();
    if (st.ok()) {
        say(ending, Prompter::Icon::Information,
            tr("Firmware upgrade completed") + QStringLiteral("\n") +
                tr("The receiver's flash now holds %1.").arg(fileName));
    } else if (code == ErrorCode::FirmwareCrcError || code == ErrorCode::FirmwareDecompressError ||
               code == ErrorCode::FirmwareWriteError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(code));
    } else if (code == ErrorCode::PortError) {
        say(ending, Prompter::Icon::Critical, Texts::errorMessage(st));
    } else if (code == ErrorCode::FirmwareIncomplete) {
        say(ending, Prompter::Icon::Exclamation, Texts::errorMessage(code));
    } else if (code != ErrorCode::TransferCancelled) {
        // "Error" in the status line; a receiver that never answered is told what to check.
        tellSilence(ending, line, {&st});
    }
    return endWith(ending, code == ErrorCode::TransferCancelled);
}

}  // namespace qel
