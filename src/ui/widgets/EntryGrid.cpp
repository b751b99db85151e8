#include "ui/widgets/EntryGrid.h"

#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QUrl>
#include <algorithm>
#include <array>
#include <numeric>

#include "ui/widgets/BrowserWidgets.h"
#include "ui/widgets/preview/EntryEdits.h"

namespace vxa {

namespace {

constexpr std::array<int, 6> kColumnWidths = {40, 53, 62, 52, 33, 114};

// Columns 0 to 4 at `needed` widths (none below its start width) where
// `room` pixels hold them all. Otherwise the widest give way first: all are
// cut to one common width, the largest that fits, but none below its start
// width, and their texts are shortened in the middle.
std::array<int, 5> ShareRoom(const std::array<int, 5>& needed, int room) {
    const auto widthsAt = [&needed](int cut) {
        std::array<int, 5> w{};
        for (std::size_t col = 0; col < w.size(); ++col)
            w[col] = std::max(kColumnWidths[col], std::min(needed[col], cut));
        return w;
    };
    const auto sum = [](const std::array<int, 5>& w) {
        return std::accumulate(w.begin(), w.end(), 0);
    };
    int lo = 0, hi = *std::max_element(needed.begin(), needed.end());
    while (lo < hi) {  // the largest cut whose widths fit, or 0
        const int mid = (lo + hi + 1) / 2;
        if (sum(widthsAt(mid)) <= room) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return widthsAt(lo);
}

// Restores a flag when a scope ends, however it ends.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool old_;
};

}  // namespace

DragSource ClassifyDrag(const QMimeData* mime, const QObject* source, const QObject* browserList) {
    DragSource result;
    const bool fromList = source ? source == browserList
                                 : browserList && mime &&
                                       mime->data(QString::fromLatin1(kBrowserDragFormat)) ==
                                           BrowserDragToken(browserList);
    if (fromList) {
        result.Kind = DragSource::From::BrowserList;
        return result;
    }
    // An entry dragged out of the grid itself is no file to replace with.
    if (!mime || !mime->hasUrls() || mime->hasFormat(QString::fromLatin1(kEntryDragFormat)))
        return result;
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return result;
    result.Kind = DragSource::From::LocalFile;
    result.Path =
        QFile::encodeName(QDir::toNativeSeparators(urls.front().toLocalFile())).toStdString();
    return result;
}

EntryGrid::EntryGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);  // Tab leaves the grid, as in every other control
    setWordWrap(false);
    // A path too long for "Replace with", or a number in a column the user
    // made narrow, is shortened visibly, never cut off.
    setTextElideMode(Qt::ElideMiddle);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(ScrollPerItem);
    // The view's own drag handling stays off (it would also turn drops off
    // again); the events below do the work.
    setDragDropMode(NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);

    QHeaderView* heading = horizontalHeader();
    heading->setFixedHeight(kRowHeight);
    heading->setSectionsMovable(false);
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->setStretchLastSection(false);
    heading->setSectionResizeMode(QHeaderView::Interactive);
}

void EntryGrid::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    for (int col = 0; col < static_cast<int>(kColumnWidths.size()); ++col) {
        setColumnWidth(col, kColumnWidths[col]);
    }
}

void EntryGrid::fitColumns(const std::array<QStringList, 5>& texts) {
    const QFontMetrics metrics(font());
    QChar widestDigit = QLatin1Char('0');
    for (char d = '1'; d <= '9'; ++d) {
        if (metrics.horizontalAdvance(QLatin1Char(d)) > metrics.horizontalAdvance(widestDigit))
            widestDigit = QLatin1Char(d);
    }
    // A cell's width as the view measures it: the style's item size with its
    // margins, and the grid line.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    const auto cellWidth = [&](QString text) {
        for (QChar& ch : text) {
            if (ch.isDigit())
                ch = widestDigit;
        }
        option.text = text;
        return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width() +
               (showGrid() ? 1 : 0);
    };
    std::array<int, 5> needed{};
    for (std::size_t col = 0; col < texts.size(); ++col) {
        needed[col] = kColumnWidths[col];
        for (const QString& text : texts[col])
            needed[col] = std::max(needed[col], cellWidth(text));
    }
    // The room left of "Replace with", a vertical scroll bar counted, since a
    // loaded archive mostly has more rows than the grid shows.
    const int room = contentsRect().width() -
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) -
                     kReplaceWithShown;
    const std::array<int, 5> widths = ShareRoom(needed, room);
    for (std::size_t col = 0; col < widths.size(); ++col)
        setColumnWidth(static_cast<int>(col), widths[col]);
}

int EntryGrid::selectedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void EntryGrid::selectRow(int row) {
    if (!model() || row < 1 || row > model()->rowCount())
        return;
    FlagScope quiet(programmatic_);
    const QModelIndex target = model()->index(row - 1, 0);
    selectionModel()->setCurrentIndex(
        target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
}

int EntryGrid::rowUnder(const QPoint& viewportPos) const {
    // The grid's own hit test, which also knows a partly visible top row.
    return rowAt(viewportPos.y()) + 1;
}

void EntryGrid::ensureCurrentRow() {
    if (!model() || model()->rowCount() == 0 || currentIndex().isValid())
        return;
    FlagScope quiet(programmatic_);
    selectionModel()->setCurrentIndex(
        model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void EntryGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // Rows vanishing under a new load move the current index too; only the
    // user's moves are reported.
    if (programmatic_ || !current.isValid())
        return;
    if (previous.isValid() && previous.row() == current.row())
        return;
    emit rowSelected(current.row() + 1);
}

void EntryGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex before = currentIndex();
    QTableView::mousePressEvent(event);
    // A click selects its row again where it is selected already, so the
    // marks of its group come back after a load has wiped them. A click that
    // moved the selection has been reported as that move.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid() && before.isValid() && pressed.row() == before.row() &&
        currentIndex().row() == before.row()) {
        emit rowSelected(pressed.row() + 1);
    }
}

void EntryGrid::dragEnterEvent(QDragEnterEvent* event) {
    // Entering is always followed by a move at the same point, which decides;
    // refusing here would stop the moves from coming at all.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void EntryGrid::dragMoveEvent(QDragMoveEvent* event) {
    const DragSource source = ClassifyDrag(event->mimeData(), event->source(), BrowserList);
    const bool accept = OnDragOver && OnDragOver(source, rowUnder(event->position().toPoint()));
    if (accept) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void EntryGrid::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
}

void EntryGrid::dropEvent(QDropEvent* event) {
    const DragSource source = ClassifyDrag(event->mimeData(), event->source(), BrowserList);
    if (OnDrop)
        OnDrop(source, rowUnder(event->position().toPoint()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

}  // namespace vxa
