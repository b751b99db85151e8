#pragma once

// For the toolkit's tests only (header only: the shared test library stays
// free of the toolkit). The program's three windows as start-up makes them,
// driven by clicks and keys, with message boxes and file dialogs answered by
// the test.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/FileSystem.h"
#include "support/FakeView.h"
#include "ui/Browser.h"
#include "ui/BrowserWidgets.h"
#include "ui/EntryGrid.h"
#include "ui/ProgramWindows.h"

namespace vxa::test {

using Row = std::vector<std::string>;

// Message boxes and file dialogs are answered from queues; a Yes/No box
// without a queued answer gets No, a file dialog without one is cancelled.
struct App {
    AppState state;
    ProgramWindows windows{state, RealFileSystem()};
    MainWindow* form1 = &windows.form1;
    TForm2* form2 = &windows.form2;
    TForm3* form3 = &windows.form3;
    std::vector<MessageRequest> boxes;
    std::deque<MsgAnswer> answers;
    std::deque<std::string> picks;
    std::vector<FileDialog> dialogsRun;
    std::vector<std::string> namesOffered;  // the file name each dialog was given

    App() {
        form1->messageBoxHook = [this](const MessageRequest& r) {
            boxes.push_back(r);
            return NextAnswer(answers, r.buttons);
        };
        form1->fileDialogHook = [this](FileDialog d,
                                       const std::string& name) -> std::optional<std::string> {
            dialogsRun.push_back(d);
            namesOffered.push_back(name);
            if (picks.empty())
                return std::nullopt;
            std::string pick = picks.front();
            picks.pop_front();
            return pick;
        };
        form1->show();
    }
    const Form1Controls& ui() const { return form1->controls(); }
    Row row(int r) const {
        Row out;
        for (int col = 0; col < 6; ++col)
            out.push_back(form1->cell(col, r));
        return out;
    }
    std::string replaceWith(int r) const { return form1->cell(5, r); }

    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    // Types the path into the path field and presses "Reopen".
    void reopen(const std::string& path) {
        QLineEdit* edit = ui().OpenEdit;
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::fromStdString(path));
        click(ui().ReloadBtn);
    }
    QPoint rowCentre(int r) const {
        EntryGrid* grid = ui().FileList;
        return grid->visualRect(grid->model()->index(r - 1, 0)).center();
    }
    void clickRow(int r) {
        QTest::mouseClick(ui().FileList->viewport(), Qt::LeftButton, {}, rowCentre(r));
    }
    QPoint itemCentre(const QString& caption) const {
        QListWidget* list = ui().List1;
        const auto found = list->findItems(caption, Qt::MatchExactly);
        if (found.size() != 1)
            return {-1, -1};
        return list->visualItemRect(found.front()).center();
    }
    void clickItem(const QString& caption) {
        QTest::mouseClick(ui().List1->viewport(), Qt::LeftButton, {}, itemCentre(caption));
    }
    void doubleClickItem(const QString& caption) {
        const QPoint at = itemCentre(caption);
        QTest::mouseClick(ui().List1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(ui().List1->viewport(), Qt::LeftButton, {}, at);
    }
    void browse(const std::string& dir) { FillBrowser(form1->context(), dir); }
    static QPushButton* button(QWidget* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

// Runs `dialog` modally and does `act` once it shows; returns exec()'s
// result, or -1 when `act` left the dialog open (so that a fault fails, never
// hangs).
inline int ExecWith(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        act();
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return dialog.exec();
}

// Columns 0 to 4 show their heading and every cell whole at the grid's font,
// as the view itself measures them, and are at least as wide as designed;
// "Replace with" keeps its width and shortens its texts in the middle.
inline void ExpectColumnsFit(EntryGrid* grid) {
    constexpr int kDesigned[] = {40, 53, 62, 52, 33};
    const auto* view = static_cast<const QAbstractItemView*>(grid);
    for (int col = 0; col < 5; ++col) {
        const int needed = std::max({kDesigned[col], view->sizeHintForColumn(col),
                                     grid->horizontalHeader()->sectionSizeHint(col)});
        QVERIFY2(grid->columnWidth(col) >= needed, qPrintable(QString::number(col)));
    }
    QCOMPARE(grid->columnWidth(5), 114);
    QCOMPARE(grid->textElideMode(), Qt::ElideMiddle);
}

// Presses Esc on the control that has the window's focus, as a user would.
inline void PressEscape(QWidget& window) {
    QWidget* target = window.focusWidget();
    QTest::keyClick(target != nullptr ? target : &window, Qt::Key_Escape);
}

// While it lives, looks at the windows each time events are handled (a load
// hands them over at its progress points) and runs `act` whenever `when`
// holds.
class Watch {
  public:
    Watch(std::function<bool()> when, std::function<void()> act) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [when, act] {
            if (when())
                act();
        });
        timer_.start();
    }

  private:
    QTimer timer_;
};

}  // namespace vxa::test
