#pragma once

#include <string>

#include "core/LoadedArchive.h"
#include "core/ReplRec.h"
#include "plan/GridRows.h"

namespace vxa {

// All program state: the state of the main window's module. One instance
// lives as long as the main window; every handler works on it through a
// Context. The loaded archive (entry table, open file, stamp) is written only
// by the loader.
struct AppState : LoadedArchive {
    ReplRec Replacements;          // the current plan
    ReplRec ScriptList;            // the last script's items, kept by the runner
    std::string InPath;            // archive last passed to the loader that existed
    std::string OutPath;           // where a compile writes; empty = not chosen
    std::string BrowserDir;        // directory the browser pane lists; "" = the root
    bool ArchiveComplete = false;  // the table holds one whole archive
    bool StopRequested = false;
    // A load is running and hands events to the toolkit: every command but
    // Stop must wait for it to end.
    bool Loading = false;
    // The user closed the window during a load: stop quietly, then close.
    bool CloseRequested = false;
    // What the entry grid shows besides the table: rows written, marks, paths.
    GridRows Grid;
};

}  // namespace vxa
