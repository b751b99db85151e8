#pragma once

#include <cstdint>
#include <string>

#include "core/LoadedArchive.h"

namespace vxa {

enum class LoadOutcome {
    Complete,     // the whole archive is in the table, its file open
    Stopped,      // the stop flag was set at a progress point: the table holds the entries read
    FileMissing,  // no file at the path; nothing changed
    NotOpened,    // the file could not be opened, as the general handler showed; nothing changed
    Failed,       // an I/O error, shown by the window (LoadInWindow only)
};

// What a load tells whoever shows it, in this order: started, readingTable,
// tableRead, readingEntries, then progressPoint after entries 1, 11, 21, ...
// (0-based). offerEvents may come between slices of the table pass.
class LoadObserver {
  public:
    virtual ~LoadObserver() = default;
    // The file exists; nothing has been read yet.
    virtual void started() {}
    // The file is open and the table emptied: the offset table is read now.
    virtual void readingTable() {}
    // The table holds `entries` values; their rows have no texts yet.
    virtual void tableRead(std::int32_t entries) { (void)entries; }
    // Between slices of long work without progress points: the caller tests
    // no flag afterwards.
    virtual void offerEvents() {}
    // The header arrays exist: the entries are read now.
    virtual void readingEntries(std::int32_t entries) { (void)entries; }
    // Entries 0..entriesRead-1 are read; `position` of `entries` is the
    // progress shown. The stop flag is tested right after.
    virtual void progressPoint(std::int32_t position, std::int32_t entries,
                               std::int32_t entriesRead) {
        (void)position, (void)entries, (void)entriesRead;
    }
};

// Reads the archive at `path` into `into`: the table, and on a complete load
// the open file and its stamp. A file that cannot be opened throws IoError
// before anything changes (started() has not come); the archive held before
// is released once the new one is open. A stop at a progress point, or an I/O error (thrown as
// IoError or std::bad_alloc), leaves the table with the entries read until
// then (EntryCount cut back to them) and no file.
LoadOutcome LoadArchive(FileSystem& fs, const std::string& path, LoadedArchive& into,
                        LoadObserver& observer, const bool& stopRequested);

}  // namespace vxa
