// The DVB98 channel file (.dvb): 64-byte records, TV channels first, then RADIO,
// with no header. The serial link carries the same records.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/channel_lists.h"
#include "model/debug_log.h"
#include "model/errors.h"

namespace qel {

struct Workspace;

inline constexpr std::size_t kDvbRecordSize = 64;
// The receiver holds fewer than 3072 channels; a file this large is not a channel table.
inline constexpr std::size_t kMaxDvbFileSize = 16 * 1024 * 1024;
// A DVB98 save or upload takes at most this many channels in both lists together.
inline constexpr std::size_t kMaxDvb98Channels = 3071;
// Read_Dvb and Write_Dvb take a source or target beginning with this text to mean TransferData.
inline constexpr std::string_view kTransferMagic = "DVSO";

// One record to a channel (MatchKey built); all 64 bytes 255 mark an unused slot (nullopt).
// `rec` must be 64 bytes.
std::optional<ChannelRec> DecodeDvbRecord(std::string_view rec);

// Appends the 64 bytes of one channel; `radio` chooses the record type 2 over 1.
void EncodeDvbRecord(const ChannelRec& ch, bool radio, std::string& out);

// The records of a channel table; refused with WrongFileLength when the length is
// not a multiple of 64. Names of channels that are not plain TV go to the debug log.
Result<TvRadioLists> ParseDvb(std::string_view bytes, DebugLog* log = nullptr);

// The records of both lists, TV first.
std::string EncodeDvb(const ChannelList& tv, const ChannelList& radio);

// Reads a .dvb file, or TransferData when `source` begins with "DVSO". Without upgrade
// the records replace the lists; with upgrade they fill TVUpgrade and RadioUpgrade.
// On failure the workspace is unchanged.
Status Read_Dvb(Workspace& ws, std::string_view source, bool upgrade, DebugLog* log = nullptr);

// Writes both lists to a .dvb file, or appends them to TransferData when `target`
// begins with "DVSO". The caller checks the channel limit.
Status Write_Dvb(Workspace& ws, std::string_view target);

}  // namespace qel
