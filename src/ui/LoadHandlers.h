#pragma once

#include <string>

#include "core/Loader.h"
#include "ui/Context.h"

namespace vxa {

// Loads the archive at `path` as the window shows a load: script mode
// reports progress on the progress dialog's gauge and keeps the plan; normal
// mode uses the status bar and the Stop button and empties the plan. A
// missing file and a stop say so in a box, an I/O error in the general
// error box (Failed).
LoadOutcome LoadInWindow(Context& c, const std::string& path, bool scriptMode);

// Main window handlers of the loader.
void OpenBtnClick(Context& c);
void ReloadBtnClick(Context& c);
void StopBtnClick(Context& c);

}  // namespace vxa
