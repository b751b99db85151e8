#include "cli/EntryNumbers.h"

namespace vxa::cli {

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
