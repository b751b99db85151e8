#include "ui/PlanHandlers.h"

#include "plan/Plan.h"
#include "ui/ItemPath.h"

namespace vxa {

namespace {

// The entry shown in grid row `row`, or -1 when that row shows no entry (no
// selection, the heading, a row past the table).
std::int32_t RowEntry(const Context& c, int row) {
    const std::int32_t entry = row - 1;
    return entry >= 0 && entry < c.State.Table.EntryCount ? entry : -1;
}

// The plan changed: "Replace with" shows it.
void PlanChanged(Context& c) {
    ShowPlan(c.State.Grid, c.State.Table, c.State.Replacements);
    c.Ui.gridChanged();
}

}  // namespace

void ReplaceRow(Context& c, int row, const std::string& path) {
    AppState& s = c.State;
    if (!PlanEditable(s))
        return;
    if (AddReplacement(s.Replacements, s.Table, RowEntry(c, row), path))
        PlanChanged(c);
}

void ReplaceSelected(Context& c, const std::string& path) {
    ReplaceRow(c, c.Ui.selectedRow(), path);
}

void RplBtnClick(Context& c) {
    const auto caption = c.Ui.browserSelectedCaption();
    if (!caption)
        return;
    const std::string path = BrowserItemPath(c.State, *caption);
    if (c.Fs.fileExists(path))
        ReplaceSelected(c, path);
}

void UnBtnClick(Context& c) {
    AppState& s = c.State;
    if (!PlanEditable(s))
        return;
    if (!RemoveReplacements(s.Replacements, s.Table, RowEntry(c, c.Ui.selectedRow())).empty())
        PlanChanged(c);
}

void CanBtnClick(Context& c) {
    AppState& s = c.State;
    if (!PlanEditable(s) || s.Replacements.Count == 0)
        return;
    if (c.Ui.messageBox("Cancel all changes?", "Simple question", MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }
    s.Replacements.clear();
    PlanChanged(c);
}

void FileListSelectCell(Context& c, int row) {
    AppState& s = c.State;
    // A load rewrites the rows while it hands events to the toolkit; it also
    // wipes every mark, so there is nothing to keep in step with meanwhile.
    if (s.Loading)
        return;
    const EntryTable& t = s.Table;
    std::optional<std::uint32_t> marked;
    if (row >= 1 && row <= t.EntryCount)
        marked = t.Offsets[row - 1];
    if (marked == s.Grid.Marked)
        return;
    s.Grid.Marked = marked;
    c.Ui.gridChanged();
}

}  // namespace vxa
