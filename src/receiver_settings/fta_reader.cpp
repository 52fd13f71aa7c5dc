#include "receiver_settings/fta_reader.h"

#include <string>
#include <unordered_map>

#include "model/conversions.h"

namespace qel {

namespace {

// Record area: [begin, end); the marker words follow at end.
struct Area {
    std::size_t begin;
    std::size_t end;
};
constexpr Area kAreaA{0, 8188};
constexpr Area kAreaB{8192, 16380};
constexpr Area kAreaC{16384, 49148};

constexpr unsigned kTagType = 0x9999;
constexpr std::string_view kOwnTag = "51454C00";  // "QEL" and a zero byte
constexpr std::size_t kEntryHead = 10;
constexpr std::size_t kBlockChannels = 48;

unsigned WordAt(std::string_view bytes, std::size_t offset) {
    if (offset + 1 >= bytes.size()) return 0;
    return static_cast<unsigned char>(bytes[offset]) * 256U +
           static_cast<unsigned char>(bytes[offset + 1]);
}

// Entries of one channel-entry record into a name table from `index` on.
void StoreChannelEntries(std::string_view value, std::vector<std::string>& table,
                         std::size_t index) {
    std::size_t pos = 0;
    while (pos < value.size() && index < table.size()) {
        if (value.size() - pos < kEntryHead) break;
        const std::size_t n = static_cast<unsigned char>(value[pos]);
        if (value.size() - pos - kEntryHead < n) break;
        table[index++] = BytesToHex(value.substr(pos, kEntryHead)) +
                         std::string(value.substr(pos + kEntryHead, n));
        pos += kEntryHead + n + (n & 1U);
    }
}

class ImageReader {
public:
    ImageReader(std::string_view image, DebugLog* log) : image_(image), log_(log) {}

    FtaImageTables Read() {
        if (WordAt(image_, 8188) != 0x2000) return std::move(t_);
        if (WordAt(image_, 8190) == 0x7FFC) ReadArea(kAreaA);
        if (WordAt(image_, 16382) == 0x7FFC) ReadArea(kAreaB);
        if (WordAt(image_, 49150) == 0x7FFC) ReadArea(kAreaC);
        JoinAntennaParts();
        return std::move(t_);
    }

private:
    void ReadArea(Area area) {
        std::size_t offset = area.begin;
        while (area.end - offset >= 4) {
            const unsigned type = WordAt(image_, offset);
            const std::size_t length = WordAt(image_, offset + 2);
            const std::size_t padded = length + (length & 1U);
            if (type == 0xFFFF) return;
            if (padded > area.end - offset - 4) return;
            Treat(type, image_.substr(offset, 4 + padded), image_.substr(offset + 4, length));
            offset += 4 + padded;
        }
    }

    void Log(unsigned type, std::string_view record) {
        if (log_ == nullptr) return;
        DebugPrint(log_, static_cast<int>(type), static_cast<int>(record.size() - 4),
                   BytesToHex(record.substr(4)));
    }

    void Treat(unsigned type, std::string_view record, std::string_view value) {
        if (type == kTagType) {
            if (BytesToHex(value) != kOwnTag) return;  // a foreign tag: skipped, not logged
            t_.ImageTagged = true;
        } else if (type == 0x8602 || type == 0x8603) {
            if (t_.ScreenFormat.size() < 8) t_.ScreenFormat.resize(8, ' ');
            const std::string digits = BytesToHex(record.substr(4, 2));
            t_.ScreenFormat.replace(type == 0x8602 ? 0 : 4, 4, Mid(digits + "0000", 1, 4));
        } else if (type == 0x8610) {
            for (std::size_t i = 0; i < kAntennaEntries; ++i) {
                antennaHex_[i] = BytesToHex(Mid(value, 10 * i + 1, 10));
                hexRead_[i] = true;
            }
        } else if (type == 0xE505) {
            for (std::size_t i = 0; i < kAntennaEntries; ++i) {
                antennaName_[i] = std::string(Mid(value, 8 * i + 1, 8));
            }
        } else if (type == 0xE501) {
            t_.SettingsRecord = BytesToHex(record);
        } else if (type == 0x8702 || type == 0x8703) {
            if (value.size() >= 4) {
                (type == 0x8702 ? t_.TVCount : t_.RadioCount) = static_cast<int>(WordAt(value, 2));
            }
        } else if (type >= 0x87AA && type <= 0x87BE) {
            StoreChannelEntries(value, t_.TVNames, kBlockChannels * (type - 0x87AA) + 1);
        } else if (type >= 0x87BF && type <= 0x87D3) {
            StoreChannelEntries(value, t_.RadioNames, kBlockChannels * (type - 0x87BF) + 1);
        } else if ((type >= 0x870A && type <= 0x8733) || (type >= 0x875A && type <= 0x8783) ||
                   type == 0x0000) {
            // bitmaps and per-channel byte lists are regenerated on writing
        } else if ((type & 0xFF00) == 0x9000) {
            t_.Transponders.push_back(BytesToHex(record));
        } else if ((type & 0xFF00) == 0x9500) {
            t_.Pids.push_back(BytesToHex(record));
        } else {
            t_.Others.push_back(BytesToHex(record));
        }
        Log(type, record);
    }

    // An entry holds its 20 hex digits, then its name; a name without its oscillator
    // record gets zero oscillators so that the name stays at character 21.
    void JoinAntennaParts() {
        for (std::size_t i = 0; i < kAntennaEntries; ++i) {
            std::string hex = antennaHex_[i];
            if (!hexRead_[i] && !antennaName_[i].empty()) hex.assign(20, '0');
            t_.Antennas[i] = hex + antennaName_[i];
        }
    }

    std::string_view image_;
    DebugLog* log_;
    FtaImageTables t_;
    std::array<std::string, kAntennaEntries> antennaHex_;
    std::array<std::string, kAntennaEntries> antennaName_;
    std::array<bool, kAntennaEntries> hexRead_{};
};

std::string DecimalText(std::string_view hexDigits) {
    return std::to_string(HexToDec(hexDigits));
}

// First table index for each key (characters [pos1, pos1+len) of the entries).
std::unordered_map<std::string_view, std::size_t> FirstByKey(const std::vector<std::string>& table,
                                                             std::size_t pos1, std::size_t len) {
    std::unordered_map<std::string_view, std::size_t> first;
    first.reserve(table.size());
    for (std::size_t i = 1; i < table.size(); ++i) {
        const std::string_view key = Mid(table[i], pos1, len);
        if (key.size() == len) first.emplace(key, i);
    }
    return first;
}

ChannelList BuildList(const std::vector<std::string>& names, const FtaImageTables& t) {
    const auto pidByKey = FirstByKey(t.Pids, 9, 12);
    const auto tpByKey = FirstByKey(t.Transponders, 13, 8);
    ChannelList list;
    for (std::size_t i = 1; i < names.size() && !names[i].empty(); ++i) {
        const std::string_view s = names[i];
        ChannelRec r;  // fields the image does not hold stay code 0
        r.ChName = Mid(s, 21);
        r.NetId = Mid(s, 5, 4);
        r.TsId = Mid(s, 9, 4);
        r.SerId = Mid(s, 13, 4);
        r.TrId = Mid(s, 17, 4);

        r.VPid = "0000";
        r.APid = "0000";
        r.PPid = "0000";
        if (auto pid = pidByKey.find(Mid(s, 5, 12)); pid != pidByKey.end()) {
            const std::string_view p = t.Pids[pid->second];
            r.VPid = Mid(p, 25, 4);
            r.APid = Mid(p, 29, 4);
            r.PPid = Mid(p, 33, 4);
        }

        if (auto tp = tpByKey.find(Mid(s, 5, 8)); tp == tpByKey.end()) {
            r.Freq = "NO TS  ";
        } else {
            const std::string_view u = t.Transponders[tp->second];
            if (u.size() >= 8 && u.substr(u.size() - 8) == "0F000000") {
                // Untuned layout: whole MHz as a 16-bit number, then the two fraction digits.
                r.Freq = ZeroPadDecimal(HexToDec(Mid(u, 29, 4)), 6) + std::string(Mid(u, 33, 2));
                r.Sat = Mid(u, 38, 3);
                r.LoHi = "0";
                r.Pol = "0";
                r.Srate = Mid(u, 43, 6);
            } else {
                r.Freq = Mid(u, 29, 8);
                r.Sat = Mid(u, 38, 3);
                r.LoHi = DecimalText(Mid(u, 41, 2));
                r.Pol = DecimalText(Mid(u, 43, 2));
                r.Srate = Mid(u, 47, 6);
            }
            r.Fec = DecimalText(Mid(u, 55, 2));
            r.Ant = Mid(u, 21, 4);
            r.AntAux = Mid(u, 25, 4);
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

Result<FtaImageTables> Fill_Array(std::string_view image, DebugLog* log) {
    if (image.size() != kFtaImageSize) return ErrorCode::WrongFileLength;
    return ImageReader(image, log).Read();
}

TvRadioLists Fill_View_Array(const FtaImageTables& tables) {
    return {BuildList(tables.TVNames, tables), BuildList(tables.RadioNames, tables)};
}

}  // namespace qel
