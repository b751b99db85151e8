#include "ui/BrowserListing.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

namespace vxa {

namespace fs = std::filesystem;

namespace {

// Rows 2 to 12 of the picture list, in order.
constexpr std::array<std::string_view, 11> kKnownExtensions{
    ".zqa", ".pal", ".zqb", ".zqc", ".zqd", ".zqe", ".wav", ".voc", ".smk", ".xmi", ".zqf"};

constexpr std::string_view kParentCaption = "[..]";

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
    fs::directory_iterator it(dir.empty() ? fs::path("/") : fs::path(dir), ec);
    if (ec)
        return std::nullopt;

    std::vector<BrowserItem> items;
    if (!dir.empty())
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
        return std::pair(CaptionGroup(x.caption), std::string_view(x.caption)) <
               std::pair(CaptionGroup(y.caption), std::string_view(y.caption));
    });
    return items;
}

std::string BrowserDirOf(const std::string& dir) {
    if (dir.empty())
        return {};
    fs::path p(dir);
    if (p.is_relative()) {
        std::error_code ec;
        fs::path full = fs::absolute(p, ec);
        if (!ec)
            p = std::move(full);
    }
    std::string out = p.lexically_normal().string();
    while (!out.empty() && out.back() == '/')
        out.pop_back();
    return out;
}

std::string ParentDir(const std::string& dir) {
    const auto slash = dir.rfind('/');
    return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}

}  // namespace vxa
