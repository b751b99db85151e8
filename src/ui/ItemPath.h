#pragma once

#include <string>

#include "core/io/DirStyle.h"
#include "ui/AppState.h"

namespace vxa {

// Full path of the browser item captioned `caption`, joined with the
// system's separator. The Linux root is the empty directory string and a
// Windows drive's root is "c:", so the join always gives a full path. For a directory
// item ("[name]", "[..]") the result names no file, which is what keeps
// directories out of the plan.
inline std::string BrowserItemPath(const AppState& s, const std::string& caption) {
    return s.BrowserDir + DirSeparator() + caption;
}

// Plan edits need one whole archive in the table, and no load rebuilding it
// in the middle of the edit (a load hands events to the toolkit).
inline bool PlanEditable(const AppState& s) {
    return s.ArchiveComplete && !s.Loading;
}

}  // namespace vxa
