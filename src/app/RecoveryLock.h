#pragma once

#include <QString>

namespace zandrel::app {

// An exclusive advisory lock on one file, held for as long as the object lives. The kernel
// drops it when its process dies, however it dies, so "the lock can be taken" means "no
// running editor owns these recovery copies" without trusting process ids that may have been
// reused. Two locks on the same file conflict even inside one process.
class RecoveryLock {
public:
    // Creates path when missing and tries to lock it without waiting.
    explicit RecoveryLock(const QString& path);
    ~RecoveryLock();
    RecoveryLock(const RecoveryLock&) = delete;
    RecoveryLock& operator=(const RecoveryLock&) = delete;

    bool IsHeld() const { return fd_ >= 0; }
    // Removes the lock file while still holding it, then lets go.
    void RemoveAndRelease();

private:
    QString path_;
    int fd_ = -1;
};

}  // namespace zandrel::app
