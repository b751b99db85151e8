#include "Plan.h"

namespace vxa {

void AddReplacement(Context& c, const std::string& path) {
    const AppState& s = c.State;
    if (!s.ArchiveComplete) return;
    const int entry = c.Ui.selectedRow() - 1;
    const EntryTable& t = s.Table;
    if (entry < 0 || entry >= t.EntryCount || t.Links[entry] == -1) return;
    // The sharing group is every entry with the same table value; one pass
    // over the table, and one repaint for all the cells it changes.
    const std::uint32_t value = t.Offsets[entry];
    c.Ui.beginGridUpdate();
    for (std::int32_t i = 0; i < t.EntryCount; ++i) {
        if (t.Offsets[i] != value) continue;
        c.State.Replacements.append(i, path);
        c.Ui.setCell(5, i + 1, path);
    }
    c.Ui.endGridUpdate();
}
void RplBtnClick(Context&) {}
void UnBtnClick(Context&) {}
void CanBtnClick(Context&) {}
void FileListSelectCell(Context&, int) {}
bool FileListDragOver(Context&, const DragSource&, int, int) { return false; }
void FileListDragDrop(Context&, const DragSource&) {}

}  // namespace vxa
