// The download: the receiver's DVB98 channel data and its DVB98 settings, fetched over the
// link and handed back decoded, as the lists and the settings image a document holds. It
// changes no document; the caller installs what arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/channel_lists.h"
#include "model/debug_log.h"
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
    // Where the names of channels that are not plain TV go while the lists are decoded, on
    // the transfer's thread (none: nowhere).
    DebugLog* log = nullptr;
};

struct DownloadResult {
    PartOutcome channels;
    PartOutcome settings;
    // The lists the channel records hold, TV and RADIO, when the channels arrived, and the
    // bytes of channel data they came from. No bytes is a success that leaves the lists as
    // they are.
    TvRadioLists lists;
    std::size_t channelBytes = 0;
    // The settings image (2530 hex digits) of the settings block when it arrived.
    std::string settingsImage;

    // Cancelled through the link: nothing is handed back.
    bool cancelled = false;

    // Whether the lists (the settings) are to be replaced, and their unsaved flag cleared.
    bool replacesChannels() const { return channels.ok && channelBytes != 0; }
    bool replacesSettings() const { return settings.ok; }
};

// The order of the download button: the channels if asked for, then the settings if asked
// for, each preceded by the question about unsaved changes when the request says there are
// some. A part that fails does not stop the next unless the line itself failed. A download
// cancelled through the link hands back nothing: every part asked for reports
// TransferCancelled, and the status line is left to the caller. The records are decoded
// here (parseDvb) and the block made the settings image (settingsImageOf): records that do
// not decode fail the channel part with the reader's error.
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

}  // namespace qel
