// The satellite position table read from AntPos.txt.
#pragma once

#include <string>
#include <vector>

#include "model/errors.h"
#include "model/fixed_text.h"

namespace qel {

struct SatPosEntry {
    int Number = 0;
    FixedText<15> Name;
    FixedText<6> Position;
};

using SatPosTable = std::vector<SatPosEntry>;  // at most 49 entries

inline constexpr std::size_t kMaxSatPosEntries = 49;

// The file written when AntPos.txt is missing: 22 lines ended by CR LF, the degree
// sign as the Latin-1 byte 176.
std::string DefaultAntPosText();

// Reads at most 49 lines: number = characters 1-2, name = 3-17, position = 18-23.
SatPosTable ParseAntPos(std::string_view text);

struct AntPosLoad {
    SatPosTable table;
    bool rebuilt = false;  // the file was missing and has been written with the defaults
};

// Reads the table from path; a missing file is first written with the defaults.
Result<AntPosLoad> LoadAntPos(const std::string& path);

}  // namespace qel
