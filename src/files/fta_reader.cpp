#include "files/fta_reader.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "bytes/conversions.h"
#include "files/fta_image_layout.h"

namespace qel {

namespace {

using namespace fta;

unsigned wordAt(std::string_view bytes, std::size_t offset) {
    if (offset + 1 >= bytes.size()) return 0;
    return static_cast<unsigned char>(bytes[offset]) * 256U +
           static_cast<unsigned char>(bytes[offset + 1]);
}

bool isBlockBookkeeping(unsigned type) {
    return BlockTypes::within(type, kTvBlocks.bitmap) ||
           BlockTypes::within(type, kRadioBlocks.bitmap) ||
           BlockTypes::within(type, kTvBlocks.bytes) ||
           BlockTypes::within(type, kRadioBlocks.bytes);
}

// Entries of one channel-entry record into a name table from `index` on.
void storeChannelEntries(std::string_view value, std::vector<std::string>& table,
                         std::size_t index) {
    std::size_t pos = 0;
    while (pos < value.size() && index < table.size()) {
        if (value.size() - pos < kEntryHead) break;
        // A name that runs past the record keeps the bytes that are there; the position then
        // reaches the value's end and the record's entries end with it.
        const std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(value[pos]),
                                                    value.size() - pos - kEntryHead);
        table[index++] = bytesToHex(value.substr(pos, kEntryHead)) +
                         std::string(value.substr(pos + kEntryHead, n));
        pos += kEntryHead + n + (n & 1U);
    }
}

class ImageReader {
public:
    ImageReader(std::string_view image, DebugLog* log) : image_(image), log_(log) {}

    FtaImageTables read() {
        // Without area A's size word the image holds no records at all.
        if (wordAt(image_, kAreaA.sizeWordAt()) != kAreaA.sizeWord) return std::move(t_);
        for (const Area& area : {kAreaA, kAreaB, kAreaC}) {
            if (wordAt(image_, area.markerAt()) == kAreaMarker) readArea(area);
        }
        joinAntennaParts();
        return std::move(t_);
    }

private:
    void readArea(const Area& area) {
        std::size_t offset = area.begin;
        while (area.recordsEnd() - offset >= kRecordHeader) {
            const unsigned type = wordAt(image_, offset);
            const std::size_t length = wordAt(image_, offset + 2);
            const std::size_t padded = length + (length & 1U);
            if (type == kErasedType) return;
            if (padded > area.recordsEnd() - offset - kRecordHeader) return;
            treat(type, image_.substr(offset, kRecordHeader + padded),
                  image_.substr(offset + kRecordHeader, length));
            offset += kRecordHeader + padded;
        }
    }

    void log(unsigned type, std::string_view record) {
        if (log_ == nullptr) return;
        debugPrint(log_, static_cast<int>(type), static_cast<int>(record.size() - 4),
                   bytesToHex(record.substr(4)));
    }

    // Each settings record kind takes the place of its first record; every other record its own.
    void place(SettingsPart part, std::size_t other = 0) {
        bool& seen = placed_[static_cast<std::size_t>(part)];
        if (part != SettingsPart::Other && seen) return;
        seen = true;
        t_.settingsOrder.push_back({part, other});
    }

    void treat(unsigned type, std::string_view record, std::string_view value) {
        if (type == kTagType) {
            if (bytesToHex(value) != kOwnTagHex) return;  // a foreign tag: skipped, not logged
            t_.imageTagged = true;
        } else if (type == kScreenFormatType || type == kPictureFormatType) {
            if (t_.screenFormat.size() < 8) t_.screenFormat.resize(8, ' ');
            const std::string digits = bytesToHex(record.substr(4, 2)) + "0000";
            putField(t_.screenFormat,
                     type == kScreenFormatType ? screen_format::kScreenWord
                                               : screen_format::kPictureWord,
                     digits);
            place(type == kScreenFormatType ? SettingsPart::ScreenFormat
                                            : SettingsPart::PictureFormat);
        } else if (type == kAntennaOscillatorsType) {
            for (std::size_t i = 0; i < kAntennaEntries; ++i) {
                antennaHex_[i] = bytesToHex(
                    Field{kAntennaOscillatorBytes * i, kAntennaOscillatorBytes}.in(value));
                hexRead_[i] = true;
            }
            place(SettingsPart::AntennaOscillators);
        } else if (type == kAntennaNamesType) {
            for (std::size_t i = 0; i < kAntennaEntries; ++i) {
                antennaName_[i] =
                    std::string(Field{kAntennaNameBytes * i, kAntennaNameBytes}.in(value));
            }
            place(SettingsPart::AntennaNames);
        } else if (type == kSettingsRecordType) {
            t_.settingsRecord = bytesToHex(record);
            place(SettingsPart::SettingsRecord);
        } else if (type == kTvCountType || type == kRadioCountType) {
            if (value.size() >= 4) {
                (type == kTvCountType ? t_.tvCount : t_.radioCount) =
                    static_cast<int>(wordAt(value, 2));
            }
        } else if (BlockTypes::within(type, kTvBlocks.entries)) {
            storeChannelEntries(value, t_.tvNames, kChannelsPerBlock * (type - kTvBlocks.entries));
        } else if (BlockTypes::within(type, kRadioBlocks.entries)) {
            storeChannelEntries(value, t_.radioNames,
                                kChannelsPerBlock * (type - kRadioBlocks.entries));
        } else if (isBlockBookkeeping(type) || type == 0x0000) {
            // bitmaps and per-channel byte lists are regenerated on writing
        } else if ((type & 0xFF00) == kTransponderType) {
            t_.transponders.push_back(bytesToHex(record));
        } else if ((type & 0xFF00) == kPidType) {
            t_.pids.push_back(bytesToHex(record));
        } else {
            place(SettingsPart::Other, t_.others.size());
            t_.others.push_back(bytesToHex(record));
        }
        log(type, record);
    }

    // An entry holds its hex digits, then its name; a name without its oscillator
    // record gets zero oscillators so that the name stays in its place.
    void joinAntennaParts() {
        for (std::size_t i = 0; i < kAntennaEntries; ++i) {
            std::string hex = antennaHex_[i];
            if (!hexRead_[i] && !antennaName_[i].empty())
                hex.assign(antenna_entry::kHex.length, '0');
            t_.antennas[i] = hex + antennaName_[i];
        }
    }

    std::string_view image_;
    DebugLog* log_;
    FtaImageTables t_;
    std::array<std::string, kAntennaEntries> antennaHex_;
    std::array<std::string, kAntennaEntries> antennaName_;
    std::array<bool, kAntennaEntries> hexRead_{};
    std::array<bool, kSettingsParts> placed_{};  // by SettingsPart
};

std::string decimalText(std::string_view hexDigits) {
    return std::to_string(hexToDec(hexDigits));
}

// First table index for each key (the records' `key` field).
std::unordered_map<std::string_view, std::size_t> firstByKey(const std::vector<std::string>& table,
                                                             const Field& key) {
    std::unordered_map<std::string_view, std::size_t> first;
    first.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string_view k = key.in(table[i]);
        if (k.size() == key.length) first.emplace(k, i);
    }
    return first;
}

ChannelList buildList(const std::vector<std::string>& names, const FtaImageTables& t) {
    const auto pidByKey = firstByKey(t.pids, pid::kServiceKey);
    const auto tpByKey = firstByKey(t.transponders, transponder::kKey);
    ChannelList list;
    for (std::size_t i = 0; i < names.size() && !names[i].empty(); ++i) {
        const std::string_view s = names[i];
        ChannelRec r;  // fields the image does not hold stay code 0
        r.ChName = entry::kName.in(s);
        r.NetId = entry::kNetId.in(s);
        r.TsId = entry::kTsId.in(s);
        r.SerId = entry::kSerId.in(s);
        r.TrId = entry::kTrId.in(s);

        r.VPid = "0000";
        r.APid = "0000";
        r.PPid = "0000";
        if (auto found = pidByKey.find(entry::kServiceKey.in(s)); found != pidByKey.end()) {
            const std::string_view p = t.pids[found->second];
            r.VPid = pid::kVPid.in(p);
            r.APid = pid::kAPid.in(p);
            r.PPid = pid::kPPid.in(p);
        }

        if (auto tp = tpByKey.find(entry::kTransponderKey.in(s)); tp == tpByKey.end()) {
            r.Freq = "NO TS  ";
        } else {
            using namespace transponder;
            const std::string_view u = t.transponders[tp->second];
            if (u.ends_with(kUntunedMarker)) {
                r.Freq = zeroPadDecimal(hexToDec(kUntunedMhz.in(u)), 6) +
                         std::string(kUntunedFraction.in(u));
                r.Sat = kSat.in(u);
                r.LoHi = "0";
                r.Pol = "0";
                r.Srate = kUntunedSrate.in(u);
            } else {
                r.Freq = kFreq.in(u);
                r.Sat = kSat.in(u);
                r.LoHi = decimalText(kBand.in(u));
                r.Pol = decimalText(kPol.in(u));
                r.Srate = kSrate.in(u);
            }
            r.Fec = decimalText(kFec.in(u));
            r.Ant = kAnt.in(u);
            r.AntAux = kAntAux.in(u);
        }

        r.PmcPid = "0000";
        r.PmtPid = "0000";
        r.TxtPid = "0000";
        r.TuneFlags = "0000";
        r.Aux292 = "0000";
        r.Acbw = "00";
        r.AvFlags = "00";
        r.ServType = "00";
        r.AutoPid = "0";
        r.AutoPmt = "0";
        list.push_back(r);
    }
    return list;
}

}  // namespace

Result<FtaImageTables> readFtaImage(std::string_view image, DebugLog* log) {
    if (image.size() != kImageSize) return ErrorCode::WrongFileLength;
    return ImageReader(image, log).read();
}

TvRadioLists channelListsOf(const FtaImageTables& tables) {
    return {buildList(tables.tvNames, tables), buildList(tables.radioNames, tables)};
}

}  // namespace qel
