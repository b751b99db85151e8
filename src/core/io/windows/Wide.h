#pragma once

#include <string>

namespace vxa {

// The program keeps text in UTF-8; the system's calls take UTF-16 (the "W"
// functions), so that a name like tëst€.vxa works whatever the code page.

// `utf8` for a system call. A path too long for the classic 260-character
// limit is made absolute and given the "\\?\" prefix, which lifts the limit
// even where the system's long-path setting is off; `whole` does so always.
std::wstring WidePath(const std::string& utf8, bool whole = false);
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// The last failure's code (GetLastError) as the runtime's IoError.
[[noreturn]] void ThrowLastError(const std::string& path);

}  // namespace vxa
