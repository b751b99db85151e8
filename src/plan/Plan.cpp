#include "Plan.h"

namespace vxa {

void AddReplacement(Context&, const std::string&) {}
void RplBtnClick(Context&) {}
void UnBtnClick(Context&) {}
void CanBtnClick(Context&) {}
void FileListSelectCell(Context&, int) {}
bool FileListDragOver(Context&, const DragSource&, int, int) { return false; }
void FileListDragDrop(Context&, const DragSource&) {}

}  // namespace vxa
