// The program as a user meets it: the main window with its real summary and
// progress dialogs, built as at start-up, driven by clicks, keys and drags
// over archives and files in a temporary folder. Outputs are compared byte
// for byte with what vxa-tool writes for the same plan.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include "script/ScriptFile.h"
#include "support/App.h"
#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "ui/DesktopOpen.h"
#include "ui/ExtractMenu.h"
#include "ui/StatusPanels.h"

using namespace vxa;
using namespace vxa::test;
namespace fs = std::filesystem;

namespace {

// Sends a drag of `mime` to the grid's viewport at viewport y `y`: enter,
// then a move at the same point, as the toolkit does. Returns whether the
// move was accepted.
bool DragOver(EntryGrid* grid, QMimeData* mime, int y) {
    const QPoint at(20, y);
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    return move.isAccepted();
}

// Drops `mime` at viewport y `y`, the source proposing a move; returns the
// action the grid took.
Qt::DropAction Drop(EntryGrid* grid, QMimeData* mime, int y) {
    QDropEvent drop(QPointF(20, y), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton,
                    Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(grid->viewport(), &drop);
    return drop.dropAction();
}

// What a drag of the browser list's selected item carries.
std::unique_ptr<QMimeData> BrowserDrag(App& app) {
    QListWidget* list = app.ui().List1;
    return std::unique_ptr<QMimeData>(
        list->model()->mimeData(list->selectionModel()->selectedIndexes()));
}

// Six entries: 1, 2 and 5 share a record, 3 is blank. The records lie in
// reverse order with junk before each, so every compile lays them out anew.
std::string SixEntries() {
    return BuildArchive(
        {Owned("AAAA"), Shared(0), Blank(), Owned("BBBBBB", 2, 9), Shared(0), Owned("CC", 1, 7)},
        {.reverseRecords = true, .gap = 3});
}

// vxa-tool compile's output for the same archive and plan.
std::string ToolOutput(const TempDir& dir, const std::string& in, std::vector<std::string> args) {
    const std::string out = dir.file("tool-out.vxa");
    fs::remove(out);
    args.insert(args.begin(), {VXA_TOOL_PATH, "compile", in, out});
    const RunResult r = Run(args);
    if (r.exitCode != 0)
        return "vxa-tool failed: " + r.err;
    return ReadFile(out);
}

// Opens the grid's context menu: with Shift+F10 when `target` is the grid,
// else with the mouse at y `y` of `target` (the rows or the heading).
// Returns the items ("+" enabled, "-" disabled), none when it did not open.
QStringList OpenMenu(App& app, QWidget* target, int y = 0) {
    if (target == app.ui().FileList) {
        QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
    } else {
        QContextMenuEvent event(QContextMenuEvent::Mouse, {20, y},
                                target->mapToGlobal(QPoint(20, y)));
        QApplication::sendEvent(target, &event);
    }
    QMenu* menu = app.form1->findChild<ExtractMenu*>()->menu();
    QStringList items;
    for (QAction* action : menu->actions())
        items << (action->isEnabled() && menu->isVisible() ? "+" : "-") + action->text();
    menu->hide();
    return items;
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
  private slots:
    void planByButtonDoubleClickAndEnter();
    void dropsFromTheBrowserAndTheDesktop();
    void compileWritesWhatTheToolWrites();
    void scriptSavedAndRunThroughItsDialogs();
    void stopsAndErrorsLeaveNothingEditable();
    void aLoadHoldsOffCommandsAndClosing();
    void extractThroughTheGridMenu();
    void openedFromTheDesktop();
};

void EndToEndTest::planByButtonDoubleClickAndEnter() {
    TempDir dir;
    const std::string archive = dir.write("game.vxa", SixEntries());
    const std::string a = dir.write("a.bin", "new A");
    const std::string b = dir.write("b.wav", "bee");
    const std::string c = dir.write("c.pal", "sea");
    fs::create_directory(dir.file("sub"));
    App app;

    app.reopen(archive);
    QVERIFY(app.boxes.empty());
    QCOMPARE(app.form1->rowCount(), 7);
    QCOMPARE(app.row(5), (Row{"5", "65", "0", "0", "0/R:1", ""}));
    QCOMPARE(app.row(6), (Row{"6", "31", "7", "2", "1/N", ""}));
    // The status panel's bar is full.
    const QImage panel = app.ui().Status1->progress()->image();
    QCOMPARE(panel.pixel(2, 10), qRgb(255, 255, 0));
    QCOMPARE(panel.pixel(101, 10), qRgb(255, 255, 0));

    // A click on the row a load left selected marks its group; another row
    // moves the marks.
    QCOMPARE(app.form1->selectedRow(), 1);
    app.clickRow(1);
    QCOMPARE(app.form1->cell(0, 5), std::string("+5"));
    app.clickRow(4);
    QCOMPARE(app.form1->cell(0, 5), std::string("5"));
    QCOMPARE(app.form1->cell(0, 4), std::string("+4"));
    ExpectColumnsFit(app.ui().FileList);  // the numbers of the load, a mark

    // The browser starts in a subfolder and goes up with "[..]".
    app.browse(dir.file("sub"));
    app.doubleClickItem(QStringLiteral("[..]"));
    QCOMPARE(app.state.BrowserDir, dir.path());
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(dir.path() + "/"));

    // Replace by the button: the whole group of row 2. A directory item
    // replaces nothing and leaves the file's path shown.
    app.clickRow(2);
    app.clickItem(QStringLiteral("a.bin"));
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(a));
    app.click(app.ui().RplBtn);
    app.clickItem(QStringLiteral("[sub]"));
    app.click(app.ui().RplBtn);
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(a));
    // A double click on a file, then Enter on another.
    app.clickRow(4);
    app.doubleClickItem(QStringLiteral("b.wav"));
    app.clickRow(6);
    app.clickItem(QStringLiteral("c.pal"));
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(c));
    QTest::keyClick(app.ui().List1, Qt::Key_Return);
    QCOMPARE(app.state.Replacements.Indices, (std::vector<std::int32_t>{0, 1, 4, 3, 5}));
    QCOMPARE(app.state.Replacements.Paths, (std::vector<SharedPath>{a, a, a, b, c}));
    QCOMPARE(app.row(5)[5], a);
    QCOMPARE(app.row(4)[5], b);
    QCOMPARE(app.state.BrowserDir, dir.path());  // double clicks on files list nothing

    // UnReplace on a member removes the group's records, the others stay.
    app.clickRow(5);
    app.click(app.ui().UnBtn);
    QCOMPARE(app.replaceWith(1), std::string());
    QCOMPARE(app.state.Replacements.Indices, (std::vector<std::int32_t>{3, 5}));

    // Cancel changes asks: No keeps everything, Yes clears the plan.
    app.click(app.ui().CanBtn);
    QCOMPARE(app.boxes.size(), std::size_t{1});
    QCOMPARE(app.boxes[0].buttons, MsgButtons::YesNo);
    QCOMPARE(app.state.Replacements.Count, 2);
    app.answers.push_back(MsgAnswer::Yes);
    app.click(app.ui().CanBtn);
    QCOMPARE(app.state.Replacements.Count, 0);
    QCOMPARE(app.replaceWith(4), std::string());
    QCOMPARE(app.replaceWith(3), std::string("------"));

    // A double click beside the items acts on the selected one.
    app.clickItem(QStringLiteral("[sub]"));
    const QPoint empty(app.ui().List1->viewport()->width() - 5, app.ui().List1->height() - 25);
    QTest::mouseClick(app.ui().List1->viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseDClick(app.ui().List1->viewport(), Qt::LeftButton, {}, empty);
    QCOMPARE(app.state.BrowserDir, dir.file("sub"));
}

void EndToEndTest::dropsFromTheBrowserAndTheDesktop() {
    TempDir dir;
    const std::string archive = dir.write("game.vxa", SixEntries());
    const std::string a = dir.write("a.bin", "new A");
    TempDir desktop;
    const std::string d = desktop.write("d.bin", "from the desktop");
    App app;
    app.reopen(archive);
    app.browse(dir.path());
    EntryGrid* grid = app.ui().FileList;

    // From the browser list, with the grid at the top: client y 21 (the
    // heading's last pixel row) picks nothing, client y 22 (the first pixel
    // row under it) picks row 1, and every pixel of a row picks that row.
    app.clickRow(4);
    app.clickItem(QStringLiteral("a.bin"));
    auto fromList = BrowserDrag(app);
    QVERIFY(!DragOver(grid, fromList.get(), -1));
    QCOMPARE(app.form1->selectedRow(), 4);
    QVERIFY(DragOver(grid, fromList.get(), 0));
    QCOMPARE(app.form1->selectedRow(), 1);
    QCOMPARE(app.form1->cell(0, 5), std::string("+5"));
    QVERIFY(DragOver(grid, fromList.get(), 3 * EntryGrid::kRowHeight + 17));
    QCOMPARE(app.form1->selectedRow(), 4);
    QVERIFY(DragOver(grid, fromList.get(), 0));
    // The file is copied, never moved away.
    QCOMPARE(Drop(grid, fromList.get(), 0), Qt::CopyAction);
    QCOMPARE(app.replaceWith(5), a);
    QCOMPARE(app.replaceWith(4), std::string());
    // One local file from the desktop; on a blank row it is refused.
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(d))});
    QVERIFY(DragOver(grid, &file, app.rowCentre(4).y()));
    QCOMPARE(Drop(grid, &file, app.rowCentre(4).y()), Qt::CopyAction);
    QVERIFY(!DragOver(grid, &file, app.rowCentre(3).y()));
    QCOMPARE(app.form1->selectedRow(), 3);
    QCOMPARE(app.state.Replacements.Indices, (std::vector<std::int32_t>{0, 1, 4, 3}));
    QCOMPARE(app.state.Replacements.Paths, (std::vector<SharedPath>{a, a, a, d}));
    QVERIFY(app.boxes.empty());
}

void EndToEndTest::compileWritesWhatTheToolWrites() {
    TempDir dir;
    const std::string original = SixEntries();
    const std::string archive = dir.write("game.vxa", original);
    const std::string pristine = dir.write("pristine.vxa", original);
    const std::string a = dir.write("a.bin", "new A");
    const std::string b = dir.write("b.wav", "bee");
    const std::string out = dir.file("out.vxa");
    App app;
    // Opened through the open dialog: the path goes into the field.
    app.picks.push_back(archive);
    app.click(app.ui().OpenBtn);
    QCOMPARE(app.ui().OpenEdit->text(), QString::fromStdString(archive));
    app.browse(dir.path());
    app.clickRow(5);
    app.clickItem(QStringLiteral("a.bin"));
    app.click(app.ui().RplBtn);
    app.clickRow(6);
    app.doubleClickItem(QStringLiteral("b.wav"));
    const std::string expected = ToolOutput(dir, pristine, {"5=" + a, "6=" + b});
    QCOMPARE(expected, BuildArchive({Owned("new A"), Shared(0), Blank(), Owned("BBBBBB", 2, 9),
                                     Shared(0), Owned("bee")}));

    // The first compile asks for the output.
    app.picks.push_back(out);
    app.click(app.ui().SvahBtn);
    QCOMPARE(app.dialogsRun,
             (std::vector<FileDialog>{FileDialog::OpenDialog1, FileDialog::SaveDialog1}));
    QCOMPARE(ReadFile(out), expected);
    QVERIFY(app.boxes.empty());
    QCOMPARE(app.replaceWith(6), b);  // the plan stays shown

    // Over the loaded archive itself, twice: the table is in memory.
    app.picks.push_back(archive);
    app.click(app.ui().SvhBtn);
    app.click(app.ui().SvahBtn);
    QCOMPARE(ReadFile(archive), expected);
    app.click(app.ui().SvahBtn);
    QCOMPARE(ReadFile(archive), expected);
    QCOMPARE(app.dialogsRun.size(), std::size_t{3});

    // A missing file is asked about, once per record; No writes nothing.
    const std::string out2 = dir.file("out2.vxa");
    app.picks.push_back(out2);
    app.click(app.ui().SvhBtn);
    fs::remove(a);
    app.click(app.ui().SvahBtn);
    QCOMPARE(app.boxes.size(), std::size_t{1});
    QCOMPARE(app.boxes[0].text,
             "The following files don't exist:\r" + a + "\r" + a + "\r" + a + "\r\rContinue?");
    QCOMPARE(app.boxes[0].title, std::string("Error"));
    QCOMPARE(app.boxes[0].buttons, MsgButtons::YesNo);
    QVERIFY(!fs::exists(out2));
    // Yes skips it, as the tool does when told to.
    app.answers.push_back(MsgAnswer::Yes);
    app.click(app.ui().SvahBtn);
    QCOMPARE(ReadFile(out2), ToolOutput(dir, pristine, {"--skip-missing", "5=" + a, "6=" + b}));
}

void EndToEndTest::scriptSavedAndRunThroughItsDialogs() {
    TempDir dir;
    const std::string original = SixEntries();
    const std::string archive = dir.write("game.vxa", original);
    const std::string a = dir.write("a.bin", "new A");
    const std::string c = dir.write("c.pal", "sea");
    const std::string script = dir.file("plan.vxc");
    // The modder's round: patch the game's archive in place and keep the
    // plan as a script, then run it on a fresh copy of the game's data.
    std::string windowCompiled;
    {
        App app;
        app.reopen(archive);
        app.browse(dir.path());
        app.clickRow(1);
        app.doubleClickItem(QStringLiteral("a.bin"));
        app.clickRow(6);
        app.doubleClickItem(QStringLiteral("c.pal"));
        app.picks.push_back(archive);
        app.click(app.ui().SvahBtn);
        windowCompiled = ReadFile(archive);
        app.picks.push_back(script);
        app.click(app.ui().SvsBtn);
        QVERIFY(app.boxes.empty());
    }
    QCOMPARE(windowCompiled,
             ToolOutput(dir, dir.write("pristine.vxa", original), {"1=" + a, "6=" + c}));
    WriteFile(archive, original);

    App app;
    auto* memo = app.form2->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    auto* status = app.form3->findChild<QLabel*>(QStringLiteral("Label1"));
    auto* gauge = app.form3->findChild<TGauge*>(QStringLiteral("Gauge1"));
    // Answers the summary dialog with `button` once it shows modally, after
    // reading its status and its details.
    QString memoText;
    QString detailsText;
    bool shownModally = false;
    const auto answerSummary = [&](const char* button) {
        memoText.clear();
        shownModally = false;
        QTimer::singleShot(0, app.form2, [&, button] {
            shownModally = QApplication::activeModalWidget() == app.form2;
            memoText = memo->toPlainText();
            app.click(app.button(app.form2, "Button1"));
            detailsText = memo->toPlainText();
            app.click(app.button(app.form2, button));
        });
    };
    const auto run = [&](const char* button) {
        answerSummary(button);
        app.picks.push_back(script);
        app.click(app.ui().RsBtn);
    };

    run("Button3");  // Cancel
    QVERIFY(shownModally);
    QCOMPARE(memoText, QStringLiteral("Status:\n\nInput file OK\n\nOuput file OK\n\nFiles OK\n\n"
                                      "Click <Show details> to see details"));
    const QString qa = QString::fromStdString(a);
    QCOMPARE(detailsText, QStringLiteral("Files that are to be replaced:\n\n") +
                              QStringLiteral("file 1 --> %1\nfile 2 --> %1\nfile 5 --> %1\n"
                                             "file 6 --> %2")
                                  .arg(qa, QString::fromStdString(c)));
    QCOMPARE(app.form1->rowCount(), 5);  // the start cells: nothing loaded
    QCOMPARE(app.state.Replacements.Count, 0);
    QCOMPARE(ReadFile(archive), original);

    run("Button4");  // Load only
    QVERIFY(shownModally);
    QCOMPARE(app.form1->rowCount(), 7);
    QCOMPARE(app.replaceWith(1), a);
    QCOMPARE(app.replaceWith(5), a);
    QCOMPARE(app.replaceWith(6), c);
    QCOMPARE(app.state.Replacements.Count, 4);
    QCOMPARE(ReadFile(archive), original);
    QVERIFY(app.form1->isEnabled());

    // Proceed: the progress dialog shows and locks the window while loading.
    bool seenDisabled = false;
    bool seenEnabled = false;
    QString seenStatus;
    int seenMax = -1;
    {
        Watch watch([&] { return app.form3->isVisible(); },
                    [&] {
                        (app.form1->isEnabled() ? seenEnabled : seenDisabled) = true;
                        seenStatus = status->text();
                        seenMax = gauge->maxValue();
                    });
        run("Button2");
    }
    QVERIFY(shownModally);
    QVERIFY(seenDisabled);
    QVERIFY(!seenEnabled);
    QCOMPARE(seenStatus, QStringLiteral("Loading file..."));
    QCOMPARE(seenMax, 6);
    QVERIFY(!app.form3->isVisible());
    QVERIFY(app.form1->isEnabled());
    QCOMPARE(ReadFile(archive), windowCompiled);
    QCOMPARE(app.replaceWith(1), a);
    QVERIFY(app.boxes.empty());
    QCOMPARE(app.dialogsRun, std::vector<FileDialog>(3, FileDialog::OpenDialog2));
}

void EndToEndTest::stopsAndErrorsLeaveNothingEditable() {
    TempDir dir;
    const std::string big = dir.write("big.vxa", BuildArchive(ManyEntries(60)));
    const std::string a = dir.write("a.bin", "new A");
    const std::string out = dir.file("out.vxa");
    App app;
    app.browse(dir.path());

    // Stop during a load from the window.
    {
        Watch watch([&] { return app.ui().StopBtn->isVisible(); },
                    [&] { app.click(app.ui().StopBtn); });
        app.reopen(big);
    }
    QCOMPARE(app.boxes.size(), std::size_t{1});
    QCOMPARE(app.boxes[0].text, std::string("Incomplete file is not editable"));
    QCOMPARE(app.boxes[0].title, std::string("Warning"));
    QCOMPARE(app.boxes[0].icon, MsgIcon::Warning);
    QCOMPARE(app.ui().Status1->textPanel()->text(), QStringLiteral("File list not complete"));
    QVERIFY(!app.ui().StopBtn->isVisible());
    QVERIFY(!app.state.ArchiveComplete);
    QVERIFY(app.form1->rowCount() < 61);
    QCOMPARE(app.form1->rowCount(), app.state.Table.EntryCount + 1);
    // Replace and compile are refused without a word.
    app.clickRow(1);
    app.doubleClickItem(QStringLiteral("a.bin"));
    QCOMPARE(app.state.Replacements.Count, 0);
    app.picks.push_back(out);
    app.click(app.ui().SvahBtn);
    QVERIFY(!fs::exists(out));
    QCOMPARE(app.boxes.size(), std::size_t{1});

    // Stop through the progress dialog during a script's load.
    app.reopen(big);
    QVERIFY(app.state.ArchiveComplete);
    app.clickRow(2);
    app.click(app.ui().RplBtn);
    app.picks.push_back(dir.file("big.vxc"));
    app.click(app.ui().SvsBtn);
    bool stopClicked = false;
    {
        Watch watch([&] { return app.form3->isVisible() && !stopClicked; },
                    [&] {
                        stopClicked = true;
                        app.click(App::button(app.form3, "Button1"));
                    });
        QTimer::singleShot(0, app.form2, [&] { app.click(App::button(app.form2, "Button2")); });
        app.picks.push_back(dir.file("big.vxc"));
        app.click(app.ui().RsBtn);
    }
    QVERIFY(stopClicked);
    QCOMPARE(app.boxes.size(), std::size_t{2});
    QCOMPARE(app.boxes[1].text, std::string("Script execution interrupted by user"));
    QCOMPARE(app.boxes[1].title, std::string("Warning"));
    QVERIFY(!app.form3->isVisible());
    QVERIFY(app.form1->isEnabled());
    QVERIFY(!app.state.ArchiveComplete);
    QVERIFY(!fs::exists(out));
    QCOMPARE(app.state.Replacements.Count, 1);  // the script's plan stays
    QCOMPARE(app.replaceWith(2), std::string());

    // A file that is not an archive: the general error box.
    app.reopen(dir.write("not.vxa", U32(100) + U32(200)));
    QCOMPARE(app.boxes.size(), std::size_t{3});
    QCOMPARE(app.boxes[2].text, std::string("Read beyond end of file."));
    QCOMPARE(app.boxes[2].title, QCoreApplication::applicationName().toStdString());
    QCOMPARE(app.boxes[2].title,
             QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString());
    QCOMPARE(app.boxes[2].icon, MsgIcon::Error);
    QCOMPARE(app.boxes[2].buttons, MsgButtons::Ok);
    QVERIFY(!app.ui().StopBtn->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(!app.state.ArchiveComplete);

    // The same error in a script's load: the progress dialog has closed and
    // the main window is usable again by the time the box shows.
    bool lockedAtBox = true;
    app.form1->messageBoxHook = [&](const MessageRequest& r) {
        app.boxes.push_back(r);
        lockedAtBox = app.form3->isVisible() || !app.form1->isEnabled();
        return MsgAnswer::Ok;
    };
    QTimer::singleShot(0, app.form2, [&] { app.click(App::button(app.form2, "Button2")); });
    app.picks.push_back(
        dir.write("bad.vxc", FormatScript(dir.file("not.vxa"), out, {1, {0}, {a}})));
    app.click(app.ui().RsBtn);
    QCOMPARE(app.boxes.back().text, std::string("Read beyond end of file."));
    QVERIFY(!lockedAtBox);
}

void EndToEndTest::aLoadHoldsOffCommandsAndClosing() {
    TempDir dir;
    const std::string first = dir.write("first.vxa", BuildArchive(ManyEntries(40)));
    const std::string second = dir.write("second.vxa", BuildArchive(ManyEntries(2)));
    App app;
    const auto reopen = [&](const std::string& path) {
        app.ui().OpenEdit->setText(QString::fromStdString(path));
        app.ui().ReloadBtn->click();
    };
    // Commands wait while a load runs (its first progress point hands
    // events to the toolkit), and work again once it is over.
    bool loadingSeen = false;
    QStringList menuDuringLoad;
    QTimer::singleShot(0, [&] {
        loadingSeen = app.state.Loading;
        menuDuringLoad = OpenMenu(app, app.ui().FileList);
        app.ui().OpenBtn->click();  // would run the open dialog
        app.ui().RsBtn->click();
        reopen(second);  // would start a second load
    });
    reopen(first);
    QVERIFY(loadingSeen);
    QVERIFY(app.dialogsRun.empty());
    QCOMPARE(menuDuringLoad, QStringList({"-Extract entry...", "-Extract all..."}));
    QCOMPARE(app.state.InPath, first);
    QCOMPARE(app.form1->rowCount(), 41);
    QVERIFY(app.state.ArchiveComplete);
    QVERIFY(app.boxes.empty());
    app.ui().ReloadBtn->click();
    QCOMPARE(app.state.InPath, second);

    // Closing at rest asks nothing, whatever is planned.
    app.state.Replacements.append(0, "/planned");
    QVERIFY(app.form1->close());
    QVERIFY(app.boxes.empty());

    // Closing during a load stops it quietly and closes once it returned.
    app.form1->show();
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        app.form1->close();
        stillOpen = app.form1->isVisible();
    });
    reopen(first);
    QVERIFY(stillOpen);
    QVERIFY(!app.form1->isVisible());
    QVERIFY(app.boxes.empty());  // without the stop's warning
    QVERIFY(!app.state.ArchiveComplete);
    QVERIFY(!app.state.CloseRequested);
}

void EndToEndTest::extractThroughTheGridMenu() {
    TempDir dir;
    App app;
    QList<QAction*> actions = app.form1->findChild<ExtractMenu*>()->menu()->actions();
    EntryGrid* grid = app.ui().FileList;
    QWidget* rows = grid->viewport();
    const QStringList none{"-Extract entry...", "-Extract all..."};
    const QStringList both{"+Extract entry...", "+Extract all..."};
    const QStringList allOnly{"-Extract entry...", "+Extract all..."};
    QCOMPARE(OpenMenu(app, rows, app.rowCentre(1).y()), none);  // nothing loaded
    app.reopen(dir.write("game.vxa", SixEntries()));
    QCOMPARE(OpenMenu(app, rows, app.rowCentre(3).y()), allOnly);       // blank
    QCOMPARE(OpenMenu(app, rows, 7 * EntryGrid::kRowHeight), allOnly);  // under the rows
    QCOMPARE(OpenMenu(app, grid->horizontalHeader()->viewport(), 5), allOnly);
    QCOMPARE(OpenMenu(app, grid), both);  // the keyboard: the selected row, 1
    QCOMPARE(OpenMenu(app, rows, app.rowCentre(5).y()), both);

    // Row 5 shares entry 1's record: its bytes, under its own name.
    app.picks.push_back(dir.file("five.bin"));
    actions[0]->trigger();
    QCOMPARE(app.namesOffered.back(), std::string("5.bin"));
    QCOMPARE(ReadFile(dir.file("five.bin")), std::string("AAAA"));

    // All: existing names are asked about, No writes nothing; Cancel in the
    // progress dialog stops between files.
    TempDir out;
    out.write("1.bin", "old");
    app.picks.push_back(out.path());
    actions[1]->trigger();
    QCOMPARE(app.boxes.back().title + "|" + app.boxes.back().text,
             std::string("Simple question|1 files in this folder will be replaced. Replace them?"));
    QCOMPARE(out.names(), std::vector<std::string>{"1.bin"});
    app.form1->findChild<ExtractMenu*>()->progressDelayMs = 0;
    Watch cancel([] { return QApplication::activeModalWidget() != nullptr; },
                 [] { App::click(QApplication::activeModalWidget()->findChild<QPushButton*>()); });
    app.answers.push_back(MsgAnswer::Yes);
    app.picks.push_back(out.path());
    actions[1]->trigger();
    const std::vector<std::string> order{"1.bin", "2.bin", "4.bin", "5.bin", "6.bin"};
    const auto names = out.names();  // a temporary file would show here
    QCOMPARE(names, std::vector<std::string>(order.begin(), order.begin() + names.size()));
    QVERIFY(names.size() < order.size() && ReadFile(out.file("1.bin")) == "AAAA");
}

void EndToEndTest::openedFromTheDesktop() {
    TempDir dir;
    const std::string archive = dir.write("game.vxa", SixEntries());
    const std::string other = dir.write("other.vxa", BuildArchive(ManyEntries(2)));
    const std::string script =
        dir.write("plan.vxc", FormatScript(other, "", ReplRec{1, {0}, {dir.file("a.bin")}}));
    App app;
    // Anything but one path ending exactly in ".vxa" or ".vxc": the usage.
    std::ostringstream err;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {dir.file("GAME.VXA")}, {archive, script}, {archive + ".bak"}})
        QVERIFY(!OpenFromArguments(*app.form1, args, err));
    QCOMPARE(err.str(), std::string(kManagerUsage) + kManagerUsage + kManagerUsage);
    QCOMPARE(app.form1->rowCount(), 5);
    // A script shows its summary ("Load only" here); an archive opens as
    // Reopen does, its path made absolute.
    QTimer::singleShot(0, app.form2, [&] { app.click(App::button(app.form2, "Button4")); });
    QVERIFY(OpenFromArguments(*app.form1, {script}, err));
    QCOMPARE(app.state.InPath, other);
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path());
    QVERIFY(OpenFromArguments(*app.form1, {"game.vxa"}, err));
    fs::current_path(cwd);
    QCOMPARE(app.ui().OpenEdit->text().toStdString(), archive);
    QCOMPARE(app.form1->rowCount(), 7);

    // Dropped on the path bar: a .vxa file opens, anything else is refused
    // (and a refused drag gets no further events).
    const auto drop = [&](const std::string& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        if (!QApplication::sendEvent(app.ui().OpenEdit, &enter) || !enter.isAccepted())
            return false;
        QDropEvent dropped({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        return QApplication::sendEvent(app.ui().OpenEdit, &dropped);
    };
    QVERIFY(!drop(script));
    QVERIFY(drop(other));
    QCOMPARE(app.state.InPath, other);
    QVERIFY(app.boxes.empty());
}

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
