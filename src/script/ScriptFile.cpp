#include "script/ScriptFile.h"

#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/io/AtomicFile.h"
#include "core/io/IoError.h"
#include "script/IniFile.h"

namespace vxa {

namespace {

constexpr const char* kGeneral = "General";
// "Index" reads as this when the key is absent; such an item is refused.
constexpr std::int32_t kNoIndex = -2;

// The item a section names: its decimal number, written as the saver writes
// it (no sign, padding or leading zero), when it is below `count`.
std::optional<std::size_t> ItemNumber(std::string_view name, std::int32_t count) {
    if (name.empty() || (name.size() > 1 && name.front() == '0'))
        return std::nullopt;
    // Stops at the first digit that makes the number too large, so a long
    // name cannot overflow it.
    std::uint64_t n = 0;
    for (const char ch : name) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(ch - '0');
        if (n >= static_cast<std::uint64_t>(count))
            return std::nullopt;
    }
    return static_cast<std::size_t>(n);
}

// An item section's index and path; nullopt when the index is absent, not a
// number or -2, or the path is empty.
std::optional<std::pair<std::int32_t, std::string_view>> ReadItem(const IniSection& lines) {
    static constexpr std::string_view kKeys[] = {"Index", "Path"};
    std::optional<std::string_view> found[2];
    lines.find(kKeys, found);
    const auto& [index, path] = found;
    const std::int32_t number = index ? ParseIniInteger(*index).value_or(kNoIndex) : kNoIndex;
    if (number == kNoIndex || !path || path->empty())
        return std::nullopt;
    return std::pair(number, *path);
}

}  // namespace

std::string FormatScript(const std::string& in, const std::string& out, const ReplRec& items) {
    IniWriter w;
    w.section(kGeneral);
    w.value("Description", kScriptDescription);
    w.value("In", in);
    w.value("Out", out);
    w.value("Count", items.Count);
    for (std::int32_t i = 0; i < items.Count; ++i) {
        w.section(std::to_string(i));
        w.value("Index", items.Indices[static_cast<std::size_t>(i)]);
        w.value("Path", items.Paths[static_cast<std::size_t>(i)]);
    }
    return w.text();
}

bool ScriptValueRoundTrips(std::string_view value) {
    if (value.size() > IniReader::kMaxValue)
        return false;
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return false;
    constexpr std::string_view kBlanks = " \t\v\f";
    return value.empty() || (kBlanks.find(value.front()) == std::string_view::npos &&
                             kBlanks.find(value.back()) == std::string_view::npos);
}

std::optional<Script> ParseScript(std::string_view text) {
    // Every step below is one pass over the text that allocates at most a
    // bit per item, and the items themselves are made only for a script
    // found valid: a damaged file of any size is judged in linear time
    // within little more memory than its text.
    const IniReader ini(text);
    const auto general = ini.section(kGeneral);
    if (!general)
        return std::nullopt;
    static constexpr std::string_view kGeneralKeys[] = {"In", "Out", "Count"};
    std::optional<std::string_view> values[3];
    general->find(kGeneralKeys, values);
    Script s;
    s.In = values[0].value_or("");
    s.Out = values[1].value_or("");
    const std::int32_t count = values[2] ? ParseIniInteger(*values[2]).value_or(0) : 0;
    // Each item takes many bytes of the text: a larger count cannot be met,
    // and the one bit per item allocated below stays small beside the text.
    if (s.In.empty() || count < 1 || static_cast<std::size_t>(count) > text.size())
        return std::nullopt;

    // Items may stand in any order; the first section of each number counts.
    std::vector<bool> seen(static_cast<std::size_t>(count));
    std::int32_t found = 0;
    bool damaged = false;
    ini.forEachSection([&](std::string_view name, const IniSection& lines) {
        const auto i = ItemNumber(name, count);
        if (!i || seen[*i])
            return true;
        seen[*i] = true;
        damaged = !ReadItem(lines);
        return !damaged && ++found < count;
    });
    if (damaged || found < count)
        return std::nullopt;

    ReplRec& items = s.Items;
    items.Count = count;
    items.Indices.resize(static_cast<std::size_t>(count));
    items.Paths.resize(static_cast<std::size_t>(count));
    seen.assign(seen.size(), false);
    found = 0;
    ini.forEachSection([&](std::string_view name, const IniSection& lines) {
        const auto i = ItemNumber(name, count);
        if (!i || seen[*i])
            return true;
        seen[*i] = true;
        const auto item = ReadItem(lines);
        items.Indices[*i] = item->first;
        items.Paths[*i] = std::string(item->second);
        return ++found < count;
    });
    return s;
}

std::string ReadScriptText(FileSystem& fs, const std::string& path) {
    if (!fs.fileExists(path))
        throw IoError(kFileNotFound);
    const auto file = fs.openRead(path);
    std::string text;
    try {
        // One buffer of the file's size, rather than one grown as it fills:
        // growing holds the old and the new buffer at once.
        text.resize(file->size());
        text.resize(file->read(text.data(), text.size()));
        // A file that grew meanwhile is read to its end.
        char buffer[64 * 1024];
        for (std::size_t got; (got = file->read(buffer, sizeof buffer)) > 0;)
            text.append(buffer, got);
    } catch (const std::bad_alloc&) {
        throw IoError(kOutOfMemory);
    } catch (const std::length_error&) {
        throw IoError(kOutOfMemory);
    }
    return text;
}

const std::string* PathScriptCannotHold(const std::string& in, const std::string& out,
                                        const ReplRec& items) {
    for (const std::string* path : {&in, &out}) {
        if (!ScriptValueRoundTrips(*path))
            return path;
    }
    for (const auto& path : items.Paths) {
        if (!ScriptValueRoundTrips(path))
            return &path.str();
    }
    return nullptr;
}

bool WriteScript(FileSystem& fs, const std::string& path, const std::string& in,
                 const std::string& out, const ReplRec& items) {
    try {
        const std::string text = FormatScript(in, out, items);
        AtomicFile file(fs, path);
        file.file().write(text.data(), text.size());
        file.commit();
    } catch (const IoError&) {
        return false;
    }
    return true;
}

}  // namespace vxa
