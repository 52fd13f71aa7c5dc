// The satellite position table: the satellites a STAB rotor can turn to, by number.
#pragma once

#include <vector>

#include "bytes/fixed_text.h"

namespace qel {

struct SatPosEntry {
    int number = 0;
    FixedText<15> name;
    FixedText<6> position;
};

using SatPosTable = std::vector<SatPosEntry>;  // at most 49 entries

inline constexpr std::size_t kMaxSatPosEntries = 49;

}  // namespace qel
