// What the main list shows: the row texts and icons, the one-line data row of the
// selected channel, and which commands the main window offers in each state.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/channel_rec.h"
#include "model/sat_pos.h"
#include "model/workspace.h"

namespace qel {

// "0003    RAI 1": the 1-based row number, four blanks, the shown part of the name.
std::string rowText(std::size_t index, const ChannelRec& ch);

enum class RowIcon { None, Header, Parental };

// A satellite header entry (frequency "00000000") or a locked channel.
RowIcon iconOf(const ChannelRec& ch);

bool isSatelliteHeader(const ChannelRec& ch);  // frequency value 0

// The data row: the shown name, then for a header entry its STAB rotor position and
// satellite, for a channel its tuning, PIDs, LNB port or antenna and automation.
// `stabText` is the translated "  STAB rotor position is ".
std::string dataRowText(const ChannelRec& ch, std::size_t index, FileKind fileType,
                        const SatPosTable& satPos, std::string_view stabText);

// Commands of the main window and whether they are available.
struct MainCommands {
    bool edit = false;  // Edit, and the Data tab
    bool insert = false;
    bool deleteMarked = false;
    bool moveToBuffer = false;
    bool paste = false;   // Paste all and Paste special
    bool buffer = false;  // the buffer button and tab
    bool search = false;
    bool exportList = false;
    bool saveList = false;  // Save channels and Export as CSV: there is a list to write
    bool upgrade = false;   // Upgrade from file
    bool compare = false;   // Compare with file
    bool convert = false;   // Convert to bin
    bool settings = false;  // the Settings command and tab
    bool tvRadio = false;   // the TV/RADIO switch
    bool sort = false;      // the shown list has channels to put in order
    bool print = false;     // Print and Export as PDF: the lists hold channels
};

// `blankRowSelected`: the selected row is the blank row after the last channel (always
// so for an empty list).
MainCommands mainCommands(const Workspace& ws, bool blankRowSelected);

}  // namespace qel
