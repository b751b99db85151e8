// The main window as it comes up: start cells, layout, names, tooltips, tab
// order and fonts.
#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QtTest>

#include "WindowFixture.h"
#include "ui/BrowserWidgets.h"
#include "ui/EntryGrid.h"
#include "ui/StatusPanels.h"

using vxa::test::Window;

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithFiveRowsOfStartCells();
    void startsWithStopHiddenAndPanelsEmpty();
    void controlsSitAtTheirPixelPlaces();
    void resizingMovesOnlyTheStatusBar();
    void everyControlIsNamed();
    void exactlyFiveButtonsHaveTooltips();
    void tabVisitsTheControlsInOrder();
};

void MainWindowTest::startsWithFiveRowsOfStartCells() {
    Window w;
    QCOMPARE(w->rowCount(), 5);
    using Row = std::vector<std::string>;
    QCOMPARE(w.row(0), (Row{"Nr", "Offset", "Orig. size", "Packed size", "C/T", "Replace with"}));
    QCOMPARE(w.row(1), (Row{"******", "No", "file", "loaded", "******", ""}));
    QCOMPARE(w.row(2), (Row{"", "", "", "", "", ""}));
    QCOMPARE(w.row(3), (Row{"ORN", "VXA", "manager", "", "by", "the VXA manager team"}));
    QCOMPARE(w.row(4), (Row{"", "", "version:", "1.0", "beta", ""}));
    // The grid shows the same: the heading as its header, rows 1-4 as model rows.
    const QAbstractItemModel* model = w.ui().FileList->model();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("C/T"));
    QCOMPARE(model->index(2, 5).data().toString(), QStringLiteral("the VXA manager team"));
    QCOMPARE(w->selectedRow(), 1);
}

void MainWindowTest::startsWithStopHiddenAndPanelsEmpty() {
    Window w;
    w->show();
    QVERIFY(!w.ui().StopBtn->isVisible());
    QCOMPARE(w.ui().Status1->textPanel()->text(), QString());
    QCOMPARE(w.ui().OpenEdit->text(), QStringLiteral("Open VXA file"));
    QCOMPARE(w->windowTitle(), QStringLiteral("ORN VXA manager"));
    // Nothing drawn in the progress panel yet.
    const QImage panel = w.ui().Status1->progress()->image();
    QCOMPARE(panel.size(), QSize(104, 22));
    QCOMPARE(qAlpha(panel.pixel(50, 10)), 0);
}

void MainWindowTest::controlsSitAtTheirPixelPlaces() {
    Window w;
    w->show();
    QCOMPARE(w->size(), QSize(618, 441));
    const vxa::Form1Controls& f = w.ui();
    QCOMPARE(f.OpenEdit->geometry(), QRect(0, 3, 529, 24));
    QCOMPARE(f.OpenBtn->geometry(), QRect(507, 5, 20, 20));
    QCOMPARE(f.FileList->geometry(), QRect(0, 56, 385, 289));
    QCOMPARE(f.StopBtn->geometry(), QRect(104, 176, 169, 73));
    QCOMPARE(f.Bevel2->geometry(), QRect(387, 33, 2, 385));
    QCOMPARE(f.PathText->geometry(), QRect(392, 56, 225, 20));
    QCOMPARE(f.List1->geometry(), QRect(392, 78, 225, 283));
    QCOMPARE(f.DriveComboBox1->geometry(), QRect(392, 363, 225, 22));
    QCOMPARE(f.RplBtn->geometry(), QRect(392, 392, 105, 25));
    QCOMPARE(f.UnBtn->geometry(), QRect(504, 392, 113, 25));
    QCOMPARE(f.Status1->geometry(), QRect(0, 419, 618, 22));
    QCOMPARE(f.Status1->progress()->geometry(), QRect(0, 0, 104, 22));
    const int widths[] = {40, 53, 62, 52, 33, 114};
    for (int col = 0; col < 6; ++col)
        QCOMPARE(f.FileList->columnWidth(col), widths[col]);
    QCOMPARE(f.FileList->horizontalHeader()->height(), 18);
    QCOMPARE(w->defaultRowHeight(), 18);
    // The buttons lie over the controls they share a place with.
    const QObjectList& kids = f.OpenEdit->parent()->children();
    QVERIFY(kids.indexOf(f.OpenBtn) > kids.indexOf(f.OpenEdit));
    QVERIFY(kids.indexOf(f.StopBtn) > kids.indexOf(f.FileList));
}

void MainWindowTest::resizingMovesOnlyTheStatusBar() {
    Window w;
    w->show();
    w->resize(800, 600);
    QTRY_COMPARE(w.ui().Status1->geometry(), QRect(0, 578, 800, 22));
    QCOMPARE(w.ui().FileList->geometry(), QRect(0, 56, 385, 289));
    QCOMPARE(w.ui().UnBtn->geometry(), QRect(504, 392, 113, 25));
    QVERIFY(w.ui().Status1->textPanel()->geometry().right() > 700);
}

void MainWindowTest::everyControlIsNamed() {
    Window w;
    const QStringList names = {
        "OpenEdit", "OpenBtn",  "ReloadBtn", "Bevel1",  "Bevel2", "Label1",         "Label2",
        "FileList", "StopBtn",  "SvhBtn",    "SvahBtn", "CanBtn", "Bevel3",         "SvsBtn",
        "RsBtn",    "PathText", "List1",     "RplBtn",  "UnBtn",  "DriveComboBox1", "Status1"};
    for (const QString& name : names) {
        const auto* control = w->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(name));
    }
    QCOMPARE(w->objectName(), QStringLiteral("Form1"));
    const QMap<QString, QString> captions = {{"OpenBtn", "..."},
                                             {"ReloadBtn", "Reopen"},
                                             {"StopBtn", "Stop"},
                                             {"SvhBtn", "Choose output VXA"},
                                             {"SvahBtn", "--== COMPILE ==--"},
                                             {"CanBtn", "Cancel changes"},
                                             {"SvsBtn", "Save to script"},
                                             {"RsBtn", "Run script..."},
                                             {"RplBtn", "<<  Replace  <<"},
                                             {"UnBtn", ">> UnReplace >>"}};
    for (auto it = captions.begin(); it != captions.end(); ++it) {
        QCOMPARE(w->findChild<QAbstractButton*>(it.key())->text(), it.value());
    }
    QCOMPARE(w.ui().Label1->text(),
             QStringLiteral("In-VXA list: (drag a file from file browser and drop it here)"));
    QCOMPARE(w.ui().Label2->text(), QStringLiteral("File browser:"));
}

void MainWindowTest::exactlyFiveButtonsHaveTooltips() {
    Window w;
    QMap<QString, QString> tips;
    for (const QWidget* widget : w->findChildren<QWidget*>()) {
        if (!widget->toolTip().isEmpty())
            tips[widget->objectName()] = widget->toolTip();
    }
    const QMap<QString, QString> expected = {
        {"SvhBtn", "Saves content to current VXA file"},
        {"SvahBtn", "Saves content to another VXA file"},
        {"CanBtn", "Clears all \"replace with\" fields"},
        {"SvsBtn",
         "Saves \"replace with\" content and current VXA file name to a script file so that the "
         "same changes can be made faster later"},
        {"RsBtn", "Runs saved script file"}};
    QCOMPARE(tips, expected);
}

namespace {

QStringList TabWalk(QWidget& window, QWidget* start, int steps) {
    start->setFocus(Qt::OtherFocusReason);
    QStringList visited{window.focusWidget()->objectName()};
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        visited << window.focusWidget()->objectName();
    }
    return visited;
}

}  // namespace

void MainWindowTest::tabVisitsTheControlsInOrder() {
    Window w;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form1.get()));
    const QStringList order = {"OpenEdit", "OpenBtn", "ReloadBtn", "FileList",       "RplBtn",
                               "SvhBtn",   "SvahBtn", "CanBtn",    "DriveComboBox1", "List1",
                               "UnBtn",    "SvsBtn",  "RsBtn",     "OpenEdit"};
    QCOMPARE(TabWalk(*w, w.ui().OpenEdit, 13), order);
    // The Stop button takes its turn only while it is shown.
    w->setStopButtonVisible(true);
    const QStringList withStop = TabWalk(*w, w.ui().FileList, 2);
    QCOMPARE(withStop, (QStringList{"FileList", "StopBtn", "RplBtn"}));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
