// The rule that only one copy of the program runs for a user at a time.
#pragma once

#include <QLockFile>
#include <QString>

namespace qel {

class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath);
    // True when no other instance holds the lock; the lock is kept until destruction.
    bool tryAcquire();

private:
    QLockFile lock_;
};

}  // namespace qel
