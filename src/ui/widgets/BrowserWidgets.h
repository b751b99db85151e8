#pragma once

#include <QComboBox>
#include <QIcon>
#include <QListWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ui/View.h"
#include "ui/widgets/Drives.h"

namespace vxa {

// A drag of a browser list item carries this format, holding the list's
// token. The toolkit names a drag's source only while its own drag manager
// runs the drag; the data tells the grid where a drag comes from however it
// is delivered.
inline constexpr char kBrowserDragFormat[] = "application/x-vxa-browser-item";
// This process's token for `list`.
QByteArray BrowserDragToken(const QObject* list);

// The browser list `List1`: small pictures with captions in columns, top to
// bottom then left to right, one item selected at a time, dragged onto the
// grid. It sorts what it is given by caption: "[..]", then the directories,
// then the rest, each in the user's collation order without regard to case.
class BrowserList final : public QListWidget {
    Q_OBJECT
  public:
    static constexpr int kPictureCount = 13;

    explicit BrowserList(QWidget* parent = nullptr);

    void setItems(const std::vector<BrowserItem>& items);
    std::optional<std::string> selectedCaption() const;
    // The caption of an item, byte for byte as the browser logic gave it
    // (file names need not be valid UTF-8).
    static std::string captionOf(const QListWidgetItem& item);

  signals:
    // A double click anywhere on the list, on an item or beside them: it
    // acts on the selected item either way.
    void listDoubleClicked();
    // Enter or Return on the list: the keyboard's double click.
    void enterPressed();
    // An item's selection state changed, for selection and deselection alike.
    void itemSelectionToggled(const std::string& caption);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    // A drop elsewhere copies; the list never loses an item to a drag.
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

  private:
    void reportSelection(const QItemSelection& selected, const QItemSelection& deselected);

    std::array<QIcon, kPictureCount> pictures_;
};

// The drive selector `DriveComboBox1`: the root, the home folder and the
// mounted volumes, each with the picture of its kind.
class DriveSelector final : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveSelector(QWidget* parent = nullptr);

    // Lists `drives` and shows the one holding `currentDir`.
    void setDrives(const std::vector<Drive>& drives, const QString& currentDir);
    std::string rootAt(int index) const;
    // Takes back the last pick (one the program refused to act on).
    void revert();

  signals:
    // The user picked a drive; `root` is "" for "/".
    void drivePicked(const std::string& root);

  private:
    int shown_ = -1;
    int previous_ = -1;
};

}  // namespace vxa
