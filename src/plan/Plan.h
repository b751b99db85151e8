#pragma once

#include <string>

#include "core/Context.h"

namespace vxa {

// What is being dragged over the entry grid.
struct DragSource {
    enum class Kind {
        BrowserList,  // an item of the browser pane's list
        LocalFile,    // one local file from the desktop (a text/uri-list drag)
        Other,        // anything else: always refused
    };
    Kind kind = Kind::Other;
    std::string path;  // the file, for LocalFile
};

// Records `path` as the replacement of the selected row's sharing group.
void AddReplacement(Context& c, const std::string& path);

void RplBtnClick(Context& c);
void UnBtnClick(Context& c);
void CanBtnClick(Context& c);
// Marks the sharing group of `row` with "+" in the "Nr" column.
void FileListSelectCell(Context& c, int row);
// Selects the row under (x, y) and says whether a drop there is accepted.
bool FileListDragOver(Context& c, const DragSource& source, int x, int y);
void FileListDragDrop(Context& c, const DragSource& source);

}  // namespace vxa
