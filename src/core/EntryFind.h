#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/EntryKind.h"
#include "core/LoadedArchive.h"
#include "core/ReplRec.h"

namespace vxa {

// What the find box looks for, parsed from what the user typed.
struct FindQuery {
    enum class By {
        Numbers,   // entry numbers From..To (1-based, both included)
        Content,   // entries whose content is `What`
        Shared,    // entries sharing another entry's record
        Replaced,  // entries the plan replaces
        Larger,    // stored size above `Size`
        Smaller,   // stored size below `Size`
    };
    By Kind = By::Numbers;
    std::uint64_t From = 0, To = 0;
    Content What = Content::Other;
    std::uint64_t Size = 0;
};

// The text shown when the text is none of the forms below.
inline constexpr const char* kFindHelp =
    "Type a number (250), a range (100-200), a kind (wav, smk, xmi, packed, blank, shared, "
    "replaced) or a size (> 1M, < 100k)";

// Reads "250", "100-200", a kind word ("wav", "smk", "xmi", "packed",
// "blank", "shared", "replaced", any case) or "> SIZE" / "< SIZE", where
// SIZE is a number of bytes with an optional k, M or G (times 1024, 1024^2,
// 1024^3). Spaces around the parts are allowed. nullopt for anything else.
std::optional<FindQuery> ParseFindQuery(const std::string& text);

// Entry contents once read, so that searching again costs no reading.
// Belongs to one load: it forgets everything when the archive it was
// filled from is no longer the one held.
class KindCache {
  public:
    // Forgets what it knows unless `s` holds the archive it was filled from.
    void prepare(const LoadedArchive& s);
    // The content of `entry`; prepare() must have seen `s` first.
    Content content(const LoadedArchive& s, std::int32_t entry);

  private:
    void fill(const LoadedArchive& s, std::int32_t owner);

    const File* archive_ = nullptr;
    FileStamp stamp_;
    std::vector<std::uint8_t> known_;  // Content + 1 per record owner; 0 = not read yet
};

// The first entry after `from` (0-based; -1 starts at the first entry)
// that `q` matches, going backwards when `back` (-1 or EntryCount then
// starts at the last), wrapping around at the ends; `from` itself comes
// last. nullopt when no entry matches. Throws IoError.
// `plan` tells which entries are replaced.
std::optional<std::int32_t> FindEntry(const LoadedArchive& s, const ReplRec& plan, KindCache& cache,
                                      const FindQuery& q, std::int32_t from, bool back);

}  // namespace vxa
