#include "core/io/WritePaths.h"

#include <windows.h>

#include <cctype>

#include "Wide.h"
#include "core/io/IoError.h"

namespace vxa {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:", the drive a path relative to that drive's own folder begins with.
bool IsDrive(const std::string& s) {
    return s.size() == 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]));
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const auto sep = path.find_last_of("\\/");
    if (sep == std::string::npos)
        return IsDrive(path.substr(0, 2)) ? path.substr(0, 2) : ".";
    // A root keeps its separator: "\", "C:\".
    if (sep == 0 || (sep == 2 && IsDrive(path.substr(0, 2))))
        return path.substr(0, sep + 1);
    return path.substr(0, sep);
}

std::string EndOfLinks(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    // The system follows the link (and reports a loop) on opening it; the
    // name it ends at comes back from the handle.
    HANDLE h = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return path;  // a dangling link: the write itself reports it
    std::wstring end(32768, L'\0');
    const DWORD n = GetFinalPathNameByHandleW(h, end.data(), static_cast<DWORD>(end.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(h);
    if (n == 0 || n >= end.size())
        ThrowLastError(path);
    end.resize(n);
    return Utf8(end);
}

// Windows takes "\" and "/" alike; the program joins with "\".
std::string RandomTempPath(const std::string& folder) {
    const std::string name = RandomTempName();
    if (folder == ".")
        return name;
    return IsSeparator(folder.back()) || IsDrive(folder) ? folder + name : JoinPath(folder, name);
}

}  // namespace vxa
