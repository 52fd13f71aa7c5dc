#include "files/csv_file.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <vector>

#include "files/dvb_file.h"
#include "files/file_io.h"
#include "files/text_export.h"

namespace qel {

namespace {

struct CsvColumn {
    std::string_view name;
    std::size_t width;
    bool hex;
};

bool isHexField(std::string_view name) {
    static constexpr std::string_view kHexFields[] = {
        "VPid", "APid",      "PPid",   "NetId",   "TsId",    "SerId",
        "TrId", "Ant",       "AntAux", "PmtPid",  "PmcPid",  "TxtPid",
        "Acbw", "TuneFlags", "Aux292", "AvFlags", "ServType"};
    return std::find(std::begin(kHexFields), std::end(kHexFields), name) != std::end(kHexFields);
}

// The record fields a CSV row carries, in record order.
const std::vector<CsvColumn>& recordColumns() {
    static const std::vector<CsvColumn> columns = [] {
        std::vector<CsvColumn> v;
        ChannelRec r;
        forEachField(r, [&v](std::string_view name, const auto& field) {
            if (name == "MatchKey") return;
            v.push_back({name, std::decay_t<decltype(field)>::width, isHexField(name)});
        });
        return v;
    }();
    return columns;
}

constexpr std::size_t kColumnCount = 28;  // the list and 27 record fields

bool needsQuotes(std::string_view s) {
    return s.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!s.empty() && (s.front() == ' ' || s.back() == ' '));
}

// A spreadsheet runs a cell that begins with one of these as a formula.
bool startsLikeFormula(std::string_view s) {
    return !s.empty() && std::string_view("=+-@\t\r").find(s.front()) != std::string_view::npos;
}

void appendField(std::string& out, std::string_view s) {
    out += ',';
    const bool quoted = needsQuotes(s);
    if (quoted) out += '"';
    // A leading apostrophe makes the spreadsheet show the cell as text; the import takes
    // one off, so a field that begins with an apostrophe of its own gets one too.
    if (startsLikeFormula(s) || (!s.empty() && s.front() == kCsvTextMark)) out += kCsvTextMark;
    if (!quoted) {
        out += s;
        return;
    }
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Reads the records of RFC 4180 text one at a time.
class CsvReader {
public:
    enum class Outcome { Record, End, WrongQuoting, TooManyFields };

    explicit CsvReader(std::string_view text) : t_(text) {}

    // The next record's fields and where each lies in the text (quotes included); a record
    // of more than `maxFields` fields is left after that many and one more.
    Outcome next(std::vector<std::string>& fields, std::vector<std::size_t>& starts,
                 std::vector<std::size_t>& ends, std::size_t maxFields) {
        fields.clear();
        starts.clear();
        ends.clear();
        if (pos_ >= t_.size()) return Outcome::End;
        for (;;) {
            if (fields.size() > maxFields) return Outcome::TooManyFields;
            starts.push_back(pos_);
            std::string& value = fields.emplace_back();
            if (!readField(value)) return Outcome::WrongQuoting;
            ends.push_back(pos_);
            if (pos_ >= t_.size()) return Outcome::Record;
            const char c = t_[pos_];
            pos_ += c == '\r' ? 2 : 1;
            if (c != ',') return Outcome::Record;
        }
    }

private:
    bool atRowEnd(std::size_t at) const {
        return at >= t_.size() || t_[at] == '\n' ||
               (t_[at] == '\r' && at + 1 < t_.size() && t_[at + 1] == '\n');
    }

    // Leaves pos_ at the comma or line end after the field.
    bool readField(std::string& value) {
        if (pos_ < t_.size() && t_[pos_] == '"') {
            ++pos_;
            for (;;) {
                const std::size_t quote = t_.find('"', pos_);
                if (quote == std::string_view::npos) return false;
                value.append(t_.substr(pos_, quote - pos_));
                pos_ = quote + 1;
                if (pos_ < t_.size() && t_[pos_] == '"') {
                    value += '"';
                    ++pos_;
                    continue;
                }
                return atRowEnd(pos_) || t_[pos_] == ',';
            }
        }
        std::size_t end = t_.find_first_of(",\"\r\n", pos_);
        if (end == std::string_view::npos) end = t_.size();
        // A quote or a lone carriage return belongs in a quoted field only.
        if (end < t_.size() && t_[end] != ',' && !atRowEnd(end)) return false;
        value.assign(t_.substr(pos_, end - pos_));
        pos_ = end;
        return true;
    }

    std::string_view t_;
    std::size_t pos_ = 0;
};

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Hex digits, or the code-0 characters of a field that was never filled.
bool isHexText(std::string_view s) {
    return std::all_of(s.begin(), s.end(), isHexDigit) ||
           std::all_of(s.begin(), s.end(), [](char c) { return c == '\0'; });
}

// Only ASCII letters: the 8-bit characters of a name are no letters to change here.
std::string upperCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

std::string_view cut(std::string_view s) {
    return s.substr(0, 32);
}

}  // namespace

std::string exportCsv(const ChannelList& tv, const ChannelList& radio) {
    std::string out(kCsvListColumn);
    for (const CsvColumn& col : recordColumns()) {
        out += ',';
        out += col.name;
    }
    out += "\r\n";
    out.reserve(out.size() + (tv.size() + radio.size()) * 170);
    for (const auto& [list, name] :
         {std::pair<const ChannelList&, std::string_view>{tv, "TV"},
          std::pair<const ChannelList&, std::string_view>{radio, "RADIO"}}) {
        for (const ChannelRec& ch : list) {
            out += name;
            forEachField(ch, [&out](std::string_view field, const auto& value) {
                if (field != "MatchKey") appendField(out, value.view());
            });
            out += "\r\n";
        }
    }
    return latin1ToUtf8(out);
}

Result<TvRadioLists> parseCsv(std::string_view bytes, ImportProblem* problem) {
    const DecodedText decoded = decodeText(bytes);
    std::string_view text = decoded.text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);

    const std::vector<CsvColumn>& columns = recordColumns();
    CsvReader reader(text);
    std::vector<std::string> fields;
    std::vector<std::size_t> starts;
    std::vector<std::size_t> ends;
    auto wide = decoded.wide.begin();
    // Refuses a character above 255 in any field of the record just read.
    const auto wideField = [&](std::size_t& column) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            wide = std::lower_bound(wide, decoded.wide.end(), starts[i]);
            if (wide != decoded.wide.end() && *wide < ends[i]) {
                column = i + 1;
                return true;
            }
        }
        return false;
    };

    // The header: where each column lies in a row. Index 0 is the list, k the k-th field.
    std::array<std::size_t, kColumnCount> at{};
    at.fill(kColumnCount);
    // A header of more fields than there are columns names one twice or one that is
    // none: the first of those is among the fields read.
    const CsvReader::Outcome header = reader.next(fields, starts, ends, kColumnCount);
    if (header == CsvReader::Outcome::End) return ErrorCode::NoChannelsInFile;
    if (header == CsvReader::Outcome::WrongQuoting) {
        return importError(ErrorCode::CsvWrongQuoting, 1, fields.size(), {}, problem);
    }
    std::size_t column = 0;
    if (wideField(column)) {
        return importError(ErrorCode::CharacterNotLatin1, 1, column, {}, problem);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::size_t k = fields[i] == kCsvListColumn ? 0 : kColumnCount;
        for (std::size_t c = 0; c < columns.size() && k == kColumnCount; ++c) {
            if (fields[i] == columns[c].name) k = c + 1;
        }
        if (k == kColumnCount || at[k] != kColumnCount) {
            return importError(ErrorCode::CsvUnknownColumn, 1, i + 1, cut(fields[i]), problem);
        }
        at[k] = i;
    }
    for (std::size_t k = 0; k < kColumnCount; ++k) {
        if (at[k] == kColumnCount) {
            const std::string_view name = k == 0 ? kCsvListColumn : columns[k - 1].name;
            return importError(ErrorCode::CsvMissingColumn, 1, 0, name, problem);
        }
    }

    // What each position of a row holds: 0 the list, k the k-th record field.
    std::array<std::size_t, kColumnCount> holds{};
    for (std::size_t k = 0; k < kColumnCount; ++k)
        holds[at[k]] = k;
    const auto nameAt = [&](std::size_t i) {
        return holds[i] == 0 ? kCsvListColumn : columns[holds[i] - 1].name;
    };

    TvRadioLists lists;
    for (std::size_t row = 2;; ++row) {
        const CsvReader::Outcome outcome = reader.next(fields, starts, ends, kColumnCount);
        if (outcome == CsvReader::Outcome::End) break;
        if (outcome == CsvReader::Outcome::WrongQuoting) {
            return importError(ErrorCode::CsvWrongQuoting, row, fields.size(), {}, problem);
        }
        if (row - 1 > kMaxChannelsInFile) return ErrorCode::FileTooLarge;
        if (outcome == CsvReader::Outcome::TooManyFields || fields.size() != kColumnCount) {
            return importError(ErrorCode::CsvWrongFieldCount, row, 0, {}, problem);
        }
        if (wideField(column)) {
            return importError(ErrorCode::CharacterNotLatin1, row, column, nameAt(column - 1),
                               problem);
        }
        // Checked left to right, so the first fault in the row is the one named.
        bool radio = false;
        for (std::size_t i = 0; i < kColumnCount; ++i) {
            std::string& value = fields[i];
            if (!value.empty() && value.front() == kCsvTextMark) value.erase(0, 1);
            if (holds[i] == 0) {
                const std::string list = upperCase(value);
                if (list != "TV" && list != "RADIO") {
                    return importError(ErrorCode::CsvWrongList, row, i + 1, kCsvListColumn,
                                       problem);
                }
                radio = list == "RADIO";
                continue;
            }
            const CsvColumn& col = columns[holds[i] - 1];
            const bool fits =
                col.name == "ChName" ? value.size() <= col.width : value.size() == col.width;
            if (!fits) {
                return importError(ErrorCode::CsvWrongFieldWidth, row, i + 1, col.name, problem);
            }
            if (col.hex && !isHexText(value)) {
                return importError(ErrorCode::FieldNotNumber, row, i + 1, col.name, problem);
            }
        }
        ChannelRec rec = emptyChannel();
        std::size_t k = 0;
        forEachField(rec, [&](std::string_view name, auto& field) {
            if (name == "MatchKey") return;
            const std::string& value = fields[at[++k]];
            field = columns[k - 1].hex ? upperCase(value) : value;
        });
        rec.MatchKey = buildMatchKey(rec);
        (radio ? lists.radio : lists.tv).push_back(rec);
    }
    if (lists.tv.empty() && lists.radio.empty()) return ErrorCode::NoChannelsInFile;
    return lists;
}

Result<TvRadioLists> readCsvFile(const std::string& path, ImportProblem* problem) {
    auto bytes = readFileBytes(path, kMaxImportFileSize);
    if (!bytes) return bytes.status();
    return parseCsv(*bytes, problem);
}

}  // namespace qel
