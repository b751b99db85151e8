// The window with its real dialogs driven as a user drives it, over files in
// a temporary folder; and the program itself, started and ended.
#include <signal.h>
#include <sys/wait.h>

#include <QAbstractItemModelTester>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include "core/ArchiveLayout.h"
#include "script/ScriptFile.h"
#include "support/App.h"
#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "ui/widgets/ExtractMenu.h"
#include "ui/widgets/GridModel.h"
#include "ui/widgets/MainWindow.h"
#include "ui/widgets/StatusPanels.h"

using namespace vxa;
using namespace vxa::test;
namespace fs = std::filesystem;

namespace {

// Drags `mime` over `target` at y `y` as the toolkit does, and drops it there
// if `drop`, proposing a move: true when accepted and a drop copies.
bool Drag(QWidget* target, QMimeData* mime, int y, bool drop = false) {
    QDragEnterEvent enter({20, y}, Qt::CopyAction, mime, Qt::LeftButton, {});
    QDragMoveEvent move({20, y}, Qt::CopyAction, mime, Qt::LeftButton, {});
    if (!QApplication::sendEvent(target, &enter) || !enter.isAccepted())
        return false;  // the toolkit sends no more
    QApplication::sendEvent(target, &move);
    QDropEvent done(QPointF(20, y), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, {});
    done.setDropAction(Qt::MoveAction);
    if (drop)
        QApplication::sendEvent(target, &done);
    return move.isAccepted() && (!drop || done.dropAction() == Qt::CopyAction);
}

// The grid's menu, opened by Shift+F10 or a click at y `y` of `target`: its
// items, "+" when enabled, all "-" when it did not open.
QString OpenMenu(App& app, QWidget* target = nullptr, int y = 0) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, {20, y}, {20, y});
    if (target)
        QApplication::sendEvent(target, &click);
    else
        QTest::keyClick(app.ui().FileList, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = app.form1->findChild<ExtractMenu*>()->menu();
    QString items;
    for (QAction* action : menu->actions())
        items += action->isSeparator()
                     ? QString()
                     : (action->isEnabled() && menu->isVisible() ? "+" : "-") + action->text();
    menu->hide();
    return items;
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
  private slots:
    void openPlanExtractCompileAndRunTheScript();
    void aLoadHoldsOffCommandsStopsAndEndsAtErrors();
    void theProgramStartsAndEndsOnSigterm();
};

void EndToEndTest::openPlanExtractCompileAndRunTheScript() {
    TempDir dir;
    const std::string a = dir.write("a.bin", "new A"), b = dir.write("b.wav", "bee");
    const std::string c = dir.write("c.pal", "sea"), d = dir.write("d.bin", "D");
    // Six entries: 1, 2 and 5 share a record, 3 is blank.
    const std::string archive =
        dir.write("game.vxa", BuildArchive({Owned("AAAA"), Shared(0), Blank(),
                                            Owned("BBBBBB", 2, 9), Shared(0), Owned("CC", 1, 7)}));
    fs::create_directory(dir.file("sub"));
    App app;
    QAbstractItemModelTester tester(&app.form1->gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QWidget* rows = app.ui().FileList->viewport();
    QCOMPARE(
        OpenMenu(app, rows, 5),
        u"-Extract entry...-Extract all...-Preview-Find...-Replace from folder...-Edit with...");
    // Arguments other than one path ending exactly in ".vxa" or ".vxc" give
    // the usage; an archive opens, its path made absolute.
    std::ostringstream err;
    QVERIFY(!OpenFromArguments(*app.form1, {archive, archive}, err));
    QVERIFY(!OpenFromArguments(*app.form1, {"GAME.VXA"}, err));
    QCOMPARE(err.str(), std::string(kManagerUsage) + kManagerUsage);
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path());
    QVERIFY(OpenFromArguments(*app.form1, {"game.vxa"}, err));
    fs::current_path(cwd);
    QCOMPARE(app.ui().OpenEdit->text().toStdString() + app.column(4),
             archive + "0/N|0/R:1|0/B|2/N|0/R:1|1/N");
    QCOMPARE(app.ui().Status1->progress()->image().pixel(101, 10), qRgb(255, 255, 0));  // full
    app.clickRow(1);  // selected by the load: a click marks its group
    QCOMPARE(app.column(0), std::string("+1|+2|3|4|+5|6"));
    ExpectColumnsFit(app.ui().FileList);

    // No entry to extract on a blank row, under the rows, on the heading; row
    // 5 shares entry 1's record under its own name.
    const QString menus[] = {OpenMenu(app, rows, app.rowCentre(3).y()),
                             OpenMenu(app, rows, 7 * EntryGrid::kRowHeight),
                             OpenMenu(app, app.ui().FileList->horizontalHeader()->viewport(), 5),
                             OpenMenu(app), OpenMenu(app, rows, app.rowCentre(5).y())};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(menus[i], (i < 3 ? "-" : "+") + QStringLiteral("Extract entry...+Extract all...") +
                               (i == 1 || i == 2 ? "-" : "+") +
                               QStringLiteral("Preview+Find...+Replace from folder...") +
                               (i < 3 ? "-" : "+") + QStringLiteral("Edit with..."));
    ExtractMenu* extract = app.form1->findChild<ExtractMenu*>();
    app.picks = {dir.file("five.bin")};
    extract->menu()->actions()[0]->trigger();
    QCOMPARE(app.offered.back() + ReadFile(dir.file("five.bin")), std::string("5.binAAAA"));
    // All: asked over existing files, No writes nothing; Cancel stops between.
    TempDir all;
    all.write("1.bin", "old");
    app.picks = {all.path(), all.path()};
    extract->menu()->actions()[1]->trigger();
    QCOMPARE(all.names(), std::vector<std::string>{"1.bin"});
    extract->ProgressDelayMs = 0;
    {
        Watch cancel(
            [] { return QApplication::activeModalWidget() != nullptr; },
            [] { App::click(QApplication::activeModalWidget()->findChild<QPushButton*>()); });
        app.answers.push_back(MsgAnswer::Yes);
        extract->menu()->actions()[1]->trigger();
    }
    QVERIFY(all.names().size() < 5 && ReadFile(all.file("1.bin")) == "AAAA");

    // Replace by the button, a double click and Enter; UnReplace a group.
    FillBrowser(app.form1->context(), dir.path());
    app.clickRow(2);
    app.clickItem("a.bin");
    app.click(app.ui().RplBtn);
    app.clickRow(4);
    app.clickItem("b.wav", true);
    app.clickRow(6);
    app.clickItem("c.pal");
    QTest::keyClick(app.ui().List1, Qt::Key_Return);
    QCOMPARE(app.column(5), a + "|" + a + "|------|" + b + "|" + a + "|" + c);
    app.clickRow(5);
    app.click(app.ui().UnBtn);
    QCOMPARE(app.column(5), "||------|" + b + "||" + c);

    // Drags from the list: the heading's last pixel row picks nothing, every
    // pixel of a row that row. A desktop file: not on a blank row; never
    // several files, nor one from elsewhere.
    QListWidget* list = app.ui().List1;
    app.clickItem("a.bin");
    std::unique_ptr<QMimeData> item(
        list->model()->mimeData(list->selectionModel()->selectedIndexes()));
    QVERIFY(!Drag(rows, item.get(), -1) && app.form1->selectedRow() == 5);
    QVERIFY(Drag(rows, item.get(), 3 * EntryGrid::kRowHeight + 17) &&
            app.form1->selectedRow() == 4);
    QVERIFY(Drag(rows, item.get(), 0, true));
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(d));
    QMimeData file, files, remote;
    file.setUrls({url});
    files.setUrls({url, url});
    remote.setUrls({QUrl(QStringLiteral("https://example.org/d.bin"))});
    QVERIFY(Drag(rows, &file, app.rowCentre(4).y(), true));
    QVERIFY(!Drag(rows, &file, app.rowCentre(3).y()) && !Drag(rows, &files, app.rowCentre(6).y()));
    QVERIFY(!Drag(rows, &remote, 0) && app.form1->selectedRow() == 3);
    QCOMPARE(app.column(5), a + "|" + a + "|------|" + d + "|" + a + "|" + c);

    // Compile; save the plan as a script and clear it. The script's summary
    // shows modally: Cancel, Load only (from the command line), Proceed.
    const std::string out = dir.file("out.vxa"), script = dir.file("plan.vxc");
    app.picks = {out, script};
    app.click(app.ui().SvhBtn);
    QCOMPARE(app.state.OutPath, out);
    app.click(app.ui().SvahBtn);
    app.click(app.ui().SvsBtn);
    app.answers.push_back(MsgAnswer::Yes);
    app.click(app.ui().CanBtn);
    QVERIFY(fs::remove(out));
    auto* memo = app.form2->findChild<QPlainTextEdit*>();
    QString seen;
    for (const char* button : {"Button3", "Button4", "Button2"}) {
        QTimer::singleShot(0, app.form2, [&, button] {
            app.click(App::button(app.form2, "Button1"));  // the files instead of the status
            seen = memo->toPlainText().section('\n', 0, 0) +
                   QString::number(QApplication::activeModalWidget() == app.form2);
            app.click(App::button(app.form2, button));
        });
        app.picks.push_back(script);
        if (button[6] == '4')
            QVERIFY(OpenFromArguments(*app.form1, {script}, err));
        else
            app.click(app.ui().RsBtn);
        QCOMPARE(seen, u"Files that are to be replaced:1");
        QCOMPARE(app.column(5) == "||------|||", button[6] == '3');
        QCOMPARE(fs::exists(out), button[6] == '2');
    }
    QCOMPARE(app.boxes.size(), std::size_t{3});  // the three questions

    // Dropped on the path bar, a .vxa file opens; anything else is refused.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(script))});
    QVERIFY(!Drag(app.ui().OpenEdit, &mime, 5));
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(out))});
    QVERIFY(Drag(app.ui().OpenEdit, &mime, 5, true) && app.state.InPath == out);
    // A double click beside the browser's items acts on the selected one.
    app.clickItem("[sub]");
    const QPoint beside(list->viewport()->width() - 5, list->height() - 25);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, beside);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, beside);
    QCOMPARE(app.state.BrowserDir, dir.file("sub"));
}

void EndToEndTest::aLoadHoldsOffCommandsStopsAndEndsAtErrors() {
    TempDir dir;
    const std::string big = dir.write("big.vxa", BuildArchive(ManyEntries(60)));
    const std::string small = dir.write("small.vxa", BuildArchive(ManyEntries(2)));
    const std::string bad = dir.write("bad.vxa", U32(100) + U32(200)), out = dir.file("out.vxa");
    App app;
    // Commands wait while a load hands events over, and work after it.
    QString menu;
    QTimer::singleShot(0, [&] {
        menu = OpenMenu(app);
        app.click(app.ui().OpenBtn);  // would run the open dialog
        app.reopen(small);            // would start a second load
    });
    app.reopen(big);
    QCOMPARE(
        menu + QString::number(app.offered.size() + app.form1->rowCount()),
        u"-Extract entry...-Extract all...-Preview-Find...-Replace from folder...-Edit with...61");
    // Scrolled to the end, the top row is cut off: the first pixel row of the
    // row below it picks that row, in drag-over and drop alike.
    EntryGrid* grid = app.ui().FileList;
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    const int top = grid->rowAt(0) + 1;
    const QRect below = grid->visualRect(grid->model()->index(top, 0));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(small))});
    QVERIFY(app.form1->selectedRow() == 60 && below.top() < EntryGrid::kRowHeight);
    QVERIFY(Drag(grid->viewport(), &mime, below.top(), true));
    QVERIFY(app.form1->selectedRow() == top + 1 && app.form1->cell(5, top + 1) == small);
    app.click(app.ui().ReloadBtn);
    QCOMPARE(app.state.InPath, small);

    // Stop in the window.
    {
        Watch watch([&] { return app.ui().StopBtn->isVisible(); },
                    [&] { app.click(app.ui().StopBtn); });
        app.picks = {big};
        app.click(app.ui().OpenBtn);
    }
    QVERIFY(app.form1->rowCount() == app.state.Table.EntryCount + 1);
    QVERIFY(app.form1->rowCount() < 61 && app.boxes.back().Icon == MsgIcon::Warning);

    // Not an archive: the general error box, titled like the program; in a
    // script's load it shows once the window is usable again, as does the box
    // of a compile the script's run refuses (an output of 2 GiB or more).
    app.reopen(bad);
    bool lockedAtBox = false;
    app.form1->MessageBoxHook = [&](const MessageRequest& r) {
        app.boxes.push_back(r);
        lockedAtBox = lockedAtBox || app.form3->isVisible() || !app.form1->isEnabled();
        return MsgAnswer::Ok;
    };
    fs::resize_file(dir.write("huge.bin", ""), 1ull << 31);
    for (const auto& [in, item] : {std::pair{bad, small}, {small, dir.file("huge.bin")}}) {
        QTimer::singleShot(0, app.form2, [&] { app.click(App::button(app.form2, "Button2")); });
        app.picks.push_back(dir.write("p.vxc", FormatScript(in, out, {1, {0}, {item}})));
        app.click(app.ui().RsBtn);  // Proceed
    }
    QVERIFY(!lockedAtBox && !app.ui().StopBtn->isVisible() && !QGuiApplication::overrideCursor());
    QCOMPARE(app.boxes.at(1).Title,
             QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString());
    QVERIFY(app.boxes.at(2).Text == app.boxes.at(1).Text && app.boxes.size() == 4 &&
            app.boxes.back().Text == kArchiveTooLarge);

    // Closing during a load stops it quietly and closes once it returned.
    bool stillOpen = false;
    QTimer::singleShot(0, [&] { stillOpen = !app.form1->close() && app.form1->isVisible(); });
    app.reopen(big);
    QVERIFY(stillOpen && !app.form1->isVisible() && !app.state.ArchiveComplete);
    QCOMPARE(app.boxes.size(), std::size_t{4});  // no stop's warning
}

void EndToEndTest::theProgramStartsAndEndsOnSigterm() {
    // With an argument it refuses: the usage once the event loop runs.
    TempDir dir;
    const std::string err = dir.write("err", "");
    const pid_t pid = Start({VXA_MANAGER_PATH, "notes.txt"}, {}, "/dev/null", err);
    const bool usage = QTest::qWaitFor(
        [&] { return ReadFile(err).find(kManagerUsage) != std::string::npos; }, 10000);
    ::kill(pid, SIGTERM);
    int status = 0;
    if (!QTest::qWaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 10000))
        ::kill(pid, SIGKILL);  // never left behind
    QVERIFY(usage && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
}

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
