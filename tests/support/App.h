#pragma once

// The three windows as start-up makes them, for the toolkit's tests (header
// only: the test library stays toolkit-free). Boxes and file dialogs answer
// from queues; when empty, a Yes/No box gets No and a file dialog cancels.
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/FakeView.h"
#include "ui/Browser.h"
#include "ui/widgets/BrowserWidgets.h"
#include "ui/widgets/EntryGrid.h"
#include "ui/widgets/MainWindow.h"

namespace vxa::test {

struct App {
    AppState state;
    ProgramWindows windows{state, RealFileSystem()};
    MainWindow* form1 = &windows.Form1;
    TForm2* form2 = &windows.Form2;
    TForm3* form3 = &windows.Form3;
    std::vector<MessageRequest> boxes;
    std::deque<MsgAnswer> answers;
    std::deque<std::string> picks;
    std::vector<std::string> offered;  // the name each file dialog was given

    App() {
        form1->MessageBoxHook = [this](const MessageRequest& r) {
            boxes.push_back(r);
            return NextAnswer(answers, r.Buttons);
        };
        form1->FileDialogHook = [this](FileDialog, const std::string& name) {
            offered.push_back(name);
            const auto pick = picks.empty() ? std::nullopt : std::optional(picks.front());
            picks.erase(picks.begin(), picks.begin() + (pick ? 1 : 0));
            return pick;
        };
        form1->show();
    }
    const Form1Controls& ui() const { return form1->controls(); }
    // Column `col` of the grid's rows below the heading, joined by "|".
    std::string column(int col) const {
        std::string out = form1->cell(col, 1);
        for (int r = 2; r < form1->rowCount(); ++r)
            out.append("|").append(form1->cell(col, r));
        return out;
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    // Types the path into the path field and presses "Reopen".
    void reopen(const std::string& path) {
        QTest::keyClick(ui().OpenEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ui().OpenEdit, QString::fromStdString(path));
        click(ui().ReloadBtn);
    }
    QPoint rowCentre(int r) const {
        return ui().FileList->visualRect(ui().FileList->model()->index(r - 1, 0)).center();
    }
    void clickRow(int r) {
        QTest::mouseClick(ui().FileList->viewport(), Qt::LeftButton, {}, rowCentre(r));
    }
    // Clicks the browser's item `caption`; `twice`: a double click.
    void clickItem(const char* caption, bool twice = false) {
        const auto found = ui().List1->findItems(caption, Qt::MatchExactly);
        const QPoint at = found.empty() ? QPoint() : ui().List1->visualItemRect(found[0]).center();
        QTest::mouseClick(ui().List1->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(ui().List1->viewport(), Qt::LeftButton, {}, at);
    }
    static QPushButton* button(QWidget* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(name);
    }
};

// Columns 0-4 as designed or wide enough for their cells while 60 px of "Replace
// with" stay in view; "Replace with" keeps its width, shortened in the middle.
inline void ExpectColumnsFit(EntryGrid* grid) {
    constexpr int kDesigned[] = {40, 53, 62, 52, 33};
    const auto* view = static_cast<const QAbstractItemView*>(grid);
    const int spare = grid->viewport()->width() - EntryGrid::kReplaceWithShown -
                      grid->horizontalHeader()->sectionPosition(5);  // columns 0-4
    QVERIFY2(spare >= 0, qPrintable(QString::number(spare)));
    for (int col = 0; col < 5; ++col) {
        const int needed = std::max(kDesigned[col], view->sizeHintForColumn(col));
        QVERIFY2(grid->columnWidth(col) >= kDesigned[col] &&
                     (grid->columnWidth(col) >= needed || spare < 5),
                 qPrintable(QString::number(col)));
    }
    QVERIFY(grid->columnWidth(5) == 114 && grid->textElideMode() == Qt::ElideMiddle);
}

// While it lives, runs `act` whenever events are handled and `when` holds.
struct Watch {
    Watch(std::function<bool()> when, std::function<void()> act) {
        QObject::connect(&timer, &QTimer::timeout, [=] { when() ? act() : void(); });
        timer.start(0);
    }
    QTimer timer;
};

}  // namespace vxa::test
