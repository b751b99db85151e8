#include "ui/widgets/BrowserWidgets.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/BrowserListing.h"
#include "ui/widgets/Glyphs.h"

namespace vxa {

namespace {

constexpr int kCaptionRole = Qt::UserRole;
constexpr int kRootRole = Qt::UserRole;

// The user's collation, without regard to case. The C and POSIX locales
// have none of their own (the toolkit would compare code points), so they
// sort as American English does.
QCollator ListCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The items in the list's order: caption groups ("[..]", the directories,
// the rest), then the user's collation of the shown names, then bytes, so no
// two items tie. Sort keys are made once per item, not once per comparison.
std::vector<const BrowserItem*> SortedForDisplay(const std::vector<BrowserItem>& items) {
    const QCollator collator = ListCollator();
    struct Keyed {
        int Group;
        QCollatorSortKey Key;
        const BrowserItem* Item;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(items.size());
    for (const BrowserItem& item : items) {
        const QString shown = QFile::decodeName(QByteArray::fromStdString(item.Caption));
        keyed.push_back({CaptionGroup(item.Caption), collator.sortKey(shown), &item});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.Group != b.Group)
            return a.Group < b.Group;
        if (const int order = a.Key.compare(b.Key); order != 0)
            return order < 0;
        return a.Item->Caption < b.Item->Caption;
    });
    std::vector<const BrowserItem*> sorted;
    sorted.reserve(keyed.size());
    for (const Keyed& k : keyed)
        sorted.push_back(k.Item);
    return sorted;
}

}  // namespace

QByteArray BrowserDragToken(const QObject* list) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(list), 16);
}

BrowserList::BrowserList(QWidget* parent) : QListWidget(parent) {
    setViewMode(ListMode);
    setFlow(TopToBottom);
    setWrapping(true);
    setResizeMode(Adjust);
    setMovement(Static);
    setIconSize(QSize(17, 17));
    setSelectionMode(SingleSelection);
    setSortingEnabled(false);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(true);
    setDragDropMode(DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    for (int i = 0; i < kPictureCount; ++i) {
        // A missing picture gives an empty icon: the item shows its caption.
        pictures_[i] = ScaledPicture(QStringLiteral(":/vxa/pictures/%1.png").arg(i));
    }
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BrowserList::reportSelection);
}

void BrowserList::setItems(const std::vector<BrowserItem>& items) {
    // Refilling is the program's doing, not a selection by the user.
    const QSignalBlocker quiet(this);
    const QSignalBlocker quietSelection(selectionModel());
    clear();
    for (const BrowserItem* item : SortedForDisplay(items)) {
        auto* row =
            new QListWidgetItem(QFile::decodeName(QByteArray::fromStdString(item->Caption)));
        row->setData(kCaptionRole, QByteArray::fromStdString(item->Caption));
        if (item->Picture >= 0 && item->Picture < kPictureCount)
            row->setIcon(pictures_[item->Picture]);
        addItem(row);
    }
    setCurrentRow(-1);
    scrollToTop();
    viewport()->update();
}

std::string BrowserList::captionOf(const QListWidgetItem& item) {
    return item.data(kCaptionRole).toByteArray().toStdString();
}

std::optional<std::string> BrowserList::selectedCaption() const {
    const QList<QListWidgetItem*> items = selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return captionOf(*items.front());
}

void BrowserList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// A click beside the items keeps the selection (the view would clear it), so
// that a double click there still has the selected item to act on.
void BrowserList::mousePressEvent(QMouseEvent* event) {
    if (indexAt(event->position().toPoint()).isValid()) {
        QListWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void BrowserList::mouseReleaseEvent(QMouseEvent* event) {
    if (indexAt(event->position().toPoint()).isValid()) {
        QListWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
}

void BrowserList::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
}

QMimeData* BrowserList::mimeData(const QList<QListWidgetItem*>& items) const {
    QMimeData* data = QListWidget::mimeData(items);
    if (data)
        data->setData(QString::fromLatin1(kBrowserDragFormat), BrowserDragToken(this));
    return data;
}

void BrowserList::reportSelection(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
    // The item left behind first, then the new one, so the new one's path is
    // what stays shown.
    for (const QItemSelection* part : {&deselected, &selected}) {
        for (const QModelIndex& index : part->indexes()) {
            if (const QListWidgetItem* row = item(index.row()))
                emit itemSelectionToggled(captionOf(*row));
        }
    }
}

DriveSelector::DriveSelector(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(16, 16));
    connect(this, &QComboBox::activated, this, [this](int index) {
        // Picking the drive shown already keeps the folder the user is in.
        if (index == shown_)
            return;
        previous_ = shown_;
        shown_ = index;
        emit drivePicked(rootAt(index));
    });
}

void DriveSelector::setDrives(const std::vector<Drive>& drives, const QString& currentDir) {
    const QSignalBlocker quiet(this);
    clear();
    for (const Drive& d : drives) {
        addItem(ScaledPicture(DrivePicture(d.Kind)), d.Label, QFile::encodeName(d.Root));
    }
    shown_ = previous_ = DriveHolding(drives, currentDir);
    setCurrentIndex(shown_);
}

std::string DriveSelector::rootAt(int index) const {
    return itemData(index, kRootRole).toByteArray().toStdString();
}

void DriveSelector::revert() {
    const QSignalBlocker quiet(this);
    shown_ = previous_;
    setCurrentIndex(shown_);
}

}  // namespace vxa
