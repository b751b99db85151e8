#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Browser.h"
#include "BrowserWidgets.h"
#include "DesktopOpen.h"
#include "EntryGrid.h"
#include "ExtractMenu.h"
#include "FormCreate.h"
#include "GridModel.h"
#include "StatusPanels.h"
#include "core/Compiler.h"
#include "core/IoError.h"
#include "core/Loader.h"
#include "plan/Plan.h"
#include "script/ProgressDialog.h"
#include "script/ScriptHandlers.h"
#include "script/SummaryDialog.h"

namespace vxa {

MainWindow::MainWindow(AppState& state, FileSystem& fs, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      ctx_{state, *this, fs},
      ui_(BuildForm1(*this)),
      model_(new GridModel(state.Table, this)),
      dispatch_(ctx_, [this] { afterHandler(); }),
      dialogs_(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ORN VXA manager"));
    ui_.FileList->setModel(model_);
    messageBoxHook = [this](const MessageRequest& r) { return ShowMessageBox(this, r); };
    fileDialogHook = [this](FileDialog d, const std::string& name) {
        return dialogs_.run(d, name);
    };
    wireButtons();
    wireGrid();
    wireBrowser();
    new ExtractMenu(*this);
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
    grid->browserList = ui_.List1;
    connect(grid, &EntryGrid::rowSelected, this, [this](int row) {
        dispatch_.run(HandlerKind::Command, [&] { FileListSelectCell(ctx_, row); });
    });
    grid->onDragOver = [this](const DragSource& source, int x, int y) {
        bool accept = false;
        dispatch_.run(HandlerKind::Command, [&] { accept = FileListDragOver(ctx_, source, x, y); });
        return accept;
    };
    grid->onDrop = [this](const DragSource& source) {
        dispatch_.run(HandlerKind::Command, [&] { FileListDragDrop(ctx_, source); });
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

void MainWindow::setRowCount(int rows) {
    gridRewritten_ = gridRewritten_ || state_.Loading;
    model_->setGridRowCount(rows);
    ui_.FileList->ensureCurrentRow();
}

int MainWindow::rowCount() const {
    return model_->gridRowCount();
}

void MainWindow::setCell(int col, int row, const std::string& text) {
    model_->setCell(col, row, text);
}

std::string MainWindow::cell(int col, int row) const {
    return model_->cell(col, row);
}
void MainWindow::writeEntryRow(int row) {
    model_->writeEntryRow(row);
}
void MainWindow::beginGridUpdate() {
    model_->beginUpdate();
}
void MainWindow::endGridUpdate() {
    model_->endUpdate();
}
int MainWindow::selectedRow() const {
    return ui_.FileList->selectedRow();
}
void MainWindow::selectRow(int row) {
    ui_.FileList->selectRow(row);
}

int MainWindow::defaultRowHeight() const {
    return ui_.FileList->verticalHeader()->defaultSectionSize();
}

int MainWindow::topRow() const {
    return ui_.FileList->topRow();
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
    return messageBoxHook(MessageRequest{text, title, buttons, icon});
}

void MainWindow::showIoError(const std::string& runtimeText) {
    // The general error box: titled like the application, which sets no
    // title of its own and so goes by its executable's name.
    messageBox(ErrorBoxText(runtimeText), QCoreApplication::applicationName().toStdString(),
               MsgButtons::Ok, MsgIcon::Error);
}

std::optional<std::string> MainWindow::runFileDialog(FileDialog dialog) {
    return fileDialogHook(dialog, {});
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

void MainWindow::processEvents() {
    if (!pump_.due())
        return;
    model_->flush();
    QApplication::processEvents();
}

void MainWindow::offerEvents() {
    // Same throttle as the progress points. Nothing is flushed: the table is
    // being read and no row has been written yet.
    if (pump_.due())
        QApplication::processEvents();
}

void MainWindow::setGaugeMax(int max) {
    if (progress_)
        progress_->setGaugeMax(max);
}

void MainWindow::setGaugeProgress(int progress) {
    if (progress_)
        progress_->setGaugeProgress(progress);
}

void MainWindow::setProgressStatus(const std::string& text) {
    if (progress_)
        progress_->setStatus(QString::fromStdString(text));
}

void MainWindow::showProgressDialog() {
    if (progress_)
        progress_->showRun();
}

void MainWindow::closeProgressDialog() {
    if (progress_)
        progress_->closeRun();
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

void MainWindow::setBrowserItems(std::vector<BrowserItem> items) {
    ui_.List1->setItems(items);
}

void MainWindow::setPathText(const std::string& text) {
    ui_.PathText->setText(QFile::decodeName(QByteArray::fromStdString(text)));
}

}  // namespace vxa
