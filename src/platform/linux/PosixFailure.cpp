#include "PosixFailure.h"

#include <cerrno>

namespace nc {

Failure failureFromErrno(int err, const QString& source) {
    qint32 number = errPathFileAccess;
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        number = errPathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        number = errPermissionDenied;
        break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        number = errDiskFull;
        break;
    case EIO:
        number = errDeviceIO;
        break;
    case ENAMETOOLONG:
    case EINVAL:
        number = errBadFileName;
        break;
    default:
        break;
    }
    return Failure(number, classicDescription(number), source);
}

} // namespace nc
