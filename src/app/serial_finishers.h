// How each transfer of the serial window ends, one finisher per transfer: the outcome marks of
// its parts, the messages told once it has ended, whether the receiver may still be sending,
// and what the document takes from it. The serial controller applies what they hand back.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/serial_controller.h"
#include "app/session.h"
#include "serial/download.h"
#include "serial/firmware.h"
#include "serial/picture.h"
#include "serial/upload.h"

namespace qel {

// What the controller does once a transfer has ended.
struct TransferEnding {
    // The outcome marks to set, in order (SerialController::MarkIndex, mark).
    std::vector<std::pair<int, SerialController::Mark>> marks;
    std::vector<TransferMessage> messages;
    // The receiver may still be sending: the next transfer waits for a quiet line.
    bool settle = false;
    // Cancelled: the status line says so.
    bool cancelled = false;
    // The bytes the receiver's channel data uses now, when the transfer changed them.
    std::optional<QString> bytesUsed;
    // New lists came from the receiver.
    bool channelsReplaced = false;
};

// How the messages name the line: the device and its port ("/dev/ttyS0 (COM 1)"), and what
// to check when the receiver does not answer at all.
struct LineNames {
    QString device;
    QString silenceHint;
};

// The download installs what arrived in the document: the lists from row 1, the settings, each
// under its "Download" file name in the working folder.
TransferEnding finishDownload(const DownloadResult& result, Session& session,
                              const LineNames& line);

// `bytesAfter`: the bytes used once the channels went up.
TransferEnding finishUpload(const UploadResult& result, const QString& bytesAfter,
                            const LineNames& line);

TransferEnding finishPicture(const PictureResult& result, const LineNames& line);

// `fileName`: the firmware file's name, told when the upgrade has ended well.
TransferEnding finishFirmware(const FirmwareResult& result, const QString& fileName,
                              const LineNames& line);

// Keeps what the receiver held before an upload in a new folder under `root`, named by the
// time (a second one within the same second gets a folder of its own too). The folder, or
// nothing when the files could not be written.
std::optional<QString> keepReceiverBackup(const QString& root, const std::string& channelImage,
                                          const std::string& settingsBlock);

}  // namespace qel
