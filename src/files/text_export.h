// The text export of both channel lists: a paged, printable table, bare rows, or the rows
// the text import reads back. The texts are one byte per character, as the names hold them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/channel_lists.h"

namespace qel {

enum class TextForm {
    Headed,            // pages with a header, columns closed by " |", rows numbered
    Plain,             // bare rows, columns followed by " "
    ImportCompatible,  // the fixed 100-character rows the text import reads
};

// The columns a Headed or Plain export writes besides the name. ImportCompatible ignores
// them: its rows always carry every column but the antenna.
struct ExportColumns {
    bool ids = true;
    bool antenna = true;  // written for an FTA image only
    bool frequency = true;
    bool polarisation = true;
    bool symbolRate = true;
    bool fec = true;
    bool pids = true;
    bool bandwidth = true;
};

struct ExportOptions {
    TextForm form = TextForm::Headed;
    ExportColumns columns;
    // Ids, PIDs and bandwidth in decimal; the id and PID columns are then 5 wide, so that
    // no value loses digits. ImportCompatible rows are hexadecimal whatever this says.
    bool decimal = false;
    // The lists come from an FTA image: the antenna column may be written, and the PIDs
    // are the video, audio and PCR PIDs only (a DVB98 list adds PMC, PMT and teletext).
    bool ftaImage = false;
};

// The texts of the page headers, already in the user's language, one byte per character.
struct ExportTexts {
    std::string title;     // "QEL - Version " and the program's version
    std::string fileName;  // the loaded file's name as the main window shows it
    std::string date;      // today, as exportDate writes it
    std::string tvTitle;
    std::string radioTitle;
    std::string hexNote;      // the line that says the numbers are hexadecimal
    std::string decimalNote;  // the line that says they are decimal
    std::string nameHeader;   // "Name", the name column's header
    // The word before the page number. The text file keeps "Page" in every language; the
    // printed pages say it in the language in use.
    std::string page = "Page";
};

// The date in a page header, the same in every language and every place the pages are
// written: day, month and the year's last two digits ("07/12/26").
std::string exportDate(int year, int month, int day);

inline constexpr std::size_t kRowsPerPage = 35;

// One row of the export, without its line end.
std::string exportRow(const ChannelRec& ch, std::size_t rowNumber, const ExportOptions& options);

// The header line of a Headed export: every cell as wide as its column.
std::string exportColumnHeader(const ExportOptions& options, const ExportTexts& texts);

// The whole export of both lists, each line ended by "\n": the TV section, then the RADIO
// section when that list holds channels. `progress` is told each row before it is built,
// counted over both lists from 1.
std::string exportText(
    const ChannelList& tv, const ChannelList& radio, const ExportOptions& options,
    const ExportTexts& texts,
    const std::function<void(std::size_t row, std::size_t total)>& progress = {});

// The Headed export (whatever `options.form` says) cut into its pages, each from the empty
// line that opens its header up to the next page's: joined they are exportText's bytes. A
// page holds its header, up to kRowsPerPage rows and, the last TV page, the empty lines that
// put the RADIO section on a page of its own; as many pages as the headers count.
std::vector<std::string> exportPages(const ChannelList& tv, const ChannelList& radio,
                                     ExportOptions options, const ExportTexts& texts);

// Each byte as the Unicode character of the same number, in UTF-8.
std::string latin1ToUtf8(std::string_view text);

}  // namespace qel
