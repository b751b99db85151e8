#include "Replace.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "Wide.h"
#include "core/io/IoError.h"
#include "core/io/TempFiles.h"

namespace vxa {

namespace {

// How long a replace is tried again while another program (an antivirus
// scanner, the search indexer) has one of the files open without sharing.
constexpr DWORD kRetryMs = 1000;
constexpr DWORD kRetryStepMs = 50;
// Hidden in the MinGW headers behind a version check they cannot pass.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
constexpr DWORD kReplaceIfExists = 0x1;  // FILE_RENAME_FLAG_REPLACE_IF_EXISTS
constexpr DWORD kPosixSemantics = 0x2;   // FILE_RENAME_FLAG_POSIX_SEMANTICS

// Renames through the open file, with POSIX semantics: the name is swapped
// at once even while other handles hold the target open, as rename(2) does.
// Windows 10 1709 and later on NTFS do this. Older systems, FAT volumes and
// Wine (as of 8.0, which does not know this information class) answer
// ERROR_INVALID_PARAMETER or ERROR_NOT_SUPPORTED; then the caller falls back.
DWORD PosixRename(const std::wstring& from, const std::wstring& to) {
    HANDLE h = CreateFileW(from.c_str(), DELETE | SYNCHRONIZE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError();
    const std::size_t bytes = sizeof(FILE_RENAME_INFO) + to.size() * sizeof(wchar_t);
    std::vector<std::uint8_t> buffer(bytes, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->Flags = kReplaceIfExists | kPosixSemantics;
    info->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFO, FileName), to.data(),
                info->FileNameLength);
    const BOOL done =
        SetFileInformationByHandle(h, kFileRenameInfoEx, info, static_cast<DWORD>(bytes));
    const DWORD error = done ? ERROR_SUCCESS : GetLastError();
    CloseHandle(h);
    return error;
}

bool Unsupported(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

DWORD TryReplace(const std::wstring& from, const std::wstring& to, const std::wstring& fullTo) {
    DWORD error = PosixRename(from, fullTo);
    if (!Unsupported(error))
        return error;
    // The classic rename: this is the path Wine takes, where it is rename(2)
    // and replaces a target that others hold open. Write-through returns
    // only once the rename is on the disk.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ERROR_SUCCESS;
    error = GetLastError();
    if (error != ERROR_ACCESS_DENIED || GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES)
        return error;
    // A handle that does not share deletion blocks every kind of replace:
    // a sharing violation, tried again. (Wine's ReplaceFileW would leave
    // its backup files behind there.)
    HANDLE probe =
        CreateFileW(to.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(probe);
    // Only a real Windows without POSIX renames comes further: a classic
    // rename cannot replace a file that is open, even one shared for
    // deletion, while ReplaceFileW can, and keeps the replaced file's
    // attributes. Under Wine the classic rename has done it already.
    if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return ERROR_SUCCESS;
    return GetLastError();
}

}  // namespace

void ReplaceByRename(const std::string& from, const std::string& to) {
    // The renaming call takes the target's name as the kernel does: whole,
    // in the "\\?\" form.
    const std::wstring wideFrom = WidePath(from), wideTo = WidePath(to);
    const std::wstring fullTo = WidePath(to, true);
    const ULONGLONG deadline = GetTickCount64() + kRetryMs;
    for (;;) {
        const DWORD error = TryReplace(wideFrom, wideTo, fullTo);
        if (error == ERROR_SUCCESS)
            break;
        const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
        if (!busy || GetTickCount64() >= deadline)
            ThrowErrno(static_cast<int>(error), to);
        Sleep(kRetryStepMs);
    }
    ForgetTempFile(from);
}

}  // namespace vxa
