// Writing an FTA flash image from the TV and RADIO lists and the image tables.
#pragma once

#include <string>
#include <string_view>

#include "model/channel_lists.h"
#include "model/errors.h"
#include "receiver_settings/fta_tables.h"

namespace qel {

inline constexpr std::size_t kMaxFtaTransponders = 256;
// 21 channel-entry records of 48 channels each per list.
inline constexpr std::size_t kMaxFtaChannelsPerList = 21 * 48;

// Builds the 49152-byte image. With `convertToBin` the default settings block stands in
// for the image's own settings (antennas, settings record, screen format, other records).
// Refused with TooManyChannelsFta when more than 256 transponders are needed, a list
// holds more channels than the image has blocks for, or the data does not fit area C.
// On success the lists carry the writer's changes: running identifiers in place of
// blank NetId/TsId, names trimmed of blanks, and the band digit of every tuned channel
// set from its frequency. On refusal the lists are unchanged.
Result<std::string> MakeStr_Save(ChannelList& tv, ChannelList& radio, const FtaImageTables& tables,
                                 bool convertToBin);

// The records written in place of the image's settings when converting a DVB98 list.
std::string DefaultSettingsBlock();

// Lays the record data out over areas A, B and C with their marker words; areas A
// and B are cut at record boundaries. Refused when the rest does not fit area C.
Result<std::string> SaveSettings(std::string_view data);

// The 1-based position at which data must be cut so that its records end before
// position `limit`: the start of the first record that does not fit.
std::size_t cutblock(std::string_view data, std::size_t limit);

// Length word and value of a per-channel byte list record for n channels.
std::string PadBlock(int n);

// Length word and value of a channel bitmap record for channels first..last (from 1).
std::string BitmapBlock(int first, int last);

}  // namespace qel
