#include "ui/LoadHandlers.h"

#include <array>
#include <charconv>
#include <new>

#include "core/io/IoError.h"
#include "ui/Dispatch.h"

namespace vxa {

namespace {

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

// The window's side of a load: the Stop button, the cursor, the rows as
// they are read, and the progress in the status bar or on the gauge.
class WindowLoad final : public LoadObserver {
  public:
    WindowLoad(Context& c, const std::string& path, bool scriptMode)
        : c_(c), path_(path), scriptMode_(scriptMode) {}

    bool Begun = false;  // the file is open: the load changes the state from here
    bool TableTouched = false;

    void started() override {
        Begun = true;
        c_.State.InPath = path_;
        c_.State.StopRequested = false;
        if (!scriptMode_)
            c_.Ui.setStopButtonVisible(true);
        // Until the load has said how it ended, every command but Stop waits.
        c_.State.Loading = true;
    }
    void readingTable() override {
        TableTouched = true;
        c_.Ui.setBusyCursor(true);
        ForgetRows(c_.State.Grid);
    }
    void tableRead(std::int32_t entries) override {
        GridRows& grid = c_.State.Grid;
        grid.Count = entries + 1;
        grid.EntryRows = 0;
        c_.Ui.gridChanged();
    }
    void offerEvents() override { c_.Ui.processEvents(false); }
    void readingEntries(std::int32_t entries) override {
        c_.Ui.setBusyCursor(false);
        c_.Ui.setStatusText("Reading file...");
        if (scriptMode_)
            c_.Ui.progressDialog({ProgressStep::Action::GaugeMax, entries, {}});
    }
    void progressPoint(std::int32_t position, std::int32_t entries,
                       std::int32_t entriesRead) override {
        c_.State.Grid.EntryRows = entriesRead;
        c_.Ui.gridChanged();
        if (scriptMode_) {
            c_.Ui.progressDialog({ProgressStep::Action::GaugePosition, position, {}});
        } else {
            DrawLoadProgress(c_.Ui, position, entries);
        }
        c_.Ui.processEvents(true);
    }

  private:
    Context& c_;
    const std::string& path_;
    bool scriptMode_;
};

// Ends a load that did not complete: the grid keeps one row for each entry
// the table kept, every one of them read.
void CutBack(Context& c) {
    GridRows& grid = c.State.Grid;
    const std::int32_t n = c.State.Table.EntryCount;
    grid.Count = n + 1;
    grid.EntryRows = n;
    c.Ui.gridChanged();
}

void EndStoppedLoad(Context& c, bool scriptMode) {
    AppState& s = c.State;
    CutBack(c);
    c.Ui.setStopButtonVisible(false);
    c.Ui.setStatusText("File list not complete");
    s.ArchiveComplete = false;
    if (!scriptMode)
        s.Replacements.clear();
    if (!s.CloseRequested) {
        c.Ui.messageBox(
            scriptMode ? "Script execution interrupted by user" : "Incomplete file is not editable",
            "Warning", MsgButtons::Ok, MsgIcon::Warning);
    }
}

void EndCompleteLoad(Context& c, bool scriptMode) {
    AppState& s = c.State;
    s.Grid.EntryRows = s.Table.EntryCount;
    c.Ui.gridChanged();
    if (!scriptMode) {
        DrawLoadProgress(c.Ui, 1, 1);
        s.Replacements.clear();
    }
    c.Ui.setStatusText("");
    c.Ui.beep();
    if (!scriptMode)
        c.Ui.setStopButtonVisible(false);
    s.ArchiveComplete = true;
}

// Shows the error. A file that could not be opened changed nothing; a load
// that failed later leaves the window as a finished load would, with nothing
// editable.
LoadOutcome EndFailedLoad(Context& c, const WindowLoad& load, bool scriptMode,
                          const std::string& text) {
    if (!load.Begun) {
        ShowGeneralError(c, text);
        return LoadOutcome::NotOpened;
    }
    if (load.TableTouched)
        CutBack(c);
    c.Ui.setBusyCursor(false);
    if (!scriptMode)
        c.Ui.setStopButtonVisible(false);
    c.Ui.setStatusText("");
    c.State.ArchiveComplete = false;
    ShowGeneralError(c, text);
    return LoadOutcome::Failed;
}

}  // namespace

LoadOutcome LoadInWindow(Context& c, const std::string& path, bool scriptMode) {
    AppState& s = c.State;
    struct LoadingEnds {
        bool& Flag;
        ~LoadingEnds() { Flag = false; }
    } loading{s.Loading};
    WindowLoad load(c, path, scriptMode);
    LoadOutcome outcome;
    try {
        outcome = LoadArchive(c.Fs, path, s, load, s.StopRequested);
    } catch (const IoError& e) {
        return EndFailedLoad(c, load, scriptMode, e.what());
    } catch (const std::bad_alloc&) {
        return EndFailedLoad(c, load, scriptMode, kOutOfMemory);
    }
    switch (outcome) {
        case LoadOutcome::FileMissing:
            c.Ui.messageBox("File doesn't exist !!!", "Error", MsgButtons::Ok, MsgIcon::Error);
            break;
        case LoadOutcome::Stopped:
            EndStoppedLoad(c, scriptMode);
            break;
        case LoadOutcome::Complete:
            EndCompleteLoad(c, scriptMode);
            break;
        case LoadOutcome::NotOpened:
        case LoadOutcome::Failed:
            break;
    }
    return outcome;
}

void OpenBtnClick(Context& c) {
    const auto path = c.Ui.runFileDialog(FileDialog::OpenDialog1);
    if (!path)
        return;
    const LoadOutcome outcome = LoadInWindow(c, *path, false);
    if (outcome == LoadOutcome::Failed || outcome == LoadOutcome::NotOpened)
        return;
    c.Ui.setOpenEditText(*path);
}

void ReloadBtnClick(Context& c) {
    const std::string path = c.Ui.openEditText();
    if (c.Fs.fileExists(path))
        LoadInWindow(c, path, false);
}

void StopBtnClick(Context& c) {
    c.State.StopRequested = true;
}

}  // namespace vxa
