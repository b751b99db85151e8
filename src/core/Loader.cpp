#include "Loader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "ArchiveReader.h"
#include "IoError.h"
#include "Links.h"

namespace vxa {

namespace {

// The table pass reads and links the values in slices of this many and, for
// a table longer than that, lets the window hand events to the toolkit
// between them: it has no progress points of its own, and for a million
// entries it takes tens of milliseconds.
constexpr std::uint64_t kTableSlice = std::uint64_t{1} << 16;

// Reads the offset table: values up to the first that equals the file size.
// The table's length is found first, so its arrays are allocated once; both
// passes go over the bytes read so far in bulk rather than value by value.
// Returns whether the table was long enough to offer events between slices.
bool ReadOffsetTable(ArchiveReader& in, EntryTable& t, const Pause& offerEvents) {
    const std::uint64_t size = in.size();
    std::uint64_t n = 0;
    for (;;) {
        const std::uint8_t* bytes = in.need(n * 4, n * 4 + 4);
        const std::uint64_t stop = std::min<std::uint64_t>(in.blockEnd(n * 4) / 4, n + kTableSlice);
        while (n < stop && LoadU32(bytes + n * 4) != size)
            ++n;
        if (n < stop)
            break;
        offerEvents();  // a whole slice was read, so the table is long
    }
    const bool longTable = n >= kTableSlice;
    const Pause offer = longTable ? offerEvents : Pause();
    t.Offsets.resize(n + 1);
    const std::uint8_t* bytes = in.need(0, n * 4 + 4);
    for (std::uint64_t from = 0; from <= n; from += kTableSlice) {
        if (from > 0)
            offer();
        const std::uint64_t to = std::min(n + 1, from + kTableSlice);
        for (std::uint64_t i = from; i < to; ++i)
            t.Offsets[i] = LoadU32(bytes + i * 4);
    }
    if (longTable)
        offer();
    ComputeLinks(t.Offsets, t.Links, offer);
    if (longTable)
        offer();
    t.EntryCount = static_cast<std::int32_t>(n);
    return longTable;
}

// Reads entry i's header and, when it owns its record, makes its data
// available in the buffer.
void ReadEntry(ArchiveReader& in, EntryTable& t, std::size_t i) {
    const std::uint32_t offset = t.Offsets[i];
    if (offset == 0) {  // blank: no record to read
        t.OrigSizes[i] = t.PackedSizes[i] = 0;
        t.CompTypes[i] = 0;
        return;
    }
    const std::uint8_t* header = in.need(offset, std::uint64_t{offset} + 10) + offset;
    t.OrigSizes[i] = LoadU32(header);
    t.PackedSizes[i] = LoadU32(header + 4);
    t.CompTypes[i] = static_cast<std::uint16_t>(header[8] | header[9] << 8);
    if (t.Links[i] == 0) {
        // Checked before anything is read, so a bad size cannot make us wait
        // for or hold more than the file.
        in.need(std::uint64_t{offset} + 10, std::uint64_t{offset} + 10 + t.PackedSizes[i]);
    } else {
        t.OrigSizes[i] = t.PackedSizes[i] = 0;
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
// out as 57.4999...). The loader's positions lie in 0..maximum.
int ProgressPercent(std::int64_t position, std::int64_t maximum) {
    const std::int64_t twice = 2 * maximum;
    const std::int64_t scaled = 200 * position + maximum;
    std::int64_t w = scaled / twice;
    if (scaled % twice == 0 && w % 2 != 0)
        --w;  // exactly half way: to the even neighbour
    return static_cast<int>(std::clamp<std::int64_t>(w, 0, 100));
}

}  // namespace

void DrawLoadProgress(View& ui, int position, int maximum) {
    if (maximum == 0)
        return;
    const int w = ProgressPercent(position, maximum);
    const std::string text = position == maximum
                                 ? std::string("Done")
                                 : std::to_string(position) + "/" + std::to_string(maximum);
    ui.drawLoadProgress(w, text);
}

LoadOutcome LoadArchive(Context& c, const std::string& path, bool scriptMode) {
    AppState& s = c.State;
    View& ui = c.Ui;
    if (!c.Fs.fileExists(path)) {
        ui.messageBox("File doesn't exist !!!", "Error", MsgButtons::Ok, MsgIcon::Error);
        return LoadOutcome::FileMissing;
    }
    s.InPath = path;
    s.StopRequested = false;
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
    std::unique_ptr<File> file;
    try {
        file = c.Fs.openRead(path);
        ui.setBusyCursor(true);
        t.clear();
        tableTouched = true;
        ArchiveReader in(*file, t);
        // Only a long table pass hands events to the toolkit: a short one
        // leaves the first chance to do so to the first progress point.
        const bool longTable = ReadOffsetTable(in, t, [&ui] { ui.offerEvents(); });
        const std::int32_t n = t.EntryCount;
        // The rows first: until the arrays below exist, the grid shows its
        // rows empty, which it may do while the toolkit has a turn.
        ui.setRowCount(n + 1);
        if (longTable)
            ui.offerEvents();
        t.OrigSizes.resize(n);
        t.PackedSizes.resize(n);
        t.CompTypes.resize(n);
        ui.setBusyCursor(false);
        ui.setStatusText("Reading file...");
        if (scriptMode)
            ui.setGaugeMax(n);

        for (std::int32_t i = 0; i < n; ++i) {
            ReadEntry(in, t, i);
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
    file.reset();
    if (!scriptMode)
        ui.setStopButtonVisible(false);
    s.ArchiveComplete = true;
    return LoadOutcome::Complete;
}

void OpenBtnClick(Context& c) {
    const auto path = c.Ui.runFileDialog(FileDialog::OpenDialog1);
    if (!path)
        return;
    if (LoadArchive(c, *path, false) == LoadOutcome::Failed)
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
