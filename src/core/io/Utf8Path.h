#pragma once

#include <filesystem>
#include <string>

namespace vxa {

// The program keeps every path in UTF-8. The standard library's paths take a
// plain string in the system's code page where that is not UTF-8 (Windows),
// so paths cross over through its UTF-8 strings; on Linux the bytes pass
// through as they are.
inline std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Name(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace vxa
