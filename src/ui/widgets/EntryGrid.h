#pragma once

#include <QStringList>
#include <QTableView>
#include <array>
#include <functional>

#include "ui/PlanHandlers.h"

class QMimeData;

namespace vxa {

// What a drag carries, as the plan's drag handlers see it: an item of the
// browser list, exactly one local file from outside, or anything else.
DragSource ClassifyDrag(const QMimeData* mime, const QObject* source, const QObject* browserList);

// The entry grid `FileList`: whole-row selection over a GridModel, fixed
// 18-pixel rows, a heading row of the same height, and drag-over/drop
// reported to the window with the row under the pointer.
class EntryGrid final : public QTableView {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 18;
    // The least of "Replace with" that fitColumns leaves in view.
    static constexpr int kReplaceWithShown = 60;

    explicit EntryGrid(QWidget* parent = nullptr);

    // Also gives the columns their start widths.
    void setModel(QAbstractItemModel* model) override;
    // Widens columns 0 to 4 from their start widths to the widest of `texts`
    // at the grid's font (every digit counted as its widest digit), as far
    // as the grid leaves kReplaceWithShown pixels of "Replace with" in view;
    // texts that do not fit are shortened in the middle. Column 5 keeps its
    // width. The user may size any column by hand afterwards.
    void fitColumns(const std::array<QStringList, 5>& texts);

    // Grid rows: 0 is the heading, row r is model row r - 1. selectedRow()
    // is 0 when no row is selected.
    int selectedRow() const;
    // Selects a row for the program: no rowSelected signal, since the
    // program runs what it needs itself.
    void selectRow(int row);
    // The grid row at a point of the viewport; 0 where there is none.
    int rowUnder(const QPoint& viewportPos) const;
    // Keeps one row selected whenever there are rows, as a grid always does.
    void ensureCurrentRow();

    // The drag's source control, to tell browser items from other drags.
    const QObject* BrowserList = nullptr;
    // Drag-over and drop on grid row `row` (0: none), as the grid's own hit
    // test finds it; drag-over's true accepts a drop there.
    std::function<bool(const DragSource&, int row)> OnDragOver;
    std::function<void(const DragSource&, int row)> OnDrop;

  signals:
    // The user moved the selection to grid row `row`.
    void rowSelected(int row);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool programmatic_ = false;
};

}  // namespace vxa
