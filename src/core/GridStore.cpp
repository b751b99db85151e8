#include "core/GridStore.h"

#include <algorithm>

namespace vxa {

void GridStore::setRowCount(int rows) {
    if (rows < rows_)
        dropRowsFrom(rows);
    rows_ = rows;
    formatted_ = std::min(formatted_, std::max(rows_ - 1, 0));
}

std::string GridStore::cell(int col, int row) const {
    if (col == kReplaceColumn && row > 0) {
        const auto r = static_cast<std::size_t>(row);
        if (r < replaceRefs_.size() && replaceRefs_[r] != 0)
            return replaceTexts_[replaceRefs_[r] - 1];
    } else if (!cells_.empty()) {
        auto it = cells_.find(key(col, row));
        if (it != cells_.end())
            return it->second;
    }
    if (row >= 1 && row <= formatted_)
        return EntryCellText(table_, col, row - 1);
    return {};
}

void GridStore::setCell(int col, int row, const std::string& text) {
    if (col != kReplaceColumn || row == 0) {
        cells_[key(col, row)] = text;
        return;
    }
    const auto r = static_cast<std::size_t>(row);
    if (replaceRefs_.size() <= r)
        replaceRefs_.resize(static_cast<std::size_t>(rows_));
    replaceRefs_[r] = intern(text);
}

std::uint32_t GridStore::intern(const std::string& text) {
    if (lastReplace_ != 0 && replaceTexts_[lastReplace_ - 1] == text)
        return lastReplace_;
    if (const auto it = replaceNumbers_.find(text); it != replaceNumbers_.end())
        return lastReplace_ = it->second;
    replaceTexts_.push_back(text);
    lastReplace_ = static_cast<std::uint32_t>(replaceTexts_.size());
    // A deque never moves its strings, so the key stays valid.
    replaceNumbers_.emplace(replaceTexts_.back(), lastReplace_);
    return lastReplace_;
}

void GridStore::writeEntryRow(int row) {
    if (row == 1)
        dropRowsFrom(row);  // a new load's rows
    formatted_ = row;
}

void GridStore::dropRowsFrom(int row) {
    if (row <= 1) {
        replaceRefs_ = {};
        replaceTexts_.clear();
        replaceNumbers_.clear();
        lastReplace_ = 0;
    } else if (replaceRefs_.size() > static_cast<std::size_t>(row)) {
        replaceRefs_.resize(static_cast<std::size_t>(row));
    }
    if (cells_.empty())
        return;
    const std::int64_t first = key(0, row);
    std::erase_if(cells_, [first](const auto& kv) { return kv.first >= first; });
}

}  // namespace vxa
