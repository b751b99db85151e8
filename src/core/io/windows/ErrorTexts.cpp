#include <windows.h>

#include <cerrno>

#include "core/io/IoError.h"

namespace vxa {

// The texts the runtime gives the system's error codes on Windows.
std::string IoErrorText(int code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return kFileNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return kAccessDenied;
        case ERROR_HANDLE_EOF:
            return kReadBeyondEnd;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return kDiskFull;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return kOutOfMemory;
        default:
            return "I/O error " + std::to_string(code);
    }
}

void ThrowErrno(int code, const std::string& path) {
    throw IoError(IoErrorText(code), path);
}

namespace {

// The C runtime's errno values that the standard library's file functions
// report here (they go through _wstat, _wmkdir and _wopendir), as the system
// error codes the same failure gives a kernel32 call.
int SystemCodeOf(int errnum) {
    switch (errnum) {
        case ENOENT:
        case ENOTDIR:  // a file where a folder should be
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOSPC:
            return ERROR_DISK_FULL;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        default:
            return ERROR_INVALID_FUNCTION;
    }
}

}  // namespace

void ThrowError(const std::error_code& error, const std::string& path) {
    const bool system = error.category() == std::system_category();
    ThrowErrno(system ? error.value() : SystemCodeOf(error.value()), path);
}

}  // namespace vxa
