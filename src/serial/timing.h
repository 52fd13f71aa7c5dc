// How long the exchanges wait. The defaults are the program's own; a test or a tool may
// shorten them.
#pragma once

#include "serial/link.h"

namespace qel {

struct Timing {
    Millis timeout{5000};        // the wait for an answer
    Millis pause{1000};          // the pauses some exchanges make before sending
    Millis blockWait{10000};     // the wait for each block's answers in the firmware upgrade
    Millis quiet{50};            // silence after which an unterminated answer counts as complete
    Millis wakeUpAttempt{1000};  // each of the FTA loader's wake-up attempts
    Millis settle{1000};         // silence after which a receiver has finished sending
};

}  // namespace qel
