#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <string>

#include "core/GridStore.h"

namespace vxa {

// The entry grid's texts as a table model. Grid row 0, the heading, is the
// horizontal header; grid row r is model row r - 1. The texts live in a
// GridStore, which formats entry rows on demand, so a million rows cost no
// item objects. A "Replace with" cell carries its whole text as its tooltip,
// since the grid shortens it to the column's width.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Nr, Offset, OrigSize, PackedSize, CompType, ReplaceWith, ColumnCount };

    explicit GridModel(const EntryTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The grid's own rows, heading included.
    int gridRowCount() const { return store_.rowCount(); }
    void setGridRowCount(int rows);
    std::string cell(int col, int row) const { return store_.cell(col, row); }
    void setCell(int col, int row, const std::string& text);
    // A load wrote row `row`; shown at the next flush.
    void writeEntryRow(int row);

    // Cell changes between these two are announced together.
    void beginUpdate() { ++batchDepth_; }
    void endUpdate();
    // Announces every change not yet announced, in one dataChanged.
    void flush();

    // For each of columns 0 to 4, texts at least as wide as any of its cells
    // once digits are drawn as the widest digit: the entry rows' from the
    // table's maxima, the few other rows' (the start cells) as they are.
    std::array<QStringList, 5> widestTexts() const;

  private:
    void markDirty(int firstModelRow, int lastModelRow);

    const EntryTable& table_;
    GridStore store_;
    int batchDepth_ = 0;
    int dirtyFirst_ = -1;  // model rows; -1 = nothing pending
    int dirtyLast_ = -1;
    bool headerDirty_ = false;
    bool flushQueued_ = false;
};

}  // namespace vxa
