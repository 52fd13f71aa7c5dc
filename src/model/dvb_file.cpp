#include "model/dvb_file.h"

#include <algorithm>
#include <cstdint>

#include "model/conversions.h"
#include "model/file_io.h"
#include "model/workspace.h"

namespace qel {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr unsigned char kOpenBracketByte = 134;
constexpr unsigned char kCloseBracketByte = 135;

unsigned Byte(std::string_view rec, std::size_t i) {
    return static_cast<unsigned char>(rec[i]);
}

unsigned Word(std::string_view rec, std::size_t i) {
    return Byte(rec, i) * 256U + Byte(rec, i + 1);
}

std::string Hex2(std::string_view rec, std::size_t i) {
    const unsigned b = Byte(rec, i);
    return {kHex[b >> 4], kHex[b & 15U]};
}

std::string Hex4(std::string_view rec, std::size_t i) {
    return Hex2(rec, i) + Hex2(rec, i + 1);
}

// Bytes 33-52: the name up to a byte 0, with the receiver's bracket bytes as [ and ].
std::string DecodeName(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    std::string name(raw);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) == kOpenBracketByte) c = '[';
        if (static_cast<unsigned char>(c) == kCloseBracketByte) c = ']';
    }
    return name;
}

std::string FecText(unsigned code) {
    const unsigned fec = code > 5 ? code - 2 : (code >= 1 ? code - 1 : 0);
    return std::to_string(fec);
}

char FecCodeDigit(std::string_view fec) {
    const auto n = static_cast<unsigned>(std::clamp<std::int64_t>(ValDec(fec), 0, 9));
    return kHex[n <= 3 ? n + 1 : n + 2];
}

std::string WordHex(std::int64_t n) {
    return Pad4(ToHex(static_cast<std::uint32_t>(n)));
}

}  // namespace

std::optional<ChannelRec> DecodeDvbRecord(std::string_view rec) {
    if (std::all_of(rec.begin(), rec.end(),
                    [](char c) { return static_cast<unsigned char>(c) == 255; })) {
        return std::nullopt;
    }
    ChannelRec ch = EmptyChannel();
    ch.ChName = DecodeName(rec.substr(32, 20));
    const unsigned automation = Byte(rec, 56);
    ch.AutoPmt = automation == 3 ? "1" : "0";
    ch.AutoPid = (automation == 3 || automation == 1) ? "1" : "0";
    ch.Parental = rec[58] == '!' ? "1" : "0";

    ch.SerId = Hex4(rec, 4);
    ch.PmtPid = Hex4(rec, 6);
    ch.Freq = ZeroPadDecimal(Word(rec, 8), 6) + "00";
    ch.Srate = ZeroPadDecimal(Word(rec, 10), 5) + "0";
    ch.Fec = FecText(Byte(rec, 12) & 0x0FU);
    ch.Acbw = Hex2(rec, 13);
    ch.TuneFlags = Hex4(rec, 14);
    ch.Pol = (Byte(rec, 15) & 1U) ? "1" : "0";
    ch.VPid = Hex4(rec, 16);
    ch.APid = Hex4(rec, 18);
    ch.PPid = Hex4(rec, 20);
    ch.Aux292 = Hex4(rec, 22);
    ch.PmcPid = Hex4(rec, 24);
    ch.AvFlags = Hex2(rec, 26);
    ch.ServType = Hex2(rec, 27);
    ch.TxtPid = Hex4(rec, 28);
    ch.TsId = Hex4(rec, 30);
    ch.NetId = Hex4(rec, 62);
    ch.MatchKey = BuildMatchKey(ch);
    return ch;
}

void EncodeDvbRecord(const ChannelRec& ch, bool radio, std::string& out) {
    // The first 32 bytes are assembled as hex text and converted in groups of four
    // digits, so a field that is not valid hex zeroes its whole group.
    std::string hex;
    hex.reserve(64);
    hex += "4456534F";
    hex += ch.SerId.view();
    hex += ch.PmtPid.view();
    hex += WordHex(ValDec(ch.Freq.view().substr(0, 6)));
    hex += WordHex(ValDec(ch.Srate.view().substr(0, 5)));
    hex += '0';
    hex += FecCodeDigit(ch.Fec.view());
    hex += ch.Acbw.view();
    hex += ch.TuneFlags.view();
    hex += ch.VPid.view();
    hex += ch.APid.view();
    hex += ch.PPid.view();
    hex += ch.Aux292.view();
    hex += ch.PmcPid.view();
    hex += ch.AvFlags.view();
    hex += radio ? "02" : "01";
    hex += ch.TxtPid.view();
    hex += ch.TsId.view();
    out += HexToBytes(hex);

    for (char c : ch.ChName.view()) {
        if (c == '[') c = static_cast<char>(kOpenBracketByte);
        if (c == ']') c = static_cast<char>(kCloseBracketByte);
        out += c;
    }
    out += "    ";
    const char automation = ch.AutoPmt == "1" ? 3 : (ch.AutoPid == "1" ? 1 : 0);
    out += automation;
    out += ch.Parental == "1" ? " !   " : "     ";
    out += HexToBytes(ch.NetId.view());
}

Result<TvRadioLists> ParseDvb(std::string_view bytes, DebugLog* log) {
    if (bytes.size() % kDvbRecordSize != 0) return ErrorCode::WrongFileLength;
    TvRadioLists lists;
    for (std::size_t pos = 0; pos < bytes.size(); pos += kDvbRecordSize) {
        auto ch = DecodeDvbRecord(bytes.substr(pos, kDvbRecordSize));
        if (!ch) continue;
        (ch->ServType == "02" ? lists.radio : lists.tv).push_back(*ch);
        if (ch->ServType != "01") DebugPrint(log, 0, 0, ch->ChName.view());
    }
    return lists;
}

std::string EncodeDvb(const ChannelList& tv, const ChannelList& radio) {
    std::string out;
    out.reserve((tv.size() + radio.size()) * kDvbRecordSize);
    for (const auto& ch : tv)
        EncodeDvbRecord(ch, false, out);
    for (const auto& ch : radio)
        EncodeDvbRecord(ch, true, out);
    return out;
}

Status Read_Dvb(Workspace& ws, std::string_view source, bool upgrade, DebugLog* log) {
    const bool fromTransfer = source.substr(0, kTransferMagic.size()) == kTransferMagic;
    std::string fileBytes;
    if (!fromTransfer) {
        auto read = ReadFileBytes(std::string(source), kMaxDvbFileSize);
        if (!read) return read.error();
        fileBytes = std::move(read.value());
    }
    auto parsed = ParseDvb(fromTransfer ? std::string_view(ws.TransferData) : fileBytes, log);
    if (!parsed) return parsed.error();

    if (upgrade) {
        ws.TVUpgrade = std::move(parsed->tv);
        ws.RadioUpgrade = std::move(parsed->radio);
    } else {
        ws.Initialize();
        ResetImageTables(ws.ImageTables);
        ws.TVList = std::move(parsed->tv);
        ws.RadioList = std::move(parsed->radio);
        ws.CurrentList = (ws.TVList.empty() && !ws.RadioList.empty()) ? ListId::Radio : ListId::TV;
        ws.FileType = FileKind::DVB;
        ws.ChannelsModified = false;
    }
    ws.TransferData.clear();
    return {};
}

Status Write_Dvb(Workspace& ws, std::string_view target) {
    std::string records = EncodeDvb(ws.TVList, ws.RadioList);
    if (target.substr(0, kTransferMagic.size()) == kTransferMagic) {
        ws.TransferData += records;
        return {};
    }
    return WriteFileAtomic(std::string(target), records);
}

}  // namespace qel
