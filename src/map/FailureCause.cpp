#include "map/FailureCause.h"

#include <cerrno>

namespace zandrel {

FailureCause FailureCause::FromErrno(int error) {
    FailureCause cause;
    cause.error = error;
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            cause.kind = FailureKind::NotFound;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            cause.kind = FailureKind::NoPermission;
            break;
        case EISDIR:
            cause.kind = FailureKind::IsFolder;
            break;
        case ENOSPC:
        case EDQUOT:
            cause.kind = FailureKind::DiskFull;
            break;
        case ENOMEM:
            cause.kind = FailureKind::OutOfMemory;
            break;
        default:
            cause.kind = FailureKind::SystemError;
            break;
    }
    return cause;
}

}  // namespace zandrel
