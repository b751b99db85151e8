#include "plan/Plan.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "plan/ItemPath.h"

namespace vxa {

namespace {

constexpr int kNrColumn = 0;
constexpr int kReplaceColumn = 5;

// The entry shown in the grid's selected row, or -1 when that row shows no
// entry (no selection, the heading, a row past the table).
std::int32_t SelectedEntry(const Context& c) {
    const std::int32_t entry = c.Ui.selectedRow() - 1;
    return entry >= 0 && entry < c.State.Table.EntryCount ? entry : -1;
}

bool IsBlank(const EntryTable& t, std::int32_t entry) {
    return t.Links[entry] == -1;
}

// The table value of the selected row's sharing group: none when the plan
// may not change, or the row shows no entry or a blank one.
std::optional<std::uint32_t> SelectedGroupValue(const Context& c) {
    if (!PlanEditable(c.State))
        return std::nullopt;
    const std::int32_t entry = SelectedEntry(c);
    if (entry < 0 || IsBlank(c.State.Table, entry))
        return std::nullopt;
    return c.State.Table.Offsets[entry];
}

}  // namespace

void AddReplacement(Context& c, const std::string& path) {
    AppState& s = c.State;
    const auto group = SelectedGroupValue(c);
    if (!group || path.empty())
        return;
    const EntryTable& t = s.Table;
    // The sharing group is every entry with the same table value; it is
    // counted first, so that the plan grows once, and every record holds
    // the same stored path. One repaint for all the cells it changes.
    const std::uint32_t value = *group;
    const auto first = t.Offsets.begin(), end = first + t.EntryCount;
    s.Replacements.reserve(static_cast<std::size_t>(std::count(first, end, value)));
    const SharedPath shared(path);
    c.Ui.beginGridUpdate();
    for (std::int32_t i = 0; i < t.EntryCount; ++i) {
        if (t.Offsets[i] != value)
            continue;
        s.Replacements.append(i, shared);
        c.Ui.setCell(kReplaceColumn, i + 1, path);
    }
    c.Ui.endGridUpdate();
}

void RplBtnClick(Context& c) {
    const auto caption = c.Ui.browserSelectedCaption();
    if (!caption)
        return;
    const std::string path = BrowserItemPath(c.State, *caption);
    if (c.Fs.fileExists(path))
        AddReplacement(c, path);
}

void UnBtnClick(Context& c) {
    AppState& s = c.State;
    ReplRec& plan = s.Replacements;
    const auto group = SelectedGroupValue(c);
    if (!group)
        return;
    const EntryTable& t = s.Table;
    const std::uint32_t value = *group;
    const auto inGroup = [&](std::int32_t i) {
        return i >= 0 && i < t.EntryCount && t.Offsets[i] == value;
    };

    // One stable compaction of both arrays, rather than moving the tail
    // down once per removed record: the others keep their order either way.
    std::vector<std::int32_t> removed;
    std::size_t kept = 0;
    for (std::size_t j = 0; j < plan.Indices.size(); ++j) {
        if (inGroup(plan.Indices[j])) {
            removed.push_back(plan.Indices[j]);
            continue;
        }
        if (kept != j) {
            plan.Indices[kept] = plan.Indices[j];
            plan.Paths[kept] = std::move(plan.Paths[j]);
        }
        ++kept;
    }
    if (removed.empty())
        return;
    plan.Indices.resize(kept);
    plan.Paths.resize(kept);
    plan.Count = static_cast<std::int32_t>(kept);

    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    c.Ui.beginGridUpdate();
    for (const std::int32_t i : removed)
        c.Ui.setCell(kReplaceColumn, i + 1, "");
    c.Ui.endGridUpdate();
}

void CanBtnClick(Context& c) {
    AppState& s = c.State;
    if (!PlanEditable(s) || s.Replacements.Count == 0)
        return;
    if (c.Ui.messageBox("Cancel all changes?", "Simple question", MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }
    const EntryTable& t = s.Table;
    c.Ui.beginGridUpdate();
    for (const std::int32_t i : s.Replacements.Indices) {
        // Records from a script may name no entry: they have no cell. One
        // may name a blank entry, whose cell gets its "------" back.
        if (i < 0 || i >= t.EntryCount)
            continue;
        c.Ui.setCell(kReplaceColumn, i + 1,
                     EntryCellText(t, kReplaceColumn, static_cast<std::size_t>(i)));
    }
    c.Ui.endGridUpdate();
    s.Replacements.clear();
}

void FileListSelectCell(Context& c, int row) {
    AppState& s = c.State;
    // A load rewrites the rows while it hands events to the toolkit; it also
    // wipes every mark, so there is nothing to keep in step with meanwhile.
    if (s.Loading)
        return;
    const EntryTable& t = s.Table;
    const std::int32_t n = t.EntryCount;
    const std::optional<std::uint32_t> before = s.MarkedValue;
    std::optional<std::uint32_t> after;
    if (row >= 1 && row <= n)
        after = t.Offsets[row - 1];
    s.MarkedValue = after;
    if (!before && !after)
        return;

    // Only rows of the old or the new group can change; the others are
    // neither read nor written, so a big archive costs one compare per row.
    c.Ui.beginGridUpdate();
    for (std::int32_t k = 1; k <= n; ++k) {
        const std::uint32_t v = t.Offsets[k - 1];
        const bool wanted = after && v == *after;
        if (!wanted && !(before && v == *before))
            continue;
        std::string text = c.Ui.cell(kNrColumn, k);
        const bool marked = !text.empty() && text.front() == '+';
        if (marked == wanted)
            continue;
        c.Ui.setCell(kNrColumn, k, wanted ? "+" + text : text.substr(1));
    }
    c.Ui.endGridUpdate();
}

}  // namespace vxa
