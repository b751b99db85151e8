#include "Wide.h"

#include <windows.h>

#include "core/io/IoError.h"

namespace vxa {

namespace {

// Below MAX_PATH with room for the 8.3 name the system may add to a
// folder's path (MAX_PATH - 12 is a folder's limit).
constexpr std::size_t kShortEnough = MAX_PATH - 12;

}  // namespace

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

std::wstring WidePath(const std::string& utf8, bool whole) {
    std::wstring wide = Wide(utf8);
    if ((!whole && wide.size() < kShortEnough) || wide.starts_with(L"\\\\?\\"))
        return wide;
    // The prefix turns off the system's parsing, so the path must be whole:
    // absolute, with "\" only and no "." or ".." parts. GetFullPathNameW
    // does that, and takes long paths.
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    const DWORD used = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (used == 0 || used >= n)
        return wide;
    full.resize(used);
    if (full.starts_with(L"\\\\"))  // \\server\share\... -> \\?\UNC\server\share\...
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

void ThrowLastError(const std::string& path) {
    ThrowErrno(static_cast<int>(GetLastError()), path);
}

}  // namespace vxa
