#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/EntryTable.h"
#include "core/ReplRec.h"

namespace vxa {

using GridRowTexts = std::array<std::string, kGridColumns>;

// What the entry grid shows besides the entry table itself. Row 0 is the
// heading; row r shows entry r - 1 once a load has written it.
struct GridRows {
    int Count = 0;      // rows, the heading included
    int EntryRows = 0;  // rows 1..EntryRows show entries; a load writes them in order
    // Rows shown as they were written (the heading, the start cells); the
    // first load keeps only the heading.
    std::vector<GridRowTexts> Texts;
    // Table value of the sharing group whose rows read "+" before their number.
    std::optional<std::uint32_t> Marked;
    // Per entry, the path "Replace with" shows; an empty one shows what a
    // load writes there. Empty when no path is shown.
    std::vector<SharedPath> ReplaceWith;
};

// The rows a complete load of `entries` entries leaves: no marks, no paths.
GridRows LoadedRows(std::int32_t entries);

// The text of cell (col, row): columns "Nr", "Offset", "Orig. size",
// "Packed size", "C/T", "Replace with". Empty outside the grid.
std::string GridCellText(const GridRows& grid, const EntryTable& t, int col, int row);
// The six texts of grid row `row`.
GridRowTexts GridRow(const GridRows& grid, const EntryTable& t, int row);

// Shows the plan in "Replace with": each entry's cell the path of the last
// record naming it; records that name no entry of `t` have no cell.
void ShowPlan(GridRows& grid, const EntryTable& t, const ReplRec& plan);

// A load starts: the rows of the table it empties lose their marks and paths,
// and every row but the heading its written texts.
void ForgetRows(GridRows& grid);

}  // namespace vxa
