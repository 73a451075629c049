#include "platform/IoError.h"

#include <cerrno>

namespace platform {

int IoErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return 0;
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
        return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
        return 4; // too many open files
    case EACCES:
    case EPERM:
    case EISDIR:
        return kErrorAccessDenied;
    case EBADF:
        return 6; // invalid handle
    case ENOMEM:
        return 8; // not enough memory
    case EXDEV:
        return 17; // not the same device
    case EROFS:
        return 19; // write protected
    case ENOMEDIUM:
        return 21; // device not ready
    case EBUSY:
    case ETXTBSY:
        return 32; // sharing violation
    case EEXIST:
        return 80; // file exists
    case EINVAL:
        return 87; // invalid parameter
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return kErrorDiskFull;
    case ENOTEMPTY:
        return kErrorDirNotEmpty;
    case ENAMETOOLONG:
        return 206; // file name too long
    default:
        return kErrorGenFailure;
    }
}

int LastIoError() {
    return IoErrorFromErrno(errno);
}

} // namespace platform
