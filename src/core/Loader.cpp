#include "Loader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "IoError.h"

namespace vxa {

namespace {

// Largest size the format can be read back at: sizes and positions are
// signed 32-bit numbers, so no table value can ever equal a larger size.
constexpr std::uint64_t kMaxArchiveSize = 0x7FFFFFFFu;
// The file is read into the table's buffer in steps of this size, as far as
// the entries reached so far need, so a load hands events to the toolkit
// between the reads of a big archive.
constexpr std::size_t kReadStep = std::size_t{4} << 20;

class ArchiveReader {
  public:
    ArchiveReader(File& file, EntryTable& table) : file_(file), table_(table) {
        const std::uint64_t size = file_.size();
        // A larger file cannot be an archive: its table would be read to the
        // end without a match. Fail at once instead of holding it in memory.
        if (size > kMaxArchiveSize)
            throw IoError(kReadBeyondEnd);
        size_ = static_cast<std::size_t>(size);
        try {
            table_.Bytes =
                std::make_unique_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(size_, 1));
        } catch (const std::bad_alloc&) {
            throw IoError(kOutOfMemory);
        }
        table_.ByteCount = size_;
    }

    std::size_t size() const { return size_; }

    // Makes bytes [0, end) available, or fails as a read past the end does.
    const std::uint8_t* need(std::uint64_t end) {
        if (end > size_)
            throw IoError(kReadBeyondEnd);
        if (end > filled_) {
            const std::size_t target =
                std::min(size_, std::max<std::size_t>(end, filled_ + kReadStep));
            const std::size_t got = file_.read(table_.Bytes.get() + filled_, target - filled_);
            filled_ += got;
            if (filled_ < end)
                throw IoError(kReadBeyondEnd);  // the file shrank
        }
        return table_.Bytes.get();
    }

    std::uint32_t u32(std::uint64_t at) {
        const std::uint8_t* p = need(at + 4) + at;
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
               std::uint32_t{p[3]} << 24;
    }
    std::uint16_t u16(std::uint64_t at) {
        const std::uint8_t* p = need(at + 2) + at;
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }

  private:
    File& file_;
    EntryTable& table_;
    std::size_t size_ = 0;
    std::size_t filled_ = 0;
};

// Links[i]: -1 for a blank value, 0 for the first entry with a value, k for
// a later one whose value entry k (1-based) had first. The non-blank indices
// are put in value order by a stable radix sort, so each run of equal values
// starts with its first entry. That is linear in the entry count and no
// single allocation is larger than the table itself, which a hash table
// (node-based or open addressing) could not promise.
void ComputeLinks(const std::vector<std::uint32_t>& values, std::vector<std::int32_t>& links) {
    links.assign(values.size(), -1);
    std::vector<std::uint32_t> order;
    order.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] != 0)
            order.push_back(static_cast<std::uint32_t>(i));
    }
    std::vector<std::uint32_t> scratch(order.size());
    for (int shift = 0; shift < 32; shift += 8) {
        std::size_t counts[257] = {};
        for (std::uint32_t i : order)
            ++counts[((values[i] >> shift) & 0xFF) + 1];
        for (int b = 0; b < 256; ++b)
            counts[b + 1] += counts[b];
        for (std::uint32_t i : order)
            scratch[counts[(values[i] >> shift) & 0xFF]++] = i;
        order.swap(scratch);
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::uint32_t i = order[k];
        const bool first = k == 0 || values[order[k - 1]] != values[i];
        links[i] = first                      ? 0
                   : links[order[k - 1]] == 0 ? static_cast<std::int32_t>(order[k - 1]) + 1
                                              : links[order[k - 1]];
    }
}

// Reads the offset table: values up to the first that equals the file size.
// The table's length is found first, so its arrays are allocated once.
void ReadOffsetTable(ArchiveReader& in, EntryTable& t) {
    const std::uint64_t size = in.size();
    std::uint64_t n = 0;
    while (in.u32(n * 4) != size)
        ++n;
    t.Offsets.resize(n + 1);
    for (std::uint64_t i = 0; i <= n; ++i)
        t.Offsets[i] = in.u32(i * 4);
    ComputeLinks(t.Offsets, t.Links);
    t.EntryCount = static_cast<std::int32_t>(n);
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
    t.OrigSizes[i] = in.u32(offset);
    t.PackedSizes[i] = in.u32(std::uint64_t{offset} + 4);
    t.CompTypes[i] = in.u16(std::uint64_t{offset} + 8);
    if (t.Links[i] == 0) {
        // Checked before anything is read, so a bad size cannot make us wait
        // for or hold more than the file.
        in.need(std::uint64_t{offset} + 10 + t.PackedSizes[i]);
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

}  // namespace

void DrawLoadProgress(View& ui, int position, int maximum) {
    if (maximum == 0)
        return;
    const int w = static_cast<int>(std::nearbyint(static_cast<double>(position) / maximum * 100.0));
    const std::string text = position == maximum
                                 ? std::string("Done")
                                 : std::to_string(position) + "/" + std::to_string(maximum);
    ui.drawLoadProgress(std::clamp(w, 0, 100), text);
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
        ReadOffsetTable(in, t);
        const std::int32_t n = t.EntryCount;
        t.OrigSizes.resize(n);
        t.PackedSizes.resize(n);
        t.CompTypes.resize(n);
        ui.setRowCount(n + 1);
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
        ui.showIoError(oom ? kOutOfMemory : e.what());
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
