#include "receiver_settings/fta_tables.h"

namespace qel {

void ResetImageTables(FtaImageTables& tables) {
    tables = FtaImageTables{};
}

}  // namespace qel
