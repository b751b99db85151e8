#include "ui/widgets/GridModel.h"

#include <algorithm>

#include "core/WidestCells.h"

namespace vxa {

GridModel::GridModel(const EntryTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), store_(table) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(store_.rowCount() - 1, 0);
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    const bool tip = role == Qt::ToolTipRole && index.column() == ReplaceWith;
    if ((role != Qt::DisplayRole && !tip) || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const QString text = QString::fromStdString(store_.cell(index.column(), index.row() + 1));
    if (tip && text.isEmpty())
        return {};
    return text;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(store_.cell(section, 0));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::setGridRowCount(int rows) {
    rows = std::max(rows, 0);
    const int oldRows = rowCount();
    const int newRows = std::max(rows - 1, 0);
    const bool headerChanges = (store_.rowCount() == 0) != (rows == 0);
    if (newRows < oldRows) {
        flush();
        beginRemoveRows({}, newRows, oldRows - 1);
        store_.setRowCount(rows);
        endRemoveRows();
    } else if (newRows > oldRows) {
        beginInsertRows({}, oldRows, newRows - 1);
        store_.setRowCount(rows);
        endInsertRows();
    } else {
        store_.setRowCount(rows);
    }
    if (headerChanges)
        emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void GridModel::setCell(int col, int row, const std::string& text) {
    if (col < 0 || col >= ColumnCount || row < 0 || row >= store_.rowCount())
        return;
    store_.setCell(col, row, text);
    if (row == 0) {
        headerDirty_ = true;
    } else {
        markDirty(row - 1, row - 1);
    }
    if (batchDepth_ == 0)
        flush();
}

void GridModel::writeEntryRow(int row) {
    if (row < 1 || row >= store_.rowCount())
        return;
    store_.writeEntryRow(row);
    // Rewriting from row 1 drops the texts of every later row, so everything
    // from here down may have changed. One range costs one repaint anyway.
    markDirty(row - 1, rowCount() - 1);
    if (!flushQueued_) {
        // A load writes rows in a tight loop; show them once it lets the
        // event loop run, or at its next progress point.
        flushQueued_ = true;
        QMetaObject::invokeMethod(this, &GridModel::flush, Qt::QueuedConnection);
    }
}

void GridModel::endUpdate() {
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        flush();
}

void GridModel::flush() {
    flushQueued_ = false;
    if (headerDirty_) {
        headerDirty_ = false;
        emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    }
    const int last = std::min(dirtyLast_, rowCount() - 1);
    const int first = dirtyFirst_;
    dirtyFirst_ = dirtyLast_ = -1;
    if (first < 0 || first > last)
        return;
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1), {Qt::DisplayRole});
}

std::array<QStringList, 5> GridModel::widestTexts() const {
    std::array<QStringList, 5> out;
    const auto entries = WidestEntryTexts(table_);
    for (std::size_t col = 0; col < out.size(); ++col) {
        for (const std::string& text : entries[col])
            out[col] << QString::fromStdString(text);
    }
    for (int row = std::max(table_.EntryCount, 0) + 1; row < store_.rowCount(); ++row) {
        for (std::size_t col = 0; col < out.size(); ++col)
            out[col] << QString::fromStdString(store_.cell(static_cast<int>(col), row));
    }
    return out;
}

void GridModel::markDirty(int firstModelRow, int lastModelRow) {
    if (lastModelRow < firstModelRow)
        return;
    if (dirtyFirst_ < 0) {
        dirtyFirst_ = firstModelRow;
        dirtyLast_ = lastModelRow;
        return;
    }
    dirtyFirst_ = std::min(dirtyFirst_, firstModelRow);
    dirtyLast_ = std::max(dirtyLast_, lastModelRow);
}

}  // namespace vxa
