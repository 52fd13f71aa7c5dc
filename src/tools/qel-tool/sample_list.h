// A sample channel list for trying the program without a receiver: a few satellites'
// worth of TV and RADIO channels under separator lines, as a receiver would hold them.
#pragma once

#include "model/channel_lists.h"

namespace qel::tool {

TvRadioLists makeSampleLists();

// A DVB98 settings image (hex text of the block) as a receiver on a 13E/19.2E dish holds it.
std::string makeSampleSettings();

}  // namespace qel::tool
