// The runtime's texts for the system's error numbers on Linux.
#include <cerrno>

#include "core/io/IoError.h"

namespace vxa {

std::string IoErrorText(int errnum) {
    switch (errnum) {
        case ENOENT:
            return kFileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return kAccessDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kDiskFull;
        case ENOMEM:
            return kOutOfMemory;
        default:
            return "I/O error " + std::to_string(errnum);
    }
}

void ThrowErrno(int errnum, const std::string& path) {
    throw IoError(IoErrorText(errnum), path);
}

}  // namespace vxa
