#include "files/dvb_file.h"

#include <algorithm>
#include <cstdint>

#include "bytes/conversions.h"
#include "files/file_io.h"

namespace qel {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr unsigned char kOpenBracketByte = 134;
constexpr unsigned char kCloseBracketByte = 135;

unsigned byte(std::string_view rec, std::size_t i) {
    return static_cast<unsigned char>(rec[i]);
}

unsigned word(std::string_view rec, std::size_t i) {
    return byte(rec, i) * 256U + byte(rec, i + 1);
}

std::string hex2(std::string_view rec, std::size_t i) {
    const unsigned b = byte(rec, i);
    return {kHex[b >> 4], kHex[b & 15U]};
}

std::string hex4(std::string_view rec, std::size_t i) {
    return hex2(rec, i) + hex2(rec, i + 1);
}

// bytes 33-52: the name up to a byte 0, with the receiver's bracket bytes as [ and ].
std::string decodeName(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    std::string name(raw);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) == kOpenBracketByte) c = '[';
        if (static_cast<unsigned char>(c) == kCloseBracketByte) c = ']';
    }
    return name;
}

std::string fecText(unsigned code) {
    const unsigned fec = code > 5 ? code - 2 : (code >= 1 ? code - 1 : 0);
    return std::to_string(fec);
}

char fecCodeDigit(std::string_view fec) {
    const auto n = static_cast<unsigned>(std::clamp<std::int64_t>(decimalValue(fec), 0, 9));
    return kHex[n <= 3 ? n + 1 : n + 2];
}

std::string wordHex(std::int64_t n) {
    return pad4(toHex(static_cast<std::uint32_t>(n)));
}

}  // namespace

std::optional<ChannelRec> decodeDvbRecord(std::string_view rec) {
    if (std::all_of(rec.begin(), rec.end(),
                    [](char c) { return static_cast<unsigned char>(c) == 255; })) {
        return std::nullopt;
    }
    ChannelRec ch = emptyChannel();
    ch.ChName = decodeName(rec.substr(32, 20));
    const unsigned automation = byte(rec, 56);
    ch.AutoPmt = automation == 3 ? "1" : "0";
    ch.AutoPid = (automation == 3 || automation == 1) ? "1" : "0";
    ch.Parental = rec[58] == '!' ? "1" : "0";

    ch.SerId = hex4(rec, 4);
    ch.PmtPid = hex4(rec, 6);
    ch.Freq = zeroPadDecimal(word(rec, 8), 6) + "00";
    ch.Srate = zeroPadDecimal(word(rec, 10), 5) + "0";
    ch.Fec = fecText(byte(rec, 12) & 0x0FU);
    ch.Acbw = hex2(rec, 13);
    ch.TuneFlags = hex4(rec, 14);
    // The polarisation is bit 0 of the flags' first byte; the second byte's low bits are
    // the DiSEqC port.
    ch.Pol = (byte(rec, 14) & 1U) ? "1" : "0";
    ch.VPid = hex4(rec, 16);
    ch.APid = hex4(rec, 18);
    ch.PPid = hex4(rec, 20);
    ch.Aux292 = hex4(rec, 22);
    ch.PmcPid = hex4(rec, 24);
    ch.AvFlags = hex2(rec, 26);
    ch.ServType = hex2(rec, 27);
    ch.TxtPid = hex4(rec, 28);
    ch.TsId = hex4(rec, 30);
    ch.NetId = hex4(rec, 62);
    ch.MatchKey = buildMatchKey(ch);
    return ch;
}

void encodeDvbRecord(const ChannelRec& ch, bool radio, std::string& out) {
    // The first 32 bytes are assembled as hex text and converted in groups of four
    // digits, so a field that is not valid hex zeroes its whole group.
    std::string hex;
    hex.reserve(64);
    hex += "4456534F";
    hex += ch.SerId.view();
    hex += ch.PmtPid.view();
    hex += wordHex(decimalValue(ch.Freq.view().substr(0, 6)));
    hex += wordHex(decimalValue(ch.Srate.view().substr(0, 5)));
    hex += '0';
    hex += fecCodeDigit(ch.Fec.view());
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
    out += hexToBytes(hex);

    for (char c : ch.ChName.view()) {
        if (c == '[') c = static_cast<char>(kOpenBracketByte);
        if (c == ']') c = static_cast<char>(kCloseBracketByte);
        out += c;
    }
    out += "    ";
    const char automation = ch.AutoPmt == "1" ? 3 : (ch.AutoPid == "1" ? 1 : 0);
    out += automation;
    out += ch.Parental == "1" ? " !   " : "     ";
    out += hexToBytes(ch.NetId.view());
}

Result<TvRadioLists> parseDvb(std::string_view bytes, DebugLog* log) {
    if (bytes.size() > kMaxDvbFileSize) return ErrorCode::FileTooLarge;
    if (bytes.size() % kDvbRecordSize != 0) return ErrorCode::WrongFileLength;
    // Each list gets its room once: a record takes more room as a channel than as bytes.
    std::size_t radioCount = 0;
    for (std::size_t pos = 0; pos < bytes.size(); pos += kDvbRecordSize)
        radioCount += bytes[pos + 27] == '\x02' ? 1 : 0;
    TvRadioLists lists;
    lists.radio.reserve(radioCount);
    lists.tv.reserve(bytes.size() / kDvbRecordSize - radioCount);
    for (std::size_t pos = 0; pos < bytes.size(); pos += kDvbRecordSize) {
        auto ch = decodeDvbRecord(bytes.substr(pos, kDvbRecordSize));
        if (!ch) continue;
        (ch->ServType == "02" ? lists.radio : lists.tv).push_back(*ch);
        if (ch->ServType != "01") debugPrint(log, 0, 0, ch->ChName.view());
    }
    return lists;
}

std::string encodeDvb(const ChannelList& tv, const ChannelList& radio) {
    std::string out;
    out.reserve((tv.size() + radio.size()) * kDvbRecordSize);
    for (const auto& ch : tv)
        encodeDvbRecord(ch, false, out);
    for (const auto& ch : radio)
        encodeDvbRecord(ch, true, out);
    return out;
}

Result<TvRadioLists> readDvbFile(const std::string& path, DebugLog* log) {
    auto bytes = readFileBytes(path, kMaxDvbFileSize);
    if (!bytes) return bytes.status();
    return parseDvb(*bytes, log);
}

}  // namespace qel
