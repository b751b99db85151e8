// The preview window on a loaded archive: heading, hex view, the archive
// changing under it, and sound played into a real audio server's null sink
// (or none: run with no server, the window says so).
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include "support/App.h"
#include "support/Suite.h"
#include "ui/Browser.h"
#include "ui/LoadHandlers.h"
#include "ui/widgets/ExtractMenu.h"
#include "ui/widgets/StatusPanels.h"
#include "ui/widgets/preview/EntryEdits.h"
#include "ui/widgets/preview/EntryTools.h"
#include "ui/widgets/preview/FindBox.h"
#include "ui/widgets/preview/HexView.h"
#include "ui/widgets/preview/PreviewWindow.h"
#include "ui/widgets/preview/WavPlayer.h"

using namespace vxa;
using namespace vxa::test;

namespace {

// One second of 16-bit mono silence at 8000 Hz.
std::string Silence() {
    const std::string fmt = U16(1) + U16(1) + U32(8000) + U32(16000) + U16(2) + U16(16);
    return "RIFF" + U32(36 + 16000) + "WAVE" + "fmt " + U32(16) + fmt + "data" + U32(16000) +
           std::string(16000, '\0');
}

// The grid's context menu action captioned `text`.
QAction* Action(App& app, const char* text) {
    for (QAction* a : app.form1->findChild<ExtractMenu*>()->menu()->actions()) {
        if (a->text() == QLatin1String(text))
            return a;
    }
    return nullptr;
}

struct Loaded {
    TempDir dir;
    Harness h;
    std::string path;
    explicit Loaded(const std::vector<TestEntry>& entries)
        : path(dir.write("a.vxa", BuildArchive(entries))) {
        LoadInWindow(h.ctx, path, false);
    }
};

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT
  private slots:
    void headingHexAndAChangedArchive();
    void playsAndStops();
    void saysWhenThereIsNoOutput();
    void previewFindAndFolderFromTheGrid();
    void editWithAndDragOut();
};

void PreviewTest::headingHexAndAChangedArchive() {
    Loaded a(
        {Owned("Hello, world!\x01\x02\x03 and more", 0, 99), Owned("xyz", 7), Shared(0), Blank()});
    PreviewWindow w(a.h.state, nullptr);
    w.show();
    w.showEntry(0);
    QCOMPARE(w.heading()->text(), u"Entry 1: Other\nOrig. size 99, packed size 25, offset 20");
    QTRY_COMPARE(w.hex()->shownLines(),
                 QStringList({"00000000  48 65 6C 6C 6F 2C 20 77  6F 72 6C 64 21 01 02 03  "
                              "Hello, world!...",
                              "00000010  20 61 6E 64 20 6D 6F 72  65                       "
                              " and more"}));
    w.showEntry(1);
    QCOMPARE(w.note()->text(), u"Packed (type 7): the game unpacks it; shown as stored");
    w.showEntry(2);
    QCOMPARE(w.heading()->text(),
             u"Entry 3: Other\nOrig. size 99, packed size 25, offset 20\n"
             u"Shares the data of entry 1");
    w.showEntry(3);
    QCOMPARE(w.heading()->text(), u"Entry 4: Blank");

    // Written by another program: nothing more is read from it.
    w.showEntry(0);
    QTest::qWait(20);
    WriteFile(a.path, ReadFile(a.path) + "!");
    w.hex()->viewport()->repaint();
    QCOMPARE(w.hex()->shownLines(), QStringList());
    QCOMPARE(w.note()->text(), QString(PreviewWindow::kChanged));
    w.showEntry(1);
    QCOMPARE(w.note()->text(), QString(PreviewWindow::kChanged));
}

void PreviewTest::playsAndStops() {
    Loaded a({Owned("x"), Owned(Silence())});
    PreviewWindow w(a.h.state, nullptr);
    w.show();
    w.showEntry(1);
    QCOMPARE(w.heading()->text().section('\n', 0, 0),
             u"Entry 2: WAV, 1 channel, 8000 Hz, 16 bits, 1.00 s");
    WavPlayer* p = w.player();
    QVERIFY2(p->button()->isEnabled(), qPrintable(p->note()->text()));
    QTest::mouseClick(p->button(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(p->playedUSecs() > 200'000, 5000);
    QCOMPARE(p->button()->text(), u"Stop");
    QTest::mouseClick(p->button(), Qt::LeftButton);
    QVERIFY(!p->playing());
    QCOMPARE(p->button()->text(), u"Play");
    // Played to its end, it stops by itself.
    QTest::mouseClick(p->button(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!p->playing(), 8000);
}

void PreviewTest::saysWhenThereIsNoOutput() {
    Loaded a({Owned(Silence())});
    PreviewWindow w(a.h.state, nullptr);
    w.showEntry(0);
    QCOMPARE(w.player()->note()->text(), u"No audio output device: sounds cannot be played here");
    QVERIFY(!w.player()->button()->isEnabled());
}

void PreviewTest::previewFindAndFolderFromTheGrid() {
    TempDir dir;
    App app;
    const std::string path = dir.write(
        "a.vxa", BuildArchive({Owned("aa"), Owned(Silence()), Shared(0), Owned("bb"), Blank()}));
    app.reopen(path);
    auto* tools = app.form1->findChild<EntryTools*>();
    EntryGrid* grid = app.ui().FileList;

    // Space previews the selected row; the preview follows the selection.
    app.clickRow(4);
    QTest::keyClick(grid, Qt::Key_Space);
    QVERIFY(tools->preview()->isVisible());
    QCOMPARE(tools->preview()->entry(), 3);
    // Ctrl+F, then Enter finds the next match after the selected row.
    QTest::keyClick(app.form1, Qt::Key_F, Qt::ControlModifier);
    FindBox* box = tools->findBox();
    QVERIFY(box->isVisible());
    QTest::keyClicks(box->field(), "wav");
    QTest::keyClick(box->field(), Qt::Key_Return);
    QCOMPARE(grid->selectedRow(), 2);
    QCOMPARE(tools->preview()->entry(), 1);
    QCOMPARE(app.column(0), "1|+2|3|4|5");
    box->field()->setText("xmi");
    QTest::mouseClick(box->previous(), Qt::LeftButton);
    QCOMPARE(box->message()->text(), u"No entry matches");
    QCOMPARE(grid->selectedRow(), 2);

    // Replace from folder: entry 4 edited, entry 1 untouched, a stray file.
    TempDir files;
    files.write("1.bin", "aa");
    files.write("04.bin", "BB");
    files.write("notes.txt", "x");
    tools->PickFolder = [&] { return QString::fromStdString(files.path()); };
    app.answers = {MsgAnswer::Yes};
    Action(app, "Replace from folder...")->trigger();
    QCOMPARE(app.boxes.back().Text,
             "Replace these entries by the edited files?\n4 <- " + files.file("04.bin"));
    QCOMPARE(app.column(5), "|||" + files.file("04.bin") + "|------");
    // Edited files of one group that differ: the tool's message, nothing added.
    files.write("3.bin", "cc");
    files.write("1.bin", "dd");
    Action(app, "Replace from folder...")->trigger();
    QCOMPARE(app.boxes.back().Text,
             "entries 1 and 3 share their data, but their edited files differ: " +
                 files.file("1.bin") + ", " + files.file("3.bin") + "\nNothing was added.");
    QCOMPARE(app.state.Replacements.Count, 1);
}

void PreviewTest::editWithAndDragOut() {
    TempDir dir;
    App app;
    app.reopen(dir.write("a.vxa", BuildArchive({Owned("aa"), Shared(0), Owned(Silence())})));
    auto* edits = app.form1->findChild<EntryEdits*>();
    QString opened;
    edits->OpenFile = [&](const QString& path) { opened = path; };
    QWidget* rows = app.ui().FileList->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, app.rowCentre(2), {});
    QApplication::sendEvent(rows, &click);
    app.form1->findChild<ExtractMenu*>()->menu()->hide();
    Action(app, "Edit with...")->trigger();
    const QString folder = edits->folder();
    QCOMPARE(opened, folder + "/edit/2.bin");
    QCOMPARE(ReadFile(opened.toStdString()), "aa");
    // Saved there: the group's replacement, said in the status bar.
    WriteFile(opened.toStdString(), "edited");
    const std::string path = opened.toStdString();
    QTRY_COMPARE(app.column(5), path + "|" + path + "|");
    QCOMPARE(app.ui().Status1->textPanel()->text(), u"Entry 2 took the edit saved in 2.bin");
    Action(app, "Edit with...")->trigger();  // again: the edits stay
    QCOMPARE(ReadFile(path), "edited");

    // A row dragged out: the file is written when the drop asks for it, and
    // the browser takes it into the folder it shows.
    std::unique_ptr<QMimeData> mime(edits->dragData(3));
    QVERIFY(!QFileInfo::exists(folder + "/drag/3.wav"));
    QCOMPARE(mime->urls(), QList<QUrl>{QUrl::fromLocalFile(folder + "/drag/3.wav")});
    QCOMPARE(ReadFile((folder + "/drag/3.wav").toStdString()), Silence());
    TempDir target;
    FillBrowser(app.form1->context(), target.path());
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QDropEvent drop({5, 5}, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(app.ui().List1->viewport(), &enter);
    QApplication::sendEvent(app.ui().List1->viewport(), &drop);
    QCOMPARE(ReadFile(target.file("3.wav")), Silence());
    QVERIFY(!app.ui().List1->findItems("3.wav", Qt::MatchExactly).isEmpty());
    // Dropped on the grid, it replaces nothing.
    QCOMPARE(ClassifyDrag(mime.get(), nullptr, app.ui().List1).Kind, DragSource::From::Other);

    // A new load removes the private folder.
    app.reopen(dir.file("a.vxa"));
    QVERIFY(!QFileInfo::exists(folder));
}

QTEST_MAIN(PreviewTest)
#include "PreviewTest.moc"
