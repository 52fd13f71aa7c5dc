#include "model/fta_tables.h"

namespace qel {

std::string_view FtaImageTables::antennaName(std::size_t i) const {
    if (i >= antennas.size() || antennas[i].size() <= 20) return {};
    return std::string_view(antennas[i]).substr(20);
}

}  // namespace qel
