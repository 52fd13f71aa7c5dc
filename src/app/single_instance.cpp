#include "app/single_instance.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace qel {

SingleInstance::SingleInstance(const QString& lockPath) : lock_(lockPath) {
    // A lock left behind by a crashed instance is taken over.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire() {
    if (lock_.tryLock(0)) return true;
    // A lock naming this very process on this machine was left by an instance that ended
    // without unlocking and had the same process id; the lock takes it for a running copy.
    // Wine numbers its processes afresh each session, so there it is the rule after a crash.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_.error() != QLockFile::LockFailedError || !lock_.getLockInfo(&pid, &host, &app))
        return false;
    // The lock names the machine by its host name, on Windows by COMPUTERNAME.
    const bool thisMachine = host.isEmpty() || host == QSysInfo::machineHostName() ||
                             host == qEnvironmentVariable("COMPUTERNAME");
    if (pid != QCoreApplication::applicationPid() || !thisMachine) return false;
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}

}  // namespace qel
