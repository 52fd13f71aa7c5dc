// JSON text for qel-tool: strings of 8-bit characters written as the code points of
// the same values, channel records as objects of their 28 fields.
#pragma once

#include <string>
#include <string_view>

#include "model/channel_lists.h"
#include "model/fta_tables.h"

namespace qel::tool {

// A JSON string literal; each byte becomes the code point of its value (0-255).
std::string jsonString(std::string_view bytes);

std::string jsonChannel(const ChannelRec& ch);

// "[CH,CH,...]"
std::string jsonChannelArray(const ChannelList& list);

// The image tables besides the channels: tag, counts, antennas, settings record,
// screen format and the record tables (index 0 left out).
std::string jsonImageTables(const FtaImageTables& t);

}  // namespace qel::tool
