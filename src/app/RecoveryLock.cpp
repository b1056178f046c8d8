#include "app/RecoveryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

namespace zandrel::app {

RecoveryLock::RecoveryLock(const QString& path) : path_(path) {
    // O_NOFOLLOW: the folder is the user's, but a planted link must not make us create or lock
    // a file elsewhere.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

RecoveryLock::~RecoveryLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void RecoveryLock::RemoveAndRelease() {
    if (fd_ < 0) {
        return;
    }
    // Unlinking before the unlock: whoever opens the name afterwards gets a new file, never
    // this one's released lock on a name about to vanish.
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace zandrel::app
