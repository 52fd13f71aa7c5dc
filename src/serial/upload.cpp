#include "serial/upload.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bytes/checksum.h"
#include "bytes/conversions.h"
#include "files/dvb_file.h"
#include "files/g98_file.h"
#include "serial/loader_frames.h"

namespace qel {

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kOk = "OK";

// A failure of the channel steps as the user learns of it: "Error during upload" with what
// went wrong, unless the transfer was cancelled.
Status channelFailure(const Status& failure) {
    if (failure.error() == ErrorCode::TransferCancelled) return failure;
    std::string detail = failure.detail();
    if (failure.error() == ErrorCode::PortError && detail.empty()) {
        detail = std::string(errorText(ErrorCode::PortError));
    }
    return Error{ErrorCode::UploadFailed, std::move(detail)};
}

Status checkDvbChannels(std::string_view image, std::size_t channelCount) {
    const std::size_t records = image.size() / kDvbRecordSize;
    if (std::max(records, channelCount) > kMaxDvb98Channels) {
        return Error{ErrorCode::TooManyChannelsDvb,
                     std::to_string(std::max(records, channelCount)) + " channels"};
    }
    if (image.size() % kDvbRecordSize != 0) {
        return Error{ErrorCode::WrongFileLength,
                     "channel records of " + std::to_string(image.size()) + " bytes"};
    }
    return {};
}

Status checkSettingsImage(std::string_view image) {
    if (image.substr(0, kDvb98Tag.size()) != kDvb98Tag) {
        return Error{ErrorCode::SettingsNotTagged, "the settings do not begin with 4456534F"};
    }
    if (image.size() < 2 * kSettingsBlockSize) {
        return Error{ErrorCode::SettingsNotTagged,
                     "the settings hold " + std::to_string(image.size()) + " hex digits"};
    }
    return {};
}

// The settings block as it travels: the first 1264 bytes the settings image spells.
std::string settingsBlockOf(std::string_view image) {
    return hexToBytes(image.substr(0, 2 * kSettingsBlockSize));
}

// The loader's opening exchanges: groups of commands and data frames sent without waiting,
// each but the last followed by a wait for the answer to the wake-up pair.
struct OpeningStep {
    std::vector<std::string> sends;
    // The answer to the wake-up pair after the group's sends (empty: any byte); none: the
    // group is not followed by the wake-up pair.
    std::optional<std::string_view> expected;
};

std::vector<OpeningStep> openingSteps() {
    const std::string frame008 = loaderDataFrame("008\0"sv);
    const std::string frame009 = loaderDataFrame("009\0"sv);
    const std::string frame400 = loaderDataFrame("400\0"sv) + "\x91";
    const std::string setup1 = loaderDataFrame("\x11\x00\x03\x03\x87\x00\x26\x01"sv);
    const std::string setup2 = loaderDataFrame("\x22\x55\x01\x00\xC0\x00\x00\x40\x00"sv);
    const std::string endOfGroup = "\x4F\x4F";
    const auto c = [](std::string_view command) { return std::string(command); };
    return {
        {{c(kLoader0900000000), c(kLoader0902000000), c(kLoader010000012B), c(kLoader0800000000)},
         kLoaderReady},
        {{c(kLoader0410000000), frame008, c(kLoader0A00000000), setup1, c(kLoader0B08000000),
          c(kLoader0800000000), endOfGroup, c(kLoader010000012B)},
         ""},
        {{c(kLoader0900000000), c(kLoader0904000000), c(kLoader010000012B), c(kLoader0800000000),
          c(kLoader0410000000), frame009, c(kLoader0A00000000), setup2, c(kLoader0B09000000),
          c(kLoader0800000000), endOfGroup, c(kLoader010000012B)},
         ""},
        {{c(kLoader0900000000), c(kLoader0902000000), c(kLoader010000012B), c(kLoader0800000000),
          c(kLoader0410000000), frame400},
         std::nullopt},
    };
}

std::vector<std::string> closingSequence() {
    return {std::string(kLoader0B00C00000),
            std::string(kLoader0800000000),
            "\x4F\x4F",
            std::string(kLoader010000012B),
            std::string(10, '\x18'),
            std::string(10, '\x08'),
            std::string(kLoader0B00000000),
            "\x0A"};
}

Status sendAll(Exchange& exchange, const std::vector<std::string>& sends) {
    for (const std::string& bytes : sends) {
        if (Status st = exchange.sendCommandNoWait(bytes); !st) return st;
    }
    return {};
}

// Calls the loader while the operator plugs the receiver in: the wake-up pair again and again
// for up to kWakeUpAttempts attempts, the status line blinking. Unlike separate commands the
// attempts share one receive buffer, so an answer that straddles two attempts still counts.
Status wakeLoader(Exchange& exchange) {
    TransferObserver& observer = exchange.observer();
    exchange.clearReceived();
    Status st = ErrorCode::NoAnswer;
    for (int attempt = 0; attempt < kWakeUpAttempts; ++attempt) {
        observer.status("Connect main plug");
        observer.statusColour(attempt % 2 == 0 ? StatusColour::Green : StatusColour::DarkGreen);
        st = exchange.resendUntil(kLoaderWakeUp, kLoaderGreeting, exchange.timing().wakeUpAttempt);
        if (st.error() != ErrorCode::NoAnswer) break;
    }
    observer.statusColour(StatusColour::Green);
    if (st.error() == ErrorCode::NoAnswer) {
        return Error{ErrorCode::LoaderTimeout, "the loader did not answer the wake-up pair"};
    }
    return st;
}

// Everything after the loader woke up: its opening exchanges, the blocks and the closing
// sequence.
FtaUploadOutcome writeFlash(Exchange& exchange, const std::vector<std::string>& frames) {
    TransferObserver& observer = exchange.observer();
    FtaUploadOutcome outcome;
    observer.status("Connecting");
    Status opening;
    for (const OpeningStep& step : openingSteps()) {
        opening = sendAll(exchange, step.sends);
        if (opening && step.expected) {
            opening = exchange.sendCommand(kLoaderWakeUp, *step.expected, true);
        }
        if (!opening) break;
    }
    if (opening.error() == ErrorCode::TransferCancelled) {
        outcome.status = opening;
        return outcome;
    }
    observer.status("UpLoading");
    if (!opening) {
        outcome.status = opening.error() == ErrorCode::NoAnswer
                             ? Status(Error{ErrorCode::LoaderUploadFailed, opening.detail()})
                             : opening;
        return outcome;
    }

    // From the first block on, a transfer that stops leaves the flash part written.
    const auto incomplete = [](const Status& st, std::size_t block) {
        std::string detail = st.error() == ErrorCode::TransferCancelled
                                 ? "cancelled"
                                 : std::string(errorText(st.error()));
        if (!st.detail().empty()) detail += ": " + st.detail();
        detail +=
            " at block " + std::to_string(block + 1) + " of " + std::to_string(kFtaBlockCount);
        return Status(Error{ErrorCode::FlashIncomplete, std::move(detail)});
    };
    for (std::size_t i = 0; i < frames.size(); ++i) {
        Status st = exchange.sendCommandNoWait(blockCommand(i));
        if (st) st = exchange.send(frames[i]);
        if (st) st = exchange.sendCommand(kLoaderWakeUp, "");
        if (st.error() == ErrorCode::NoAnswer) {
            ++outcome.unansweredBlocks;
        } else if (!st) {
            outcome.status = incomplete(st, i);
            return outcome;
        }
        const std::size_t written = (i + 1) * kFtaBlockSize;
        observer.bytesShown(std::to_string(written));
        observer.progress(written, kFtaImageSize);
    }
    // Blocks that got no answer are counted, not failed: the loader need not answer.
    if (Status st = sendAll(exchange, closingSequence()); !st) {
        outcome.status = incomplete(st, frames.size() - 1);
    }
    return outcome;
}

Status checkFont(std::string_view bytes, std::size_t size, std::string_view kind) {
    if (bytes.empty()) return Error{ErrorCode::NoFontLoaded, "no " + std::string(kind) + " loaded"};
    if (bytes.size() != size) {
        return Error{ErrorCode::WrongFontLength,
                     std::string(kind) + " of " + std::to_string(bytes.size()) + " bytes"};
    }
    return {};
}

// A font upload: a pause of one timeout, "CBEG" / "OK", then the command letter, the block and
// its checksum in pieces (one that is slow to leave does not stop the others), and "OK".
Status uploadFontBlock(Exchange& exchange, std::string_view statusText, char command,
                       std::string_view block, std::string_view kind) {
    TransferObserver& observer = exchange.observer();
    observer.status(statusText);
    std::string data(1, command);
    data += block;
    data += static_cast<char>(blockChecksum(block));
    // The bar starts empty for this block, not full from the part before.
    observer.progress(0, data.size());
    exchange.link().pause(exchange.timing().timeout);

    Status st = exchange.sendCommand("CBEG", kOk);
    if (st) {
        exchange.clearReceived();
        st = sendInPieces(exchange, data, false, false);
    }
    if (st) {
        st = exchange.waitForText(kOk, exchange.timing().timeout);
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            st = withDetail(st, "no answer to \"" + std::string(1, command) + "\" and the " +
                                    std::string(kind));
        }
    }
    if (!st) {
        if (st.error() != ErrorCode::TransferCancelled) observer.status("Error");
        return st;
    }
    observer.status("Com open");
    exchange.storeAnswered();
    return {};
}

}  // namespace

std::string teletextBlock(std::string_view font) {
    if (font.size() != kTeletextFontSize) return {};
    std::string block;
    block.reserve(kTeletextBlockSize);
    // Each font bit becomes a nibble, two pixels a byte, the leftmost in the high nibble.
    for (const char c : font) {
        const auto bits = static_cast<std::uint8_t>(c);
        for (int pixel = 0; pixel < 8; pixel += 2) {
            const unsigned left = (bits >> (7 - pixel)) & 1U;
            const unsigned right = (bits >> (6 - pixel)) & 1U;
            block += static_cast<char>(left << 4 | right);
        }
    }
    // A 320th glyph, every pixel lit.
    block.append(kTeletextBlockSize - block.size(), '\x11');
    return block;
}

Status checkSystemFont(const UploadRequest& request) {
    return checkFont(request.systemFontSet, kSystemFontSetSize, "system font");
}

Status checkTeletextFont(const UploadRequest& request) {
    return checkFont(request.teletextFontData, kTeletextFontSize, "teletext font");
}

Status uploadSystemFont(Exchange& exchange, std::string_view set) {
    if (Status st = checkFont(set, kSystemFontSetSize, "system font"); !st) {
        exchange.observer().status("Error");
        return st;
    }
    return uploadFontBlock(exchange, "Send Sys Font", 'F', set, "system font");
}

Status uploadTeletextFont(Exchange& exchange, std::string_view font) {
    if (Status st = checkFont(font, kTeletextFontSize, "teletext font"); !st) {
        exchange.observer().status("Error");
        return st;
    }
    return uploadFontBlock(exchange, "Send Txt Font", 'V', teletextBlock(font), "teletext font");
}

std::optional<std::size_t> firstDifference(std::string_view a, std::string_view b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (ia == a.end() && ib == b.end()) return std::nullopt;
    return static_cast<std::size_t>(ia - a.begin());
}

Status checkChannels(const UploadRequest& request) {
    switch (request.channelKind) {
        case FileKind::None:
            return ErrorCode::NoChannelsLoaded;
        case FileKind::DVB:
            return checkDvbChannels(request.channelImage, request.channelCount);
        case FileKind::BIN:
            if (request.channelImage.size() != kFtaImageSize) {
                return Error{
                    ErrorCode::WrongFileLength,
                    "an image of " + std::to_string(request.channelImage.size()) + " bytes"};
            }
            return {};
    }
    return ErrorCode::NoChannelsLoaded;
}

Status checkSettings(const UploadRequest& request) {
    return checkSettingsImage(request.settingsImage);
}

Status uploadChannels(Exchange& exchange, std::string_view image, std::size_t channelCount) {
    TransferObserver& observer = exchange.observer();
    const Millis timeout = exchange.timing().timeout;
    if (Status st = checkDvbChannels(image, channelCount); !st) {
        observer.status("Com open");
        return st;
    }
    observer.status("Wait please");
    std::string data(image);
    data += static_cast<char>(blockChecksum(image));

    Status st = exchange.sendCommand("CBEG", kOk);
    if (st) {
        observer.status("UpLoading");
        char header[10];
        std::snprintf(header, sizeof header, "C%08zX", image.size());
        st = exchange.sendCommand(header, kOk);
    }
    if (st) {
        // The final "OK" may come before the last piece has been seen to leave: the buffer is
        // cleared here, not after the pieces.
        exchange.clearReceived();
        st = sendInPieces(exchange, data, true, true);
    }
    if (st) {
        st = exchange.waitForText(kOk, timeout);
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            st = withDetail(st, "no answer to the channel records");
        }
    }
    if (st.error() == ErrorCode::TransferCancelled) return st;
    observer.bytesShown(std::to_string(image.size()));
    observer.status("Com open");
    if (!st) return channelFailure(st);
    exchange.storeAnswered();
    return {};
}

Status uploadSettings(Exchange& exchange, std::string_view settingsImage) {
    TransferObserver& observer = exchange.observer();
    Link& link = exchange.link();
    const Millis timeout = exchange.timing().timeout;
    if (Status st = checkSettingsImage(settingsImage); !st) {
        observer.status("Error");
        return st;
    }
    observer.status("Send Settings");
    link.pause(timeout);
    std::string data = "H" + settingsBlockOf(settingsImage);
    data += static_cast<char>(blockChecksum(std::string_view(data).substr(1)));

    Status st = exchange.sendCommand("CBEG", kOk);
    if (st) {
        exchange.clearReceived();
        st = exchange.send(data);
    }
    if (st) {
        // The wait for the answer counts from when the block has left.
        link.drain(timeout + lineTime(data.size(), kDvb98Speed));
        st = exchange.waitForText(kOk, timeout);
        if (st.error() == ErrorCode::NoAnswer && st.detail().empty()) {
            st = withDetail(st, "no answer to \"H\" and the settings block");
        }
    }
    if (!st) {
        if (st.error() != ErrorCode::TransferCancelled) observer.status("Error");
        return st;
    }
    observer.progress(data.size(), data.size());
    observer.status("Com open");
    exchange.storeAnswered();
    return {};
}

FtaUploadOutcome uploadFtaImage(Exchange& exchange, std::string_view image) {
    TransferObserver& observer = exchange.observer();
    observer.status("Wait please");
    Result<std::vector<std::string>> frames = loaderDataFrames(image, observer);
    if (!frames) {
        observer.status("Com open");
        return {Error{ErrorCode::WrongFileLength,
                      "an image of " + std::to_string(image.size()) + " bytes"}};
    }
    return uploadFtaFrames(exchange, *frames);
}

FtaUploadOutcome uploadFtaFrames(Exchange& exchange, const std::vector<std::string>& frames) {
    TransferObserver& observer = exchange.observer();
    Link& link = exchange.link();
    const Millis timeout = exchange.timing().timeout;
    if (!observer.confirm(Confirmation::UnplugMainPower)) {
        observer.status("Com open");
        return {Error{ErrorCode::TransferCancelled, std::string(kNotConfirmed)}};
    }
    link.drain(timeout);
    FtaUploadOutcome outcome;
    if (Status st = link.setSpeed(kLoaderSpeed); !st) {
        outcome.status = st;
    } else if (Status awake = wakeLoader(exchange); !awake) {
        outcome.status = awake;
    } else {
        outcome = writeFlash(exchange, frames);
        // The loader's own time to finish; nothing is left to wait for after a failure.
        if (outcome.status.ok()) link.pause(timeout);
    }
    link.drain(timeout);
    const Status back = link.setSpeed(kDvb98Speed);
    if (outcome.status.ok() && !back.ok()) outcome.status = back;
    if (outcome.status.error() == ErrorCode::TransferCancelled) return outcome;
    observer.bytesShown(" 49152");
    observer.status("Com open");
    return outcome;
}

UploadResult upload(Link& link, TransferObserver& observer, const Timing& timing,
                    const UploadRequest& request) {
    Exchange exchange(link, observer, timing);
    UploadResult result;
    const bool dvbChannels =
        request.channels && request.channelKind == FileKind::DVB && checkChannels(request).ok();
    const bool dvbSettings = request.settings && checkSettings(request).ok();

    // Set when the upload must not go on after the backup: what each part then reports.
    Status stopped;
    if (request.backup && (dvbChannels || dvbSettings)) {
        observer.phase(TransferPhase::Backup);
        const Result<std::string> channels = downloadChannels(exchange);
        const Result<std::string> settings = exchange.lineFailed()
                                                 ? Result<std::string>(exchange.lineFailure())
                                                 : downloadSettings(exchange);
        observer.phase(TransferPhase::Parts);
        if (link.cancelled()) {
            stopped = ErrorCode::TransferCancelled;
        } else if (exchange.lineFailed()) {
            stopped = exchange.lineFailure();
        } else if (channels && settings && observer.keepBackup(*channels, *settings)) {
            result.backupTaken = true;
        } else if (!observer.confirm(Confirmation::UploadWithoutBackup)) {
            stopped = Error{ErrorCode::TransferCancelled, std::string(kNotConfirmed)};
        }
    }

    const auto mayStart = [&](PartOutcome& outcome) {
        return mayStartPart(exchange, outcome, stopped);
    };
    // What was read back after a part went up, against what was sent: the first differing
    // unit (a channel's 64 bytes, or one byte), counted from 1, in the outcome and its detail.
    const auto verify = [&observer](PartOutcome& outcome, const Result<std::string>& held,
                                    std::string_view sent, std::size_t unit,
                                    std::string_view unitName) {
        observer.phase(TransferPhase::Parts);
        if (!held) {
            if (held.error() == ErrorCode::TransferCancelled) {
                outcome.status = held.status();
                return;
            }
            std::string why(errorText(held.error()));
            if (!held.detail().empty()) why += ": " + held.detail();
            outcome.status = Error{ErrorCode::VerifyFailed, "could not read it back (" + why + ")"};
        } else if (const auto at = firstDifference(sent, *held)) {
            outcome.differsAt = *at / unit + 1;
            outcome.status = Error{ErrorCode::VerifyFailed,
                                   std::string(unitName) + " " + std::to_string(outcome.differsAt)};
        }
    };

    if (request.channels && mayStart(result.channels)) {
        PartOutcome& part = result.channels;
        switch (request.channelKind) {
            case FileKind::None:
                part.status = ErrorCode::NoChannelsLoaded;
                break;
            case FileKind::DVB:
                part.status = uploadChannels(exchange, request.channelImage, request.channelCount);
                if (part.status && request.verify) {
                    observer.phase(TransferPhase::Verify);
                    verify(part, downloadChannels(exchange), request.channelImage, kDvbRecordSize,
                           "channel");
                }
                break;
            case FileKind::BIN: {
                FtaUploadOutcome fta = uploadFtaImage(exchange, request.channelImage);
                part.status = std::move(fta.status);
                result.unansweredBlocks = fta.unansweredBlocks;
                break;
            }
        }
        part.ok = part.status.ok();
    }
    if (request.settings && mayStart(result.settings)) {
        PartOutcome& part = result.settings;
        part.status = uploadSettings(exchange, request.settingsImage);
        if (part.status && request.verify) {
            observer.phase(TransferPhase::Verify);
            verify(part, downloadSettings(exchange), settingsBlockOf(request.settingsImage), 1,
                   "byte");
        }
        part.ok = part.status.ok();
    }
    // The fonts cannot be read back.
    if (request.systemFont && mayStart(result.systemFont)) {
        result.systemFont.status = uploadSystemFont(exchange, request.systemFontSet);
        result.systemFont.ok = result.systemFont.status.ok();
    }
    if (request.teletextFont && mayStart(result.teletextFont)) {
        result.teletextFont.status = uploadTeletextFont(exchange, request.teletextFontData);
        result.teletextFont.ok = result.teletextFont.status.ok();
    }

    // Each part that a cancel cut short says so itself, an FTA image cut off between its
    // blocks with FlashIncomplete.
    result.cancelled = link.cancelled();
    return result;
}

}  // namespace qel
