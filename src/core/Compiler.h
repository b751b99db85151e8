#pragma once

#include <string>

#include "Context.h"

namespace vxa {

// Chooses the output archive with the save dialog.
void SvhBtnClick(Context& c);
// The compile button: output chosen, archive complete, files checked, compile.
void SvahBtnClick(Context& c);
// Asks about missing replacement files; false = do not compile.
bool CheckReplacementFiles(Context& c);
// Writes the loaded archive with the current plan to `path`. Throws IoError.
void CompileArchive(Context& c, const std::string& path);

}  // namespace vxa
