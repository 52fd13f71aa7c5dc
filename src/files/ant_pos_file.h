// The satellite position table file AntPos.txt: one satellite a line.
#pragma once

#include <string>
#include <string_view>

#include "model/errors.h"
#include "model/sat_pos.h"

namespace qel {

// The file written when AntPos.txt is missing: 22 lines ended by CR LF, the degree
// sign as the Latin-1 byte 176.
std::string defaultAntPosText();

// Reads at most 49 lines: a 2-digit number, a 15-character name and a 6-character position.
SatPosTable parseAntPos(std::string_view text);

struct AntPosLoad {
    SatPosTable table;
    bool rebuilt = false;  // the file was missing and has been written with the defaults
};

// Reads the table from path; a missing file is first written with the defaults.
Result<AntPosLoad> loadAntPos(const std::string& path);

}  // namespace qel
