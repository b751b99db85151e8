#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/io/FileSystem.h"
#include "ui/AppState.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vxa {

// The text box's content for a list of additions, one line each. An addition
// may carry line breaks of its own ("\r\n" or a lone "\r"), which show as
// separate lines.
QString SummaryMemoText(const std::vector<std::string>& additions);

// "Summary": shown modally by a script run before it touches any archive. It
// shows the installed script's input and output archives and the state of its
// files, and returns how to go on: 6 Proceed, 7 Cancel (also Esc), 5 Load
// only, 2 closed from the title bar. It reads the state and changes nothing
// but its own controls.
class TForm2 : public QDialog {
    Q_OBJECT
  public:
    TForm2(const AppState& state, FileSystem& fs, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  public slots:
    // Esc: the same as "Cancel".
    void reject() override;

  private:
    void FormShow();
    void Button1Click();
    void placeValueLabels();

    const AppState& state_;
    FileSystem& fs_;
    // Worked out at each showing; "Show details" marks missing files by it.
    bool AllFilesExist = true;

    QLabel* Label1;
    QLabel* InLabel;
    QLabel* Label2;
    QLabel* OutLabel;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPlainTextEdit* Memo1;
};

}  // namespace vxa
