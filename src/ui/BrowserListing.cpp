#include "BrowserListing.h"

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

bool IsAsciiLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}
bool IsAsciiUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsAsciiDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Where a byte sorts: its class first, then its value within the class.
// Bracketed captions come first so that directories stand together at the
// head of the list, before dot files and other names with punctuation.
struct SortKey {
    int group;
    unsigned char value;
    auto operator<=>(const SortKey&) const = default;
};

SortKey KeyOf(unsigned char c) {
    if (c == '[')
        return {0, c};
    if (c >= 0x80)
        return {4, c};  // UTF-8 sequences keep code point order
    if (IsAsciiDigit(c))
        return {2, c};
    if (IsAsciiUpper(c))
        return {3, static_cast<unsigned char>(c - 'A' + 'a')};
    if (IsAsciiLower(c))
        return {3, c};
    return {1, c};
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

// A comparator of our own rather than strcoll or a collator: those follow
// the process's locale, and the list must read the same under LANG=C as
// under a UTF-8 locale. Only ASCII letters fold case; other letters keep
// their code point order, which needs no locale tables.
bool CaptionLess(std::string_view a, std::string_view b) {
    if (a == b)
        return false;
    if (a == kParentCaption)
        return true;
    if (b == kParentCaption)
        return false;
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const SortKey ka = KeyOf(static_cast<unsigned char>(a[i]));
        const SortKey kb = KeyOf(static_cast<unsigned char>(b[i]));
        if (ka != kb)
            return ka < kb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    // Equal but for the case of letters: at the first difference the lower
    // case letter goes first, so no two captions ever tie.
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return IsAsciiLower(static_cast<unsigned char>(a[i]));
    }
    return false;
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
        return CaptionLess(x.caption, y.caption);
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
