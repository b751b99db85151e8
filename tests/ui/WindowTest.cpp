// The three windows as they come up: where their controls stand, what they
// say, the start cells, tooltips and tab order; and what the two script
// dialogs do on their own.
#include <QAbstractButton>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "script/Summary.h"
#include "support/App.h"
#include "support/TempDir.h"
#include "ui/StatusPanels.h"

using namespace vxa;
using namespace vxa::test;

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsStandWhereDesignedWithTheirCaptions();
    void startsWithTheStartCellsAndNothingShowing();
    void sixButtonsHaveTooltips();
    void oneFontButTheStopButtonsSerif();
    void tabVisitsTheControlsInOrder();
    void summaryShowsThePathsAsPlainTextBesideTheirCaptions();
    void summaryEnablesProceedAnewAtEachShowing();
    void summaryEscapeCancelsAndTheTitleBarCloses();
    void progressGaugeStaysInItsRangeAndFillsGold();
    void progressEscapeAndTitleBarCloseActAsStop();
};

void WindowTest::controlsStandWhereDesignedWithTheirCaptions() {
    App app;
    struct Window {
        QWidget* window;
        QSize client;
        const char* title;
    };
    for (const Window& w :
         {Window{app.form1, {618, 441}, "ORN VXA manager"},
          Window{app.form2, {451, 331}, "Summary"}, Window{app.form3, {345, 146}, "Please wait"}}) {
        QCOMPARE(w.window->size(), w.client);
        QCOMPARE(w.window->windowTitle(), QString::fromLatin1(w.title));
        if (w.window == app.form1)
            continue;
        // The dialogs: a fixed frame with a close button only.
        const Qt::WindowFlags f = w.window->windowFlags();
        QCOMPARE(w.window->minimumSize(), w.client);
        QCOMPARE(w.window->maximumSize(), w.client);
        QVERIFY(!(f & Qt::WindowMinimizeButtonHint) && !(f & Qt::WindowMaximizeButtonHint));
        QVERIFY((f & Qt::WindowCloseButtonHint) && (f & Qt::WindowTitleHint));
    }

    QWidget* client = app.form1->centralWidget();
    struct Control {
        QWidget* window;
        const char* name;
        QRect geometry;  // a width of -1: only the position is fixed
        const char* caption;
    };
    const Control controls[] = {
        {client, "OpenEdit", {0, 3, 529, 24}, "Open VXA file"},
        {client, "OpenBtn", {507, 5, 20, 20}, "..."},
        {client, "ReloadBtn", {536, 3, 81, 24}, "Reopen"},
        {client,
         "Label1",
         {8, 37, 332, 16},
         "In-VXA list: (drag a file from file browser and drop it here)"},
        {client, "Label2", {392, 37, 76, 16}, "File browser:"},
        {client, "FileList", {0, 56, 385, 289}, nullptr},
        {client, "StopBtn", {104, 176, 169, 73}, "Stop"},
        {client, "SvhBtn", {0, 352, 129, 25}, "Choose output VXA"},
        {client, "SvahBtn", {136, 352, 129, 25}, "--== COMPILE ==--"},
        {client, "CanBtn", {272, 352, 113, 25}, "Cancel changes"},
        {client, "SvsBtn", {0, 392, 193, 25}, "Save to script"},
        {client, "RsBtn", {200, 392, 185, 25}, "Run script..."},
        {client, "PathText", {392, 56, 225, 20}, nullptr},
        {client, "List1", {392, 78, 225, 283}, nullptr},
        {client, "DriveComboBox1", {392, 363, 225, 22}, nullptr},
        {client, "RplBtn", {392, 392, 105, 25}, "<<  Replace  <<"},
        {client, "UnBtn", {504, 392, 113, 25}, ">> UnReplace >>"},
        {app.form1, "Status1", {0, 419, 618, 22}, nullptr},
        {app.form2, "Label1", {8, 8, -1, -1}, "Input VXA file:"},
        {app.form2, "Label2", {8, 32, -1, -1}, "Output VXA file:"},
        {app.form2, "Button1", {8, 56, 105, 25}, "Show details"},
        {app.form2, "Button2", {120, 56, 105, 25}, "Proceed >>>"},
        {app.form2, "Button3", {232, 56, 97, 25}, "Cancel"},
        {app.form2, "Button4", {336, 56, 105, 25}, "Load only"},
        {app.form2, "Memo1", {8, 88, 433, 234}, nullptr},
        {app.form3, "Label2", {16, 8, 313, 16}, "Executing script..."},
        {app.form3, "Label1", {24, 40, 297, 16}, "Status"},
        {app.form3, "Bevel1", {14, 70, 317, 29}, nullptr},
        {app.form3, "Gauge1", {15, 71, 315, 27}, nullptr},
        {app.form3, "Button1", {104, 112, 129, 25}, "Stop"},
    };
    for (const Control& c : controls) {
        const QWidget* w = c.window->findChild<QWidget*>(QString::fromLatin1(c.name));
        QVERIFY2(w != nullptr, c.name);
        QCOMPARE(c.geometry.width() < 0 ? QRect(w->pos(), c.geometry.size()) : w->geometry(),
                 c.geometry);
        QString caption;
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            caption = b->text();
        if (const auto* l = qobject_cast<const QLabel*>(w))
            caption = l->text();
        if (const auto* e = qobject_cast<const QLineEdit*>(w))
            caption = e->text();
        if (c.caption != nullptr)
            QCOMPARE(caption, QString::fromLatin1(c.caption));
        if (c.window == client)
            QVERIFY2(!w->accessibleName().isEmpty(), c.name);
    }
    // The grid's heading is as high as its rows: drags count on it.
    const EntryGrid* grid = app.ui().FileList;
    QCOMPARE(grid->horizontalHeader()->height(), 18);
    QCOMPARE(app.form1->defaultRowHeight(), 18);
    QCOMPARE(app.ui().Status1->progress()->geometry(), QRect(0, 0, 104, 22));
    const auto* memo = app.form2->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    // The buttons lie over the controls they share a place with.
    const QObjectList& kids = client->children();
    QVERIFY(kids.indexOf(app.ui().OpenBtn) > kids.indexOf(app.ui().OpenEdit));
    QVERIFY(kids.indexOf(app.ui().StopBtn) > kids.indexOf(app.ui().FileList));
}

void WindowTest::startsWithTheStartCellsAndNothingShowing() {
    App app;
    // As the grid shows them: the heading row as its header, rows 1-4 below.
    const QAbstractItemModel* model = app.ui().FileList->model();
    QCOMPARE(app.form1->rowCount(), 5);
    QCOMPARE(model->rowCount(), 4);
    const QStringList rows[] = {
        {"Nr", "Offset", "Orig. size", "Packed size", "C/T", "Replace with"},
        {"******", "No", "file", "loaded", "******", ""},
        {"", "", "", "", "", ""},
        {"ORN", "VXA", "manager", "", "by", "the VXA manager team"},
        {"", "", "version:", "1.0", "beta", ""}};
    for (int col = 0; col < 6; ++col) {
        QCOMPARE(model->headerData(col, Qt::Horizontal).toString(), rows[0][col]);
        for (int r = 1; r <= 4; ++r)
            QCOMPARE(model->index(r - 1, col).data().toString(), rows[r][col]);
    }
    // Shown whole; the credits too, in full as the tooltip of their cell.
    ExpectColumnsFit(app.ui().FileList);
    QCOMPARE(model->index(2, 5).data(Qt::ToolTipRole).toString(), rows[3][5]);
    QCOMPARE(app.form1->selectedRow(), 1);
    QVERIFY(!app.ui().StopBtn->isVisible());
    QVERIFY(!app.form2->isVisible() && !app.form3->isVisible());
    QCOMPARE(app.ui().Status1->textPanel()->text(), QString());
    const QImage panel = app.ui().Status1->progress()->image();
    QCOMPARE(panel.size(), QSize(104, 22));
    QCOMPARE(qAlpha(panel.pixel(50, 10)), 0);  // nothing drawn yet
}

void WindowTest::sixButtonsHaveTooltips() {
    App app;  // the dialogs belong to the main window
    QMap<QString, QString> tips;
    for (const QWidget* widget : app.form1->findChildren<QWidget*>()) {
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
        {"RsBtn", "Runs saved script file"},
        {"Button4", "Only loads the VXA file and returns to the main window"}};
    QCOMPARE(tips, expected);
}

void WindowTest::oneFontButTheStopButtonsSerif() {
    QApplication::setFont(QFont());  // as at start-up
    App app;
    const QFont font = QApplication::font();
    QCOMPARE(font.pixelSize(), 13);
    for (const QWidget* w : app.form1->findChildren<QWidget*>()) {  // the dialogs' too
        if (w != app.ui().StopBtn)
            QVERIFY2(w->font() == font, qPrintable(w->objectName()));
    }
    QCOMPARE(app.ui().StopBtn->font().pixelSize(), 23);
    QCOMPARE(app.ui().StopBtn->font().styleHint(), QFont::Serif);
}

void WindowTest::tabVisitsTheControlsInOrder() {
    App app;
    const auto walk = [&](QWidget* start, int steps) {
        start->setFocus(Qt::OtherFocusReason);
        QStringList visited{app.form1->focusWidget()->objectName()};
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(app.form1->focusWidget(), Qt::Key_Tab);
            visited << app.form1->focusWidget()->objectName();
        }
        return visited;
    };
    QCOMPARE(
        walk(app.ui().OpenEdit, 13),
        (QStringList{"OpenEdit", "OpenBtn", "ReloadBtn", "FileList", "RplBtn", "SvhBtn", "SvahBtn",
                     "CanBtn", "DriveComboBox1", "List1", "UnBtn", "SvsBtn", "RsBtn", "OpenEdit"}));
    // The Stop button takes its turn only while it is shown.
    app.form1->setStopButtonVisible(true);
    QCOMPARE(walk(app.ui().FileList, 2), (QStringList{"FileList", "StopBtn", "RplBtn"}));

    // The summary dialog starts at "Show details".
    QStringList order;
    ExecWith(*app.form2, [&] {
        QWidget* w = app.form2->focusWidget();
        for (int i = 0; i < 5 && w != nullptr; ++i, w = w->nextInFocusChain())
            order << w->objectName();
    });
    QCOMPARE(order, (QStringList{"Button1", "Button2", "Button3", "Button4", "Memo1"}));
}

void WindowTest::summaryShowsThePathsAsPlainTextBesideTheirCaptions() {
    App app;
    TForm2& d = *app.form2;
    app.state.InPath = "/games/orn/<b>data</b>.vxa";
    app.state.OutPath = "/games/out.vxa";
    auto* in = d.findChild<QLabel*>(QStringLiteral("InLabel"));
    auto* out = d.findChild<QLabel*>(QStringLiteral("OutLabel"));
    ExecWith(d, [] {});
    QCOMPARE(in->text(), QString::fromStdString(app.state.InPath));
    QCOMPARE(in->textFormat(), Qt::PlainText);
    QCOMPARE(out->text(), QStringLiteral("/games/out.vxa"));
    // However wide the font, a caption never runs into its value.
    QVERIFY(in->x() >= 96 && in->x() > d.findChild<QLabel*>("Label1")->geometry().right());
    QVERIFY(out->x() >= 108 && out->x() > d.findChild<QLabel*>("Label2")->geometry().right());
    // With a font as narrow as the designed one they stand at their places.
    QFont narrow = d.font();
    narrow.setPixelSize(8);
    d.setFont(narrow);
    ExecWith(d, [] {});
    QCOMPARE(in->pos(), QPoint(96, 8));
    QCOMPARE(out->pos(), QPoint(108, 32));
    // Texts the status lines break with "\r\n" show as several lines.
    QCOMPARE(SummaryMemoText({"Status:", "", "one\r\ntwo\rthree"}),
             QStringLiteral("Status:\n\none\ntwo\nthree"));
}

void WindowTest::summaryEnablesProceedAnewAtEachShowing() {
    test::TempDir dir;
    App app;
    TForm2& d = *app.form2;
    QPushButton* proceed = App::button(&d, "Button2");
    app.state.InPath = dir.file("gone.vxa");
    bool enabled = true;
    ExecWith(d, [&] { enabled = proceed->isEnabled(); });
    QVERIFY(!enabled);
    // "Load only" works whatever Proceed's state.
    QCOMPARE(ExecWith(d, [&] { App::button(&d, "Button4")->click(); }),
             int(SummaryResult::LoadOnly));
    // A script whose input exists: Proceed is enabled again.
    app.state.InPath = dir.write("back.vxa", "x");
    ExecWith(d, [&] { enabled = proceed->isEnabled(); });
    QVERIFY(enabled);
}

void WindowTest::summaryEscapeCancelsAndTheTitleBarCloses() {
    App app;
    TForm2& d = *app.form2;
    app.form1->move(100, 50);
    QPoint centre;
    QCOMPARE(ExecWith(d,
                      [&] {
                          centre = d.geometry().center();
                          PressEscape(d);
                      }),
             int(SummaryResult::Cancel));
    QVERIFY((centre - app.form1->geometry().center()).manhattanLength() <= 1);
    // Escape in the text box, after the main window moved.
    app.form1->move(140, 80);
    QCOMPARE(ExecWith(d,
                      [&] {
                          centre = d.geometry().center();
                          d.findChild<QPlainTextEdit*>("Memo1")->setFocus();
                          PressEscape(d);
                      }),
             int(SummaryResult::Cancel));
    QVERIFY((centre - app.form1->geometry().center()).manhattanLength() <= 1);
    QCOMPARE(ExecWith(d, [&] { d.close(); }), int(SummaryResult::Closed));
    QVERIFY(!d.isVisible());
}

void WindowTest::progressGaugeStaysInItsRangeAndFillsGold() {
    App app;
    TForm3& d = *app.form3;
    auto* gauge = d.findChild<TGauge*>(QStringLiteral("Gauge1"));
    const auto pixel = [gauge](int x) {
        return gauge->grab().toImage().pixelColor(x, gauge->height() / 2);
    };
    const QColor gold(240, 192, 0);
    const QColor face = gauge->palette().color(QPalette::Button);
    QVERIFY(face != gold);
    QCOMPARE(pixel(0), face);  // 0 of 100: empty

    d.setGaugeProgress(150);
    QCOMPARE(gauge->progress(), 100);
    QCOMPARE(gauge->filledWidth(), 315);
    d.setGaugeProgress(-5);
    QCOMPARE(gauge->filledWidth(), 0);
    // A 25-entry load: 0, 10, 20 of 25, never a full bar.
    d.setGaugeMax(25);
    d.setGaugeProgress(10);
    const int filled = 315 * 10 / 25;
    QCOMPARE(pixel(0), gold);
    QCOMPARE(pixel(filled - 1), gold);
    QCOMPARE(pixel(filled), face);
    d.setGaugeProgress(25);
    // No percentage text: a full bar is all gold.
    const QImage full = gauge->grab().toImage();
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x)
            QCOMPARE(full.pixelColor(x, y), gold);
    }
    // A lower maximum pulls the progress down with it.
    d.setGaugeMax(10);
    QCOMPARE(gauge->progress(), 10);
    // An empty range shows an empty bar; a maximum below 0 is taken as 0.
    d.setGaugeMax(-3);
    d.setGaugeProgress(7);
    QCOMPARE(gauge->maxValue(), 0);
    QCOMPARE(gauge->filledWidth(), 0);
    // Large values do not overflow the share.
    d.setGaugeMax(2'000'000'000);
    d.setGaugeProgress(1'000'000'000);
    QCOMPARE(gauge->filledWidth(), 157);
}

void WindowTest::progressEscapeAndTitleBarCloseActAsStop() {
    App app;
    TForm3& d = *app.form3;
    d.showRun();
    QVERIFY((d.frameGeometry().center() - app.form1->frameGeometry().center()).manhattanLength() <=
            2);
    PressEscape(d);
    QVERIFY(app.state.StopRequested);
    app.state.StopRequested = false;
    QVERIFY(!d.close());
    QVERIFY(app.state.StopRequested);
    QVERIFY(d.isVisible());
    QVERIFY(!app.form1->isEnabled());
    d.closeRun();
    QVERIFY(!d.isVisible());
    QVERIFY(app.form1->isEnabled());
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
