#include "ui/widgets/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/io/IoError.h"
#include "script/widgets/ProgressDialog.h"
#include "script/widgets/SummaryDialog.h"
#include "ui/Browser.h"
#include "ui/CompileHandlers.h"
#include "ui/FormCreate.h"
#include "ui/LoadHandlers.h"
#include "ui/PlanHandlers.h"
#include "ui/ScriptHandlers.h"
#include "ui/widgets/BrowserWidgets.h"
#include "ui/widgets/EntryGrid.h"
#include "ui/widgets/ExtractMenu.h"
#include "ui/widgets/GridModel.h"
#include "ui/widgets/StatusPanels.h"
#include "ui/widgets/preview/EntryEdits.h"
#include "ui/widgets/preview/EntryTools.h"

namespace vxa {

MainWindow::MainWindow(AppState& state, FileSystem& fs, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      // The application sets no title of its own, so its general error box
      // goes by the executable's name.
      ctx_{state, *this, fs, QCoreApplication::applicationName().toStdString()},
      ui_(BuildForm1(*this)),
      model_(new GridModel(state, this)),
      dispatch_(ctx_, [this] { afterHandler(); }),
      dialogs_(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ORN VXA manager"));
    ui_.FileList->setModel(model_);
    MessageBoxHook = [this](const MessageRequest& r) { return ShowMessageBox(this, r); };
    FileDialogHook = [this](FileDialog d, const std::string& name) {
        return dialogs_.run(d, name);
    };
    wireButtons();
    wireGrid();
    wireBrowser();
    auto* extract = new ExtractMenu(*this);
    new EntryTools(*this, *extract);
    new EntryEdits(*this, *extract);
    AcceptArchiveDrops(*this);

    const std::string currentDir = CurrentDirectory();
    ui_.DriveComboBox1->setDrives(ListDrives(),
                                  QFile::decodeName(QByteArray::fromStdString(currentDir)));
    // The columns keep their start widths until a load brings numbers.
    dispatch_.run(HandlerKind::Command, [&] { FormCreate(ctx_, currentDir); });
}

MainWindow::~MainWindow() {
    if (busy_)
        QApplication::restoreOverrideCursor();
}

void MainWindow::attachDialogs(TForm2& summary, TForm3& progress) {
    summary_ = &summary;
    progress_ = &progress;
}

void MainWindow::wireButtons() {
    const auto on = [this](QPushButton* button, void (*handler)(Context&),
                           HandlerKind kind = HandlerKind::Command) {
        connect(button, &QPushButton::clicked, this,
                [this, handler, kind] { dispatch_.run(kind, [&] { handler(ctx_); }); });
    };
    on(ui_.OpenBtn, OpenBtnClick);
    on(ui_.ReloadBtn, ReloadBtnClick);
    on(ui_.StopBtn, StopBtnClick, HandlerKind::Stop);
    on(ui_.RplBtn, RplBtnClick);
    on(ui_.UnBtn, UnBtnClick);
    on(ui_.CanBtn, CanBtnClick);
    on(ui_.SvhBtn, SvhBtnClick);
    on(ui_.SvahBtn, SvahBtnClick);
    on(ui_.SvsBtn, SvsBtnClick);
    on(ui_.RsBtn, RsBtnClick);
}

void MainWindow::wireGrid() {
    EntryGrid* grid = ui_.FileList;
    grid->BrowserList = ui_.List1;
    connect(grid, &EntryGrid::rowSelected, this, [this](int row) {
        dispatch_.run(HandlerKind::Command, [&] { FileListSelectCell(ctx_, row); });
    });
    grid->OnDragOver = [this](const DragSource& source, int row) {
        bool accept = false;
        dispatch_.run(HandlerKind::Command, [&] { accept = FileListDragOver(ctx_, source, row); });
        return accept;
    };
    grid->OnDrop = [this](const DragSource& source, int row) {
        dispatch_.run(HandlerKind::Command, [&] { FileListDragDrop(ctx_, source, row); });
    };
}

void MainWindow::wireBrowser() {
    const auto openItem = [this] {
        dispatch_.run(HandlerKind::Command, [&] { List1DblClick(ctx_); });
    };
    connect(ui_.List1, &BrowserList::listDoubleClicked, this, openItem);
    connect(ui_.List1, &BrowserList::enterPressed, this, openItem);
    connect(ui_.List1, &BrowserList::itemSelectionToggled, this,
            [this](const std::string& caption) {
                dispatch_.run(HandlerKind::Command, [&] { List1SelectItem(ctx_, caption); });
            });
    connect(ui_.DriveComboBox1, &DriveSelector::drivePicked, this, [this](const std::string& root) {
        if (!dispatch_.run(HandlerKind::Command, [&] { DriveComboBox1Change(ctx_, root); })) {
            ui_.DriveComboBox1->revert();
        }
    });
}

void MainWindow::afterHandler() {
    pump_.restart();
    // A load rewrote the grid: its columns fit the new numbers.
    if (gridRewritten_) {
        gridRewritten_ = false;
        ui_.FileList->fitColumns(model_->widestTexts());
    }
    // The user closed the window while a load ran; it has stopped by now.
    if (state_.CloseRequested && !state_.Loading) {
        state_.CloseRequested = false;
        close();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!state_.Loading) {
        event->accept();
        return;
    }
    // A load is handing events to the toolkit from inside a handler: let it
    // stop quietly and close once it has returned.
    state_.CloseRequested = true;
    state_.StopRequested = true;
    event->ignore();
}

void MainWindow::gridChanged() {
    gridRewritten_ = gridRewritten_ || state_.Loading;
    model_->sync();
    ui_.FileList->ensureCurrentRow();
}

std::string MainWindow::cell(int col, int row) const {
    return GridCellText(state_.Grid, state_.Table, col, row);
}

int MainWindow::rowCount() const {
    return state_.Grid.Count;
}

int MainWindow::selectedRow() const {
    return ui_.FileList->selectedRow();
}
void MainWindow::selectRow(int row) {
    ui_.FileList->selectRow(row);
}

void MainWindow::drawLoadProgress(int barWidth, const std::string& text) {
    ui_.Status1->progress()->draw(barWidth, QString::fromStdString(text));
}

void MainWindow::setStatusText(const std::string& text) {
    ui_.Status1->textPanel()->setText(QString::fromStdString(text));
}

void MainWindow::setStopButtonVisible(bool visible) {
    ui_.StopBtn->setVisible(visible);
}

std::string MainWindow::openEditText() const {
    return QFile::encodeName(ui_.OpenEdit->text()).toStdString();
}

void MainWindow::setOpenEditText(const std::string& text) {
    ui_.OpenEdit->setText(QFile::decodeName(QByteArray::fromStdString(text)));
}

MsgAnswer MainWindow::messageBox(const std::string& text, const std::string& title,
                                 MsgButtons buttons, MsgIcon icon) {
    // Every box of a script run ends it (a refused compile, a stop, an I/O
    // error): it must not stand over "Please wait" on a disabled window, so
    // the run's dialog closes first.
    if (progress_ && progress_->isVisible())
        progress_->closeRun();
    return MessageBoxHook(MessageRequest{text, title, buttons, icon});
}

std::optional<std::string> MainWindow::runFileDialog(FileDialog dialog) {
    return FileDialogHook(dialog, {});
}

void MainWindow::beep() {
    QApplication::beep();
}

void MainWindow::setBusyCursor(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::processEvents(bool progressPoint) {
    if (!pump_.due())
        return;
    // Between slices of the table pass no row has been read yet.
    if (progressPoint)
        model_->flush();
    QApplication::processEvents();
}

void MainWindow::progressDialog(const ProgressStep& step) {
    if (!progress_)
        return;
    switch (step.Kind) {
        case ProgressStep::Action::Show:
            progress_->showRun();
            break;
        case ProgressStep::Action::Close:
            progress_->closeRun();
            break;
        case ProgressStep::Action::GaugeMax:
            progress_->setGaugeMax(step.Value);
            break;
        case ProgressStep::Action::GaugePosition:
            progress_->setGaugeProgress(step.Value);
            break;
        case ProgressStep::Action::Status:
            progress_->setStatus(QString::fromStdString(step.Text));
            break;
    }
}

SummaryResult MainWindow::showSummaryDialog() {
    if (!summary_)
        return SummaryResult::Closed;
    switch (summary_->exec()) {
        case static_cast<int>(SummaryResult::Proceed):
            return SummaryResult::Proceed;
        case static_cast<int>(SummaryResult::LoadOnly):
            return SummaryResult::LoadOnly;
        case static_cast<int>(SummaryResult::Cancel):
            return SummaryResult::Cancel;
        default:
            return SummaryResult::Closed;
    }
}

std::optional<std::string> MainWindow::browserSelectedCaption() const {
    return ui_.List1->selectedCaption();
}

void MainWindow::showBrowser(const std::string& pathText,
                             std::optional<std::vector<BrowserItem>> items) {
    ui_.PathText->setText(QFile::decodeName(QByteArray::fromStdString(pathText)));
    if (items)
        ui_.List1->setItems(*items);
}

}  // namespace vxa
