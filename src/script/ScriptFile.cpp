#include "ScriptFile.h"

#include <new>

#include "IniFile.h"
#include "core/IoError.h"

namespace vxa {

namespace {

constexpr const char* kGeneral = "General";
// "Index" reads as this when the key is absent; such an item is refused.
constexpr std::int32_t kNoIndex = -2;

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
    const IniReader ini(text);
    Script s;
    s.In = ini.readString(kGeneral, "In", "");
    if (s.In.empty())
        return std::nullopt;
    s.Out = ini.readString(kGeneral, "Out", "");
    const std::int32_t count = ini.readInteger(kGeneral, "Count", 0);
    if (count < 1)
        return std::nullopt;
    // Items are read one at a time and nothing is sized to Count beforehand:
    // a damaged count is refused at the first missing section instead of
    // claiming memory for items that are not there.
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string name = std::to_string(i);
        const std::int32_t index = ini.readInteger(name, "Index", kNoIndex);
        std::string path = ini.readString(name, "Path", "");
        if (index == kNoIndex || path.empty())
            return std::nullopt;
        s.Items.append(index, std::move(path));
    }
    return s;
}

std::string ReadScriptText(FileSystem& fs, const std::string& path) {
    if (!fs.fileExists(path))
        throw IoError(kFileNotFound);
    const auto file = fs.openRead(path);
    std::string text;
    char buffer[64 * 1024];
    try {
        for (;;) {
            const std::size_t got = file->read(buffer, sizeof buffer);
            text.append(buffer, got);
            if (got < sizeof buffer)
                break;
        }
    } catch (const std::bad_alloc&) {
        throw IoError(kOutOfMemory);
    }
    return text;
}

}  // namespace vxa
