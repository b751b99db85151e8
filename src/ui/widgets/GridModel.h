#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <string>

#include "ui/AppState.h"

namespace vxa {

// The entry grid's texts as a table model over the program state: each cell
// is GridCellText of the state's GridRows and entry table, worked out when
// the grid draws it, so a million rows cost no item objects. Grid row 0, the
// heading, is the horizontal header; grid row r is model row r - 1. A
// "Replace with" cell carries its whole text as its tooltip, since the grid
// shortens it to the column's width.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Nr, Offset, OrigSize, PackedSize, CompType, ReplaceWith, ColumnCount };

    explicit GridModel(const AppState& state, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The state's rows changed. A change of their number is announced at
    // once; changed texts with the next flush, which runs once the event loop
    // runs or at a load's next progress point.
    void sync();
    // Announces changed texts, in one dataChanged.
    void flush();

    // For each of columns 0 to 4, texts at least as wide as any of its cells
    // once digits are drawn as the widest digit: the entry rows' from the
    // table's maxima, the few other rows' (the start cells) as they are.
    std::array<QStringList, 5> widestTexts() const;

  private:
    const AppState& state_;
    int rows_ = 0;  // model rows as last announced
    GridRowTexts heading_;
    bool dirty_ = false;
    bool flushQueued_ = false;
};

}  // namespace vxa
