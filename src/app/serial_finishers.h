// How each transfer of the serial window ends, one finisher per transfer: pure functions from
// a transfer's result to what the window shows (the outcome marks of its parts, the messages
// told once it has ended, the status line, whether the receiver may still be sending) and
// what the document receives. The serial controller applies what they hand back.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/prompter.h"
#include "model/channel_lists.h"
#include "serial/download.h"
#include "serial/firmware.h"
#include "serial/picture.h"
#include "serial/upload.h"

namespace qel {

// The outcome marks of the serial window. Skipped: the user chose not to go on with the part
// (an unsaved-changes question, or an upload without a backup answered No); nothing was sent
// for it.
struct TransferMarks {
    enum class Mark { Hidden, Ok, Ko, Skipped };
    // The marks: channels, settings, system font, teletext font, picture, firmware.
    enum MarkIndex { kChannels, kSettings, kSystemFont, kTeletextFont, kPicture, kFirmware };
    static constexpr int kMarks = 6;
};

// A message of a transfer, told once it has ended.
struct TransferMessage {
    Prompter::Icon icon;
    QString text;
};

// What the controller does once a transfer has ended.
struct TransferEnding {
    // The outcome marks to set, in order.
    std::vector<std::pair<int, TransferMarks::Mark>> marks;
    std::vector<TransferMessage> messages;
    // The receiver may still be sending: the next transfer waits for a quiet line.
    bool settle = false;
    // The status line once it has ended ("Cancelled", or the parts the user chose not to
    // send); nothing: the transfer's own last status stays.
    std::optional<QString> status;
    // The bytes the receiver's channel data uses now, when the transfer changed them.
    std::optional<QString> bytesUsed;
    // What the document receives: new lists from the receiver (shown from row 1, with a new
    // history, under the file name "Download.dvb") and its settings ("Download.g98").
    std::optional<TvRadioLists> lists;
    std::optional<std::string> settingsImage;
};

// How the messages name the line: the device and its port ("/dev/ttyS0 (COM 1)"), and what
// to check when the receiver does not answer at all.
struct LineNames {
    QString device;
    QString silenceHint;
};

TransferEnding finishDownload(DownloadResult result, const LineNames& line);

// `bytesAfter`: the bytes used once the channels went up.
TransferEnding finishUpload(const UploadResult& result, const QString& bytesAfter,
                            const LineNames& line);

// A restore is an upload of a backup's channels and settings: it ends as the upload does,
// and when every part it sent went up (and read back as sent), says that the backup of
// `date` is back in the receiver.
TransferEnding finishRestore(const UploadResult& result, const QString& bytesAfter,
                             const QString& date, const LineNames& line);

TransferEnding finishPicture(const PictureResult& result, const LineNames& line);

// `fileName`: the firmware file's name, told when the upgrade has ended well.
TransferEnding finishFirmware(const FirmwareResult& result, const QString& fileName,
                              const LineNames& line);

// A part as the status line names it ("channels", ...).
QString transferPartName(int index);

}  // namespace qel
