#pragma once

#include <string>

#include "Context.h"

namespace vxa {

enum class LoadOutcome {
    Complete,     // the whole archive is in the table; ArchiveComplete is set
    Stopped,      // the user stopped it; the table holds the entries read
    FileMissing,  // no file at the path; nothing changed
    NotOpened,    // the file could not be opened, as the general handler showed; nothing changed
    Failed,       // an I/O error, already shown by the general handler
};

// Reads the archive at `path` into the entry table and the grid. Script mode
// reports progress on the progress dialog's gauge and keeps the plan; normal
// mode uses the status bar and the Stop button and empties the plan.
LoadOutcome LoadArchive(Context& c, const std::string& path, bool scriptMode);

// Main window handlers of the loader.
void OpenBtnClick(Context& c);
void ReloadBtnClick(Context& c);
void StopBtnClick(Context& c);

}  // namespace vxa
