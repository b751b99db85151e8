#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/EntryTable.h"
#include "core/io/FileSystem.h"
#include "plan/ReplRec.h"

namespace vxa {

// All program state. One instance lives as long as the main window (or the
// command-line run); every handler works on it through a Context.
struct AppState {
    EntryTable Table;  // written only by the loader
    // The archive of the last complete load, open for reading until the
    // next load starts: the entries' stored bytes stay on disk and are
    // copied from here. Its stamp as the load found it tells whether
    // another program has rewritten it since.
    std::unique_ptr<File> Archive;
    FileStamp ArchiveStamp;
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
    // Table value of the sharing group marked with "+" in the "Nr" column,
    // if any. Every marked row has this value (a load wipes all marks), so a
    // new selection only has to look at rows of the old and the new group.
    std::optional<std::uint32_t> MarkedValue;
};

}  // namespace vxa
