// The text import: channel lists from the 100-character rows of an import-compatible export,
// which a user may have edited; and the decoding of text files that both imports share.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/channel_lists.h"
#include "model/debug_log.h"
#include "model/errors.h"

namespace qel {

// No channel text file comes near this size.
inline constexpr std::size_t kMaxImportFileSize = 8 * 1024 * 1024;

// Where an import refused its file, for a message naming it: the row (from 1), the
// 1-based column (character position of the field in a text line, field number in a CSV
// row; 0 for the whole row) and the field (the record field it fills or the CSV column's
// name; empty for the whole row).
struct ImportProblem {
    std::size_t row = 0;
    std::size_t column = 0;
    std::string field;
};

// A text file as characters of one byte each. UTF-8 (a byte-order mark skipped) unless
// the bytes are not valid UTF-8, then one byte per character. A character above 255 is
// held as '?' and its offset noted in `wide`, ascending, so the reader can refuse it
// where it finds it.
struct DecodedText {
    std::string text;
    std::vector<std::size_t> wide;
};
DecodedText decodeText(std::string_view bytes);

// The lists of an import-compatible text: "02" service types to RADIO, the rest to TV, a
// 20-character line as a satellite header entry. Lines end in LF or CR LF; empty lines
// at the end of the file are no rows. Refused without a row: a text of no row at all
// (NoChannelsInFile), more than kMaxChannelsInFile rows (FileTooLarge). Refused,
// with the row in the status detail and in `problem`: a line of neither 100 nor 20
// characters (WrongLineLength, before any other check), a character above 255
// (CharacterNotLatin1), a field that is not what its column takes (FieldNotNumber: hex
// digits for ids, PIDs, service type and last word, "0" and two hex digits for the
// bandwidth, decimal digits for frequency and symbol rate, H or V, a FEC text such as
// "3/4", 0 or 1 for 12 V), a DiSEqC port digit outside 1-4 (DiseqcPortOutOfRange).
// The status detail continues the error's text: "12", or "12 (Freq)" naming the field.
// The names go to the debug log.
Result<TvRadioLists> parseImportText(std::string_view bytes, ImportProblem* problem = nullptr,
                                     DebugLog* log = nullptr);

// Reads a text file and parses it as above; a file above kMaxImportFileSize is refused.
Result<TvRadioLists> readImportTextFile(const std::string& path, ImportProblem* problem = nullptr,
                                        DebugLog* log = nullptr);

// The English message of a refusal: the error's text followed by its detail when the
// detail continues it ("Wrong lenght in row 12"), else the text alone.
std::string importMessage(const Status& status);

// Refuses with `code` at `row`/`column`, naming `field`; fills `problem` when given.
Error importError(ErrorCode code, std::size_t row, std::size_t column, std::string_view field,
                  ImportProblem* problem);

}  // namespace qel
