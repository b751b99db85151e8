#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPoint;

namespace vxa {

class MainWindow;

// The entry grid's context menu, opened with the right mouse button, the
// Menu key or Shift+F10: "Extract entry..." writes the stored bytes of the
// row's entry to a file, "Extract all..." those of every entry that has any
// into a folder. It watches the grid for the toolkit's context-menu events,
// so the grid itself knows nothing of it.
class ExtractMenu final : public QObject {
    Q_OBJECT
  public:
    explicit ExtractMenu(MainWindow& window);

    QMenu* menu() const { return menu_; }
    // The grid row the menu was last opened on; 0 for none.
    int row() const { return row_; }
    // How long "Extract all" may work before its progress dialog shows.
    int ProgressDelayMs = 500;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void openFromKeyboard();
    void open(int row, const QPoint& globalPos);
    void popUp(int row, const QPoint& globalPos);
    void extractEntry();
    void extractAll();

    MainWindow& window_;
    QMenu* menu_;
    QAction* entry_;
    QAction* all_;
    int row_ = 0;  // the grid row the menu was opened on; 0 for none
};

}  // namespace vxa
