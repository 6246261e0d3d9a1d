#include "platform/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace dovi::platform {

InstanceLock::InstanceLock(QString lockPath) : lock_(std::make_unique<QLockFile>(lockPath)) {
    // Staleness is decided by whether the recorded process still lives, never by age:
    // a long session must not lose its lock.
    lock_->setStaleLockTime(0);
}

bool InstanceLock::tryAcquire() {
    if (lock_->isLocked())
        return true;
    if (lock_->tryLock(0))
        return true;
    // A lock whose process is gone is removed and taken.
    if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
        return lock_->tryLock(0);
    return false;
}

void InstanceLock::release() {
    lock_->unlock();
}

QString InstanceLock::defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/dovi-") + qEnvironmentVariable("USER", QStringLiteral("user")) +
           QStringLiteral(".lock");
}

} // namespace dovi::platform
