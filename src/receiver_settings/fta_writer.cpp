#include "receiver_settings/fta_writer.h"

#include <algorithm>
#include <unordered_set>

#include "model/conversions.h"

namespace qel {

namespace {

constexpr std::size_t kAreaSize = 8192;
constexpr std::size_t kAreaCSize = 32768;
constexpr std::size_t kAreaFits = 8184;  // data shorter than this fits an area whole
constexpr std::size_t kCutLimit = 8186;  // records of a cut area end before this position
constexpr std::size_t kAreaCFits = 32760;
constexpr std::size_t kBlockChannels = 48;

std::string Word(std::size_t v) {
    return WordToChars(static_cast<std::int64_t>(v));
}

// A 4-digit group of a hex text as 2 bytes, whatever the text holds there.
std::string HexWordAt(std::string_view text, std::size_t pos1) {
    return WordToChars(HexToDec(Mid(text, pos1, 4)));
}

std::string Record(unsigned type, std::string_view value) {
    std::string r = Word(type) + Word(value.size());
    r += value;
    if (value.size() % 2 != 0) r += '\0';
    return r;
}

// The record number as the low byte of the type: the 256th record is number 00.
std::string TwoHexDigits(std::size_t v) {
    return Pad4(ToHex(static_cast<std::uint32_t>(v & 0xFFU))).substr(2);
}

bool IsBlankId(std::string_view key) {
    return key == "20202020" || key == "00000000" || key == "20200000" || key == "00002020";
}

bool IsNoTs(const ChannelRec& ch) {
    return TrimBlanks(ch.Freq.view()) == "NO TS";
}

// One transponder record (hex) for a channel; a tuned channel gets its band digit first.
std::string EstractFreq(ChannelRec& ch, std::size_t recordNumber) {
    std::string hex = "90" + TwoHexDigits(recordNumber) + "0018";
    const std::int64_t mhz = ValDec(Mid(ch.Freq.view(), 1, 6));
    hex += ch.NetId.view();
    hex += ch.NetId.view();
    hex += ch.TsId.view();
    if (mhz >= 1000) {
        ch.LoHi = mhz < 11700 ? "0" : "1";
        hex += ch.Ant.view();
        hex += ValDec(Mid(ch.TrId.view(), 1, 2)) == 0 ? "0008" : "0088";
        hex += ch.Freq.view();
        hex += '0';
        hex += ch.Sat.view();
        hex += '0';
        hex += ch.LoHi.view();
        hex += ch.Pol == "3" ? std::string("04") : "0" + ch.Pol.str();
        hex += "00";
        hex += ch.Srate.view();
        hex += "01";
        hex += '0';
        hex += ch.Fec.view();
    } else {
        hex += "00000004";
        if (IsNoTs(ch)) {
            hex += "00000000";
        } else {
            hex += Pad4(ToHex(static_cast<std::uint32_t>(mhz)));
            hex += Mid(ch.Freq.view(), 7, 2);
            hex += "00";
        }
        hex += "0203";
        hex += "00";
        hex += ch.Srate.view();
        hex += "0F000000";
    }
    return hex;
}

std::string EstractPids(const ChannelRec& ch, std::size_t recordNumber) {
    std::string hex = "95" + TwoHexDigits(recordNumber) + "000E";
    for (std::string_view part :
         {ch.NetId.view(), ch.TsId.view(), ch.SerId.view(), std::string_view("8101"),
          ch.VPid.view(), ch.APid.view(), ch.PPid.view()}) {
        hex += part;
    }
    return hex;
}

std::string EstractUnknown(const FtaImageTables& t) {
    std::string bytes;
    for (std::size_t i = 1; i < t.Others.size(); ++i)
        bytes += HexToBytes(t.Others[i]);
    return bytes;
}

std::string EstractAntenna(const FtaImageTables& t) {
    std::string names;
    std::string oscillators;
    for (const std::string& e : t.Antennas) {
        std::string name(Mid(e, 21, 8));
        name.resize(8, '\0');
        names += name;
        oscillators += Word(0) + HexWordAt(e, 5) + Word(0) + HexWordAt(e, 13) + HexWordAt(e, 17);
    }
    return Record(0xE505, names) + Record(0x8610, oscillators);
}

// The channel entries of one block, the block's three records appended to `out`.
void AppendBlock(ChannelList& list, std::size_t k, unsigned padBase, unsigned bitmapBase,
                 unsigned entryBase, std::string& out) {
    const std::size_t first = (k - 1) * kBlockChannels;
    const std::size_t last = std::min(k * kBlockChannels, list.size()) - 1;
    std::string entries;
    for (std::size_t i = first; i <= last; ++i) {
        ChannelRec& ch = list[i];
        const std::string name(TrimBlanks(ch.ChName.view()));
        ch.ChName = name;
        entries += static_cast<char>(name.size());
        entries += '\0';
        entries += HexToBytes(ch.NetId.view());
        entries += HexToBytes(ch.TsId.view());
        entries += HexToBytes(ch.SerId.view());
        entries += HexToBytes(ch.TrId.view());
        entries += name;
        if (name.size() % 2 != 0) entries += '\0';
    }
    const auto count = static_cast<int>(last - first + 1);
    out += Word(padBase + k) + PadBlock(count);
    out +=
        Word(bitmapBase + k) + BitmapBlock(static_cast<int>(first + 1), static_cast<int>(last + 1));
    out += Record(static_cast<unsigned>(entryBase + k), entries);
}

std::string ChannelBlocks(ChannelList& list, unsigned padBase, unsigned bitmapBase,
                          unsigned entryBase) {
    std::string out;
    const std::size_t blocks = list.empty() ? 0 : (list.size() - 1) / kBlockChannels + 1;
    for (std::size_t k = 1; k <= blocks; ++k)
        AppendBlock(list, k, padBase, bitmapBase, entryBase, out);
    return out;
}

}  // namespace

std::string PadBlock(int n) {
    std::string b = Word(static_cast<std::size_t>(n));
    b.append(static_cast<std::size_t>(n), '\x32');
    if (n % 2 != 0) b += '\0';
    return b;
}

std::string BitmapBlock(int first, int last) {
    std::string bits;
    for (int c = first; c <= last; ++c) {
        bits += ToBinary(c - 1, 10);
        bits += '0';
        if ((c - first + 1) % 4 == 0) bits += "0000";
    }
    if (bits.size() % 16 != 0) {
        bits.append(16 - bits.size() % 16, '0');
    } else {
        bits.append(16, '0');
    }
    const std::string bytes = BitsToBytes(bits).value_or(std::string());
    return Word(bytes.size()) + bytes;
}

std::size_t cutblock(std::string_view data, std::size_t limit) {
    std::size_t p = 1;
    std::size_t start = 1;
    do {
        start = p;
        // The length word sits at positions p+2 and p+3; past the data it reads as 0.
        std::size_t length =
            p + 2 < data.size() ? static_cast<std::size_t>(CharsToWord(data.substr(p + 1, 2))) : 0;
        length += length & 1U;
        p += 4 + length;
    } while (p <= limit);
    return start;
}

Result<std::string> SaveSettings(std::string_view data) {
    std::string a(kAreaSize, '\xFF');
    std::string b(kAreaSize, '\xFF');
    std::string c(kAreaCSize, '\xFF');
    a.replace(8188, 2, "\x20\x00", 2);
    b.replace(8188, 2, "\x20\x00", 2);
    c.replace(32764, 2, "\x80\x00", 2);
    const auto place = [](std::string& area, std::string_view part, std::size_t markerAt) {
        area.replace(0, part.size(), part);
        area.replace(markerAt, 2, "\x7F\xFC");
    };

    if (data.size() < kAreaFits) {
        place(a, data, 8190);
    } else {
        const std::size_t p = cutblock(data, kCutLimit);
        place(a, data.substr(0, p - 1), 8190);
        const std::string_view rest = data.substr(p - 1);
        if (rest.size() < kAreaFits) {
            place(b, rest, 8190);
        } else {
            const std::size_t q = cutblock(rest, kCutLimit);
            const std::string_view last = rest.substr(q - 1);
            if (last.size() >= kAreaCFits) return ErrorCode::TooManyChannelsFta;
            place(b, rest.substr(0, q - 1), 8190);
            place(c, last, 32766);
        }
    }
    return a + b + c;
}

std::string DefaultSettingsBlock() {
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
        block += HexToBytes(hex);
    std::string names;
    for (const char* name :
         {"ASTRA", "HOTBIRD", "THOR", "SIRIUS", "ASTRA 2", "OTHER1", "OTHER2", "OTHER3"}) {
        std::string n(name);
        n.resize(8, '\0');
        names += n;
    }
    block += Record(0xE505, names);
    block += HexToBytes(
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
    block += HexToBytes(
        "86020001"
        "0000"
        "86030001"
        "0000");
    return block;
}

Result<std::string> MakeStr_Save(ChannelList& tv, ChannelList& radio, const FtaImageTables& tables,
                                 bool convertToBin) {
    if (tv.size() > kMaxFtaChannelsPerList || radio.size() > kMaxFtaChannelsPerList) {
        return ErrorCode::TooManyChannelsFta;
    }
    // Work on copies: the lists change only when the image is made.
    ChannelList tvOut = tv;
    ChannelList radioOut = radio;

    // Transponders: one record per NetId/TsId pair, TV first; a RADIO channel on a
    // transponder a TV channel uses adds none.
    std::size_t runningId = 0;
    std::string transponders;
    std::size_t transponderCount = 0;
    std::unordered_set<std::string> tvKeys;
    std::unordered_set<std::string> radioKeys;
    const auto keyOf = [&runningId](ChannelRec& ch) {
        std::string key = ch.NetId.str() + ch.TsId.str();
        if (IsBlankId(key)) {
            const std::string id = Pad4(ToHex(static_cast<std::uint32_t>(++runningId)));
            ch.NetId = id;
            ch.TsId = id;
            key = id + id;
        }
        return key;
    };
    for (ChannelRec& ch : tvOut) {
        if (tvKeys.insert(keyOf(ch)).second) transponders += EstractFreq(ch, ++transponderCount);
    }
    for (ChannelRec& ch : radioOut) {
        const std::string key = keyOf(ch);
        if (radioKeys.insert(key).second && !tvKeys.contains(key)) {
            transponders += EstractFreq(ch, ++transponderCount);
        }
    }
    if (transponderCount > kMaxFtaTransponders) return ErrorCode::TooManyChannelsFta;

    std::string pids;
    std::size_t pidCount = 0;
    for (const ChannelList* list : {&tvOut, &radioOut}) {
        for (const ChannelRec& ch : *list) {
            if (ch.VPid.str() + ch.APid.str() + ch.PPid.str() != "000000000000") {
                pids += EstractPids(ch, ++pidCount);
            }
        }
    }

    std::string data;
    if (convertToBin) {
        data = DefaultSettingsBlock();
    } else {
        data = EstractUnknown(tables) + EstractAntenna(tables);
        data += HexToBytes("86020001") + HexWordAt(tables.ScreenFormat, 1);
        data += HexToBytes("86030001") + HexWordAt(tables.ScreenFormat, 5);
        data += HexToBytes(tables.SettingsRecord);
    }
    data += HexToBytes(transponders) + Record(0x9000, Word(transponderCount));
    data += HexToBytes(pids) + Record(0x9500, Word(pidCount));
    data += HexToBytes("9999000451454C00");
    data += HexToBytes("870200040005") + Word(tvOut.size());
    data += HexToBytes("870300040005") + Word(radioOut.size());
    data += ChannelBlocks(tvOut, 0x8759, 0x8709, 0x87A9);
    data += ChannelBlocks(radioOut, 0x876E, 0x871E, 0x87BE);

    auto image = SaveSettings(data);
    if (!image) return image.error();
    tv = std::move(tvOut);
    radio = std::move(radioOut);
    return image;
}

}  // namespace qel
