#include "ui/widgets/GridModel.h"

#include <QString>
#include <QVariant>
#include <algorithm>

#include "core/WidestCells.h"

namespace vxa {

GridModel::GridModel(const AppState& state, QObject* parent)
    : QAbstractTableModel(parent), state_(state) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    const bool tip = role == Qt::ToolTipRole && index.column() == ReplaceWith;
    if ((role != Qt::DisplayRole && !tip) || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const QString text = QString::fromStdString(
        GridCellText(state_.Grid, state_.Table, index.column(), index.row() + 1));
    if (tip && text.isEmpty())
        return {};
    return text;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(GridCellText(state_.Grid, state_.Table, section, 0));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::sync() {
    const int rows = std::max(state_.Grid.Count - 1, 0);
    if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    } else if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    dirty_ = true;
    if (!flushQueued_) {
        // A load changes the rows in a tight loop; show them once it lets the
        // event loop run, or at its next progress point.
        flushQueued_ = true;
        QMetaObject::invokeMethod(this, &GridModel::flush, Qt::QueuedConnection);
    }
}

void GridModel::flush() {
    flushQueued_ = false;
    if (!dirty_)
        return;
    dirty_ = false;
    const GridRowTexts heading = GridRow(state_.Grid, state_.Table, 0);
    if (heading != heading_) {
        heading_ = heading;
        emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    }
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1), {Qt::DisplayRole});
}

std::array<QStringList, 5> GridModel::widestTexts() const {
    std::array<QStringList, 5> out;
    const auto entries = WidestEntryTexts(state_.Table);
    for (std::size_t col = 0; col < out.size(); ++col) {
        for (const std::string& text : entries[col])
            out[col] << QString::fromStdString(text);
    }
    const int first = std::max(state_.Grid.EntryRows, 0) + 1;
    for (int row = first; row < state_.Grid.Count; ++row) {
        for (std::size_t col = 0; col < out.size(); ++col) {
            out[col] << QString::fromStdString(
                GridCellText(state_.Grid, state_.Table, static_cast<int>(col), row));
        }
    }
    return out;
}

}  // namespace vxa
