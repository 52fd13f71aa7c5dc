#include "app/single_instance.h"

namespace qel {

SingleInstance::SingleInstance(const QString& lockPath) : lock_(lockPath) {
    // A lock left behind by a crashed instance is taken over.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire() {
    return lock_.tryLock(0);
}

}  // namespace qel
