#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/ArchiveLayout.h"
#include "core/LoadedArchive.h"
#include "core/ReplRec.h"

namespace vxa {

inline constexpr const char* kArchiveChanged =
    "The archive has changed on disk since it was loaded. Open it again.";

// Another program rewrote the loaded archive since the load: the table no
// longer describes the bytes a compile would copy from it.
class ArchiveChanged : public CompileRefused {
  public:
    ArchiveChanged() : CompileRefused(kArchiveChanged) {}
};

// The question names this many missing files at most: a longer list would
// push its buttons off the screen and take long to lay out.
inline constexpr std::size_t kMissingFilesListed = 40;

// The replacement files of a plan that do not exist, each path once (a
// sharing group's records all name one), in the order of the first record
// naming it: the first kMissingFilesListed of them, and how many in all.
struct MissingFiles {
    std::vector<std::string> Listed;
    std::size_t Count = 0;
};
MissingFiles CheckReplacementFiles(FileSystem& fs, const ReplRec& plan);
// "The following files don't exist:", then each listed path, then "... and
// N more" for the Count - Listed others, each on a line of its own:
// `lineBreak` starts every line after the first.
std::string MissingFilesText(const MissingFiles& missing, char lineBreak);
// Writes the archive of `loaded` with `plan` to `path`, copying the records
// it keeps from the open archive. The target is replaced only once the whole
// archive is written; on failure it is left as it was. Throws IoError
// (ArchiveTooLarge when the result would not fit the format, ArchiveChanged
// when the archive was rewritten since the load, or is not open).
void CompileArchive(FileSystem& fs, const LoadedArchive& loaded, const ReplRec& plan,
                    const std::string& path);

}  // namespace vxa
