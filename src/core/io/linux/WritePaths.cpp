#include "core/io/WritePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "core/io/IoError.h"

namespace vxa {

namespace {

// The kernel's own limit on links followed in one lookup (MAXSYMLINKS).
constexpr int kMaxLinks = 40;

std::string Join(const std::string& folder, const std::string& name) {
    if (folder == ".")
        return name;
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string EndOfLinks(const std::string& path) {
    std::string current = path;
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        struct stat st {};
        // Any other failure is met again, and reported, by the write itself.
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
        if (n < 0 || n == sizeof target)
            ThrowErrno(n < 0 ? errno : ENAMETOOLONG, path);
        const std::string next(target, static_cast<std::size_t>(n));
        current = next.starts_with('/') ? next : Join(FolderOf(current), next);
    }
    ThrowErrno(ELOOP, path);
}

std::string RandomTempPath(const std::string& folder) {
    return Join(folder, RandomTempName());
}

}  // namespace vxa
