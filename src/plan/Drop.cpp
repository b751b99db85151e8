#include "plan/ItemPath.h"
#include "plan/Plan.h"

namespace vxa {

bool FileListDragOver(Context& c, const DragSource& source, int /*x*/, int y) {
    AppState& s = c.State;
    if (!PlanEditable(s))
        return false;
    // A drag of something that can never be dropped here (text, several
    // files, a remote address) leaves the selection and its marks alone.
    if (source.kind == DragSource::Kind::Other)
        return false;
    const int h = c.Ui.defaultRowHeight();
    // The grid's top border and heading row take the first 4 + h pixels.
    // Over them (or above the grid) there is no row to drop on: a scrolled
    // grid would otherwise pick the row hidden just above the view.
    const int offset = y - 4;
    if (offset < h)
        return false;
    const int row = offset / h + c.Ui.topRow() - 1;
    if (row < 1 || row > s.Table.EntryCount)
        return false;

    // The selection follows the pointer also where the drop is refused, so
    // the user sees which row a drop would go to.
    c.Ui.selectRow(row);
    FileListSelectCell(c, row);

    if (source.kind == DragSource::Kind::BrowserList) {
        const auto caption = c.Ui.browserSelectedCaption();
        return caption && c.Fs.fileExists(BrowserItemPath(s, *caption));
    }
    // A desktop file on a blank row would be dropped and then ignored;
    // saying no at once shows the user that it will not be recorded.
    return s.Table.Links[row - 1] != -1 && c.Fs.fileExists(source.path);
}

void FileListDragDrop(Context& c, const DragSource& source) {
    // The drop goes to the row the last drag-over selected. The file is
    // tested again: it may have gone since, and a drop the toolkit delivers
    // despite a refusal must still never record a directory.
    switch (source.kind) {
        case DragSource::Kind::BrowserList:
            RplBtnClick(c);  // the same: the browser's selected file, if it exists
            return;
        case DragSource::Kind::LocalFile:
            if (c.Fs.fileExists(source.path))
                AddReplacement(c, source.path);
            return;
        case DragSource::Kind::Other:
            return;
    }
}

}  // namespace vxa
