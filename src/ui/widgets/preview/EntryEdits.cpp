#include "ui/widgets/preview/EntryEdits.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "core/EntryFiles.h"
#include "ui/Browser.h"
#include "ui/ExtractHandlers.h"
#include "ui/ItemPath.h"
#include "ui/PlanHandlers.h"
#include "ui/widgets/BrowserWidgets.h"
#include "ui/widgets/EntryGrid.h"
#include "ui/widgets/ExtractMenu.h"
#include "ui/widgets/GridModel.h"
#include "ui/widgets/MainWindow.h"

namespace vxa {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// A dragged entry. The file the drop target gets is written only when the
// target asks for the URL list, that is when it takes the drop.
class EntryMime final : public QMimeData {
  public:
    EntryMime(int row, std::function<QString()> write) : row_(row), write_(std::move(write)) {}
    QStringList formats() const override {
        return {kUriList, QString::fromLatin1(kEntryDragFormat)};
    }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

  protected:
    QVariant retrieveData(const QString& type, QMetaType as) const override {
        if (type == QLatin1String(kEntryDragFormat))
            return QByteArray::number(row_);
        if (type != kUriList)
            return {};
        if (path_.isEmpty())
            path_ = write_();
        if (path_.isEmpty())
            return {};
        const QUrl url = QUrl::fromLocalFile(path_);
        if (as.id() == QMetaType::QByteArray)
            return url.toEncoded() + "\r\n";
        return QVariantList{url};
    }

  private:
    int row_;
    std::function<QString()> write_;
    mutable QString path_;
};

QDateTime Modified(const QFileInfo& info) {
    return info.exists() ? info.lastModified() : QDateTime();
}

}  // namespace

EntryEdits::EntryEdits(MainWindow& window, ExtractMenu& menu)
    : QObject(&window),
      window_(window),
      menu_(menu),
      action_(menu.menu()->addAction(QStringLiteral("Edit with..."))),
      watcher_(new QFileSystemWatcher(this)) {
    OpenFile = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    connect(menu.menu(), &QMenu::aboutToShow, this,
            [this] { action_->setEnabled(CanExtractEntry(window_.context().State, menu_.row())); });
    connect(action_, &QAction::triggered, this, [this] {
        window_.dispatcher().run(HandlerKind::Command, [this] { editWith(menu_.row()); });
    });
    // Editors save in place or write a new file and rename it over the old
    // one, which only the folder's watch sees.
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &EntryEdits::takeSavedEdits);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &EntryEdits::takeSavedEdits);
    const Form1Controls& ui = window.controls();
    gridRows_ = ui.FileList->viewport();
    browserRows_ = ui.List1->viewport();
    ui.FileList->viewport()->installEventFilter(this);
    ui.List1->setAcceptDrops(true);
    ui.List1->viewport()->setAcceptDrops(true);
    ui.List1->viewport()->installEventFilter(this);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&window.gridModel(), signal, this, &EntryEdits::dropFolderAfterLoad);
    connect(&window.gridModel(), &QAbstractItemModel::dataChanged, this,
            &EntryEdits::dropFolderAfterLoad);
}

EntryEdits::~EntryEdits() = default;

QString EntryEdits::folderFor(const char* sub) {
    const AppState& s = window_.context().State;
    if (!dir_ || archive_ != s.Archive.get()) {
        dropFolderAfterLoad();
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vxa-XXXXXX"));
        archive_ = s.Archive.get();
    }
    const QString path = dir_->filePath(QString::fromLatin1(sub));
    QDir().mkpath(path);
    return path;
}

void EntryEdits::dropFolderAfterLoad() {
    const AppState& s = window_.context().State;
    if (!dir_ || (archive_ == s.Archive.get() && !s.Loading))
        return;
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    edits_.clear();
    dir_.reset();  // removes the folder and everything in it
    archive_ = nullptr;
}

void EntryEdits::editWith(int row) {
    Context& c = window_.context();
    if (!CanExtractEntry(c.State, row))
        return;
    const QString dir = folderFor("edit");
    const std::int32_t entry = row - 1;
    const QString path = dir + "/" + QString::fromStdString(EntryFileName(c.State, entry));
    // Asked again for an entry being edited: the file there holds the edits
    // so far, which taking the entry out again would throw away.
    if (!edits_.contains(path) || !QFileInfo::exists(path)) {
        WriteEntryFile(c.State, c.Fs, entry, path.toStdString());
        const QFileInfo info(path);
        edits_[path] = {entry, Modified(info), info.size()};
        watcher_->addPath(dir);
        watcher_->addPath(path);
    }
    OpenFile(path);
}

void EntryEdits::takeSavedEdits() {
    for (auto& [path, edit] : edits_) {
        const QFileInfo info(path);
        if (!info.exists() || (Modified(info) == edit.Modified && info.size() == edit.Size))
            continue;
        edit.Modified = Modified(info);
        edit.Size = info.size();
        if (!watcher_->files().contains(path))
            watcher_->addPath(path);  // a rename over it ended the old watch
        const std::int32_t entry = edit.Entry;
        window_.dispatcher().run(HandlerKind::Command, [&] { takeEdit(entry, path); });
    }
}

void EntryEdits::takeEdit(std::int32_t entry, const QString& path) {
    Context& c = window_.context();
    if (!c.State.ArchiveComplete || c.State.Archive.get() != archive_)
        return;
    const std::string file = path.toStdString();
    // Saved again: the group's record names this file already.
    const auto& r = c.State.Replacements;
    const auto last = std::find(r.Indices.rbegin(), r.Indices.rend(), entry);
    if (last == r.Indices.rend() || r.Paths[r.Indices.rend() - last - 1].str() != file) {
        ReplaceRow(c, entry + 1, file);
    }
    c.Ui.setStatusText("Entry " + std::to_string(entry + 1) + " took the edit saved in " +
                       QFileInfo(path).fileName().toStdString());
}

QString EntryEdits::writeDragged(std::int32_t entry) {
    QString path;
    window_.dispatcher().run(HandlerKind::Command, [&] {
        const AppState& s = window_.context().State;
        if (!CanExtractEntry(s, entry + 1))
            return;
        const QString name = QString::fromStdString(EntryFileName(s, entry));
        const QString file = folderFor("drag") + "/" + name;
        WriteEntryFile(s, window_.context().Fs, entry, file.toStdString());
        path = file;
    });
    return path;
}

QMimeData* EntryEdits::dragData(int row) {
    return new EntryMime(row, [this, row] { return writeDragged(row - 1); });
}

bool EntryEdits::eventFilter(QObject* watched, QEvent* event) {
    // The window may be part way through its destruction here, as its
    // widgets are hidden: only events of the kinds looked at reach it.
    if (watched == gridRows_)
        return gridMouse(event);
    return watched == browserRows_ && browserDrop(event);
}

bool EntryEdits::gridMouse(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    EntryGrid* grid = window_.controls().FileList;
    const QPoint at = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        pressAt_ = at;
        pressRow_ = mouse->button() == Qt::LeftButton ? grid->rowAt(at.y()) + 1 : 0;
        return false;
    }
    if (!(mouse->buttons() & Qt::LeftButton) || pressRow_ < 1 ||
        (at - pressAt_).manhattanLength() < QApplication::startDragDistance() ||
        !CanExtractEntry(window_.context().State, pressRow_)) {
        return false;
    }
    auto* drag = new QDrag(grid);
    drag->setMimeData(dragData(pressRow_));
    pressRow_ = 0;
    drag->exec(Qt::CopyAction);
    return true;
}

bool EntryEdits::browserDrop(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    // Only entries are taken here; the browser accepts nothing else, as ever.
    const QByteArray row = drop->mimeData()->data(QString::fromLatin1(kEntryDragFormat));
    if (row.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type != QEvent::Drop)
        return true;
    window_.dispatcher().run(HandlerKind::Command, [&] {
        Context& c = window_.context();
        const std::int32_t entry = row.toInt() - 1;
        if (!CanExtractEntry(c.State, entry + 1))
            return;
        // Joined as the browser joins its items, "\" on Windows.
        const std::string path = BrowserItemPath(c.State, EntryFileName(c.State, entry));
        if (c.Fs.fileExists(path) &&
            c.Ui.messageBox(path + " exists already. Replace it?", "Simple question",
                            MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
            return;
        }
        WriteEntryFile(c.State, c.Fs, entry, path);
        FillBrowser(c, c.State.BrowserDir);
    });
    return true;
}

}  // namespace vxa
