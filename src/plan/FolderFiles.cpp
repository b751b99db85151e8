#include "plan/FolderFiles.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include "core/EntryBytes.h"
#include "core/io/IoError.h"

namespace vxa {

namespace {

// Reads the next bytes of something compared; returns how many it read,
// fewer only at its end.
using Reader = std::function<std::size_t(void* buffer, std::size_t size)>;

// Comparisons go in chunks of this size, so that neither side is ever held
// whole: entries and files can be large.
constexpr std::size_t kChunk = 64 * 1024;

Reader EntryReader(const LoadedArchive& s, std::int32_t entry) {
    return [&s, entry, from = std::uint64_t{0}](void* buffer, std::size_t size) mutable {
        const std::size_t n = ReadEntryBytes(s, entry, from, buffer, size);
        from += n;
        return n;
    };
}

Reader FileReader(FileSystem& fs, const std::string& path) {
    std::shared_ptr<File> file = fs.openRead(path);
    return [file](void* buffer, std::size_t size) { return file->read(buffer, size); };
}

// Whether the first `size` bytes of both are the same.
bool SameBytes(const Reader& a, const Reader& b, std::uint64_t size) {
    std::vector<char> x(std::min<std::uint64_t>(kChunk, size));
    std::vector<char> y(x.size());
    for (std::uint64_t done = 0; done < size;) {
        const std::size_t n = std::min<std::uint64_t>(x.size(), size - done);
        if (a(x.data(), n) != n || b(y.data(), n) != n || std::memcmp(x.data(), y.data(), n) != 0)
            return false;
        done += n;
    }
    return true;
}

std::uint64_t FileSize(FileSystem& fs, const std::string& path) {
    const auto size = fs.fileSize(path);
    if (!size)
        throw IoError(kFileNotFound, path);
    return *size;
}

// Whether the file at `path` holds exactly the stored bytes of `entry`.
bool SameAsStored(const LoadedArchive& a, FileSystem& fs, std::int32_t entry,
                  const std::string& path) {
    const std::uint64_t size = StoredSize(a, entry);
    return FileSize(fs, path) == size &&
           SameBytes(EntryReader(a, entry), FileReader(fs, path), size);
}

bool SameFiles(FileSystem& fs, const std::string& a, const std::string& b) {
    const std::uint64_t size = FileSize(fs, a);
    return FileSize(fs, b) == size && SameBytes(FileReader(fs, a), FileReader(fs, b), size);
}

// The entry a file name is for: its leading digits, which a "." must follow.
std::optional<std::int32_t> EntryOfName(std::string_view name, std::int32_t count) {
    const std::size_t dot = name.find_first_not_of("0123456789");
    if (dot == 0 || dot == std::string_view::npos || name[dot] != '.')
        return std::nullopt;
    const std::uint64_t nr = ParseEntryNumber(name.substr(0, dot)).value_or(0);
    if (nr < 1 || nr > static_cast<std::uint64_t>(count))
        return std::nullopt;
    return static_cast<std::int32_t>(nr - 1);
}

// The names in folder `dir`, sorted, so that messages come in a fixed order.
std::vector<std::string> FolderNames(const std::string& dir) {
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    std::vector<std::string> names;
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec)
        ThrowErrno(ec.value(), dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Joined(const std::vector<std::string>& items, const char* last) {
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k)
        text += (k == 0 ? "" : k + 1 == items.size() ? last : ", ") + items[k];
    return text;
}

// A problem line when the edited files of one sharing group differ.
std::optional<std::string> GroupConflict(FileSystem& fs, const std::vector<FolderPick>& edited) {
    for (std::size_t k = 1; k < edited.size(); ++k) {
        if (SameFiles(fs, edited[0].Path, edited[k].Path))
            continue;
        std::vector<std::string> numbers;
        std::vector<std::string> paths;
        for (const FolderPick& p : edited) {
            numbers.push_back(std::to_string(p.Entry + 1));
            paths.push_back(p.Path);
        }
        return "entries " + Joined(numbers, " and ") +
               " share their data, but their edited files differ: " + Joined(paths, ", ");
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> ParseEntryNumber(std::string_view text) {
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char ch) {
        return ch >= '0' && ch <= '9';
    });
    if (!digits)
        return std::nullopt;
    std::uint64_t nr = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), nr).ec != std::errc())
        return UINT64_MAX;
    return nr;
}

std::vector<FolderPick> PickFolderFiles(const LoadedArchive& a, FileSystem& fs,
                                        const std::string& dir, const std::set<std::uint32_t>& skip,
                                        std::vector<std::string>& problems) {
    const EntryTable& t = a.Table;
    std::map<std::int32_t, std::vector<std::string>> files;  // entry -> its files
    for (const std::string& name : FolderNames(dir)) {
        const auto entry = EntryOfName(name, t.EntryCount);
        const std::string path = dir + "/" + name;
        if (entry && !skip.contains(t.Offsets[*entry]) && fs.fileExists(path))
            files[*entry].push_back(path);
    }
    std::map<std::uint32_t, std::vector<FolderPick>> edited;  // table value -> group's files
    for (const auto& [entry, paths] : files) {
        const std::string nr = std::to_string(entry + 1);
        if (paths.size() > 1) {
            problems.push_back("entry " + nr + " has more than one file: " + Joined(paths, ", "));
        } else if (t.Links[entry] == -1) {
            problems.push_back("entry " + nr + " is blank and has nothing to replace: " + paths[0]);
        } else if (!SameAsStored(a, fs, entry, paths[0])) {
            edited[t.Offsets[entry]].push_back({entry, paths[0]});
        }
    }
    std::vector<FolderPick> picks;
    for (const auto& [value, group] : edited) {
        if (const auto conflict = GroupConflict(fs, group))
            problems.push_back(*conflict);
        picks.push_back(group.front());
    }
    std::sort(picks.begin(), picks.end(),
              [](const FolderPick& a, const FolderPick& b) { return a.Entry < b.Entry; });
    return picks;
}

}  // namespace vxa
