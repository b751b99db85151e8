#include "ui/widgets/ExtractMenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressDialog>
#include <memory>

#include "ui/ExtractHandlers.h"
#include "ui/widgets/EntryGrid.h"
#include "ui/widgets/MainWindow.h"

namespace vxa {

ExtractMenu::ExtractMenu(MainWindow& window)
    : QObject(&window),
      window_(window),
      menu_(new QMenu(&window)),
      entry_(menu_->addAction(QStringLiteral("Extract entry..."))),
      all_(menu_->addAction(QStringLiteral("Extract all..."))) {
    menu_->setObjectName(QStringLiteral("ExtractMenu"));
    const auto command = [this](void (ExtractMenu::*handler)()) {
        return [this, handler] {
            window_.dispatcher().run(HandlerKind::Command, [this, handler] { (this->*handler)(); });
        };
    };
    connect(entry_, &QAction::triggered, this, command(&ExtractMenu::extractEntry));
    connect(all_, &QAction::triggered, this, command(&ExtractMenu::extractAll));
    // Mouse events on the rows and the heading come to the grid once their
    // own widgets have passed them on; keyboard ones come to it directly.
    window.controls().FileList->installEventFilter(this);
}

bool ExtractMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // The toolkit makes a context-menu event of the Menu key only, not
        // of Shift+F10, the other key users know for it.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
            return false;
        openFromKeyboard();
        return true;
    }
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto* e = static_cast<QContextMenuEvent*>(event);
    if (e->reason() == QContextMenuEvent::Keyboard) {
        openFromKeyboard();
        return true;
    }
    // Above the viewport lies the heading; under the last row, no row.
    EntryGrid* grid = window_.controls().FileList;
    const int y = grid->viewport()->mapFrom(grid, e->pos()).y();
    open(y < 0 ? 0 : grid->rowAt(y) + 1, e->globalPos());
    return true;
}

void ExtractMenu::openFromKeyboard() {
    EntryGrid* grid = window_.controls().FileList;
    const QRect cell = grid->visualRect(grid->currentIndex());
    const bool inView = grid->viewport()->rect().contains(cell.center());
    open(grid->selectedRow(), grid->viewport()->mapToGlobal(inView ? cell.center() : QPoint()));
}

void ExtractMenu::open(int row, const QPoint& globalPos) {
    window_.dispatcher().run(HandlerKind::Command, [&] { popUp(row, globalPos); });
}

void ExtractMenu::popUp(int row, const QPoint& globalPos) {
    const AppState& s = window_.context().State;
    row_ = row;
    entry_->setEnabled(CanExtractEntry(s, row));
    all_->setEnabled(CanExtractAll(s));
    menu_->popup(globalPos);
}

void ExtractMenu::extractEntry() {
    Context& c = window_.context();
    if (!CanExtractEntry(c.State, row_))
        return;
    const std::int32_t entry = row_ - 1;
    const auto path =
        window_.FileDialogHook(FileDialog::ExtractEntryDialog, EntryFileName(c.State, entry));
    if (path)
        WriteEntryFile(c.State, c.Fs, entry, *path);
}

void ExtractMenu::extractAll() {
    Context& c = window_.context();
    if (!CanExtractAll(c.State))
        return;
    const auto dir = window_.FileDialogHook(FileDialog::ExtractFolderDialog, {});
    if (!dir)
        return;
    // Made at the first file, after any question: it shows itself only when
    // the work goes on for longer than a moment.
    std::unique_ptr<QProgressDialog> progress;
    ExtractAll(c, *dir, [&](int done, int total) {
        if (!progress) {
            progress =
                std::make_unique<QProgressDialog>(QStringLiteral("Extracting entries..."),
                                                  QStringLiteral("Cancel"), 0, total, &window_);
            progress->setWindowTitle(window_.windowTitle());
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(ProgressDelayMs);
        }
        progress->setValue(done);
        return !progress->wasCanceled();
    });
}

}  // namespace vxa
