#include "ui/ItemPath.h"
#include "ui/PlanHandlers.h"

namespace vxa {

bool FileListDragOver(Context& c, const DragSource& source, int row) {
    AppState& s = c.State;
    if (!PlanEditable(s))
        return false;
    // A drag of something that can never be dropped here (text, several
    // files, a remote address) leaves the selection and its marks alone.
    if (source.Kind == DragSource::From::Other)
        return false;
    // The grid's own hit test gives the row: none over the heading, below
    // the last row or beside the grid.
    if (row < 1 || row > s.Table.EntryCount)
        return false;

    // The selection follows the pointer also where the drop is refused, so
    // the user sees which row a drop would go to.
    c.Ui.selectRow(row);
    FileListSelectCell(c, row);

    if (source.Kind == DragSource::From::BrowserList) {
        const auto caption = c.Ui.browserSelectedCaption();
        return caption && c.Fs.fileExists(BrowserItemPath(s, *caption));
    }
    // A desktop file on a blank row would be dropped and then ignored;
    // saying no at once shows the user that it will not be recorded.
    return s.Table.Links[row - 1] != -1 && c.Fs.fileExists(source.Path);
}

void FileListDragDrop(Context& c, const DragSource& source, int row) {
    // The file is tested again: it may have gone since the drag-over, and a
    // drop the toolkit delivers despite a refusal must still never record a
    // directory.
    std::string path;
    switch (source.Kind) {
        case DragSource::From::BrowserList:
            if (const auto caption = c.Ui.browserSelectedCaption())
                path = BrowserItemPath(c.State, *caption);
            break;
        case DragSource::From::LocalFile:
            path = source.Path;
            break;
        case DragSource::From::Other:
            return;
    }
    if (!path.empty() && c.Fs.fileExists(path))
        ReplaceRow(c, row, path);
}

}  // namespace vxa
