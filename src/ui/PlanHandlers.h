#pragma once

#include <string>

#include "ui/Context.h"

namespace vxa {

// What is being dragged over the entry grid.
struct DragSource {
    enum class From {
        BrowserList,  // an item of the browser pane's list
        LocalFile,    // one local file from the desktop (a text/uri-list drag)
        Other,        // anything else: always refused
    };
    From Kind = From::Other;
    std::string Path;  // the file, for LocalFile
};

// Records `path` as the replacement of grid row `row`'s sharing group, when
// the plan may change.
void ReplaceRow(Context& c, int row, const std::string& path);
// The same for the selected row.
void ReplaceSelected(Context& c, const std::string& path);

void RplBtnClick(Context& c);
void UnBtnClick(Context& c);
void CanBtnClick(Context& c);
// Marks the sharing group of `row` with "+" in the "Nr" column.
void FileListSelectCell(Context& c, int row);
// The pointer is over grid row `row` (0: over no row): selects it and says
// whether a drop there is accepted.
bool FileListDragOver(Context& c, const DragSource& source, int row);
// A drop on grid row `row`.
void FileListDragDrop(Context& c, const DragSource& source, int row);

}  // namespace vxa
