#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "core/EntryFind.h"

class QAction;

namespace vxa {

class ExtractMenu;
class FindBox;
class MainWindow;
class PreviewWindow;

// What the entry grid offers besides the window's own buttons: "Preview"
// (also Space), "Find..." (also Ctrl+F) and "Replace from folder..." in its
// context menu. The windows it opens are tool windows beside the main
// window; the main window's layout stays as it is.
class EntryTools final : public QObject {
    Q_OBJECT
  public:
    EntryTools(MainWindow& window, ExtractMenu& menu);

    PreviewWindow* preview() const { return preview_; }
    FindBox* findBox() const { return find_; }
    // Asks for the folder of "Replace from folder..."; tests answer here.
    std::function<QString()> PickFolder;

    // Selects grid row `row` as a click does, marks its group and scrolls
    // it into view.
    void goToRow(int row);
    void openPreview(int row);
    void openFind();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void enableActions();
    void follow();
    std::string find(const std::string& text, bool back);
    void replaceFromFolder();

    MainWindow& window_;
    ExtractMenu& menu_;
    PreviewWindow* preview_;
    FindBox* find_;
    QAction* previewAction_;
    QAction* findAction_;
    QAction* folderAction_;
    KindCache kinds_;
};

}  // namespace vxa
