#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vxa {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { Error, Warning, Question };
enum class MsgAnswer { Ok, Yes, No };

// The four common file dialogs of the main window, then the two that take
// entries out of the archive: a file for one entry, a folder for all. The
// view knows each one's title, filter, default extension and options.
enum class FileDialog {
    OpenDialog1,
    SaveDialog1,
    SaveDialog2,
    OpenDialog2,
    ExtractEntryDialog,
    ExtractFolderDialog,
};

// Modal results of the summary dialog.
enum class SummaryResult : int { Closed = 2, LoadOnly = 5, Proceed = 6, Cancel = 7 };

// One item of the browser list: "[name]" for a directory, the bare name for
// a file, and the index of its 17 x 17 picture.
struct BrowserItem {
    std::string Caption;
    int Picture = 0;
    bool operator==(const BrowserItem&) const = default;
};

// One step of the script run's progress dialog: show it (which disables the
// main window), close it, set its gauge's maximum or position, or its status
// text.
struct ProgressStep {
    enum class Action { Show, Close, GaugeMax, GaugePosition, Status };
    Action Kind = Action::Show;
    int Value = 0;
    std::string Text;
};

// Everything the window's handlers may do to the window. The Qt main window
// implements it; tests use a recording fake. Grid rows count from 0, the
// heading row; entry i lives in row i + 1.
class View {
  public:
    virtual ~View() = default;

    // Entry grid. It shows the state's GridRows over the entry table
    // (GridRow); this says that they changed: rows, texts or marks.
    virtual void gridChanged() = 0;
    virtual int selectedRow() const = 0;
    virtual void selectRow(int row) = 0;

    // Status bar: panel 0 is the drawn progress area, panel 1 holds text.
    // `barWidth` is the filled width in pixels (0..100).
    virtual void drawLoadProgress(int barWidth, const std::string& text) = 0;
    virtual void setStatusText(const std::string& text) = 0;

    virtual void setStopButtonVisible(bool visible) = 0;
    virtual std::string openEditText() const = 0;
    virtual void setOpenEditText(const std::string& text) = 0;

    virtual MsgAnswer messageBox(const std::string& text, const std::string& title,
                                 MsgButtons buttons, MsgIcon icon) = 0;
    // Runs a file dialog; nullopt when cancelled.
    virtual std::optional<std::string> runFileDialog(FileDialog dialog) = 0;
    virtual void beep() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    // Lets the toolkit handle pending events: at the loader's progress points,
    // where the grid shows the rows read so far and the caller then tests the
    // stop flag; or, `progressPoint` false, between slices of long work that
    // has none (the load's offset table pass), where the window may let the
    // toolkit run but a Stop takes effect only at the next progress point.
    virtual void processEvents(bool progressPoint) = 0;

    // The script run's dialogs: the summary, shown modally (it reads the
    // state it summarises), and the progress dialog.
    virtual SummaryResult showSummaryDialog() = 0;
    virtual void progressDialog(const ProgressStep& step) = 0;

    // File browser pane.
    virtual std::optional<std::string> browserSelectedCaption() const = 0;
    // PathText shows `pathText`; the list shows `items` when there are new
    // ones (a listing), else keeps what it shows.
    virtual void showBrowser(const std::string& pathText,
                             std::optional<std::vector<BrowserItem>> items = std::nullopt) = 0;
};

}  // namespace vxa
