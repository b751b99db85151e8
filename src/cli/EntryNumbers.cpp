#include "cli/EntryNumbers.h"

#include <algorithm>
#include <charconv>

namespace vxa::cli {

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

std::string CheckEntryNumber(const EntryTable& t, std::uint64_t nr, const std::string& arg,
                             const char* verb) {
    const auto n = static_cast<std::uint64_t>(t.EntryCount);
    if (nr < 1 || nr > n) {
        return "entry " + std::to_string(nr) + " does not exist; the archive has entries 1 to " +
               std::to_string(n) + " (\"" + arg + "\")";
    }
    if (t.Links[nr - 1] == -1)
        return "entry " + std::to_string(nr) + " is blank and has nothing to " + verb + " (\"" +
               arg + "\")";
    return {};
}

}  // namespace vxa::cli
