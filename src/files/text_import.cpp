#include "files/text_import.h"

#include <algorithm>

#include "files/dvb_file.h"
#include "files/file_io.h"

namespace qel {

namespace {

constexpr std::size_t kRowLength = 100;
constexpr std::size_t kHeaderLength = 20;

// The code point of the UTF-8 sequence at bytes[i], its length in `len`; -1 when the
// bytes there are no valid sequence (overlong forms and surrogates included).
long utf8At(std::string_view bytes, std::size_t i, std::size_t& len) {
    const auto byteAt = [&bytes](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned b = byteAt(i);
    unsigned lo = 0x80;
    unsigned hi = 0xBF;
    unsigned cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1FU;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0FU;
        if (b == 0xE0) lo = 0xA0;
        if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07U;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;
    } else {
        return -1;
    }
    if (bytes.size() - i < len) return -1;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned c = byteAt(i + k);
        if (c < (k == 1 ? lo : 0x80U) || c > (k == 1 ? hi : 0xBFU)) return -1;
        cp = (cp << 6) | (c & 0x3FU);
    }
    return static_cast<long>(cp);
}

enum class Kind { Name, Hex, Decimal, Polarisation, Fec, Bandwidth, Voltage, Diseqc };

using Store = void (*)(ChannelRec&, const std::string&);

struct Column {
    std::size_t pos;  // 1-based
    std::size_t width;
    const char* field;
    Kind kind;
    Store store;  // given the field's text as the record keeps it
};

// In line order: the polarisation is stored before the DiSEqC port, which needs it.
constexpr Column kColumns[] = {
    {1, 20, "ChName", Kind::Name, [](ChannelRec& r, const std::string& t) { r.ChName = t; }},
    {22, 4, "NetId", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.NetId = t; }},
    {27, 4, "TsId", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.TsId = t; }},
    {32, 4, "SerId", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.SerId = t; }},
    {37, 6, "Freq", Kind::Decimal, [](ChannelRec& r, const std::string& t) { r.Freq = t + "00"; }},
    {44, 1, "Pol", Kind::Polarisation, [](ChannelRec& r, const std::string& t) { r.Pol = t; }},
    {46, 5, "Srate", Kind::Decimal, [](ChannelRec& r, const std::string& t) { r.Srate = t + "0"; }},
    {52, 3, "Fec", Kind::Fec, [](ChannelRec& r, const std::string& t) { r.Fec = t; }},
    {56, 4, "VPid", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.VPid = t; }},
    {61, 4, "APid", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.APid = t; }},
    {66, 4, "PPid", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.PPid = t; }},
    {71, 4, "PmcPid", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.PmcPid = t; }},
    {76, 4, "PmtPid", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.PmtPid = t; }},
    {81, 4, "TxtPid", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.TxtPid = t; }},
    {86, 3, "Acbw", Kind::Bandwidth, [](ChannelRec& r, const std::string& t) { r.Acbw = t; }},
    {90, 1, "AvFlags", Kind::Voltage, [](ChannelRec& r, const std::string& t) { r.AvFlags = t; }},
    {92, 1, "TuneFlags", Kind::Diseqc,
     [](ChannelRec& r, const std::string& t) {
         // The record keeps the port as 0-3 beside the polarisation.
         r.TuneFlags = std::string{'0', r.Pol[0], '0', static_cast<char>(t[0] - 1)};
     }},
    {94, 2, "ServType", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.ServType = t; }},
    {97, 4, "Aux292", Kind::Hex, [](ChannelRec& r, const std::string& t) { r.Aux292 = t; }},
};

constexpr std::string_view kFecTexts[] = {"0/0", "1/2", "2/3", "3/4", "5/6", "7/8"};

bool isDecimal(char c) {
    return c >= '0' && c <= '9';
}

bool isHex(char c) {
    return isDecimal(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text of a field as the record keeps it, or false when the column does not hold
// what it takes.
bool fieldText(const Column& col, std::string_view s, std::string& text) {
    text.clear();
    switch (col.kind) {
        case Kind::Name:
            text = s;
            return true;
        case Kind::Hex:
            if (!std::all_of(s.begin(), s.end(), isHex)) return false;
            std::transform(s.begin(), s.end(), std::back_inserter(text), upper);
            return true;
        case Kind::Decimal:
            text = s;
            return std::all_of(s.begin(), s.end(), isDecimal);
        case Kind::Polarisation:
            if (upper(s[0]) != 'H' && upper(s[0]) != 'V') return false;
            text = upper(s[0]) == 'H' ? "0" : "1";
            return true;
        case Kind::Fec:
            // A text the receiver has no code for keeps the record's "0" (no FEC given).
            text = "0";
            for (std::size_t i = 0; i < std::size(kFecTexts); ++i) {
                if (s == kFecTexts[i]) text = std::to_string(i);
            }
            return true;
        case Kind::Bandwidth:
            // One byte: the leading digit is always 0.
            if (s[0] != '0' || !isHex(s[1]) || !isHex(s[2])) return false;
            text = {upper(s[1]), upper(s[2])};
            return true;
        case Kind::Voltage:
            // Only "0" is off: the export writes 0 or 1, a hand edit may write anything else.
            text = s[0] == '0' ? "00" : "10";
            return true;
        case Kind::Diseqc:
            text = s;
            return s[0] >= '1' && s[0] <= '4';
    }
    return false;
}

std::string_view fieldAt(std::size_t pos) {
    for (const Column& col : kColumns) {
        if (pos >= col.pos && pos < col.pos + col.width) return col.field;
    }
    return {};
}

Result<ChannelRec> parseRow(std::string_view line, std::size_t row, ImportProblem* problem) {
    ChannelRec r = emptyChannel();
    if (line.size() == kHeaderLength) {
        // A name alone: a satellite header entry, every other field at its default.
        r.ChName = line;
        r.MatchKey = buildMatchKey(r);
        return r;
    }
    std::string text;
    for (const Column& col : kColumns) {
        if (!fieldText(col, line.substr(col.pos - 1, col.width), text)) {
            const ErrorCode code = col.kind == Kind::Diseqc ? ErrorCode::DiseqcPortOutOfRange
                                                            : ErrorCode::FieldNotNumber;
            return importError(code, row, col.pos, col.field, problem);
        }
        col.store(r, text);
    }
    r.MatchKey = buildMatchKey(r);
    return r;
}

}  // namespace

Error importError(ErrorCode code, std::size_t row, std::size_t column, std::string_view field,
                  ImportProblem* problem) {
    if (problem != nullptr) *problem = ImportProblem{row, column, std::string(field)};
    std::string detail = std::to_string(row);
    if (!field.empty()) detail += " (" + std::string(field) + ")";
    return Error{code, std::move(detail)};
}

DecodedText decodeText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    DecodedText d;
    d.text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            d.text += bytes[i++];
            continue;
        }
        std::size_t len = 0;
        const long cp = utf8At(bytes, i, len);
        if (cp < 0) {
            // Not UTF-8: a file of one byte per character, as older exports wrote.
            return DecodedText{std::string(bytes), {}};
        }
        if (cp > 255) d.wide.push_back(d.text.size());
        d.text += cp > 255 ? '?' : static_cast<char>(cp);
        i += len;
    }
    return d;
}

namespace {

// The lines of a text one after the other, each without its LF or CR LF.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    // The next line and where it begins; false after the last.
    bool next(std::string_view& line, std::size_t& begin) {
        if (pos_ >= text_.size()) return false;
        begin = pos_;
        std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (end == std::string_view::npos) end = text_.size();
        if (end > begin && text_[end - 1] == '\r') --end;
        line = text_.substr(begin, end - begin);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isRadioRow(std::string_view line) {
    return line.size() == kRowLength && line.substr(93, 2) == "02";
}

Result<TvRadioLists> parseDecoded(const DecodedText& decoded, ImportProblem* problem,
                                  DebugLog* log) {
    const std::string_view text = decoded.text;

    // Every line is checked before any is read, as a line of the wrong length says the
    // file is not what the import reads. The lists then get their room once.
    // Empty lines at the end are no rows: an empty line is wrong only before another line.
    std::size_t rows = 0;
    std::size_t radioRows = 0;
    std::size_t firstEmpty = 0;
    std::string_view line;
    std::size_t begin = 0;
    std::size_t row = 0;
    for (LineCursor lines(text); lines.next(line, begin);) {
        ++row;
        if (line.empty()) {
            if (firstEmpty == 0) firstEmpty = row;
            continue;
        }
        if (firstEmpty != 0) {
            return importError(ErrorCode::WrongLineLength, firstEmpty, 0, {}, problem);
        }
        if (line.size() != kRowLength && line.size() != kHeaderLength) {
            return importError(ErrorCode::WrongLineLength, row, 0, {}, problem);
        }
        if (row > kMaxChannelsInFile) return ErrorCode::FileTooLarge;
        rows = row;
        radioRows += isRadioRow(line) ? 1 : 0;
    }
    if (rows == 0) return ErrorCode::NoChannelsInFile;

    TvRadioLists lists;
    lists.tv.reserve(rows - radioRows);
    lists.radio.reserve(radioRows);
    auto wide = decoded.wide.begin();
    row = 0;
    for (LineCursor lines(text); row < rows && lines.next(line, begin);) {
        ++row;
        wide = std::lower_bound(wide, decoded.wide.end(), begin);
        if (wide != decoded.wide.end() && *wide < begin + line.size()) {
            const std::size_t pos = *wide - begin + 1;
            return importError(ErrorCode::CharacterNotLatin1, row, pos, fieldAt(pos), problem);
        }
        auto rec = parseRow(line, row, problem);
        if (!rec) return rec.status();
        debugPrint(log, 0, 0, rec->ChName.view());
        (rec->ServType == "02" ? lists.radio : lists.tv).push_back(std::move(rec.value()));
    }
    return lists;
}

}  // namespace

Result<TvRadioLists> parseImportText(std::string_view bytes, ImportProblem* problem,
                                     DebugLog* log) {
    return parseDecoded(decodeText(bytes), problem, log);
}

Result<TvRadioLists> readImportTextFile(const std::string& path, ImportProblem* problem,
                                        DebugLog* log) {
    DecodedText decoded;
    {
        auto bytes = readFileBytes(path, kMaxImportFileSize);
        if (!bytes) return bytes.status();
        decoded = decodeText(*bytes);
    }
    return parseDecoded(decoded, problem, log);
}

std::string importMessage(const Status& status) {
    std::string text(errorText(status.error()));
    const bool continues = status.error() >= ErrorCode::WrongLineLength &&
                           status.error() <= ErrorCode::CsvWrongQuoting;
    if (continues) return text + status.detail();
    if (!status.detail().empty()) text += " (" + status.detail() + ")";
    return text;
}

}  // namespace qel
