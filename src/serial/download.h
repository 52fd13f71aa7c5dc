// The download: the receiver's DVB98 channel data and its DVB98 settings, fetched over the
// link and handed back as bytes. It changes no document; the caller installs what arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "serial/exchange.h"
#include "serial/link.h"
#include "serial/part_outcome.h"
#include "serial/timing.h"
#include "serial/transfer_observer.h"

namespace qel {

// The longest wait for the channel data, however large.
inline constexpr Millis kLongestChannelDataWait{65535};

// What the download button asks for. The unsaved flags say whether the document holds
// unsaved channels or settings: the download then asks before it replaces them.
struct DownloadRequest {
    bool channels = true;
    bool settings = true;
    bool channelsUnsaved = false;
    bool settingsUnsaved = false;
};

struct DownloadResult {
    PartOutcome channels;
    PartOutcome settings;
    // The channel records (a multiple of 64 bytes) when the channels arrived; read them with
    // parseDvb. An empty image is a success that leaves the lists as they are.
    std::string channelImage;
    // The 1264 bytes of settings when they arrived (settingsImageOf gives the settings image).
    std::string settingsBlock;

    // Cancelled through the link: nothing is handed back.
    bool cancelled = false;

    // Whether the lists (the settings) are to be replaced, and their unsaved flag cleared.
    bool replacesChannels() const { return channels.ok && !channelImage.empty(); }
    bool replacesSettings() const { return settings.ok; }
};

// The order of the download button: the channels if asked for, then the settings if asked
// for, each preceded by the question about unsaved changes when the request says there are
// some. A part that fails does not stop the next unless the line itself failed. A download
// cancelled through the link hands back nothing: every part asked for reports
// TransferCancelled, and the status line is left to the caller.
DownloadResult download(Link& link, TransferObserver& observer, const Timing& timing,
                        const DownloadRequest& request);

// The channel part alone: the handshake and size query, then "CBEG" / "OK" and "B". Refuses a
// size that is negative, not whole channels or above kMaxChannelDataSize before sending "B".
Result<std::string> downloadChannels(Exchange& exchange);

// The settings part alone: "CBEG" / "OK", then "G": the 1264-byte settings block.
Result<std::string> downloadSettings(Exchange& exchange);

// How long to wait for the channel data: half a millisecond a byte, never less than the
// normal timeout nor more than kLongestChannelDataWait (unless the timeout is longer).
Millis channelDataWait(std::int32_t bytesUsed, const Timing& timing);

// The channel count of a data size, with its fraction when the size is not whole channels
// ("1", "1.5").
std::string channelCountText(std::int32_t bytesUsed);

// The settings image (hex text, 2530 characters) of a downloaded 1264-byte settings block:
// the image that reading a .g98 file of the block and its checksum gives.
std::string settingsImageOf(std::string_view settingsBlock);

}  // namespace qel
