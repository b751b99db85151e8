#pragma once

#include <string>
#include <vector>

#include "core/ArchiveLayout.h"
#include "core/Context.h"

namespace vxa {

inline constexpr const char* kArchiveChanged =
    "The archive has changed on disk since it was loaded. Open it again.";

// Another program rewrote the loaded archive since the load: the table no
// longer describes the bytes a compile would copy from it.
class ArchiveChanged : public CompileRefused {
  public:
    ArchiveChanged() : CompileRefused(kArchiveChanged) {}
};

// Chooses the output archive with the save dialog.
void SvhBtnClick(Context& c);
// The compile button: output chosen, archive complete, files checked, compile.
void SvahBtnClick(Context& c);
// Asks about missing replacement files; false = do not compile.
bool CheckReplacementFiles(Context& c);
// The path of every plan record whose file does not exist, in list order,
// once for each record that names it.
std::vector<std::string> MissingReplacementFiles(Context& c);
// Writes the loaded archive with the current plan to `path`, copying the
// records it keeps from the open archive. The target is replaced only once
// the whole archive is written; on failure it is left as it was. Touches no
// part of the window. Throws IoError (ArchiveTooLarge when the result would
// not fit the format, ArchiveChanged when the archive was rewritten since
// the load).
void CompileArchive(Context& c, const std::string& path);
// CompileArchive, with a failure shown in the window: the error box of a
// refusal (too large, changed), or the general error box with the
// runtime's text. Returns whether the archive was written.
bool CompileAndReport(Context& c, const std::string& path);

}  // namespace vxa
