#include "core/Loader.h"

#include <algorithm>

#include "core/ArchiveReader.h"
#include "core/Links.h"
#include "core/io/IoError.h"

namespace vxa {

namespace {

// Checks entry i against the file before it is kept, as reading its record
// would: a record that does not lie inside the file fails the load here,
// whatever order the headers were read in. A shared entry takes its type
// from the header it shares (read at its own value too); its sizes are 0.
void CheckEntry(EntryTable& t, std::size_t i, std::uint64_t size) {
    const std::uint64_t offset = t.Offsets[i];
    if (offset == 0)
        return;  // blank: no record
    if (offset + kRecordHeaderBytes > size)
        throw IoError(kReadBeyondEnd);
    const std::int32_t link = t.Links[i];
    if (link == 0) {
        if (offset + kRecordHeaderBytes + t.PackedSizes[i] > size)
            throw IoError(kReadBeyondEnd);
    } else {
        t.OrigSizes[i] = t.PackedSizes[i] = 0;
    }
}

bool IsProgressPoint(std::int64_t i) {
    return i >= 1 && (i - 1) % 10 == 0;
}

// Reads the table and the headers; the entries are checked one by one after
// that, with progress points between them.
void ReadTableAndHeaders(File& file, std::uint64_t size, EntryTable& t, LoadObserver& observer) {
    ArchiveReader in(file, size);
    // Only a long table hands events to the toolkit: a short one leaves
    // the first chance to do so to the first progress point.
    const Pause offerEvents = [&observer] { observer.offerEvents(); };
    const bool longTable = in.readTable(t, offerEvents);
    const std::int32_t n = t.EntryCount;
    // The rows first: until the arrays below exist, the grid shows its
    // rows empty, which it may do while the toolkit has a turn.
    observer.tableRead(n);
    if (longTable)
        observer.offerEvents();
    const Pause offer = longTable ? offerEvents : Pause();
    ResizeInSlices(t.OrigSizes, n, 0u, offer);
    ResizeInSlices(t.PackedSizes, n, 0u, offer);
    ResizeInSlices(t.CompTypes, n, std::uint16_t{0}, offer);
    observer.readingEntries(n);
    in.readHeaders(t, offer);
}

}  // namespace

LoadOutcome LoadArchive(FileSystem& fs, const std::string& path, LoadedArchive& into,
                        LoadObserver& observer, const bool& stopRequested) {
    if (!fs.fileExists(path))
        return LoadOutcome::FileMissing;
    // Opened before anything changes: a file that cannot be opened at all
    // leaves the archive loaded before as it was, loaded and usable.
    std::unique_ptr<File> file = fs.openRead(path);
    observer.started();
    // Only now, with this one open, is the archive loaded before let go.
    into.Archive.reset();

    EntryTable& t = into.Table;
    std::int32_t entriesRead = 0;
    bool tableTouched = false;
    try {
        // What the compiler later compares with, to notice a rewrite.
        const FileStamp stamp = file->stamp();
        t.clear();
        tableTouched = true;
        observer.readingTable();
        ReadTableAndHeaders(*file, stamp.Size, t, observer);
        const std::int32_t n = t.EntryCount;
        for (std::int32_t i = 0; i < n; ++i) {
            CheckEntry(t, static_cast<std::size_t>(i), stamp.Size);
            entriesRead = i + 1;
            if (!IsProgressPoint(i))
                continue;
            observer.progressPoint(i - 1, n, entriesRead);
            if (stopRequested) {
                t.EntryCount = std::min(t.EntryCount, entriesRead);
                return LoadOutcome::Stopped;
            }
        }
        // Kept open: the compiler copies the records it keeps from this file,
        // which stays readable even when a compile renames another over it.
        into.Archive = std::move(file);
        into.ArchiveStamp = stamp;
        return LoadOutcome::Complete;
    } catch (...) {
        if (tableTouched)
            t.EntryCount = std::min(t.EntryCount, entriesRead);
        throw;
    }
}

}  // namespace vxa
