#pragma once

#include <memory>

#include "core/EntryTable.h"
#include "core/io/FileSystem.h"

namespace vxa {

// The archive of the last complete load: its entry table, and the file itself,
// open for reading until the next load starts: the entries' stored bytes
// stay on disk and are copied from here. Its stamp as the load found it
// tells whether another program has rewritten it since.
struct LoadedArchive {
    EntryTable Table;
    std::unique_ptr<File> Archive;
    FileStamp ArchiveStamp;
};

}  // namespace vxa
