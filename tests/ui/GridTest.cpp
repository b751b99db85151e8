// The entry grid: its model checked by Qt's own tester, the batching of
// changes, and the drag coordinates it reports.
#include <QAbstractItemModelTester>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "core/EntryTable.h"
#include "ui/EntryGrid.h"
#include "ui/GridModel.h"

using namespace vxa;

namespace {

// A table of `n` owned entries, each 14 bytes after the previous.
EntryTable Table(int n) {
    EntryTable t;
    t.EntryCount = n;
    for (int i = 0; i <= n; ++i)
        t.Offsets.push_back(static_cast<std::uint32_t>(4 * (n + 1) + 14 * i));
    t.Links.assign(static_cast<std::size_t>(n) + 1, 0);
    t.OrigSizes.assign(static_cast<std::size_t>(n), 4);
    t.PackedSizes.assign(static_cast<std::size_t>(n), 4);
    t.CompTypes.assign(static_cast<std::size_t>(n), 2);
    return t;
}

struct DragRecord {
    int calls = 0;
    DragSource source;
    int x = -1;
    int y = -1;
};

// Sends a drag of `mime` to the grid's viewport: enter, then a move at the
// same point, as the toolkit does. Returns whether the move was accepted.
bool DragTo(EntryGrid& grid, QMimeData& mime, QPoint at) {
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    return move.isAccepted();
}

}  // namespace

class GridTest : public QObject {
    Q_OBJECT
  private slots:
    void modelPassesTheModelTester();
    void batchedCellsComeAsOneChange();
    void writtenRowsAreAnnouncedLater();
    void aMillionRowsFit();
    void dragReportsClientCoordinatesWithTheHeading();
    void dragAcceptanceFollowsTheHandler();
    void dragsAreClassifiedBySourceAndUrls();
    void programSelectionIsQuietUserSelectionIsReported();
};

void GridTest::modelPassesTheModelTester() {
    EntryTable table = Table(30);
    GridModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setGridRowCount(5);
    model.setCell(0, 0, "Nr");
    model.setCell(5, 3, "x");
    model.setGridRowCount(31);
    for (int r = 1; r <= 30; ++r)
        model.writeEntryRow(r);
    model.flush();
    model.setGridRowCount(11);
    model.setGridRowCount(1);
    model.setGridRowCount(0);
    model.setGridRowCount(3);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 0).flags(), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

void GridTest::batchedCellsComeAsOneChange() {
    EntryTable table = Table(10);
    GridModel model(table);
    model.setGridRowCount(11);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.setCell(5, 2, "one");  // outside a batch: at once
    QCOMPARE(changes.size(), 1);
    changes.clear();
    model.beginUpdate();
    model.setCell(5, 4, "a");
    model.setCell(5, 9, "b");
    model.setCell(0, 6, "+6");
    QCOMPARE(changes.size(), 0);
    model.endUpdate();
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0][0].toModelIndex(), model.index(3, 0));  // grid row 4
    QCOMPARE(changes[0][1].toModelIndex(), model.index(8, 5));  // grid row 9
    QCOMPARE(model.index(8, 5).data().toString(), QStringLiteral("b"));
    // Cells outside the grid are ignored.
    model.setCell(6, 1, "x");
    model.setCell(0, 11, "x");
    QCOMPARE(model.cell(0, 11), std::string());
}

void GridTest::writtenRowsAreAnnouncedLater() {
    EntryTable table = Table(100);
    GridModel model(table);
    model.setGridRowCount(101);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    for (int r = 1; r <= 100; ++r)
        model.writeEntryRow(r);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(model.index(99, 4).data().toString(), QStringLiteral("2/N"));  // readable at once
    QTRY_COMPARE(changes.size(), 1);  // shown once the event loop runs
    QCOMPARE(changes[0][0].toModelIndex().row(), 0);
    QCOMPARE(changes[0][1].toModelIndex().row(), 99);
}

void GridTest::aMillionRowsFit() {
    constexpr int kRows = 1'000'000;
    EntryTable table = Table(kRows);
    GridModel model(table);
    EntryGrid grid;
    grid.setModel(&model);
    grid.resize(385, 289);
    grid.show();
    model.setGridRowCount(kRows + 1);
    for (int r = 1; r <= kRows; ++r)
        model.writeEntryRow(r);
    model.flush();
    QCOMPARE(model.rowCount(), kRows);
    QCOMPARE(model.index(kRows - 1, 0).data().toString(), QStringLiteral("1000000"));
    grid.selectRow(kRows);
    QCOMPARE(grid.selectedRow(), kRows);
    QVERIFY(grid.topRow() > kRows - 20);
    model.setGridRowCount(5);
    QCOMPARE(grid.selectedRow(), 4);  // the selection stays on a row that exists
}

void GridTest::dragReportsClientCoordinatesWithTheHeading() {
    EntryTable table = Table(40);
    GridModel model(table);
    model.setGridRowCount(41);
    EntryGrid grid;
    grid.setModel(&model);
    grid.resize(385, 289);
    grid.show();
    DragRecord seen;
    grid.onDragOver = [&](const DragSource& s, int x, int y) {
        ++seen.calls;
        seen.source = s;
        seen.x = x;
        seen.y = y;
        return false;
    };
    QMimeData mime;
    mime.setText(QStringLiteral("something"));
    // Viewport y 0 is y 22 of the grid's client area, under the 4-pixel
    // border and the 18-pixel heading: with row height 18 and top row 1,
    // (22 - 4) / 18 + 1 - 1 = row 1, the row drawn there.
    DragTo(grid, mime, QPoint(7, 0));
    QCOMPARE(seen.calls, 1);  // the enter itself asks nothing: its move does
    QCOMPARE(seen.x, 7);
    QCOMPARE(seen.y, 22);
    QCOMPARE(seen.source.kind, DragSource::Kind::Other);
    DragTo(grid, mime, QPoint(7, -1));
    QCOMPARE(seen.y, 21);
    QCOMPARE(grid.topRow(), 1);
    QCOMPARE(grid.rowAt(0), 0);
    QCOMPARE(grid.rowAt(17), 0);
    QCOMPARE(grid.rowAt(18), 1);  // where (18 + 22 - 4) / 18 gives row 2
    grid.verticalScrollBar()->setValue(5);
    QCOMPARE(grid.topRow(), 6);
}

void GridTest::dragAcceptanceFollowsTheHandler() {
    EntryTable table = Table(3);
    GridModel model(table);
    model.setGridRowCount(4);
    EntryGrid grid;
    grid.setModel(&model);
    grid.resize(385, 289);
    grid.show();
    bool answer = true;
    int drops = 0;
    grid.onDragOver = [&](const DragSource&, int, int) { return answer; };
    grid.onDrop = [&](const DragSource&) { ++drops; };
    QMimeData mime;
    QVERIFY(DragTo(grid, mime, QPoint(5, 10)));
    answer = false;
    QVERIFY(!DragTo(grid, mime, QPoint(5, 10)));
    QDropEvent drop(QPointF(5, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &drop);
    QCOMPARE(drops, 1);
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
}

void GridTest::dragsAreClassifiedBySourceAndUrls() {
    QObject list;
    QObject other;
    QMimeData none;
    QCOMPARE(ClassifyDrag(&none, &list, &list).kind, DragSource::Kind::BrowserList);
    QCOMPARE(ClassifyDrag(&none, &other, &list).kind, DragSource::Kind::Other);
    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/pic.wav"))});
    const DragSource file = ClassifyDrag(&one, nullptr, &list);
    QCOMPARE(file.kind, DragSource::Kind::LocalFile);
    QCOMPARE(file.path, std::string("/data/pic.wav"));
    QMimeData two;
    two.setUrls(
        {QUrl::fromLocalFile(QStringLiteral("/a")), QUrl::fromLocalFile(QStringLiteral("/b"))});
    QCOMPARE(ClassifyDrag(&two, nullptr, &list).kind, DragSource::Kind::Other);
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/a.wav"))});
    QCOMPARE(ClassifyDrag(&remote, nullptr, &list).kind, DragSource::Kind::Other);
    QCOMPARE(ClassifyDrag(nullptr, nullptr, &list).kind, DragSource::Kind::Other);
}

void GridTest::programSelectionIsQuietUserSelectionIsReported() {
    EntryTable table = Table(10);
    GridModel model(table);
    model.setGridRowCount(11);
    EntryGrid grid;
    grid.setModel(&model);
    grid.resize(385, 289);
    grid.show();
    QSignalSpy reported(&grid, &EntryGrid::rowSelected);
    grid.ensureCurrentRow();
    grid.selectRow(5);
    QCOMPARE(grid.selectedRow(), 5);
    QCOMPARE(reported.size(), 0);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.selectedRow(), 6);
    QCOMPARE(reported.size(), 1);
    QCOMPARE(reported[0][0].toInt(), 6);
    const QRect row3 = grid.visualRect(model.index(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, row3.center());
    QCOMPARE(reported.size(), 2);
    QCOMPARE(reported[1][0].toInt(), 3);
    grid.selectRow(0);  // the heading cannot be selected
    grid.selectRow(11);
    QCOMPARE(grid.selectedRow(), 3);
}

QTEST_MAIN(GridTest)
#include "GridTest.moc"
