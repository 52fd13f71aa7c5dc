// The upload: DVB98 channel records ("C"), DVB98 settings ("H"), a set of the system font
// ("F") and the teletext font ("V") written into the receiver, or an FTA flash image written
// through the FTA loader while the operator powers the receiver up. It takes the bytes to send
// from the caller and changes no document.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"
#include "model/font_type.h"
#include "model/workspace.h"
#include "serial/download.h"
#include "serial/exchange.h"
#include "serial/link.h"
#include "serial/timing.h"
#include "serial/transfer_observer.h"

namespace qel {

// How often the loader is called while the operator plugs the receiver in.
inline constexpr int kWakeUpAttempts = 10;
// The loader's answers: to its first wake-up pair, and to the first pair after its commands.
inline constexpr std::string_view kLoaderGreeting = "\x46\x2A\x18\x41\x04";
inline constexpr std::string_view kLoaderReady = "\x2A\x18\x41\x0A";
// The teletext font as the receiver takes it: a nibble a pixel.
inline constexpr std::size_t kTeletextBlockSize = 12800;

// What the upload button asks for, with the bytes to send.
struct UploadRequest {
    bool channels = false;
    // DVB: channelImage holds DVB98 records (encodeDvb), sent with "C". BIN: channelImage is
    // the 49152-byte FTA image (normalizeForFtaImage, then encodeFtaImage), written through
    // the loader. None: nothing is loaded, the part fails with NoChannelsLoaded.
    FileKind channelKind = FileKind::None;
    std::string channelImage;
    // TV and RADIO channels together: 3072 or more are refused before any byte is sent.
    std::size_t channelCount = 0;
    bool settings = false;
    // The settings image (2530 hex digits); only DVB98 settings (beginning "4456534F") go up.
    std::string settingsImage;
    // DVB98 parts only: download what the receiver holds (both its channels and its settings)
    // and hand it to TransferObserver::keepBackup before the first byte goes up; when that
    // fails, ask UploadWithoutBackup.
    bool backup = true;
    // DVB98 parts only: read each part back after it went up and compare, a full timeout
    // after the receiver's "OK" to it (a receiver may still be writing its flash).
    bool verify = true;
    // The 4096 bytes of the chosen set of the system font (systemFontSet in files/font_file.h
    // gives them); empty when the loaded font is no system font, or none is loaded: the part
    // then fails with NoFontLoaded and "Error" in the status line, and sends nothing.
    bool systemFont = false;
    std::string systemFontSet;
    // The 3190 bytes of the teletext font; empty when the loaded font is no teletext font
    // (NoFontLoaded as above).
    bool teletextFont = false;
    std::string teletextFontData;
};

// How each part ended (PartOutcome, serial/part_outcome.h). The texts a window shows for the
// failures: TooManyChannelsDvb, UploadFailed ("Error during upload"), LoaderTimeout
// ("Timeout"), LoaderUploadFailed ("Error during upload "), FlashIncomplete, VerifyFailed
// and WrongFileLength in a message box with their detail; SettingsNotTagged and NoAnswer
// ("Error") only in the status line, which the upload has set; NoChannelsLoaded only as the
// Ko mark; TransferCancelled (a cancel, or a question answered No: detail "not confirmed")
// nowhere. The font parts fail with NoFontLoaded, WrongFontLength, NoAnswer,
// PortError or TransferCancelled; the status line ("Error") says all the user needs.
struct UploadResult {
    PartOutcome channels;
    PartOutcome settings;
    PartOutcome systemFont;
    PartOutcome teletextFont;
    // Cancelled through the link: every part that had not ended well reports
    // TransferCancelled, but an FTA image cut off between its blocks FlashIncomplete.
    bool cancelled = false;
    // keepBackup was called and kept what the receiver held.
    bool backupTaken = false;
    // FTA blocks whose wake-up pair got no answer (of kFtaBlockCount). The loader need not
    // answer them: the channels still end well, and the count is a warning to show.
    std::size_t unansweredBlocks = 0;
};

// The order of the upload button: the channels, the settings, the system font and the teletext
// font, each if asked for. Requests are checked first (checkChannels, checkSettings,
// checkSystemFont, checkTeletextFont): a refused part sends nothing, and the backup is taken
// only when a DVB98 channel or settings part will go up; the fonts are neither kept first nor
// read back. A part that fails does not stop the next unless the line itself failed.
UploadResult upload(Link& link, TransferObserver& observer, const Timing& timing,
                    const UploadRequest& request);

// Whether the parts of a request may go up: NoChannelsLoaded; TooManyChannelsDvb for 3072
// channels or more; WrongFileLength for DVB98 records that are not whole records or an image
// that is not 49152 bytes; SettingsNotTagged for settings that are not DVB98 settings.
Status checkChannels(const UploadRequest& request);
Status checkSettings(const UploadRequest& request);
// NoFontLoaded for no bytes, WrongFontLength for bytes of another size than a set of the
// system font (4096) or the teletext font (3190) has.
Status checkSystemFont(const UploadRequest& request);
Status checkTeletextFont(const UploadRequest& request);

// The DVB98 channel part alone: "CBEG" / "OK", "C" and the length in 8 hex digits / "OK",
// then the records and their checksum in pieces of the port's output-queue size, each sent
// once the one before has left the port, and "OK". The bytes field counts the bytes sent.
// Once the receiver has answered "OK", the next exchange waits a full timeout while it stores
// them (Exchange::storeAnswered); so after the settings and each font.
Status uploadChannels(Exchange& exchange, std::string_view image, std::size_t channelCount);

// The settings part alone: a pause of one timeout, "CBEG" / "OK", then "H", the 1264 bytes of
// the settings block and their checksum in one piece / "OK".
Status uploadSettings(Exchange& exchange, std::string_view settingsImage);

// The system font part alone ("Send Sys Font"): a pause of one timeout, "CBEG" / "OK", then
// "F", the 4096 bytes of one set and their checksum in pieces of the port's output-queue size
// (a piece slow to leave does not stop the others), and "OK". Refused as checkSystemFont
// refuses, with "Error" in the status line, before any byte.
Status uploadSystemFont(Exchange& exchange, std::string_view set);

// The teletext font part alone ("Send Txt Font"): as the system font, with "V" and the 12800
// bytes of teletextBlock.
Status uploadTeletextFont(Exchange& exchange, std::string_view font);

// The 12800 bytes the receiver takes for a 3190-byte teletext font: each font bit a nibble
// (0 or 1), the leftmost pixel in the high nibble, then 80 lit pixels (bytes 11) for a 320th
// glyph. Empty for a font of another size.
std::string teletextBlock(std::string_view font);

// How an FTA image went up: the status, and as a warning the blocks whose wake-up pair got
// no answer, which do not fail it.
struct FtaUploadOutcome {
    Status status;
    std::size_t unansweredBlocks = 0;
};

// The FTA channel part alone: the image cut into loader data frames, the operator asked to
// unplug the receiver (UnplugMainPower), the loader called for up to kWakeUpAttempts attempts
// while "Connect main plug" blinks, its opening exchanges, the 48 blocks each followed by one
// wake-up pair and a wait for any answer, the closing sequence and a pause of one timeout.
// Runs at kLoaderSpeed and sets the link back to kDvb98Speed when it ends.
FtaUploadOutcome uploadFtaImage(Exchange& exchange, std::string_view image);
// The same from the image's frames as loaderDataFrames makes them, from the operator's question
// on: for a caller that sends one image many times and builds its frames once.
FtaUploadOutcome uploadFtaFrames(Exchange& exchange, const std::vector<std::string>& frames);

// Where two blocks first differ: the index of the first differing byte, or the length of the
// shorter when it is the start of the longer; nothing when they are equal.
std::optional<std::size_t> firstDifference(std::string_view a, std::string_view b);

}  // namespace qel
