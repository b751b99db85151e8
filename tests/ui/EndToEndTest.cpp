// The program as a user meets it: the main window with its real summary and
// progress dialogs, built as at start-up, driven by clicks, keys and drags
// over archives and files in a temporary folder. Outputs are compared byte
// for byte with what vxa-tool writes for the same plan.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <memory>

#include "core/AppState.h"
#include "core/FileSystem.h"
#include "script/ProgressDialog.h"
#include "script/SummaryDialog.h"
#include "support/ArchiveBuilder.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "ui/Browser.h"
#include "ui/BrowserWidgets.h"
#include "ui/EntryGrid.h"
#include "ui/ProgramWindows.h"

using namespace vxa;
using namespace vxa::test;
namespace fs = std::filesystem;

namespace {

using Row = std::vector<std::string>;

// The three windows as start-up makes them. Message boxes and file dialogs
// are answered from queues; a Yes/No box without a queued answer gets No.
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

    App() {
        form1->messageBoxHook = [this](const MessageRequest& r) {
            boxes.push_back(r);
            if (r.buttons == MsgButtons::Ok)
                return MsgAnswer::Ok;
            if (answers.empty())
                return MsgAnswer::No;
            const MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        };
        form1->fileDialogHook = [this](FileDialog d) -> std::optional<std::string> {
            dialogsRun.push_back(d);
            if (picks.empty())
                return std::nullopt;
            std::string pick = picks.front();
            picks.pop_front();
            return pick;
        };
        form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(form1));
    }
    const Form1Controls& ui() const { return form1->controls(); }
    Row row(int r) const {
        Row out;
        for (int col = 0; col < 6; ++col)
            out.push_back(form1->cell(col, r));
        return out;
    }
    std::string replaceWith(int r) const { return form1->cell(5, r); }

    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
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
    QPushButton* button(QWidget* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

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

void Drop(EntryGrid* grid, QMimeData* mime, int y) {
    QDropEvent drop(QPointF(20, y), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &drop);
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

std::string ManyEntries(int n) {
    std::vector<TestEntry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(Owned(std::string(static_cast<std::size_t>(i % 7), 'x')));
    return BuildArchive(entries);
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

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
  private slots:
    void planByButtonDoubleClickAndEnter();
    void dropsFromTheBrowserAndTheDesktop();
    void compileWritesWhatTheToolWrites();
    void scriptSavedAndRunThroughItsDialogs();
    void stopsAndErrorsLeaveNothingEditable();
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
    QCOMPARE(app.row(1), (Row{"1", "65", "4", "4", "0/N", ""}));
    QCOMPARE(app.row(3), (Row{"3", "BLANK", "0", "0", "0/B", "------"}));
    QCOMPARE(app.row(5), (Row{"5", "65", "0", "0", "0/R:1", ""}));
    QCOMPARE(app.row(6), (Row{"6", "31", "7", "2", "1/N", ""}));

    // A click on the row a load left selected marks its group; a shared row
    // marks its whole group; another row moves the marks.
    QCOMPARE(app.form1->selectedRow(), 1);
    app.clickRow(1);
    QCOMPARE(app.form1->cell(0, 5), std::string("+5"));
    app.clickRow(2);
    QCOMPARE(app.form1->selectedRow(), 2);
    QCOMPARE(app.form1->cell(0, 1), std::string("+1"));
    QCOMPARE(app.form1->cell(0, 2), std::string("+2"));
    QCOMPARE(app.form1->cell(0, 5), std::string("+5"));
    QCOMPARE(app.form1->cell(0, 4), std::string("4"));
    app.clickRow(4);
    QCOMPARE(app.form1->cell(0, 1), std::string("1"));
    QCOMPARE(app.form1->cell(0, 4), std::string("+4"));

    // The browser starts in a subfolder and goes up with "[..]".
    app.browse(dir.file("sub"));
    app.doubleClickItem(QStringLiteral("[..]"));
    QCOMPARE(app.state.BrowserDir, dir.path());
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(dir.path() + "/"));
    QCOMPARE(app.ui().List1->item(0)->text(), QStringLiteral("[..]"));

    // Replace by the button: the whole group of row 2.
    app.clickRow(2);
    app.clickItem(QStringLiteral("a.bin"));
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(a));
    app.click(app.ui().RplBtn);
    QCOMPARE(app.replaceWith(1), a);
    QCOMPARE(app.replaceWith(2), a);
    QCOMPARE(app.replaceWith(5), a);
    QCOMPARE(app.replaceWith(4), std::string());
    // A directory item replaces nothing.
    app.clickItem(QStringLiteral("[sub]"));
    app.click(app.ui().RplBtn);
    QCOMPARE(app.ui().PathText->text(), QString::fromStdString(a));
    // A double click on a file, then Enter on another.
    app.clickRow(4);
    app.doubleClickItem(QStringLiteral("b.wav"));
    QCOMPARE(app.replaceWith(4), b);
    app.clickRow(6);
    app.clickItem(QStringLiteral("c.pal"));
    QTest::keyClick(app.ui().List1, Qt::Key_Return);
    QCOMPARE(app.replaceWith(6), c);
    QCOMPARE(app.state.Replacements.Indices, (std::vector<std::int32_t>{0, 1, 4, 3, 5}));
    QCOMPARE(app.state.Replacements.Paths, (std::vector<std::string>{a, a, a, b, c}));
    QCOMPARE(app.state.BrowserDir, dir.path());  // double clicks on files list nothing

    // UnReplace on a member removes the group's records, the others stay.
    app.clickRow(5);
    app.click(app.ui().UnBtn);
    QCOMPARE(app.replaceWith(1), std::string());
    QCOMPARE(app.replaceWith(5), std::string());
    QCOMPARE(app.state.Replacements.Indices, (std::vector<std::int32_t>{3, 5}));

    // Cancel changes: No keeps everything, Yes clears the plan.
    app.click(app.ui().CanBtn);
    QCOMPARE(app.boxes.size(), std::size_t{1});
    QCOMPARE(app.boxes[0].text, std::string("Cancel all changes?"));
    QCOMPARE(app.boxes[0].title, std::string("Simple question"));
    QCOMPARE(app.boxes[0].buttons, MsgButtons::YesNo);
    QCOMPARE(app.boxes[0].icon, MsgIcon::Question);
    QCOMPARE(app.state.Replacements.Count, 2);
    QCOMPARE(app.replaceWith(4), b);
    app.answers.push_back(MsgAnswer::Yes);
    app.click(app.ui().CanBtn);
    QCOMPARE(app.boxes.size(), std::size_t{2});
    QCOMPARE(app.state.Replacements.Count, 0);
    QCOMPARE(app.replaceWith(4), std::string());
    QCOMPARE(app.replaceWith(6), std::string());
    QCOMPARE(app.replaceWith(3), std::string("------"));
}

void EndToEndTest::dropsFromTheBrowserAndTheDesktop() {
    TempDir dir;
    const std::string archive = dir.write("game.vxa", SixEntries());
    const std::string a = dir.write("a.bin", "new A");
    TempDir desktop;
    const std::string d = desktop.write("d.bin", "from the desktop");
    fs::create_directory(dir.file("sub"));
    App app;
    app.reopen(archive);
    app.browse(dir.path());
    EntryGrid* grid = app.ui().FileList;
    QCOMPARE(grid->topRow(), 1);

    // From the browser list, with the grid at the top: client y 21 (the
    // heading's last pixel row) picks nothing, client y 22 (the first pixel
    // row under it) picks row 1.
    app.clickRow(4);
    app.clickItem(QStringLiteral("a.bin"));
    auto fromList = BrowserDrag(app);
    QVERIFY(!DragOver(grid, fromList.get(), -1));
    QCOMPARE(app.form1->selectedRow(), 4);
    QVERIFY(DragOver(grid, fromList.get(), 0));
    QCOMPARE(app.form1->selectedRow(), 1);
    QCOMPARE(app.form1->cell(0, 5), std::string("+5"));
    // Every pixel of a row picks that row.
    QVERIFY(DragOver(grid, fromList.get(), app.rowCentre(2).y()));
    QCOMPARE(app.form1->selectedRow(), 2);
    QVERIFY(DragOver(grid, fromList.get(), 3 * EntryGrid::kRowHeight + 17));
    QCOMPARE(app.form1->selectedRow(), 4);
    QVERIFY(DragOver(grid, fromList.get(), 0));
    Drop(grid, fromList.get(), 0);
    QCOMPARE(app.replaceWith(1), a);
    QCOMPARE(app.replaceWith(2), a);
    QCOMPARE(app.replaceWith(5), a);
    QCOMPARE(app.replaceWith(4), std::string());
    // A blank row takes the browser's drop, which then records nothing.
    QVERIFY(DragOver(grid, fromList.get(), app.rowCentre(3).y()));
    Drop(grid, fromList.get(), app.rowCentre(3).y());
    QCOMPARE(app.replaceWith(3), std::string("------"));
    QCOMPARE(app.state.Replacements.Count, 3);
    // A directory of the browser moves the selection but is refused.
    app.clickItem(QStringLiteral("[sub]"));
    auto dirDrag = BrowserDrag(app);
    QVERIFY(!DragOver(grid, dirDrag.get(), app.rowCentre(6).y()));
    QCOMPARE(app.form1->selectedRow(), 6);
    // Below the last row nothing is picked.
    app.clickItem(QStringLiteral("a.bin"));
    fromList = BrowserDrag(app);
    QVERIFY(!DragOver(grid, fromList.get(), 7 * EntryGrid::kRowHeight + 2));
    QCOMPARE(app.form1->selectedRow(), 6);

    // One local file from the desktop.
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(d))});
    QVERIFY(DragOver(grid, &file, app.rowCentre(4).y()));
    Drop(grid, &file, app.rowCentre(4).y());
    QCOMPARE(app.replaceWith(4), d);
    // On a blank row it is refused, and a drop there records nothing.
    QVERIFY(!DragOver(grid, &file, app.rowCentre(3).y()));
    QCOMPARE(app.form1->selectedRow(), 3);
    Drop(grid, &file, app.rowCentre(3).y());
    QCOMPARE(app.replaceWith(3), std::string("------"));
    QCOMPARE(app.state.Replacements.Indices, (std::vector<std::int32_t>{0, 1, 4, 3}));
    QCOMPARE(app.state.Replacements.Paths, (std::vector<std::string>{a, a, a, d}));
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
    app.reopen(archive);
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
    QCOMPARE(app.dialogsRun, std::vector<FileDialog>{FileDialog::SaveDialog1});
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
    QCOMPARE(app.dialogsRun.size(), std::size_t{2});

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

    // A failed write shows the general error box and changes nothing.
    app.picks.push_back(dir.file("no-such-folder/out.vxa"));
    app.click(app.ui().SvhBtn);
    app.answers.push_back(MsgAnswer::Yes);
    app.click(app.ui().SvahBtn);
    QCOMPARE(app.boxes.size(), std::size_t{4});
    QCOMPARE(app.boxes[3].text, std::string("File not found."));
    QCOMPARE(app.boxes[3].title, QCoreApplication::applicationName().toStdString());
    QCOMPARE(app.boxes[3].icon, MsgIcon::Error);
    QCOMPARE(app.state.Replacements.Count, 4);
    QVERIFY(app.form1->isEnabled());
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
    const std::string big = dir.write("big.vxa", ManyEntries(60));
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
    QVERIFY(!app.state.ArchiveComplete);
    QVERIFY(app.form1->rowCount() < 61);
    QCOMPARE(app.form1->rowCount(), app.state.Table.EntryCount + 1);
    // Replace and compile are refused without a word.
    app.clickRow(1);
    app.clickItem(QStringLiteral("a.bin"));
    app.click(app.ui().RplBtn);
    app.doubleClickItem(QStringLiteral("a.bin"));
    QCOMPARE(app.replaceWith(1), std::string());
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
    app.click(app.ui().CanBtn);  // answered No
    QCOMPARE(app.boxes.size(), std::size_t{2});
    bool stopClicked = false;
    {
        Watch watch([&] { return app.form3->isVisible() && !stopClicked; },
                    [&] {
                        stopClicked = true;
                        app.click(app.button(app.form3, "Button1"));
                    });
        QTimer::singleShot(0, app.form2, [&] { app.click(app.button(app.form2, "Button2")); });
        app.picks.push_back(dir.file("big.vxc"));
        app.click(app.ui().RsBtn);
    }
    QVERIFY(stopClicked);
    QCOMPARE(app.boxes.size(), std::size_t{3});
    QCOMPARE(app.boxes[2].text, std::string("Script execution interrupted by user"));
    QCOMPARE(app.boxes[2].title, std::string("Warning"));
    QVERIFY(!app.form3->isVisible());
    QVERIFY(app.form1->isEnabled());
    QVERIFY(!app.state.ArchiveComplete);
    QVERIFY(!fs::exists(out));
    QCOMPARE(app.state.Replacements.Count, 1);  // the script's plan stays
    QCOMPARE(app.replaceWith(2), std::string());

    // A file that is not an archive: the general error box.
    app.reopen(dir.write("not.vxa", U32(100) + U32(200)));
    QCOMPARE(app.boxes.size(), std::size_t{4});
    QCOMPARE(app.boxes[3].text, std::string("Read beyond end of file."));
    QCOMPARE(app.boxes[3].title, QCoreApplication::applicationName().toStdString());
    QCOMPARE(app.boxes[3].icon, MsgIcon::Error);
    QCOMPARE(app.boxes[3].buttons, MsgButtons::Ok);
    QVERIFY(!app.ui().StopBtn->isVisible());
    QVERIFY(!app.state.ArchiveComplete);
}

QTEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
