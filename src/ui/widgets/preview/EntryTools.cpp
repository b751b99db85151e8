#include "ui/widgets/preview/EntryTools.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "plan/FolderFiles.h"
#include "ui/PlanHandlers.h"
#include "ui/widgets/EntryGrid.h"
#include "ui/widgets/ExtractMenu.h"
#include "ui/widgets/GridModel.h"
#include "ui/widgets/MainWindow.h"
#include "ui/widgets/preview/FindBox.h"
#include "ui/widgets/preview/PreviewWindow.h"

namespace vxa {

namespace {

// The confirmation lists at most this many entries, then how many more.
constexpr std::size_t kListedPicks = 20;

std::string PickList(const std::vector<FolderPick>& picks) {
    std::string text;
    // Appended piece by piece: GCC 12 at -O3 takes "literal" + std::string
    // for an overlapping copy (-Werror=restrict).
    for (std::size_t k = 0; k < picks.size() && k < kListedPicks; ++k) {
        text += '\n';
        text += std::to_string(picks[k].Entry + 1);
        text += " <- ";
        text += picks[k].Path;
    }
    if (picks.size() > kListedPicks) {
        text += "\n... and ";
        text += std::to_string(picks.size() - kListedPicks);
        text += " more";
    }
    return text;
}

// Moves `w` to `at`, or as near as keeps it whole on the screen there.
void PlaceOnScreen(QWidget* w, QPoint at) {
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (screen) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() - w->frameGeometry().width())));
        at.setY(
            std::max(room.top(), std::min(at.y(), room.bottom() - w->frameGeometry().height())));
    }
    w->move(at);
}

}  // namespace

EntryTools::EntryTools(MainWindow& window, ExtractMenu& menu)
    : QObject(&window),
      window_(window),
      menu_(menu),
      preview_(new PreviewWindow(window.context().State, &window)),
      find_(new FindBox(&window)) {
    QMenu* m = menu.menu();
    m->addSeparator();
    previewAction_ = m->addAction(QStringLiteral("Preview"));
    findAction_ = m->addAction(QStringLiteral("Find..."));
    folderAction_ = m->addAction(QStringLiteral("Replace from folder..."));
    connect(m, &QMenu::aboutToShow, this, &EntryTools::enableActions);
    connect(previewAction_, &QAction::triggered, this, [this] { openPreview(menu_.row()); });
    connect(findAction_, &QAction::triggered, this, &EntryTools::openFind);
    connect(folderAction_, &QAction::triggered, this, [this] {
        window_.dispatcher().run(HandlerKind::Command, [this] { replaceFromFolder(); });
    });
    auto* shortcut = new QShortcut(QKeySequence::Find, &window);
    connect(shortcut, &QShortcut::activated, this, &EntryTools::openFind);
    find_->OnFind = [this](const std::string& text, bool back) { return find(text, back); };
    PickFolder = [this] {
        return QFileDialog::getExistingDirectory(&window_, QStringLiteral("Replace from folder"));
    };

    // The preview follows the selected row, and lets go of an archive as
    // soon as a load starts.
    EntryGrid* grid = window.controls().FileList;
    grid->installEventFilter(this);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &EntryTools::follow);
    connect(&window.gridModel(), &QAbstractItemModel::dataChanged, this, &EntryTools::follow);
    connect(&window.gridModel(), &QAbstractItemModel::rowsInserted, this, &EntryTools::follow);
}

void EntryTools::enableActions() {
    const AppState& s = window_.context().State;
    const bool loaded = s.ArchiveComplete && !s.Loading;
    previewAction_->setEnabled(loaded && menu_.row() >= 1);
    findAction_->setEnabled(loaded);
    folderAction_->setEnabled(loaded);
}

bool EntryTools::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            openPreview(window_.controls().FileList->selectedRow());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void EntryTools::openPreview(int row) {
    const AppState& s = window_.context().State;
    if (!s.ArchiveComplete || s.Loading || row < 1)
        return;
    if (!preview_->isVisible()) {
        // Beside the main window, on its right where the screen has room.
        PlaceOnScreen(preview_, window_.frameGeometry().topRight() + QPoint(8, 0));
        preview_->show();
    }
    preview_->showEntry(row - 1);
    preview_->raise();
}

void EntryTools::openFind() {
    // Under the main window, where it hides none of the grid.
    if (!find_->isVisible())
        PlaceOnScreen(find_, window_.frameGeometry().bottomLeft() + QPoint(0, 8));
    find_->open();
}

void EntryTools::follow() {
    if (!preview_->isVisible())
        return;
    const AppState& s = window_.context().State;
    const std::int32_t entry = window_.controls().FileList->selectedRow() - 1;
    if (s.Loading)
        preview_->forget();
    else if (entry != preview_->entry() || !preview_->reading())
        preview_->showEntry(entry);
}

void EntryTools::goToRow(int row) {
    EntryGrid* grid = window_.controls().FileList;
    window_.selectRow(row);
    FileListSelectCell(window_.context(), row);
    grid->scrollTo(grid->model()->index(row - 1, 0));
}

std::string EntryTools::find(const std::string& text, bool back) {
    const AppState& s = window_.context().State;
    if (!s.ArchiveComplete || s.Loading)
        return "No archive is loaded";
    const auto query = ParseFindQuery(text);
    if (!query)
        return kFindHelp;
    std::string result = "No entry matches";
    window_.dispatcher().run(HandlerKind::Command, [&] {
        const int row = window_.controls().FileList->selectedRow();
        if (const auto found = FindEntry(s, s.Replacements, kinds_, *query, row - 1, back)) {
            goToRow(*found + 1);
            result.clear();
        }
    });
    return result;
}

void EntryTools::replaceFromFolder() {
    Context& c = window_.context();
    if (!c.State.ArchiveComplete)
        return;
    std::string dir = PickFolder().toStdString();
    if (dir.empty())
        return;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    std::vector<std::string> problems;
    const auto picks = PickFolderFiles(c.State, c.Fs, dir, {}, problems);
    if (!problems.empty()) {
        std::string text;
        for (const std::string& p : problems)
            text += p + "\n";
        c.Ui.messageBox(text + "Nothing was added.", "Error", MsgButtons::Ok, MsgIcon::Error);
        return;
    }
    if (picks.empty()) {
        c.Ui.messageBox("No file in this folder differs from its entry.", "Hmmm?", MsgButtons::Ok,
                        MsgIcon::Warning);
        return;
    }
    if (c.Ui.messageBox("Replace these entries by the edited files?" + PickList(picks),
                        "Simple question", MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }
    // Each as Replace does it, for the whole group.
    for (const FolderPick& pick : picks)
        ReplaceRow(c, pick.Entry + 1, pick.Path);
}

}  // namespace vxa
