#include "plan/GridRows.h"

namespace vxa {

namespace {

constexpr int kNrColumn = 0;
constexpr int kReplaceColumn = 5;

}  // namespace

GridRows LoadedRows(std::int32_t entries) {
    GridRows grid;
    grid.Count = entries + 1;
    grid.EntryRows = entries;
    return grid;
}

std::string GridCellText(const GridRows& grid, const EntryTable& t, int col, int row) {
    if (col < 0 || col >= kGridColumns || row < 0 || row >= grid.Count)
        return {};
    if (row >= 1 && row <= grid.EntryRows) {
        const auto i = static_cast<std::size_t>(row - 1);
        if (col == kReplaceColumn && i < grid.ReplaceWith.size() &&
            !grid.ReplaceWith[i].str().empty()) {
            return grid.ReplaceWith[i];
        }
        std::string text = EntryCellText(t, col, i);
        if (col == kNrColumn && grid.Marked && i < t.Offsets.size() &&
            t.Offsets[i] == *grid.Marked && !text.empty()) {
            text.insert(text.begin(), '+');
        }
        return text;
    }
    const auto r = static_cast<std::size_t>(row);
    return r < grid.Texts.size() ? grid.Texts[r][static_cast<std::size_t>(col)] : std::string();
}

GridRowTexts GridRow(const GridRows& grid, const EntryTable& t, int row) {
    GridRowTexts texts;
    for (int col = 0; col < kGridColumns; ++col)
        texts[static_cast<std::size_t>(col)] = GridCellText(grid, t, col, row);
    return texts;
}

void ShowPlan(GridRows& grid, const EntryTable& t, const ReplRec& plan) {
    grid.ReplaceWith.clear();
    for (std::size_t j = 0; j < plan.Indices.size(); ++j) {
        const std::int32_t index = plan.Indices[j];
        if (index < 0 || index >= t.EntryCount)
            continue;
        if (grid.ReplaceWith.empty())
            grid.ReplaceWith.resize(static_cast<std::size_t>(t.EntryCount));
        grid.ReplaceWith[static_cast<std::size_t>(index)] = plan.Paths[j];
    }
}

void ForgetRows(GridRows& grid) {
    grid.Marked.reset();
    grid.ReplaceWith = {};
    if (grid.Texts.size() > 1)
        grid.Texts.resize(1);
}

}  // namespace vxa
