#include "Loader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <new>

#include "ArchiveReader.h"
#include "IoError.h"
#include "Links.h"

namespace vxa {

namespace {

// Checks entry i against the file before it is kept, as reading its record
// would: a record that does not lie inside the file fails the load here,
// whatever order the headers were read in. A shared entry takes its type
// from the header it shares; its sizes stay 0.
void CheckEntry(EntryTable& t, std::size_t i, std::uint64_t size) {
    const std::uint64_t offset = t.Offsets[i];
    if (offset == 0)
        return;  // blank: no record
    if (offset + 10 > size)
        throw IoError(kReadBeyondEnd);
    const std::int32_t link = t.Links[i];
    if (link == 0) {
        if (offset + 10 + t.PackedSizes[i] > size)
            throw IoError(kReadBeyondEnd);
    } else {
        t.CompTypes[i] = t.CompTypes[static_cast<std::size_t>(link) - 1];
    }
}

bool IsProgressPoint(std::int64_t i) {
    return i >= 1 && (i - 1) % 10 == 0;
}

// Ends a load that did not complete: the table keeps the entries read, the
// grid one row for each of them.
void CutBack(Context& c, std::int32_t entriesRead) {
    c.State.Table.EntryCount = std::min(c.State.Table.EntryCount, entriesRead);
    c.Ui.setRowCount(c.State.Table.EntryCount + 1);
}

// position / maximum as a whole percentage, halves rounded to even, in
// integers: the quotient in floating point misses exact halves (230/400 comes
// out as 57.4999...). The loader's positions lie in 0..maximum, maximum > 0.
int ProgressPercent(std::int64_t position, std::int64_t maximum) {
    const std::int64_t twice = 2 * maximum;
    const std::int64_t scaled = 200 * position + maximum;
    std::int64_t w = scaled / twice;
    if (scaled % twice == 0 && w % 2 != 0)
        --w;  // exactly half way: to the even neighbour
    return static_cast<int>(w);
}

// Draws position/maximum into the status bar's progress panel. It runs at
// every tenth entry, so the text is formatted without a detour over the heap.
void DrawLoadProgress(View& ui, int position, int maximum) {
    const int w = ProgressPercent(position, maximum);
    if (position == maximum) {
        ui.drawLoadProgress(w, "Done");
        return;
    }
    constexpr std::size_t kIntDigits = 11;  // "-2147483648"
    std::array<char, 2 * kIntDigits + 1> text{};
    char* slash = std::to_chars(text.data(), text.data() + kIntDigits, position).ptr;
    *slash = '/';
    char* end = std::to_chars(slash + 1, text.data() + text.size(), maximum).ptr;
    ui.drawLoadProgress(w, std::string(text.data(), end));
}

}  // namespace

LoadOutcome LoadArchive(Context& c, const std::string& path, bool scriptMode) {
    AppState& s = c.State;
    View& ui = c.Ui;
    if (!c.Fs.fileExists(path)) {
        ui.messageBox("File doesn't exist !!!", "Error", MsgButtons::Ok, MsgIcon::Error);
        return LoadOutcome::FileMissing;
    }
    // Opened before anything changes: a file that cannot be opened at all
    // leaves the archive loaded before as it was, loaded and usable.
    std::unique_ptr<File> file;
    try {
        file = c.Fs.openRead(path);
    } catch (const IoError& e) {
        ui.showFileError(path, e.what());
        return LoadOutcome::NotOpened;
    }
    s.InPath = path;
    s.StopRequested = false;
    // Only now, with this one open, is the archive loaded before let go.
    s.Archive.reset();
    if (!scriptMode)
        ui.setStopButtonVisible(true);

    struct LoadingFlag {
        bool& flag;
        explicit LoadingFlag(bool& f) : flag(f) { flag = true; }
        ~LoadingFlag() { flag = false; }
    } loading(s.Loading);

    EntryTable& t = s.Table;
    std::int32_t entriesRead = 0;
    bool tableTouched = false;
    FileStamp stamp;
    try {
        // What the compiler later compares with, to notice a rewrite.
        stamp = file->stamp();
        ui.setBusyCursor(true);
        t.clear();
        tableTouched = true;
        ArchiveReader in(*file, stamp.Size);
        // Only a long table hands events to the toolkit: a short one leaves
        // the first chance to do so to the first progress point.
        const Pause offerEvents = [&ui] { ui.offerEvents(); };
        const bool longTable = in.readTable(t, offerEvents);
        const std::int32_t n = t.EntryCount;
        // The rows first: until the arrays below exist, the grid shows its
        // rows empty, which it may do while the toolkit has a turn.
        ui.setRowCount(n + 1);
        if (longTable)
            ui.offerEvents();
        const Pause offer = longTable ? offerEvents : Pause();
        ResizeInSlices(t.OrigSizes, n, 0u, offer);
        ResizeInSlices(t.PackedSizes, n, 0u, offer);
        ResizeInSlices(t.CompTypes, n, std::uint16_t{0}, offer);
        ui.setBusyCursor(false);
        ui.setStatusText("Reading file...");
        if (scriptMode)
            ui.setGaugeMax(n);
        in.readHeaders(t, offer);

        for (std::int32_t i = 0; i < n; ++i) {
            CheckEntry(t, static_cast<std::size_t>(i), stamp.Size);
            ui.writeEntryRow(i + 1);
            entriesRead = i + 1;
            if (!IsProgressPoint(i))
                continue;
            if (scriptMode) {
                ui.setGaugeProgress(i - 1);
            } else {
                DrawLoadProgress(ui, i - 1, n);
            }
            ui.processEvents();
            if (!s.StopRequested)
                continue;

            CutBack(c, entriesRead);
            file.reset();
            ui.setStopButtonVisible(false);
            ui.setStatusText("File list not complete");
            s.ArchiveComplete = false;
            if (!scriptMode)
                s.Replacements.clear();
            if (!s.CloseRequested) {
                ui.messageBox(scriptMode ? "Script execution interrupted by user"
                                         : "Incomplete file is not editable",
                              "Warning", MsgButtons::Ok, MsgIcon::Warning);
            }
            return LoadOutcome::Stopped;
        }
    } catch (const std::exception& e) {
        const bool oom = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        const bool io = dynamic_cast<const IoError*>(&e) != nullptr;
        if (!oom && !io)
            throw;
        // Leave the window as a finished load would, with nothing editable.
        file.reset();
        if (tableTouched)
            CutBack(c, entriesRead);
        ui.setBusyCursor(false);
        if (!scriptMode)
            ui.setStopButtonVisible(false);
        ui.setStatusText("");
        s.ArchiveComplete = false;
        ui.showFileError(path, oom ? kOutOfMemory : e.what());
        return LoadOutcome::Failed;
    }

    if (!scriptMode) {
        DrawLoadProgress(ui, 1, 1);
        s.Replacements.clear();
    }
    ui.setStatusText("");
    ui.beep();
    // Kept open: the compiler copies the records it keeps from this file,
    // which stays readable even when a compile renames another over it.
    s.Archive = std::move(file);
    s.ArchiveStamp = stamp;
    if (!scriptMode)
        ui.setStopButtonVisible(false);
    s.ArchiveComplete = true;
    return LoadOutcome::Complete;
}

void OpenBtnClick(Context& c) {
    const auto path = c.Ui.runFileDialog(FileDialog::OpenDialog1);
    if (!path)
        return;
    const LoadOutcome outcome = LoadArchive(c, *path, false);
    if (outcome == LoadOutcome::Failed || outcome == LoadOutcome::NotOpened)
        return;
    c.Ui.setOpenEditText(*path);
}

void ReloadBtnClick(Context& c) {
    const std::string path = c.Ui.openEditText();
    if (c.Fs.fileExists(path))
        LoadArchive(c, path, false);
}

void StopBtnClick(Context& c) {
    c.State.StopRequested = true;
}

}  // namespace vxa
