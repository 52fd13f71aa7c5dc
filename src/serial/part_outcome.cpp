#include "serial/part_outcome.h"

namespace qel {

bool mayStartPart(Exchange& exchange, PartOutcome& outcome, const Status& stopped) {
    outcome.attempted = true;
    if (!stopped.ok()) {
        outcome.status = stopped;
    } else if (exchange.link().cancelled()) {
        outcome.status = ErrorCode::TransferCancelled;
    } else if (exchange.lineFailed()) {
        outcome.status = exchange.lineFailure();
    } else {
        return true;
    }
    return false;
}

}  // namespace qel
