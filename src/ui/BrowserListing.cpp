#include "ui/BrowserListing.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/io/DirStyle.h"

namespace vxa {

namespace fs = std::filesystem;

namespace {

// Rows 2 to 12 of the picture list, in order.
constexpr std::array<std::string_view, 11> kKnownExtensions{
    ".zqa", ".pal", ".zqb", ".zqc", ".zqd", ".zqe", ".wav", ".voc", ".smk", ".xmi", ".zqf"};

constexpr std::string_view kParentCaption = "[..]";

bool IsRootDir(const std::string& dir) {
    return dir.size() == DirRootLength(dir);
}

}  // namespace

int FilePicture(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return kDocumentPicture;
    const std::string_view ext = name.substr(dot);
    for (std::size_t i = 0; i < kKnownExtensions.size(); ++i) {
        if (ext == kKnownExtensions[i])
            return static_cast<int>(i) + 2;
    }
    return kDocumentPicture;
}

int CaptionGroup(std::string_view caption) {
    if (caption == kParentCaption)
        return 0;
    return caption.starts_with('[') ? 1 : 2;
}

std::optional<std::vector<BrowserItem>> ListDirectory(const std::string& dir) {
    std::error_code ec;
    // A root's name ("", "c:") is listed with its separator: "c:" alone
    // would be the current folder of drive C.
    fs::directory_iterator it(IsRootDir(dir) ? fs::path(dir + DirSeparator()) : fs::path(dir), ec);
    if (ec)
        return std::nullopt;

    std::vector<BrowserItem> items;
    if (!IsRootDir(dir))
        items.push_back({std::string(kParentCaption), kFolderPicture});
    // The iterator never yields "." or "..": the parent is the item above.
    for (const fs::directory_iterator end; it != end;) {
        std::string name = it->path().filename().string();
        std::error_code typeError;
        // Symbolic links to directories are entered like directories; a
        // broken link or an unreadable entry is shown as a file.
        if (it->is_directory(typeError)) {
            items.push_back({"[" + name + "]", kFolderPicture});
        } else {
            const int picture = FilePicture(name);
            items.push_back({std::move(name), picture});
        }
        it.increment(ec);
        if (ec)
            break;  // show what could be read
    }
    std::sort(items.begin(), items.end(), [](const BrowserItem& x, const BrowserItem& y) {
        return std::pair(CaptionGroup(x.Caption), std::string_view(x.Caption)) <
               std::pair(CaptionGroup(y.Caption), std::string_view(y.Caption));
    });
    return items;
}

std::string BrowserDirOf(const std::string& dir) {
    if (dir.empty())
        return {};
    // A root given by its name alone ("c:") is made whole first, so that it
    // is not taken as relative.
    fs::path p(IsRootDir(dir) ? dir + DirSeparator() : dir);
    if (p.is_relative()) {
        std::error_code ec;
        fs::path full = fs::absolute(p, ec);
        if (!ec)
            p = std::move(full);
    }
    std::string out = p.lexically_normal().string();
    while (!out.empty() && out.back() == DirSeparator())
        out.pop_back();
    // Drive letters in lower case, as the drive selector hands them over.
    for (std::size_t i = 0; i < DirRootLength(out); ++i)
        out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[i])));
    return out;
}

std::string ParentDir(const std::string& dir) {
    const std::size_t root = DirRootLength(dir);
    const auto separator = dir.rfind(DirSeparator());
    return separator == std::string::npos || separator < root ? dir.substr(0, root)
                                                              : dir.substr(0, separator);
}

}  // namespace vxa
