#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

namespace dovi::platform {

// Held for the life of the process so a second copy can tell that one runs.
// The lock file records the holder's process id, so a lock left behind by a
// crashed run is taken over instead of blocking every later start.
class InstanceLock {
public:
    // lockPath: where the lock file lives; by default in the user's runtime folder.
    explicit InstanceLock(QString lockPath = defaultLockPath());
    bool tryAcquire();
    void release();
    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace dovi::platform
