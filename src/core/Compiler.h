#pragma once

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

// The path of every plan record whose file does not exist, in list order,
// once for each record that names it.
std::vector<std::string> CheckReplacementFiles(FileSystem& fs, const ReplRec& plan);
// Writes the archive of `loaded` with `plan` to `path`, copying the records
// it keeps from the open archive. The target is replaced only once the whole
// archive is written; on failure it is left as it was. Throws IoError
// (ArchiveTooLarge when the result would not fit the format, ArchiveChanged
// when the archive was rewritten since the load, or is not open).
void CompileArchive(FileSystem& fs, LoadedArchive& loaded, const ReplRec& plan,
                    const std::string& path);

}  // namespace vxa
