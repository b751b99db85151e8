// The window's parts on their own: places, font, start cells, grid, browser
// list, drives, boxes, the save dialog, the script dialogs and pictures.
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>
#include <utility>

#include "script/Summary.h"
#include "support/App.h"
#include "support/TempDir.h"
#include "ui/widgets/Drives.h"
#include "ui/widgets/Glyphs.h"
#include "ui/widgets/GridModel.h"
#include "ui/widgets/linux/Volumes.h"

using namespace vxa;
using namespace vxa::test;

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsAtItsPlacesInOneFontWithSharpPictures();
    void gridFitsTheWidestNumbers_data();
    void gridFitsTheWidestNumbers();
    void browserListAndDrives();
    void boxesAndTheSaveDialog();
    void scriptDialogsAnswerAsTheRunExpects();
};

void WindowTest::startsAtItsPlacesInOneFontWithSharpPictures() {
    QApplication::setFont(QFont());  // as at start-up
    App app;
    const Form1Controls& ui = app.ui();
    // A few controls at the design's coordinates, in windows of its sizes.
    const std::pair<QWidget*, QRect> designed[] = {{app.form1, {0, 0, 618, 441}},
                                                   {app.form3, {0, 0, 345, 146}},
                                                   {ui.FileList, {0, 56, 385, 289}},
                                                   {ui.List1, {392, 78, 225, 283}}};
    for (const auto& [w, rect] : designed)
        QCOMPARE(QRect(w->isWindow() ? QPoint() : w->pos(), w->size()), rect);
    // One font for every control and both dialogs, but the Stop button's
    // serif; the tool windows beside the main window have their own.
    for (const QWidget* w : app.form1->findChildren<QWidget*>())
        QVERIFY2(w == ui.StopBtn || w->window() != app.form1 || w->font() == QApplication::font(),
                 qPrintable(w->objectName()));
    QVERIFY(ui.StopBtn->font().pixelSize() == 23 && ui.StopBtn->font().styleHint() == QFont::Serif);
    // The credits whole in their tooltip; the columns at their start widths.
    QCOMPARE(ui.FileList->model()->index(2, 5).data(Qt::ToolTipRole).toString(),
             u"the VXA manager team");
    for (int col = 0; col < 6; ++col)
        QCOMPARE(ui.FileList->columnWidth(col), (std::array{40, 53, 62, 52, 33, 114}[col]));

    // At device pixel ratio 2 every picture is its own larger drawing.
    const auto sharp = [](const QIcon& shown, QString file, QSize size) {
        const QPixmap twice = shown.pixmap(size, 2.0);
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        QCOMPARE(twice.toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(file.replace(".png", "@2x.png")).convertToFormat(QImage::Format_ARGB32));
    };
    for (int kind = 0; kind <= int(DriveKind::Ram); ++kind)
        sharp(ScaledPicture(DrivePicture(DriveKind(kind))), DrivePicture(DriveKind(kind)),
              {16, 16});
    sharp(ui.DriveComboBox1->itemIcon(0), DrivePicture(DriveKind::Root), {16, 16});
    BrowserList list;
    for (int i = 0; i <= 12; ++i) {
        list.setItems({{"item", i}});
        sharp(list.item(0)->icon(), QStringLiteral(":/vxa/pictures/%1.png").arg(i), {17, 17});
    }
}

void WindowTest::gridFitsTheWidestNumbers_data() {
    QTest::addColumn<bool>("large");
    QTest::newRow("small numbers") << false;
    QTest::newRow("10 digits") << true;
}

void WindowTest::gridFitsTheWidestNumbers() {
    // As many rows as make the window's grid scroll; row 6 blank, 7 shared.
    QFETCH(bool, large);
    AppState state;
    EntryTable& t = state.Table;
    t.EntryCount = 40;
    for (std::uint32_t i = 0; i <= 40; ++i) {
        t.Offsets.push_back(i == 5 ? 0 : i == 6 ? 36 : 36 + 14 * i);
        t.Links.push_back(i == 5 ? -1 : i == 6 ? 1 : 0);
    }
    t.OrigSizes = t.PackedSizes = std::vector<std::uint32_t>(40, 4);
    t.CompTypes.assign(40, 2);
    if (large) {  // each column's largest value
        std::tie(t.Offsets[1], t.OrigSizes[2], t.PackedSizes[3], t.CompTypes[4]) =
            std::tuple(4294967295u, 4000000000u, 3999999999u, 65535);
    }
    state.Grid = LoadedRows(40);  // rows 1 to 40 show the table
    GridModel model(state);
    model.sync();
    EntryGrid grid;
    grid.setModel(&model);
    grid.setGeometry(0, 56, 385, 289);
    grid.show();
    QCoreApplication::processEvents();
    grid.fitColumns(model.widestTexts());
    ExpectColumnsFit(&grid);
    QVERIFY(large || grid.columnWidth(3) == 52);  // the headings are no reason to widen
}

void WindowTest::browserListAndDrives() {
    // The user's collation, any case, folders first; non-UTF-8 bytes kept.
    BrowserList list;
    const std::string odd = "caf\xe9.wav";
    std::vector<BrowserItem> items;
    for (const char* name : {"Zeta", "\xC3\xA9-accent", "b.wav", "[data]", "[-x]", "[..]", "aB",
                             "A.PAL", "B", "_under", odd.c_str(), "9", "10", "Ab"})
        items.push_back({name, 1});
    list.setItems(items);
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    QCOMPARE(shown,
             (QStringList{"[..]", "[-x]", "[data]", "_under", "10", "9", "A.PAL", "Ab", "aB", "B",
                          "b.wav", QFile::decodeName(odd.c_str()), "é-accent", "Zeta"}));
    list.item(11)->setSelected(true);
    QCOMPARE(list.selectedCaption(), std::optional<std::string>(odd));

    // Drives: the user's volumes, by kind. Another drive is listed, the one
    // shown keeps the folder; during a load the pick is refused.
    QVERIFY(IsUserVolume("vfat", "/run/media/a") && IsUserVolume("tmpfs", "/mnt/r") &&
            !IsUserVolume("ext4", "/") && !IsUserVolume("ext4", "/run/a") &&
            !IsUserVolume("nsfs", "/a"));
    QVERIFY(KindOf("fuse", "/n", "//n/s") == DriveKind::Network &&
            KindOf("auto", "/cd", "/dev/sr0") == DriveKind::Optical &&
            KindOf("vfat", "/media/s", "/dev/sdb") == DriveKind::Removable);
    App app;
    DriveSelector& selector = *app.ui().DriveComboBox1;
    QVERIFY(selector.count() >= 2 && selector.rootAt(0).empty());
    emit selector.activated(1);
    QCOMPARE(app.state.BrowserDir, selector.rootAt(1));
    FillBrowser(app.form1->context(), "/tmp");
    emit selector.activated(1);
    app.state.Loading = true;
    selector.setCurrentIndex(0);
    emit selector.activated(0);
    app.state.Loading = false;
    QCOMPARE(app.state.BrowserDir + std::to_string(selector.currentIndex()), "/tmp1");
}

void WindowTest::boxesAndTheSaveDialog() {
    using Box = QMessageBox;
    const std::tuple<MsgButtons, MsgIcon, Box::Icon, Box::StandardButton, MsgAnswer> cases[] = {
        {MsgButtons::Ok, MsgIcon::Error, Box::Critical, Box::NoButton, MsgAnswer::Ok},
        {MsgButtons::Ok, MsgIcon::Warning, Box::Warning, Box::NoButton, MsgAnswer::Ok},
        {MsgButtons::YesNo, MsgIcon::Question, Box::Question, Box::NoButton, MsgAnswer::No},
        {MsgButtons::YesNo, MsgIcon::Error, Box::Critical, Box::Yes, MsgAnswer::Yes}};
    // Plain text; pressed or Esc (NoButton); a Yes/No box has No as default
    // and Esc.
    for (const auto& [buttons, icon, shown, press, answer] : cases) {
        const bool yesNo = buttons == MsgButtons::YesNo;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
            press == Box::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                                   : box->button(press)->click();
            QCOMPARE(box->text(), u"Gone:\n<b>a</b>\nGo on?");
            QVERIFY(box->icon() == shown && box->textFormat() == Qt::PlainText);
            QVERIFY(box->standardButtons() == (yesNo ? Box::Yes | Box::No : Box::Ok));
            QVERIFY(!yesNo || box->defaultButton() == box->button(Box::No));
        });
        QCOMPARE(ShowMessageBox(nullptr, {"Gone:\r<b>a</b>\r\nGo on?", "", buttons, icon}), answer);
    }

    // The save dialog asks before it overwrites. A missing folder is refused
    // with a box; the dialog stays for another name.
    test::TempDir dir;
    const QString picked = QString::fromStdString(dir.file("out.vxa"));
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        seen = dlg->testOption(QFileDialog::DontConfirmOverwrite) ? "overwrites" : "asks";
        dlg->selectFile(QString::fromStdString(dir.file("no-such-folder/out.vxa")));
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            seen += box ? " refused" : "";
            if (box)
                box->accept();
        });
        QMetaObject::invokeMethod(dlg, "accept");
        dlg->selectFile(picked);
        QMetaObject::invokeMethod(dlg, "accept");
    });
    QCOMPARE(FileDialogs(nullptr).run(FileDialog::SaveDialog1),
             std::optional(picked.toStdString()));
    QCOMPARE(seen, u"asks refused");
}

void WindowTest::scriptDialogsAnswerAsTheRunExpects() {
    test::TempDir dir;
    App app;
    TForm2& summary = *app.form2;
    auto* in = summary.findChild<QLabel*>("InLabel");
    // Paths as plain text; Proceed waits for the input anew at each showing;
    // Esc cancels, the title bar closes.
    bool proceed = true;
    const auto show = [&](bool esc) {
        QTimer::singleShot(0, &summary, [&, esc] {
            proceed = App::button(&summary, "Button2")->isEnabled();
            esc ? QTest::keyClick(&summary, Qt::Key_Escape) : void(summary.close());
            if (summary.isVisible())
                summary.done(-1);  // left open
        });
        return summary.exec();
    };
    app.state.InPath = dir.file("<b>gone</b>.vxa");
    QCOMPARE(show(true), int(SummaryResult::Cancel));
    QVERIFY(!proceed && in->textFormat() == Qt::PlainText);
    QCOMPARE(in->text(), QString::fromStdString(app.state.InPath));
    app.state.InPath = dir.write("back.vxa", "x");
    QCOMPARE(show(false), int(SummaryResult::Closed));
    QVERIFY(proceed);
    QCOMPARE(SummaryMemoText({"Status:", "one\r\ntwo\rthree"}), u"Status:\none\ntwo\nthree");

    // "Please wait": Esc and the title bar ask the run to stop; it stays,
    // the window locked, until the run closes it.
    TForm3& wait = *app.form3;
    wait.showRun();
    QTest::keyClick(&wait, Qt::Key_Escape);
    QVERIFY(std::exchange(app.state.StopRequested, false));
    QVERIFY(!wait.close() && app.state.StopRequested && wait.isVisible() &&
            !app.form1->isEnabled());
    wait.closeRun();
    QVERIFY(!wait.isVisible() && app.form1->isEnabled());
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
