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
    std::string caption;
    int picture = 0;
    bool operator==(const BrowserItem&) const = default;
};

// Everything the logic may do to the window. The Qt main window implements
// it; tests use a recording fake; vxa-tool prints instead of drawing.
// Grid rows count from 0, the heading row; entry i lives in row i + 1. The
// logic names only the grid's six columns and rows below rowCount().
class View {
  public:
    virtual ~View() = default;

    // Entry grid.
    virtual void setRowCount(int rows) = 0;
    virtual int rowCount() const = 0;
    virtual void setCell(int col, int row, const std::string& text) = 0;
    virtual std::string cell(int col, int row) const = 0;
    // Row `row` shows entry row - 1 of the entry table as a load writes it.
    // Rows are written in ascending order; writing row 1 starts a new load's
    // rows and drops every text the grid held below the heading.
    virtual void writeEntryRow(int row) = 0;
    // Cell changes between these two are shown with one repaint.
    virtual void beginGridUpdate() = 0;
    virtual void endGridUpdate() = 0;
    virtual int selectedRow() const = 0;
    virtual void selectRow(int row) = 0;
    virtual int defaultRowHeight() const = 0;  // in pixels, at least 1
    virtual int topRow() const = 0;            // first non-fixed row in view

    // Status bar: panel 0 is the drawn progress area, panel 1 holds text.
    // `barWidth` is the filled width in pixels (0..100).
    virtual void drawLoadProgress(int barWidth, const std::string& text) = 0;
    virtual void setStatusText(const std::string& text) = 0;

    virtual void setStopButtonVisible(bool visible) = 0;
    virtual std::string openEditText() const = 0;
    virtual void setOpenEditText(const std::string& text) = 0;

    virtual MsgAnswer messageBox(const std::string& text, const std::string& title,
                                 MsgButtons buttons, MsgIcon icon) = 0;
    // The general error handler's box for a runtime error text.
    virtual void showIoError(const std::string& runtimeText) = 0;
    // The same for a failure of an operation on the file at `path`. The
    // window's box shows the runtime's text alone; vxa-tool names the file.
    virtual void showFileError(const std::string& path, const std::string& runtimeText) {
        (void)path;
        showIoError(runtimeText);
    }
    // Runs a file dialog; nullopt when cancelled.
    virtual std::optional<std::string> runFileDialog(FileDialog dialog) = 0;
    virtual void beep() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    // Lets the toolkit handle pending events (the loader's progress points).
    virtual void processEvents() = 0;
    // Offered between slices of long work that has no progress points, the
    // load's offset table pass: the window may let the toolkit handle pending
    // events, but the caller tests no flag afterwards, so a Stop takes effect
    // at the next progress point. Views that draw nothing ignore it.
    virtual void offerEvents() {}

    // Progress dialog (script runs).
    virtual void setGaugeMax(int max) = 0;
    virtual void setGaugeProgress(int progress) = 0;
    virtual void setProgressStatus(const std::string& text) = 0;
    virtual void showProgressDialog() = 0;
    virtual void closeProgressDialog() = 0;

    // Summary dialog, shown modally; it reads the state it summarises.
    virtual SummaryResult showSummaryDialog() = 0;

    // File browser pane.
    virtual std::optional<std::string> browserSelectedCaption() const = 0;
    virtual void setBrowserItems(std::vector<BrowserItem> items) = 0;
    virtual void setPathText(const std::string& text) = 0;
};

}  // namespace vxa
