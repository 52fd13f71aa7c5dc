#include "files/fta_writer.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "bytes/conversions.h"
#include "files/fta_image_layout.h"

namespace qel {

namespace {

using namespace fta;

// Data fits an area whole when it leaves room for at least one more record header, which
// the receiver reads as the erased type ending the records.
constexpr std::size_t fitsWhole(const Area& area) {
    return area.capacity() - kRecordHeader;
}
// A cut area holds the records that end before this 1-based position.
constexpr std::size_t kCutLimit = kAreaA.capacity() - 2;
static_assert(kAreaA.size == kAreaB.size, "areas A and B are cut alike");

std::string word(std::size_t v) {
    return wordToChars(static_cast<std::int64_t>(v));
}

// A 4-digit field of a hex text as 2 bytes, whatever the text holds there.
std::string hexWordAt(std::string_view text, const Field& field) {
    return wordToChars(hexToDec(field.in(text)));
}

std::string tlvRecord(unsigned type, std::string_view value) {
    std::string r = word(type) + word(value.size());
    r += value;
    if (value.size() % 2 != 0) r += '\0';
    return r;
}

// The record number as the low byte of the type: the 256th record is number 00.
std::string twoHexDigits(std::size_t v) {
    return pad4(toHex(static_cast<std::uint32_t>(v & 0xFFU))).substr(2);
}

bool isBlankId(std::string_view key) {
    return key == "20202020" || key == "00000000" || key == "20200000" || key == "00002020";
}

bool isNoTs(const ChannelRec& ch) {
    return trimBlanks(ch.Freq.view()) == "NO TS";
}

// The channels' transponder key; blank keys are given running identifiers when the lists
// are made ready for an image.
std::string transponderKey(const ChannelRec& ch) {
    return ch.NetId.str() + ch.TsId.str();
}

// The band a tuned channel is received in: below 11700 MHz the low band.
const char* bandOf(std::int64_t mhz) {
    return mhz < 11700 ? "0" : "1";
}

// One transponder record (hex) for a channel; digits no field covers are 0.
std::string transponderRecord(const ChannelRec& ch, std::size_t recordNumber) {
    using namespace transponder;
    std::string hex(kHexSize, '0');
    putField(hex, kType, "90" + twoHexDigits(recordNumber));
    putField(hex, kLength, kLengthHex);
    putField(hex, kNetId, ch.NetId.view());
    putField(hex, kKey, ch.NetId.str() + ch.TsId.str());
    const std::int64_t mhz = decimalValue(channel_part::kFreqMhz.in(ch.Freq.view()));
    if (mhz >= 1000) {
        putField(hex, kAnt, ch.Ant.view());
        putField(hex, kAntAux,
                 decimalValue(channel_part::kHighByte.in(ch.TrId.view())) == 0 ? "0008" : "0088");
        putField(hex, kFreq, ch.Freq.view());
        putField(hex, kSat, ch.Sat.view());
        putField(hex, kBand, std::string("0") + bandOf(mhz));
        putField(hex, kPol, ch.Pol == "3" ? std::string("04") : "0" + ch.Pol.str());
        putField(hex, kSrate, ch.Srate.view());
        putField(hex, kTunedMarker, kTunedMarkerHex);
        putField(hex, kFec, "0" + ch.Fec.str());
    } else {
        putField(hex, kAntAux, "0004");
        if (!isNoTs(ch)) {
            putField(hex, kUntunedMhz, pad4(toHex(static_cast<std::uint32_t>(mhz))));
            putField(hex, kUntunedFraction, channel_part::kFreqFraction.in(ch.Freq.view()));
        }
        putField(hex, kSat, kUntunedSat);
        putField(hex, kUntunedSrate, ch.Srate.view());
        putField(hex, kUntunedMarkerField, kUntunedMarker);
    }
    return hex;
}

std::string pidRecord(const ChannelRec& ch, std::size_t recordNumber) {
    using namespace pid;
    std::string hex(kHexSize, '0');
    putField(hex, kType, "95" + twoHexDigits(recordNumber));
    putField(hex, kLength, kLengthHex);
    putField(hex, kNetId, ch.NetId.view());
    putField(hex, kTsId, ch.TsId.view());
    putField(hex, kSerId, ch.SerId.view());
    putField(hex, kKind, kKindHex);
    putField(hex, kVPid, ch.VPid.view());
    putField(hex, kAPid, ch.APid.view());
    putField(hex, kPPid, ch.PPid.view());
    return hex;
}

std::string antennaNamesRecord(const FtaImageTables& t) {
    std::string names;
    for (const std::string& e : t.antennas) {
        std::string name(Field{antenna_entry::kName.offset, antenna_entry::kNameSize}.in(e));
        name.resize(kAntennaNameBytes, '\0');
        names += name;
    }
    return tlvRecord(kAntennaNamesType, names);
}

std::string antennaOscillatorsRecord(const FtaImageTables& t) {
    std::string oscillators;
    for (const std::string& e : t.antennas) {
        using namespace antenna_entry;
        oscillators += word(0) + hexWordAt(e, kLnbLow) + word(0) + hexWordAt(e, kLnbHigh) +
                       hexWordAt(e, kSettingWord);
    }
    return tlvRecord(kAntennaOscillatorsType, oscillators);
}

std::string settingsPartRecord(const FtaImageTables& t, const SettingsPlace& at) {
    switch (at.part) {
        case SettingsPart::Other:
            return at.other < t.others.size() ? hexToBytes(t.others[at.other]) : std::string();
        case SettingsPart::AntennaNames:
            return antennaNamesRecord(t);
        case SettingsPart::AntennaOscillators:
            return antennaOscillatorsRecord(t);
        case SettingsPart::ScreenFormat:
            return word(kScreenFormatType) + word(1) +
                   hexWordAt(t.screenFormat, screen_format::kScreenWord);
        case SettingsPart::PictureFormat:
            return word(kPictureFormatType) + word(1) +
                   hexWordAt(t.screenFormat, screen_format::kPictureWord);
        case SettingsPart::SettingsRecord:
            return hexToBytes(t.settingsRecord);
    }
    return {};
}

// The settings records of the tables: in the order the image held them, then those it did
// not hold, in the writer's own order (the other records, the antenna names and
// oscillators, the screen and picture formats, the settings record).
std::string settingsRecords(const FtaImageTables& t) {
    std::vector<SettingsPlace> order;
    std::vector<bool> otherPlaced(t.others.size());
    std::array<bool, kSettingsParts> placed{};
    for (const SettingsPlace& at : t.settingsOrder) {
        if (at.part == SettingsPart::Other) {
            if (at.other >= t.others.size() || otherPlaced[at.other]) continue;
            otherPlaced[at.other] = true;
        } else {
            if (placed[static_cast<std::size_t>(at.part)]) continue;
            placed[static_cast<std::size_t>(at.part)] = true;
        }
        order.push_back(at);
    }
    for (std::size_t i = 0; i < t.others.size(); ++i) {
        if (!otherPlaced[i]) order.push_back({SettingsPart::Other, i});
    }
    for (SettingsPart part :
         {SettingsPart::AntennaNames, SettingsPart::AntennaOscillators, SettingsPart::ScreenFormat,
          SettingsPart::PictureFormat, SettingsPart::SettingsRecord}) {
        if (!placed[static_cast<std::size_t>(part)]) order.push_back({part, 0});
    }
    std::string bytes;
    for (const SettingsPlace& at : order)
        bytes += settingsPartRecord(t, at);
    return bytes;
}

// The channel entries of block k (from 0), the block's three records appended to `out`.
void appendBlock(const ChannelList& list, std::size_t k, const BlockTypes& types,
                 std::string& out) {
    const std::size_t first = k * kChannelsPerBlock;
    const std::size_t last = std::min((k + 1) * kChannelsPerBlock, list.size()) - 1;
    std::string entries;
    for (std::size_t i = first; i <= last; ++i) {
        const ChannelRec& ch = list[i];
        const std::string_view name = trimBlanks(ch.ChName.view());
        std::string head(entry::kHead.length, '0');
        putField(head, entry::kNameLength, twoHexDigits(name.size()));
        putField(head, entry::kNetId, ch.NetId.view());
        putField(head, entry::kTsId, ch.TsId.view());
        putField(head, entry::kSerId, ch.SerId.view());
        putField(head, entry::kTrId, ch.TrId.view());
        entries += hexToBytes(head);
        entries += name;
        if (name.size() % 2 != 0) entries += '\0';
    }
    const auto count = static_cast<int>(last - first + 1);
    const auto offset = static_cast<unsigned>(k);
    out += word(types.bytes + offset) + padBlock(count);
    out += word(types.bitmap + offset) +
           bitmapBlock(static_cast<int>(first + 1), static_cast<int>(last + 1));
    out += tlvRecord(types.entries + offset, entries);
}

std::string channelBlocks(const ChannelList& list, const BlockTypes& types) {
    std::string out;
    const std::size_t blocks = list.empty() ? 0 : (list.size() - 1) / kChannelsPerBlock + 1;
    for (std::size_t k = 0; k < blocks; ++k)
        appendBlock(list, k, types, out);
    return out;
}

}  // namespace

std::string padBlock(int n) {
    std::string b = word(static_cast<std::size_t>(n));
    b.append(static_cast<std::size_t>(n), '\x32');
    if (n % 2 != 0) b += '\0';
    return b;
}

std::string bitmapBlock(int first, int last) {
    std::string bits;
    for (int c = first; c <= last; ++c) {
        bits += toBinary(c - 1, 10);
        bits += '0';
        if ((c - first + 1) % 4 == 0) bits += "0000";
    }
    if (bits.size() % 16 != 0) {
        bits.append(16 - bits.size() % 16, '0');
    } else {
        bits.append(16, '0');
    }
    const std::string bytes = bitsToBytes(bits).value_or(std::string());
    return word(bytes.size()) + bytes;
}

std::size_t cutPosition(std::string_view data, std::size_t limit) {
    std::size_t p = 1;
    std::size_t start = 1;
    do {
        start = p;
        // The length word sits at positions p+2 and p+3; past the data it reads as 0.
        std::size_t length =
            p + 2 < data.size() ? static_cast<std::size_t>(charsToWord(data.substr(p + 1, 2))) : 0;
        length += length & 1U;
        p += 4 + length;
    } while (p <= limit);
    return start;
}

Result<std::string> layOutFlashAreas(std::string_view data) {
    std::string image(kImageSize, '\xFF');
    const auto putWord = [&image](std::size_t at, unsigned value) {
        image.replace(at, 2, wordToChars(value));
    };
    for (const Area& area : {kAreaA, kAreaB, kAreaC})
        putWord(area.sizeWordAt(), area.sizeWord);
    // Cut positions keep every part inside its area's records.
    const auto place = [&](const Area& area, std::string_view part) {
        image.replace(area.begin, part.size(), part);
        putWord(area.markerAt(), kAreaMarker);
    };

    if (data.size() < fitsWhole(kAreaA)) {
        place(kAreaA, data);
    } else {
        const std::size_t p = cutPosition(data, kCutLimit);
        place(kAreaA, data.substr(0, p - 1));
        const std::string_view rest = data.substr(p - 1);
        if (rest.size() < fitsWhole(kAreaB)) {
            place(kAreaB, rest);
        } else {
            const std::size_t q = cutPosition(rest, kCutLimit);
            const std::string_view last = rest.substr(q - 1);
            if (last.size() >= fitsWhole(kAreaC)) return ErrorCode::TooManyChannelsFta;
            place(kAreaB, rest.substr(0, q - 1));
            place(kAreaC, last);
        }
    }
    return image;
}

std::string defaultSettingsBlock() {
    static const char* const kHex[] = {
        "86080010"
        "00035B6000016760"
        "0011DA5000320000",
        "86060001"
        "0100",
        "E5030004"
        "00000000",
        "85010016"
        "0102"
        "00000E10"
        "00000E10"
        "FFFF"
        "00000000"
        "4AC4"
        "00000000",
        "8A410004"
        "00010000",
        "8A420004"
        "0002001E",
        "8A430004"
        "0004000A",
        "8A400002"
        "0004",
        "8A440004"
        "00080000",
        "8E010002"
        "0A60",
        "8701000A"
        "00000002"
        "00001800"
        "0000",
        "86040004"
        "11A611A6",
        "86050004"
        "11A611A6",
        "860D0004"
        "00000000",
        "860E0004"
        "00000000",
        "86110008"
        "11A611A6"
        "00000000",
        "860F000E"
        "00000001"
        "00000000"
        "00000000"
        "0000",
        "860C0004"
        "11A611A6",
        "86100050"
        "00002616000029680400"
        "00002616000029684400"
        "00002616000029684400"
        "00002616000029684400"
        "00002616000029684400"
        "00002616000029684400"
        "00002616000029684400"
        "00002616000029684400",
    };
    std::string block;
    for (const char* hex : kHex)
        block += hexToBytes(hex);
    std::string names;
    for (const char* name :
         {"ASTRA", "HOTBIRD", "THOR", "SIRIUS", "ASTRA 2", "OTHER1", "OTHER2", "OTHER3"}) {
        std::string n(name);
        n.resize(8, '\0');
        names += n;
    }
    block += tlvRecord(kAntennaNamesType, names);
    block += hexToBytes(
        "E5010026"
        "00000001"
        "00000000"
        "0018"
        "0000"
        "249B"
        "0001"
        "0032"
        "0117"
        "0001"
        "0100"
        "0100"
        "00FF"
        "0000"
        "0002"
        "0204"
        "0001"
        "0004");
    block += hexToBytes(
        "86020001"
        "0000"
        "86030001"
        "0000");
    return block;
}

TvRadioLists normalizeForFtaImage(const ChannelList& tv, const ChannelList& radio) {
    TvRadioLists out{tv, radio};
    // A running identifier that a channel already has as its ids would put the channel given
    // it on that channel's transponder: such numbers are passed over.
    std::unordered_set<std::string> taken;
    for (const ChannelList* list : {&out.tv, &out.radio}) {
        for (const ChannelRec& ch : *list) {
            if (ch.NetId == ch.TsId) taken.insert(ch.NetId.str());
        }
    }
    std::uint32_t runningId = 0;
    for (ChannelList* list : {&out.tv, &out.radio}) {
        for (ChannelRec& ch : *list) {
            if (!isBlankId(transponderKey(ch))) continue;
            std::string id;
            do {
                id = pad4(toHex(++runningId));
            } while (taken.contains(id));
            ch.NetId = id;
            ch.TsId = id;
        }
    }
    // The channel whose transponder record is written gets its band from its frequency.
    for (const ListPlace& at : transponderChannels(out)) {
        ChannelRec& ch = (at.list == ListId::TV ? out.tv : out.radio)[at.index];
        const std::int64_t mhz = decimalValue(channel_part::kFreqMhz.in(ch.Freq.view()));
        if (mhz >= 1000) ch.LoHi = bandOf(mhz);
    }
    for (ChannelList* list : {&out.tv, &out.radio}) {
        for (ChannelRec& ch : *list)
            ch.ChName = std::string(trimBlanks(ch.ChName.view()));
    }
    return out;
}

std::vector<ListPlace> transponderChannels(const TvRadioLists& lists) {
    std::vector<ListPlace> owners;
    std::unordered_set<std::string> tvKeys;
    std::unordered_set<std::string> radioKeys;
    for (std::size_t i = 0; i < lists.tv.size(); ++i) {
        if (tvKeys.insert(transponderKey(lists.tv[i])).second) owners.push_back({ListId::TV, i});
    }
    for (std::size_t i = 0; i < lists.radio.size(); ++i) {
        const std::string key = transponderKey(lists.radio[i]);
        if (radioKeys.insert(key).second && !tvKeys.contains(key)) {
            owners.push_back({ListId::Radio, i});
        }
    }
    return owners;
}

namespace {

// The image's records before they are laid out over the areas, and whether the counts fit;
// no data when they do not.
struct ImagePlan {
    FtaImageFit fit;
    std::string data;
};

ImagePlan planImage(const ChannelList& tv, const ChannelList& radio, const FtaImageTables& tables,
                    ImageSettings settings) {
    ImagePlan plan;
    plan.fit.tvFits = tv.size() <= kMaxFtaChannelsPerList;
    plan.fit.radioFits = radio.size() <= kMaxFtaChannelsPerList;
    if (!plan.fit.tvFits || !plan.fit.radioFits) return plan;
    const TvRadioLists lists = normalizeForFtaImage(tv, radio);

    const std::vector<ListPlace> owners = transponderChannels(lists);
    plan.fit.transponders = owners.size();
    if (owners.size() > kMaxFtaTransponders) {
        plan.fit.firstTransponderOver = owners[kMaxFtaTransponders];
        return plan;
    }
    std::string transponders;
    std::size_t transponderCount = 0;
    for (const ListPlace& at : owners) {
        const ChannelRec& ch = (at.list == ListId::TV ? lists.tv : lists.radio)[at.index];
        transponders += transponderRecord(ch, ++transponderCount);
    }

    std::string pids;
    std::size_t pidCount = 0;
    for (const ChannelList* list : {&lists.tv, &lists.radio}) {
        for (const ChannelRec& ch : *list) {
            if (ch.VPid.str() + ch.APid.str() + ch.PPid.str() != "000000000000") {
                pids += pidRecord(ch, ++pidCount);
            }
        }
    }

    std::string& data = plan.data;
    if (settings == ImageSettings::Defaults) {
        data = defaultSettingsBlock();
    } else {
        data = settingsRecords(tables);
    }
    data += hexToBytes(transponders) + tlvRecord(kTransponderType, word(transponderCount));
    data += hexToBytes(pids) + tlvRecord(kPidType, word(pidCount));
    data += tlvRecord(kTagType, hexToBytes(kOwnTagHex));
    // The counts: a 5, then the number of channels.
    data += word(kTvCountType) + word(4) + word(5) + word(lists.tv.size());
    data += word(kRadioCountType) + word(4) + word(5) + word(lists.radio.size());
    data += channelBlocks(lists.tv, kTvBlocks);
    data += channelBlocks(lists.radio, kRadioBlocks);
    return plan;
}

}  // namespace

FtaImageFit ftaImageFit(const ChannelList& tv, const ChannelList& radio,
                        const FtaImageTables& tables, ImageSettings settings) {
    ImagePlan plan = planImage(tv, radio, tables, settings);
    if (plan.fit.fits()) plan.fit.areasFit = layOutFlashAreas(plan.data).ok();
    return plan.fit;
}

Result<std::string> encodeFtaImage(const ChannelList& tv, const ChannelList& radio,
                                   const FtaImageTables& tables, ImageSettings settings) {
    const ImagePlan plan = planImage(tv, radio, tables, settings);
    if (!plan.fit.fits()) return ErrorCode::TooManyChannelsFta;
    return layOutFlashAreas(plan.data);
}

void rememberSourceImage(FtaImageTables& tables, const TvRadioLists& lists,
                         std::string_view image) {
    const TvRadioLists normalized = normalizeForFtaImage(lists.tv, lists.radio);
    auto rewritten =
        encodeFtaImage(normalized.tv, normalized.radio, tables, ImageSettings::FromTables);
    tables.sourceImage = rewritten ? std::string(image) : std::string();
    tables.sourceRewritten = rewritten ? std::move(rewritten.value()) : std::string();
}

Result<std::string> imageOfLoadedFile(const ChannelList& tv, const ChannelList& radio,
                                      const FtaImageTables& tables) {
    auto image = encodeFtaImage(tv, radio, tables, ImageSettings::FromTables);
    if (image && !tables.sourceImage.empty() && *image == tables.sourceRewritten)
        return tables.sourceImage;
    return image;
}

}  // namespace qel
