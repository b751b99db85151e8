#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "EntryTable.h"

namespace vxa {

// The entry grid's texts without a widget per cell: rows 1..formatted show
// the entry table, formatted on demand; only cells that differ from that
// (start-up texts, marks, "Replace with" paths) are stored.
class GridStore {
  public:
    explicit GridStore(const EntryTable& table) : table_(table) {}

    int rowCount() const { return rows_; }
    void setRowCount(int rows);
    std::string cell(int col, int row) const;
    void setCell(int col, int row, const std::string& text);
    void writeEntryRow(int row);

  private:
    static std::int64_t key(int col, int row) {
        return static_cast<std::int64_t>(row) * kGridColumns + col;
    }
    void dropRowsFrom(int row);

    const EntryTable& table_;
    int rows_ = 0;
    int formatted_ = 0;
    std::unordered_map<std::int64_t, std::string> cells_;
};

}  // namespace vxa
