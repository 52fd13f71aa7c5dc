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

    void treat(unsigned type, std::string_view record, std::string_view value) {
        if (type == kTagType) {
            if (bytesToHex(value) != kOwnTagHex) return;  // a foreign tag: skipped, not logged
            t_.imageTagged = true;
        } else if (type == kScreenFormatType || type == kPictureFormatType) {
            if (t_.screenFormat.size() < 8) t_.screenFormat.resize(8, ' ');
            const std::string digits = bytesToHex(record.substr(4, 2));
            t_.screenFormat.replace(type == kScreenFormatType ? 0 : 4, 4,
                                    mid(digits + "0000", 1, 4));
        } else if (type == kAntennaOscillatorsType) {
            for (std::size_t i = 0; i < kAntennaEntries; ++i) {
                antennaHex_[i] = bytesToHex(mid(value, 10 * i + 1, 10));
                hexRead_[i] = true;
            }
        } else if (type == kAntennaNamesType) {
            for (std::size_t i = 0; i < kAntennaEntries; ++i) {
                antennaName_[i] = std::string(mid(value, 8 * i + 1, 8));
            }
        } else if (type == kSettingsRecordType) {
            t_.settingsRecord = bytesToHex(record);
        } else if (type == kTvCountType || type == kRadioCountType) {
            if (value.size() >= 4) {
                (type == kTvCountType ? t_.tvCount : t_.radioCount) =
                    static_cast<int>(wordAt(value, 2));
            }
        } else if (BlockTypes::within(type, kTvBlocks.entries)) {
            storeChannelEntries(value, t_.tvNames,
                                kChannelsPerBlock * (type - kTvBlocks.entries) + 1);
        } else if (BlockTypes::within(type, kRadioBlocks.entries)) {
            storeChannelEntries(value, t_.radioNames,
                                kChannelsPerBlock * (type - kRadioBlocks.entries) + 1);
        } else if (isBlockBookkeeping(type) || type == 0x0000) {
            // bitmaps and per-channel byte lists are regenerated on writing
        } else if ((type & 0xFF00) == kTransponderType) {
            t_.transponders.push_back(bytesToHex(record));
        } else if ((type & 0xFF00) == kPidType) {
            t_.pids.push_back(bytesToHex(record));
        } else {
            t_.others.push_back(bytesToHex(record));
        }
        log(type, record);
    }

    // An entry holds its 20 hex digits, then its name; a name without its oscillator
    // record gets zero oscillators so that the name stays at character 21.
    void joinAntennaParts() {
        for (std::size_t i = 0; i < kAntennaEntries; ++i) {
            std::string hex = antennaHex_[i];
            if (!hexRead_[i] && !antennaName_[i].empty()) hex.assign(20, '0');
            t_.antennas[i] = hex + antennaName_[i];
        }
    }

    std::string_view image_;
    DebugLog* log_;
    FtaImageTables t_;
    std::array<std::string, kAntennaEntries> antennaHex_;
    std::array<std::string, kAntennaEntries> antennaName_;
    std::array<bool, kAntennaEntries> hexRead_{};
};

std::string decimalText(std::string_view hexDigits) {
    return std::to_string(hexToDec(hexDigits));
}

// First table index for each key (characters [pos1, pos1+len) of the entries).
std::unordered_map<std::string_view, std::size_t> firstByKey(const std::vector<std::string>& table,
                                                             std::size_t pos1, std::size_t len) {
    std::unordered_map<std::string_view, std::size_t> first;
    first.reserve(table.size());
    for (std::size_t i = 1; i < table.size(); ++i) {
        const std::string_view key = mid(table[i], pos1, len);
        if (key.size() == len) first.emplace(key, i);
    }
    return first;
}

ChannelList buildList(const std::vector<std::string>& names, const FtaImageTables& t) {
    const auto pidByKey = firstByKey(t.pids, 9, 12);
    const auto tpByKey = firstByKey(t.transponders, 13, 8);
    ChannelList list;
    for (std::size_t i = 1; i < names.size() && !names[i].empty(); ++i) {
        const std::string_view s = names[i];
        ChannelRec r;  // fields the image does not hold stay code 0
        r.ChName = mid(s, 21);
        r.NetId = mid(s, 5, 4);
        r.TsId = mid(s, 9, 4);
        r.SerId = mid(s, 13, 4);
        r.TrId = mid(s, 17, 4);

        r.VPid = "0000";
        r.APid = "0000";
        r.PPid = "0000";
        if (auto pid = pidByKey.find(mid(s, 5, 12)); pid != pidByKey.end()) {
            const std::string_view p = t.pids[pid->second];
            r.VPid = mid(p, 25, 4);
            r.APid = mid(p, 29, 4);
            r.PPid = mid(p, 33, 4);
        }

        if (auto tp = tpByKey.find(mid(s, 5, 8)); tp == tpByKey.end()) {
            r.Freq = "NO TS  ";
        } else {
            const std::string_view u = t.transponders[tp->second];
            if (u.size() >= 8 && u.substr(u.size() - 8) == "0F000000") {
                // Untuned layout: whole MHz as a 16-bit number, then the two fraction digits.
                r.Freq = zeroPadDecimal(hexToDec(mid(u, 29, 4)), 6) + std::string(mid(u, 33, 2));
                r.Sat = mid(u, 38, 3);
                r.LoHi = "0";
                r.Pol = "0";
                r.Srate = mid(u, 43, 6);
            } else {
                r.Freq = mid(u, 29, 8);
                r.Sat = mid(u, 38, 3);
                r.LoHi = decimalText(mid(u, 41, 2));
                r.Pol = decimalText(mid(u, 43, 2));
                r.Srate = mid(u, 47, 6);
            }
            r.Fec = decimalText(mid(u, 55, 2));
            r.Ant = mid(u, 21, 4);
            r.AntAux = mid(u, 25, 4);
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
