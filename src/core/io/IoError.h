#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace vxa {

// The one exception type of every file operation. It carries the runtime's
// own texts ("File not found", "Disk full", ...), which the general handler
// shows to the user as they are, and the file the failing operation was on
// where it is known, which vxa-tool prints before the text.
class IoError : public std::runtime_error {
  public:
    explicit IoError(const std::string& text, std::string path = {})
        : std::runtime_error(text), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kAccessDenied = "File access denied";
inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kDiskFull = "Disk full";
inline constexpr const char* kOutOfMemory = "Out of memory";

// Maps a system error number to the runtime's text: the common causes get
// their own words, anything else reads "I/O error <n>".
std::string IoErrorText(int errnum);
[[noreturn]] void ThrowErrno(int errnum, const std::string& path = {});

// The text of the general error box: a full stop is appended when the text's
// last character sorts after "." (letters and digits do, "!" does not).
std::string ErrorBoxText(const std::string& text);

}  // namespace vxa
