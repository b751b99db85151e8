// The window's parts on their own: the entry grid and its model, the browser
// list, the drive selector, message boxes, file dialogs, the status panel's
// drawing and the pictures.
#include <QAbstractItemModelTester>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "core/EntryTable.h"
#include "support/App.h"
#include "support/TempDir.h"
#include "ui/Drives.h"
#include "ui/FileDialogs.h"
#include "ui/Glyphs.h"
#include "ui/GridModel.h"
#include "ui/StatusPanels.h"

using namespace vxa;

namespace {

// A table of `n` owned entries, each 14 bytes after the previous.
EntryTable Table(int n) {
    EntryTable t;
    t.EntryCount = n;
    for (int i = 0; i <= n; ++i)
        t.Offsets.push_back(static_cast<std::uint32_t>(4 * (n + 1) + 14 * i));
    t.Links.assign(static_cast<std::size_t>(n) + 1, 0);
    t.OrigSizes.assign(static_cast<std::size_t>(n), 4);
    t.PackedSizes.assign(static_cast<std::size_t>(n), 4);
    t.CompTypes.assign(static_cast<std::size_t>(n), 2);
    return t;
}

QImage LoadPicture(const QString& path) {
    QImage image(path);
    if (image.isNull())
        qFatal("%s does not load", qPrintable(path));
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void gridModelPassesTheTesterAndSignalsOncePerBatch();
    void gridOfAMillionRowsSelectsReportsAndScrolls();
    void gridColumnsFitTheWidestNumbers();
    void dragsAreClassifiedBySourceAndUrls();
    void browserListSortsByTheUsersCollationFoldersFirst();
    void browserSelectionReportsTheOldItemThenTheNew();
    void volumesAreSortedFromTheNoise();
    void pickingADriveListsItsRootUnlessALoadRuns();
    void questionBoxDefaultsToNo();
    void fileDialogsAreSetUpAsListed();
    void fileDialogOffersItsLastPickAgain();
    void progressPanelShowsTheBarAndText();
    void pictures();
};

void WidgetsTest::gridModelPassesTheTesterAndSignalsOncePerBatch() {
    EntryTable table = Table(100);
    GridModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setGridRowCount(5);
    model.setCell(0, 0, "Nr");
    model.setGridRowCount(101);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    model.setCell(5, 2, "one");  // outside a batch: at once
    QCOMPARE(changes.size(), 1);
    changes.clear();
    model.beginUpdate();
    model.setCell(5, 4, "a");
    model.setCell(5, 9, "b");
    model.setCell(0, 6, "+6");
    QCOMPARE(changes.size(), 0);
    model.endUpdate();
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0][0].toModelIndex(), model.index(3, 0));  // grid row 4
    QCOMPARE(changes[0][1].toModelIndex(), model.index(8, 5));  // grid row 9
    QCOMPARE(model.index(8, 5).data().toString(), QStringLiteral("b"));
    // Cells outside the grid are ignored.
    model.setCell(6, 1, "x");
    model.setCell(0, 101, "x");
    QCOMPARE(model.cell(0, 101), std::string());

    // Rows a load writes are readable at once and shown when events run.
    changes.clear();
    for (int r = 1; r <= 100; ++r)
        model.writeEntryRow(r);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(model.index(99, 4).data().toString(), QStringLiteral("2/N"));
    QCoreApplication::processEvents();
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0][0].toModelIndex().row(), 0);
    QCOMPARE(changes[0][1].toModelIndex().row(), 99);
    // Rows come and go as loads do.
    for (const int rows : {11, 1, 0, 3})
        model.setGridRowCount(rows);
    QCOMPARE(model.rowCount(), 2);
}

void WidgetsTest::gridOfAMillionRowsSelectsReportsAndScrolls() {
    constexpr int kRows = 1'000'000;
    EntryTable table = Table(kRows);
    GridModel model(table);
    EntryGrid grid;
    grid.setModel(&model);
    grid.resize(385, 289);
    grid.show();
    model.setGridRowCount(kRows + 1);
    for (int r = 1; r <= kRows; ++r)
        model.writeEntryRow(r);
    model.flush();
    QCOMPARE(model.index(kRows - 1, 0).data().toString(), QStringLiteral("1000000"));
    QSignalSpy reported(&grid, &EntryGrid::rowSelected);
    grid.selectRow(kRows);
    QCOMPARE(grid.selectedRow(), kRows);
    QVERIFY(grid.topRow() > kRows - 20);
    // A selection by the program is not reported; the user's are.
    grid.selectRow(5);
    QCOMPARE(reported.size(), 0);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.selectedRow(), 6);
    const QRect row8 = grid.visualRect(model.index(7, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, row8.center());
    QCOMPARE(reported.size(), 2);
    QCOMPARE(reported[0][0].toInt(), 6);
    QCOMPARE(reported[1][0].toInt(), 8);
    grid.selectRow(0);  // the heading cannot be selected
    grid.selectRow(kRows + 1);
    QCOMPARE(grid.selectedRow(), 8);
    // The top row counts from 1, as the drag arithmetic does.
    grid.verticalScrollBar()->setValue(5);
    QCOMPARE(grid.topRow(), 6);
    // Shrinking keeps the selection on a row that exists.
    grid.selectRow(kRows);
    model.setGridRowCount(5);
    QCOMPARE(grid.selectedRow(), 4);
}

void WidgetsTest::gridColumnsFitTheWidestNumbers() {
    // The largest value of each column, a blank, a shared and the last row
    // marked, all in the rows shown at the bottom of 10000.
    constexpr int kRows = 10'000;
    EntryTable table = Table(kRows);
    table.Offsets[kRows - 2] = 4294967295u;
    table.OrigSizes[kRows - 3] = 4000000000u;
    table.PackedSizes[kRows - 4] = 3999999999u;
    table.CompTypes[kRows - 5] = 65535;
    table.Offsets[kRows - 6] = 0;
    table.Links[kRows - 6] = -1;
    table.Links[kRows - 7] = kRows - 8;
    GridModel model(table);
    EntryGrid grid;
    grid.setModel(&model);
    grid.resize(385, 289);
    grid.show();
    model.setGridRowCount(kRows + 1);
    for (int r = 1; r <= kRows; ++r)
        model.writeEntryRow(r);
    model.setCell(0, kRows, "+" + std::to_string(kRows));
    model.flush();
    grid.fitColumns(model.widestTexts());
    grid.scrollToBottom();
    test::ExpectColumnsFit(&grid);
    QVERIFY(grid.columnWidth(1) > QFontMetrics(grid.font()).horizontalAdvance("4294967295"));
}

void WidgetsTest::dragsAreClassifiedBySourceAndUrls() {
    QObject list;
    QObject other;
    QMimeData none;
    QCOMPARE(ClassifyDrag(&none, &list, &list).kind, DragSource::Kind::BrowserList);
    QCOMPARE(ClassifyDrag(&none, &other, &list).kind, DragSource::Kind::Other);
    QCOMPARE(ClassifyDrag(nullptr, nullptr, &list).kind, DragSource::Kind::Other);
    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/pic.wav"))});
    const DragSource file = ClassifyDrag(&one, nullptr, &list);
    QCOMPARE(file.kind, DragSource::Kind::LocalFile);
    QCOMPARE(file.path, std::string("/data/pic.wav"));
    QMimeData two;
    two.setUrls(
        {QUrl::fromLocalFile(QStringLiteral("/a")), QUrl::fromLocalFile(QStringLiteral("/b"))});
    QCOMPARE(ClassifyDrag(&two, nullptr, &list).kind, DragSource::Kind::Other);
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/a.wav"))});
    QCOMPARE(ClassifyDrag(&remote, nullptr, &list).kind, DragSource::Kind::Other);
}

void WidgetsTest::browserListSortsByTheUsersCollationFoldersFirst() {
    BrowserList list;
    const std::string odd = "caf\xe9.wav";  // not UTF-8: Latin-1 from an old disk
    list.setItems({{"Zeta", 1},
                   {"\xC3\xA9-accent", 1},
                   {"b.wav", 8},
                   {"[data]", 0},
                   {"[-x]", 0},
                   {"[..]", 0},
                   {"A.PAL", 1},
                   {"B", 1},
                   {"_under", 1},
                   {odd, 8},
                   {"9", 1},
                   {"10", 1}});
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    QCOMPARE(shown,
             (QStringList{"[..]", "[-x]", "[data]", "_under", "10", "9", "A.PAL", "B", "b.wav",
                          QFile::decodeName(odd.c_str()), "\u00e9-accent", "Zeta"}));
    QCOMPARE(list.selectedCaption(), std::nullopt);
    list.item(9)->setSelected(true);
    QCOMPARE(list.selectedCaption(), std::optional<std::string>(odd));
}

void WidgetsTest::browserSelectionReportsTheOldItemThenTheNew() {
    BrowserList list;
    list.setItems({{"[sub]", 0}, {"a.wav", 8}, {"b.voc", 9}});
    QSignalSpy toggled(&list, &BrowserList::itemSelectionToggled);
    list.setCurrentRow(1);
    list.setCurrentRow(2);
    QCOMPARE(toggled.size(), 3);
    QCOMPARE(toggled[0][0].value<std::string>(), std::string("a.wav"));
    QCOMPARE(toggled[1][0].value<std::string>(), std::string("a.wav"));  // deselected first
    QCOMPARE(toggled[2][0].value<std::string>(), std::string("b.voc"));
    toggled.clear();
    list.setItems({{"x", 1}});  // a new listing is not a selection
    QCOMPARE(toggled.size(), 0);
    QCOMPARE(list.selectedCaption(), std::nullopt);
}

void WidgetsTest::volumesAreSortedFromTheNoise() {
    QVERIFY(IsUserVolume("ext4", "/home"));
    QVERIFY(IsUserVolume("vfat", "/run/media/ann/STICK"));
    QVERIFY(IsUserVolume("tmpfs", "/mnt/ram"));  // a RAM disk mounted on purpose
    QVERIFY(!IsUserVolume("ext4", "/"));         // the root has its own entry
    for (const char* noise : {"/proc", "/dev/shm", "/run/user/1000", "/snap/core/42"})
        QVERIFY2(!IsUserVolume("tmpfs", noise), noise);
    QVERIFY(!IsUserVolume("overlay", "/var/lib/docker/overlay2/x/merged"));
    QCOMPARE(KindOf("cifs", "/mnt/nas", "//nas/share"), DriveKind::Network);
    QCOMPARE(KindOf("iso9660", "/media/cd", "/dev/sr0"), DriveKind::Optical);
    QCOMPARE(KindOf("vfat", "/media/ann/STICK", "/dev/sdb1"), DriveKind::Removable);
    QCOMPARE(KindOf("tmpfs", "/mnt/ram", "tmpfs"), DriveKind::Ram);
    QCOMPARE(KindOf("ext4", "/data", "/dev/sda3"), DriveKind::Fixed);
    const std::vector<Drive> drives = ListDrives();
    QVERIFY(drives.size() >= 2);
    QCOMPARE(drives[0].root, QString());
    QCOMPARE(drives[0].kind, DriveKind::Root);
    QCOMPARE(drives[1].kind, DriveKind::Home);
    for (const Drive& d : drives)
        QVERIFY(!d.root.endsWith('/'));
    // The selector shows the drive holding a folder most closely.
    const std::vector<Drive> nested = {{"", "/", DriveKind::Root},
                                       {"/home/ann", "home", DriveKind::Home},
                                       {"/home/ann/nas", "nas", DriveKind::Network}};
    QCOMPARE(DriveHolding(nested, "/home/ann/nas/music"), 2);
    QCOMPARE(DriveHolding(nested, "/home/ann"), 1);
    QCOMPARE(DriveHolding(nested, "/home/anna"), 0);  // a longer name is not inside
    QCOMPARE(DriveHolding(nested, ""), 0);
}

void WidgetsTest::pickingADriveListsItsRootUnlessALoadRuns() {
    test::App app;
    DriveSelector& selector = *app.ui().DriveComboBox1;
    QVERIFY(selector.count() >= 2);
    QCOMPARE(selector.rootAt(0), std::string());
    emit selector.activated(1);
    QCOMPARE(app.state.BrowserDir, selector.rootAt(1));
    selector.setCurrentIndex(0);
    emit selector.activated(0);
    QCOMPARE(app.state.BrowserDir, std::string());
    // Picking it again keeps the folder the browser is in.
    app.browse("/tmp");
    emit selector.activated(0);
    QCOMPARE(app.state.BrowserDir, std::string("/tmp"));
    // During a load the pick is refused and the selector goes back.
    app.state.Loading = true;
    selector.setCurrentIndex(1);
    emit selector.activated(1);
    QCOMPARE(app.state.BrowserDir, std::string("/tmp"));
    QCOMPARE(selector.currentIndex(), 0);
    app.state.Loading = false;
}

void WidgetsTest::questionBoxDefaultsToNo() {
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Simple question"));
        QCOMPARE(box->text(), QStringLiteral("Cancel all\nchanges?"));  // "\r" breaks lines
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        QCOMPARE(box->escapeButton(), box->button(QMessageBox::No));
        checked = true;
        box->button(QMessageBox::Yes)->click();
    });
    const MsgAnswer answer = ShowMessageBox(
        nullptr, {"Cancel all\rchanges?", "Simple question", MsgButtons::YesNo, MsgIcon::Question});
    QVERIFY(checked);
    QCOMPARE(answer, MsgAnswer::Yes);
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QCOMPARE(ShowMessageBox(nullptr, {"Sure?", "Hmmm?", MsgButtons::YesNo, MsgIcon::Question}),
             MsgAnswer::No);
    QCOMPARE(MessageText("Missing:\r/a.wav\r\n/b.wav\rGo on?"),
             QStringLiteral("Missing:\n/a.wav\n/b.wav\nGo on?"));
}

void WidgetsTest::fileDialogsAreSetUpAsListed() {
    FileDialogs dialogs(nullptr);
    struct Expect {
        FileDialog which;
        QString title;
        QString filter;
        QString suffix;
        QFileDialog::AcceptMode mode;
        QFileDialog::FileMode files;
        bool details;
    };
    const Expect expected[] = {
        // The toolkit trims the blank the filter's text begins with.
        {FileDialog::OpenDialog1, QString(), "ORN archive (*.vxa)", "vxa", QFileDialog::AcceptOpen,
         QFileDialog::ExistingFile, false},
        {FileDialog::SaveDialog1, "Choose output VXA file", "VXA files (*.vxa)", "vxa",
         QFileDialog::AcceptSave, QFileDialog::AnyFile, false},
        {FileDialog::SaveDialog2, "Save script file", "VXA Manager script file (*.vxc)", "vxc",
         QFileDialog::AcceptSave, QFileDialog::AnyFile, true},
        {FileDialog::OpenDialog2, "Run script file", "VXA Manager script file (*.vxc)", "vxc",
         QFileDialog::AcceptOpen, QFileDialog::ExistingFile, true},
    };
    for (const Expect& e : expected) {
        QFileDialog dlg;
        const QString defaultTitle = dlg.windowTitle();
        dialogs.configure(dlg, e.which);
        QCOMPARE(dlg.windowTitle(), e.title.isEmpty() ? defaultTitle : e.title);
        QCOMPARE(dlg.nameFilters(), QStringList{e.filter});
        QCOMPARE(dlg.defaultSuffix(), e.suffix);
        QCOMPARE(dlg.acceptMode(), e.mode);
        QCOMPARE(dlg.fileMode(), e.files);
        QVERIFY(!dlg.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dlg.testOption(QFileDialog::HideNameFilterDetails), !e.details);
        QCOMPARE(QDir(dlg.directory()).absolutePath(), QDir::currentPath());
    }
}

void WidgetsTest::fileDialogOffersItsLastPickAgain() {
    test::TempDir dir;
    const QString picked = QString::fromStdString(dir.file("out.vxa"));
    FileDialogs dialogs(nullptr);
    // A name in a folder that does not exist is refused with a box, and the
    // dialog stays for another name.
    bool refused = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        dlg->selectFile(QString::fromStdString(dir.file("no-such-folder/out.vxa")));
        QTimer::singleShot(0, [&refused] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            refused = box != nullptr;
            if (box)
                box->accept();
        });
        QMetaObject::invokeMethod(dlg, "accept");
        QVERIFY(dlg->isVisible());
        dlg->selectFile(picked);
        QMetaObject::invokeMethod(dlg, "accept");
    });
    QCOMPARE(dialogs.run(FileDialog::SaveDialog1),
             std::optional<std::string>(picked.toStdString()));
    QVERIFY(refused);
    QFileDialog again;
    dialogs.configure(again, FileDialog::SaveDialog1);
    QCOMPARE(again.directory().absolutePath(), QString::fromStdString(dir.path()));
    QCOMPARE(again.selectedFiles().value(0), picked);
    // The other dialogs keep their own places.
    QFileDialog other;
    dialogs.configure(other, FileDialog::OpenDialog1);
    QCOMPARE(other.directory().absolutePath(), QDir::currentPath());
}

void WidgetsTest::progressPanelShowsTheBarAndText() {
    ProgressPanel panel;
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
    QCOMPARE(image.pixel(101, 10), yellow);
    for (int y = 0; y < image.height(); ++y) {
        for (int x : {0, 1, 103})
            QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }
}

void WidgetsTest::pictures() {
    // The Stop glyph is split in two, the bottom-left pixel's colour
    // transparent: the left half for the button, the right when disabled.
    QImage picture(32, 16, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    picture.setPixel(8, 8, qRgb(255, 0, 0));
    picture.setPixel(24, 8, qRgb(128, 128, 128));
    QIcon icon;
    AddGlyphPair(icon, picture);
    const QImage normal = icon.pixmap(QSize(16, 16), QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    QCOMPARE(normal.pixel(8, 8), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(normal.pixel(0, 15)), 0);
    QCOMPARE(disabled.pixel(8, 8), qRgb(128, 128, 128));
    QVERIFY(GlyphPair(QStringLiteral(":/no/such/picture.png")).isNull());

    // Every picture the window shows is drawn twice as large too: at device
    // pixel ratio 2 its icon gives that drawing as it is, not the small one
    // scaled up.
    const auto sharp = [](const QIcon& shown, const QString& file, QSize size) {
        const QPixmap twice = shown.pixmap(size, 2.0);
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        QCOMPARE(twice.toImage().convertToFormat(QImage::Format_ARGB32),
                 LoadPicture(QString(file).replace(".png", "@2x.png")));
        QCOMPARE(shown.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
                 LoadPicture(file));
    };
    test::App app;
    QCOMPARE(app.ui().StopBtn->icon().availableSizes(QIcon::Disabled),
             (QList<QSize>{{16, 16}, {32, 32}}));
    sharp(app.ui().DriveComboBox1->itemIcon(0), DrivePicture(DriveKind::Root), {16, 16});
    for (const DriveKind kind : {DriveKind::Home, DriveKind::Fixed, DriveKind::Removable,
                                 DriveKind::Network, DriveKind::Optical, DriveKind::Ram})
        sharp(ScaledPicture(DrivePicture(kind)), DrivePicture(kind), {16, 16});
    // Thirteen distinct browser pictures, and no more.
    BrowserList list;
    std::vector<BrowserItem> items;
    for (int i = 0; i <= 12; ++i)
        items.push_back({"p" + std::to_string(i), i});
    list.setItems(items);
    QList<QImage> pictures;
    for (int i = 0; i <= 12; ++i) {
        const QString file = QStringLiteral(":/vxa/pictures/%1.png").arg(i);
        const QImage p = LoadPicture(file);
        QCOMPARE(p.size(), QSize(17, 17));
        QCOMPARE(qAlpha(p.pixel(0, 0)), 0);
        QVERIFY2(!pictures.contains(p), qPrintable(file));
        pictures << p;
        sharp(list.findItems(QStringLiteral("p%1").arg(i), Qt::MatchExactly).value(0)->icon(), file,
              {17, 17});
    }
    QVERIFY(!QFile::exists(QStringLiteral(":/vxa/pictures/13.png")));
}

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
