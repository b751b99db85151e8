#pragma once

#include <QDateTime>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QFileSystemWatcher;
class QMimeData;

namespace vxa {

class ExtractMenu;
class File;
class MainWindow;

// The MIME type that marks a drag of an entry out of the grid; its data is
// the entry's number (1-based).
inline constexpr char kEntryDragFormat[] = "application/x-vxa-entry";

// Entries edited elsewhere and dragged out:
// - "Edit with..." in the grid's context menu takes the entry out into a
//   private folder and opens it with the desktop's application for its
//   kind; each time that file is saved, its group's replacement is set to
//   it, as Replace does, and the status bar says so.
// - A grid row dragged onto a file manager, the desktop or another program
//   drops the entry as a file named as extraction names it, written only
//   when the drop asks for it; the browser pane takes it into its folder.
// The private folder belongs to one load: a new load and the end of the
// program remove it.
class EntryEdits final : public QObject {
    Q_OBJECT
  public:
    EntryEdits(MainWindow& window, ExtractMenu& menu);
    ~EntryEdits() override;

    // Opens a file with the desktop's application; tests look instead.
    std::function<void(const QString& path)> OpenFile;
    // What a drag of grid row `row` carries.
    QMimeData* dragData(int row);
    // The private folder, empty when there is none.
    QString folder() const { return dir_ ? dir_->path() : QString(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Edit {
        std::int32_t Entry = 0;
        QDateTime Modified;
        qint64 Size = 0;
    };

    QString folderFor(const char* sub);
    void dropFolderAfterLoad();
    void editWith(int row);
    void takeSavedEdits();
    void takeEdit(std::int32_t entry, const QString& path);
    bool gridMouse(QEvent* event);
    bool browserDrop(QEvent* event);
    QString writeDragged(std::int32_t entry);

    MainWindow& window_;
    ExtractMenu& menu_;
    QAction* action_;
    QFileSystemWatcher* watcher_;
    std::unique_ptr<QTemporaryDir> dir_;
    const File* archive_ = nullptr;         // the held archive the folder belongs to
    std::map<QString, Edit> edits_;         // file -> entry it edits, as last taken
    const QObject* gridRows_ = nullptr;     // the grid's viewport, watched for drags
    const QObject* browserRows_ = nullptr;  // the browser list's, watched for drops
    QPoint pressAt_;
    int pressRow_ = 0;
};

}  // namespace vxa
