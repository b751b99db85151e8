#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/EntryTable.h"

namespace vxa {

// The entry grid's texts without a widget per cell: rows 1..formatted show
// the entry table, formatted on demand; only cells that differ from that
// (start-up texts, marks, "Replace with" paths) are stored. As the view's
// grid operations say, cells are those of columns 0..5 and rows below
// rowCount(), and a load writes entry rows in ascending order from row 1. A
// row past the last reads empty.
class GridStore {
  public:
    explicit GridStore(const EntryTable& table) : table_(table) {}

    int rowCount() const { return rows_; }
    void setRowCount(int rows);
    std::string cell(int col, int row) const;
    void setCell(int col, int row, const std::string& text);
    void writeEntryRow(int row);

  private:
    static constexpr int kReplaceColumn = 5;

    static std::int64_t key(int col, int row) {
        return static_cast<std::int64_t>(row) * kGridColumns + col;
    }
    void dropRowsFrom(int row);
    // The number of `text` among the stored "Replace with" texts, from 1.
    std::uint32_t intern(const std::string& text);

    const EntryTable& table_;
    int rows_ = 0;
    int formatted_ = 0;
    // Every stored cell but the "Replace with" texts below the heading.
    std::unordered_map<std::int64_t, std::string> cells_;
    // The "Replace with" texts below the heading: a plan names one file in
    // every row of a sharing group, which may have millions of rows, so each
    // distinct text is stored once and a row holds its number (0 = none).
    std::vector<std::uint32_t> replaceRefs_;  // by row, once one is set
    std::deque<std::string> replaceTexts_;    // text k is replaceTexts_[k - 1]
    std::unordered_map<std::string_view, std::uint32_t> replaceNumbers_;
    std::uint32_t lastReplace_ = 0;  // the text set last
};

}  // namespace vxa
