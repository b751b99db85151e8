// Loads started from the window: rows, Stop, errors, refused commands and
// closing while a load runs.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "WindowFixture.h"
#include "support/ArchiveBuilder.h"
#include "support/TempDir.h"
#include "ui/EntryGrid.h"
#include "ui/StatusPanels.h"

using namespace vxa;
using namespace vxa::test;

namespace {

std::string ManyEntries(int n) {
    std::vector<TestEntry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(Owned(std::string(static_cast<std::size_t>(i % 5), 'x')));
    return BuildArchive(entries);
}

// Runs `during` the first time the load hands events to the toolkit.
void During(std::function<void()> during) {
    QTimer::singleShot(0, std::move(during));
}

void Reopen(Window& w, const std::string& path) {
    w.ui().OpenEdit->setText(QString::fromStdString(path));
    w.ui().ReloadBtn->click();
}

}  // namespace

class WindowLoadTest : public QObject {
    Q_OBJECT
  private slots:
    void reopenLoadsTheTypedPath();
    void openPutsThePickedPathIntoTheField();
    void stopShowsDuringALoadOnly();
    void stopEndsTheLoadWithItsWarning();
    void ioErrorShowsTheGeneralErrorBox();
    void commandsWaitWhileALoadRuns();
    void closingDuringALoadStopsItQuietlyThenCloses();
    void closingAtRestAsksNothing();
    void progressPanelShowsTheBarAndText();
};

void WindowLoadTest::reopenLoadsTheTypedPath() {
    TempDir dir;
    const std::string path = dir.write("a.vxa", BuildArchive({Owned("ABCD"), Blank(), Shared(0)}));
    Window w;
    Reopen(w, path);
    using Row = std::vector<std::string>;
    QCOMPARE(w->rowCount(), 4);
    QCOMPARE(w.row(0), (Row{"Nr", "Offset", "Orig. size", "Packed size", "C/T", "Replace with"}));
    QCOMPARE(w.row(1), (Row{"1", "16", "4", "4", "0/N", ""}));
    QCOMPARE(w.row(2), (Row{"2", "BLANK", "0", "0", "0/B", "------"}));
    QCOMPARE(w.row(3), (Row{"3", "16", "0", "0", "0/R:1", ""}));
    const QAbstractItemModel* model = w.ui().FileList->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("BLANK"));
    QVERIFY(w.state.ArchiveComplete);
    QCOMPARE(w.state.InPath, path);
    QVERIFY(w.boxes.empty());
    QCOMPARE(w.ui().Status1->textPanel()->text(), QString());
}

void WindowLoadTest::openPutsThePickedPathIntoTheField() {
    TempDir dir;
    const std::string path = dir.write("picked.vxa", ManyEntries(3));
    Window w;
    w.dialogAnswers.push_back(path);
    w.ui().OpenBtn->click();
    QCOMPARE(w.dialogsRun, std::vector<FileDialog>{FileDialog::OpenDialog1});
    QCOMPARE(w.ui().OpenEdit->text(), QString::fromStdString(path));
    QCOMPARE(w->rowCount(), 4);
    // Cancelling the dialog changes nothing.
    w.ui().OpenBtn->click();
    QCOMPARE(w.ui().OpenEdit->text(), QString::fromStdString(path));
}

void WindowLoadTest::stopShowsDuringALoadOnly() {
    TempDir dir;
    Window w;
    w->show();
    bool shownDuring = false;
    During([&] { shownDuring = w.ui().StopBtn->isVisible(); });
    Reopen(w, dir.write("a.vxa", ManyEntries(25)));
    QVERIFY(shownDuring);
    QVERIFY(!w.ui().StopBtn->isVisible());
    QVERIFY(w.state.ArchiveComplete);
}

void WindowLoadTest::stopEndsTheLoadWithItsWarning() {
    TempDir dir;
    Window w;
    w->show();
    w.state.Replacements.append(0, "/planned");
    During([&] { w.ui().StopBtn->click(); });
    Reopen(w, dir.write("a.vxa", ManyEntries(25)));
    QVERIFY(!w.state.ArchiveComplete);
    QCOMPARE(w.state.Replacements.Count, 0);
    QCOMPARE(w.boxes.size(), std::size_t{1});
    QCOMPARE(w.boxes[0].text, std::string("Incomplete file is not editable"));
    QCOMPARE(w.boxes[0].title, std::string("Warning"));
    QCOMPARE(w.boxes[0].icon, MsgIcon::Warning);
    QCOMPARE(w.ui().Status1->textPanel()->text(), QStringLiteral("File list not complete"));
    QVERIFY(!w.ui().StopBtn->isVisible());
    // The grid keeps one row for each entry the table kept.
    QCOMPARE(w->rowCount(), w.state.Table.EntryCount + 1);
}

void WindowLoadTest::ioErrorShowsTheGeneralErrorBox() {
    TempDir dir;
    Window w;
    w->show();
    // No table value ever equals the file's size.
    Reopen(w, dir.write("broken.vxa", U32(100) + U32(200)));
    QCOMPARE(w.boxes.size(), std::size_t{1});
    QCOMPARE(w.boxes[0].text, std::string("Read beyond end of file."));
    QCOMPARE(w.boxes[0].title, QCoreApplication::applicationName().toStdString());
    QCOMPARE(w.boxes[0].title,
             QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString());
    QCOMPARE(w.boxes[0].icon, MsgIcon::Error);
    QCOMPARE(w.boxes[0].buttons, MsgButtons::Ok);
    QVERIFY(!w.state.ArchiveComplete);
    QVERIFY(!w.ui().StopBtn->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void WindowLoadTest::commandsWaitWhileALoadRuns() {
    TempDir dir;
    const std::string first = dir.write("first.vxa", ManyEntries(40));
    const std::string second = dir.write("second.vxa", ManyEntries(2));
    Window w;
    w->show();
    bool loadingSeen = false;
    During([&] {
        loadingSeen = w.state.Loading;
        w.ui().OpenBtn->click();  // would run the open dialog
        w.ui().OpenEdit->setText(QString::fromStdString(second));
        w.ui().ReloadBtn->click();  // would start a second load
        w.ui().RsBtn->click();
    });
    Reopen(w, first);
    QVERIFY(loadingSeen);
    QVERIFY(w.dialogsRun.empty());
    QCOMPARE(w.state.InPath, first);
    QCOMPARE(w->rowCount(), 41);
    QVERIFY(w.state.ArchiveComplete);
    QVERIFY(w.boxes.empty());
    // Once the load is over the commands work again.
    w.ui().ReloadBtn->click();
    QCOMPARE(w.state.InPath, second);
    QCOMPARE(w->rowCount(), 3);
}

void WindowLoadTest::closingDuringALoadStopsItQuietlyThenCloses() {
    TempDir dir;
    Window w;
    w->show();
    bool stillOpen = false;
    During([&] {
        w->close();
        stillOpen = w->isVisible();
    });
    Reopen(w, dir.write("a.vxa", ManyEntries(60)));
    QVERIFY(stillOpen);        // the close waited for the load
    QVERIFY(!w->isVisible());  // and happened once it had returned
    QVERIFY(w.boxes.empty());  // without the stop's warning
    QVERIFY(!w.state.ArchiveComplete);
    QVERIFY(!w.state.CloseRequested);
}

void WindowLoadTest::closingAtRestAsksNothing() {
    TempDir dir;
    Window w;
    w->show();
    Reopen(w, dir.write("a.vxa", ManyEntries(3)));
    w.state.Replacements.append(0, "/planned");
    QVERIFY(w->close());
    QVERIFY(!w->isVisible());
    QVERIFY(w.boxes.empty());
}

void WindowLoadTest::progressPanelShowsTheBarAndText() {
    vxa::ProgressPanel panel;
    const QRgb yellow = qRgb(255, 255, 0);
    const QRgb face = panel.palette().color(QPalette::Button).rgb();
    panel.draw(10, QStringLiteral("W"));
    QImage image = panel.image();
    QCOMPARE(image.pixel(2, 4), yellow);       // the bar starts at x 2, y 4
    QCOMPARE(image.pixel(11, 19), yellow);     // and ends before x 12, y 20
    QCOMPARE(qAlpha(image.pixel(12, 10)), 0);  // the column at w + 2 is left alone
    QCOMPARE(image.pixel(13, 4), face);
    QCOMPARE(image.pixel(102, 19), face);
    QCOMPARE(qAlpha(image.pixel(103, 10)), 0);
    QCOMPARE(qAlpha(image.pixel(5, 3)), 0);
    QCOMPARE(qAlpha(image.pixel(5, 20)), 0);
    // The text sits centred about x 50: some of its pixels differ from the face.
    bool textDrawn = false;
    for (int x = 40; x < 60 && !textDrawn; ++x) {
        for (int y = 4; y < 20 && !textDrawn; ++y)
            textDrawn = image.pixel(x, y) != face;
    }
    QVERIFY(textDrawn);
    // A text wider than the bar leaves nothing outside the area the next
    // drawing clears.
    panel.draw(0, QStringLiteral("8888888888/8888888888"));
    panel.image();
    panel.draw(100, QStringLiteral("Done"));
    image = panel.image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x : {0, 1, 103})
            QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }
    // A full bar after a complete load reads "Done".
    TempDir dir;
    Window w;
    Reopen(w, dir.write("a.vxa", ManyEntries(25)));
    image = w.ui().Status1->progress()->image();
    QCOMPARE(image.pixel(2, 10), yellow);
    QCOMPARE(image.pixel(101, 10), yellow);
}

QTEST_MAIN(WindowLoadTest)
#include "WindowLoadTest.moc"
