#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

namespace vxa {

class BrowserList;
class DriveSelector;
class EntryGrid;
class StatusBar1;

// The controls of the main window, named as the program names them. The
// window owns them; this only points at them.
struct Form1Controls {
    QLineEdit* OpenEdit;
    QPushButton* OpenBtn;
    QPushButton* ReloadBtn;
    QFrame* Bevel1;
    QFrame* Bevel2;
    QLabel* Label1;
    QLabel* Label2;
    EntryGrid* FileList;
    QPushButton* StopBtn;
    QPushButton* SvhBtn;
    QPushButton* SvahBtn;
    QPushButton* CanBtn;
    QFrame* Bevel3;
    QPushButton* SvsBtn;
    QPushButton* RsBtn;
    QLabel* PathText;
    BrowserList* List1;
    DriveSelector* DriveComboBox1;
    QPushButton* RplBtn;
    QPushButton* UnBtn;
    StatusBar1* Status1;
};

// Builds the window's fixed layout: every control at its pixel place on a
// plain central widget, the status bar docked at the bottom, the tooltips and
// the tab order. The client area is 618 x 441. It makes the program's font
// the application's, which every window uses but for the Stop button's serif.
Form1Controls BuildForm1(QMainWindow& window);

}  // namespace vxa
