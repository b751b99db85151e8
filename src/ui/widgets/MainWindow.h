#pragma once

#include <QMainWindow>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "script/widgets/ProgressDialog.h"
#include "script/widgets/SummaryDialog.h"
#include "ui/Context.h"
#include "ui/Dispatch.h"
#include "ui/View.h"
#include "ui/widgets/EventPump.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/Form1Controls.h"
#include "ui/widgets/MessageBoxes.h"

namespace vxa {

class GridModel;

// The main window `Form1`. It builds its controls, wires their events to the
// program's handlers and lets the logic reach the controls through View; the
// logic itself lives elsewhere. Creating it runs FormCreate.
class MainWindow final : public QMainWindow, public View {
    Q_OBJECT
  public:
    MainWindow(AppState& state, FileSystem& fs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The summary and progress dialogs, created after the window.
    void attachDialogs(TForm2& summary, TForm3& progress);

    const Form1Controls& controls() const { return ui_; }
    Context& context() { return ctx_; }
    GridModel& gridModel() { return *model_; }

    // What answers message boxes and file dialogs: the real modal ones at
    // first. Tests put their own answers here. A dialog may be given the
    // file name it offers (empty: its last pick).
    MessageBoxFn MessageBoxHook;
    std::function<std::optional<std::string>(FileDialog, const std::string& suggestedName)>
        FileDialogHook;
    // Runs every handler of the window: refuses commands during a load and
    // shows what a handler throws.
    Dispatcher& dispatcher() { return dispatch_; }

    // View: the entry grid.
    void gridChanged() override;
    int selectedRow() const override;
    void selectRow(int row) override;

    // View: status bar, Stop, path field.
    void drawLoadProgress(int barWidth, const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void setStopButtonVisible(bool visible) override;
    std::string openEditText() const override;
    void setOpenEditText(const std::string& text) override;

    // View: boxes, dialogs, feedback.
    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override;
    std::optional<std::string> runFileDialog(FileDialog dialog) override;
    void beep() override;
    void setBusyCursor(bool busy) override;
    void processEvents(bool progressPoint) override;

    // View: the script run's dialogs.
    SummaryResult showSummaryDialog() override;
    void progressDialog(const ProgressStep& step) override;

    // View: the browser pane.
    std::optional<std::string> browserSelectedCaption() const override;
    void showBrowser(const std::string& pathText,
                     std::optional<std::vector<BrowserItem>> items) override;

    // The grid's texts, as it shows them (row 0 is the heading).
    std::string cell(int col, int row) const;
    int rowCount() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void wireButtons();
    void wireGrid();
    void wireBrowser();
    void afterHandler();

    AppState& state_;
    Context ctx_;
    Form1Controls ui_;
    GridModel* model_;
    Dispatcher dispatch_;
    EventPump pump_;
    FileDialogs dialogs_;
    TForm2* summary_ = nullptr;
    TForm3* progress_ = nullptr;
    bool busy_ = false;
    // A load set the grid's rows; its columns are fitted once the handler
    // that ran it has returned.
    bool gridRewritten_ = false;
};

// The program's three windows over one state, made in start-up order: the
// main window (its creation lists the browser and fills the start cells),
// then the summary and progress dialogs, hidden, which it is given.
struct ProgramWindows {
    ProgramWindows(AppState& state, FileSystem& fs)
        : Form1(state, fs), Form2(state, fs, &Form1), Form3(state, &Form1) {
        Form1.attachDialogs(Form2, Form3);
    }

    MainWindow Form1;
    TForm2 Form2;
    TForm3 Form3;
};

// Opening what the desktop hands over: a file named on the command line (a
// file manager's "Open with" or double click), or an archive dropped on the
// path bar.

inline constexpr const char* kManagerUsage =
    "usage: vxa-manager [ARCHIVE.vxa | SCRIPT.vxc]\n"
    "  ARCHIVE.vxa  opens the archive, as typing its path and pressing Reopen does\n"
    "  SCRIPT.vxc   runs the script, as \"Run script...\" does once a script is picked\n";

// Acts on vxa-manager's arguments (the program's name left out): none does
// nothing; one path ending in ".vxa" or ".vxc" (exactly, case included, as
// the program tells every extension) is opened or run. Anything else writes
// the usage to `err`, opens nothing and returns false.
bool OpenFromArguments(MainWindow& window, const std::vector<std::string>& args, std::ostream& err);

// Makes a drop of one local ".vxa" file on the path bar open that archive,
// as typing its path and pressing Reopen does. Other drops keep the line
// edit's own meaning.
void AcceptArchiveDrops(MainWindow& window);

}  // namespace vxa
