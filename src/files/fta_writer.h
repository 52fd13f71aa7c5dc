// Writing an FTA flash image from the TV and RADIO lists and the image tables.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/fta_image_layout.h"
#include "model/channel_lists.h"
#include "model/errors.h"
#include "model/fta_tables.h"

namespace qel {

inline constexpr std::size_t kMaxFtaTransponders = 256;
inline constexpr std::size_t kMaxFtaChannelsPerList = fta::kMaxChannelsPerList;

// Where an image's settings come from: the image tables, or the default settings block
// that a DVB98 list converted to an image gets.
enum class ImageSettings { FromTables, Defaults };

// The lists as an image holds them: running identifiers in place of blank NetId/TsId
// pairs, names trimmed of blanks, and the band digit of each transponder's first channel
// set from its frequency. Saving an image gives the lists these changes.
TvRadioLists normalizeForFtaImage(const ChannelList& tv, const ChannelList& radio);

// A channel of the TV or RADIO list by its 0-based place.
struct ListPlace {
    ListId list = ListId::TV;
    std::size_t index = 0;
    friend bool operator==(const ListPlace&, const ListPlace&) = default;
};

// The channels of `lists` (as normalizeForFtaImage makes them) whose transponder record an
// image writes, in record order: the first channel of each NetId/TsId pair, TV first; a
// RADIO channel on a transponder a TV channel uses adds none.
std::vector<ListPlace> transponderChannels(const TvRadioLists& lists);

// What an image of the lists needs against what it holds, limit by limit in the order the
// writer tries them: the lists against their blocks, then the transponder records, then the
// record data against areas A-C. A limit after a passed one is not looked at (it keeps its
// default). encodeFtaImage refuses exactly the lists this finds too big.
struct FtaImageFit {
    bool tvFits = true;
    bool radioFits = true;
    std::size_t transponders = 0;                   // records the image needs
    std::optional<ListPlace> firstTransponderOver;  // the channel of record 257
    bool areasFit = true;
    bool fits() const { return tvFits && radioFits && !firstTransponderOver && areasFit; }
};
FtaImageFit ftaImageFit(const ChannelList& tv, const ChannelList& radio,
                        const FtaImageTables& tables, ImageSettings settings);

// Builds the 49152-byte image of the lists (as normalizeForFtaImage makes them) and the
// image tables. Refused with TooManyChannelsFta when the lists do not fit (ftaImageFit):
// more than 256 transponders are needed, a list holds more channels than the image has
// blocks for, or the data does not fit area C.
Result<std::string> encodeFtaImage(const ChannelList& tv, const ChannelList& radio,
                                   const FtaImageTables& tables, ImageSettings settings);

// Keeps in the tables the image they and `lists` were read from, with the image the writer
// makes of them (nothing when the writer refuses them), for imageOfLoadedFile.
void rememberSourceImage(FtaImageTables& tables, const TvRadioLists& lists, std::string_view image);

// The image that saving or uploading a loaded image writes, from lists as
// normalizeForFtaImage makes them: the loaded file's own bytes while the lists and tables
// make the image they made when it was read, so that an image nobody changed goes out as
// the file holds it; otherwise the writer's image (encodeFtaImage).
Result<std::string> imageOfLoadedFile(const ChannelList& tv, const ChannelList& radio,
                                      const FtaImageTables& tables);

// The records written in place of the image's settings when converting a DVB98 list.
std::string defaultSettingsBlock();

// Lays the record data out over areas A, B and C with their marker words; areas A
// and B are cut at record boundaries. refused when the rest does not fit area C.
Result<std::string> layOutFlashAreas(std::string_view data);

// The 1-based position at which data must be cut so that its records end before
// position `limit`: the start of the first record that does not fit.
std::size_t cutPosition(std::string_view data, std::size_t limit);

// Length word and value of a per-channel byte list record for n channels.
std::string padBlock(int n);

// Length word and value of a channel bitmap record for channels first..last (from 1).
std::string bitmapBlock(int first, int last);

}  // namespace qel
