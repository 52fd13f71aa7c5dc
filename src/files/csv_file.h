// Channel lists as CSV for spreadsheets (RFC 4180, UTF-8): a header row naming the columns,
// then one row per channel with its list (TV or RADIO) and every field of the record but
// MatchKey, each in the record's own text, so that a list goes out and comes back unchanged.
#pragma once

#include <string>
#include <string_view>

#include "files/text_import.h"
#include "model/channel_lists.h"
#include "model/errors.h"

namespace qel {

// The name of the column that says which list a row belongs to.
inline constexpr std::string_view kCsvListColumn = "list";

// What a field that a spreadsheet would take as a formula begins with in a CSV.
inline constexpr char kCsvTextMark = '\'';

// The CSV of both lists, TV first, in UTF-8, every row (the header too) ended by CR LF.
// A field is quoted when it holds a comma, a quote or a line end, or begins or ends with a
// blank, so that no spreadsheet trims it. A field that begins with =, +, -, @, a tab or a
// carriage return (which a spreadsheet would run as a formula) or with an apostrophe gets
// kCsvTextMark in front, inside the quotes if it has them.
std::string exportCsv(const ChannelList& tv, const ChannelList& radio);

// The lists of a CSV: the header names "list" and the 27 record fields (MatchKey is rebuilt)
// once each, in any order; a row has as many fields as the header; one leading
// kCsvTextMark is taken off every field of a row (not the header's); LF alone ends rows too,
// and empty lines at the end are no rows. A channel name may be shorter than 20 characters
// (it is filled with blanks), every other field is exactly as wide as the record's, and a
// hex field holds hex digits (either case; kept upper-case). The text is decoded as
// decodeText does. Refused without a row: no row after the header, or no header either
// (NoChannelsInFile), more than kMaxChannelsInFile rows (FileTooLarge). Refused, with the
// row (the header is row 1) and column in the status detail and in `problem`:
// CsvUnknownColumn, CsvMissingColumn, CsvWrongFieldCount, CsvWrongFieldWidth, FieldNotNumber,
// CsvWrongList, CsvWrongQuoting, CharacterNotLatin1.
Result<TvRadioLists> parseCsv(std::string_view bytes, ImportProblem* problem = nullptr);

// Reads a CSV file and parses it as above; a file above kMaxImportFileSize is refused.
Result<TvRadioLists> readCsvFile(const std::string& path, ImportProblem* problem = nullptr);

}  // namespace qel
