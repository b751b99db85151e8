#pragma once

#include <string>

#include "ui/Context.h"

namespace vxa {

// Chooses the output archive with the save dialog.
void SvhBtnClick(Context& c);
// The compile button: output chosen, archive complete, files checked, compile.
void SvahBtnClick(Context& c);
// Asks about missing replacement files; false = do not compile.
bool ConfirmMissingFiles(Context& c);
// CompileArchive of the loaded archive with the current plan to `path`, with
// a failure shown in the window: the error box of a refusal (too large,
// changed), or the general error box with the runtime's text. Returns
// whether the archive was written.
bool CompileAndReport(Context& c, const std::string& path);

}  // namespace vxa
