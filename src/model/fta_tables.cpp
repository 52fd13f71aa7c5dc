#include "model/fta_tables.h"

namespace qel {

std::string_view FtaImageTables::antennaName(std::size_t i) const {
    if (i >= antennas.size()) return {};
    return antenna_entry::kName.in(antennas[i]);
}

}  // namespace qel
