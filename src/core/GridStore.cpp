#include "GridStore.h"

#include <algorithm>

namespace vxa {

void GridStore::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows < rows_)
        dropRowsFrom(rows);
    rows_ = rows;
    formatted_ = std::min(formatted_, std::max(rows_ - 1, 0));
}

std::string GridStore::cell(int col, int row) const {
    if (col < 0 || col >= kGridColumns || row < 0 || row >= rows_)
        return {};
    if (!cells_.empty()) {
        auto it = cells_.find(key(col, row));
        if (it != cells_.end())
            return it->second;
    }
    if (row >= 1 && row <= formatted_)
        return EntryCellText(table_, col, row - 1);
    return {};
}

void GridStore::setCell(int col, int row, const std::string& text) {
    if (col < 0 || col >= kGridColumns || row < 0 || row >= rows_)
        return;
    cells_[key(col, row)] = text;
}

void GridStore::writeEntryRow(int row) {
    if (row < 1 || row >= rows_)
        return;
    if (row <= formatted_ || formatted_ == 0)
        dropRowsFrom(row);
    formatted_ = row;
}

void GridStore::dropRowsFrom(int row) {
    if (cells_.empty())
        return;
    const std::int64_t first = key(0, row);
    std::erase_if(cells_, [first](const auto& kv) { return kv.first >= first; });
}

}  // namespace vxa
