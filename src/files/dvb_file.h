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

inline constexpr std::size_t kDvbRecordSize = 64;
// The receiver holds fewer than 3072 channels: a channel file (.dvb, text or CSV) with more
// than this many is no channel table, and its readers refuse it as too large.
inline constexpr std::size_t kMaxChannelsInFile = 65536;
inline constexpr std::size_t kMaxDvbFileSize = kMaxChannelsInFile * kDvbRecordSize;
// A DVB98 save or upload takes at most this many channels in both lists together.
inline constexpr std::size_t kMaxDvb98Channels = 3071;
// One record to a channel (MatchKey built); all 64 bytes 255 mark an unused slot (nullopt).
// `rec` must be 64 bytes.
std::optional<ChannelRec> decodeDvbRecord(std::string_view rec);

// Appends the 64 bytes of one channel; `radio` chooses the record type 2 over 1.
void encodeDvbRecord(const ChannelRec& ch, bool radio, std::string& out);

// The records of a channel table; refused with FileTooLarge above kMaxDvbFileSize and
// with WrongFileLength when the length is not a multiple of 64. Names of channels that are not
// plain TV go to the debug log.
Result<TvRadioLists> parseDvb(std::string_view bytes, DebugLog* log = nullptr);

// The records of both lists, TV first.
std::string encodeDvb(const ChannelList& tv, const ChannelList& radio);

// Reads the channel table of a .dvb file.
Result<TvRadioLists> readDvbFile(const std::string& path, DebugLog* log = nullptr);

}  // namespace qel
