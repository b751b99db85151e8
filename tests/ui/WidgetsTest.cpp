// The window's helpers: browser list, drive selector, message boxes, file
// dialogs, the Stop glyph and the event pump.
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include "WindowFixture.h"
#include "support/TempDir.h"
#include "ui/BrowserWidgets.h"
#include "ui/Drives.h"
#include "ui/EventPump.h"
#include "ui/FileDialogs.h"
#include "ui/Glyphs.h"

using namespace vxa;

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void browserListKeepsOrderAndCaptionBytes();
    void browserSelectionReportsTheOldItemThenTheNew();
    void enterOnTheListActsAsADoubleClick();
    void volumesAreSortedFromTheNoise();
    void driveHoldingPicksTheLongestRoot();
    void pickingADriveListsItsRootUnlessALoadRuns();
    void messageTextBreaksLinesAtCarriageReturns();
    void questionBoxDefaultsToNo();
    void fileDialogsAreSetUpAsListed();
    void fileDialogOffersItsLastPickAgain();
    void stopGlyphSplitsIntoNormalAndDisabled();
    void eventPumpLetsTheFirstCallThroughThenThrottles();
};

void WidgetsTest::browserListKeepsOrderAndCaptionBytes() {
    BrowserList list;
    const std::string odd = "caf\xe9.wav";  // not UTF-8: Latin-1 from an old disk
    list.setItems({{"[..]", 0}, {"[data]", 0}, {"b.wav", 8}, {"A.PAL", 1}, {odd, 8}});
    QCOMPARE(list.count(), 5);
    QCOMPARE(list.item(2)->text(), QStringLiteral("b.wav"));
    QCOMPARE(list.item(3)->text(), QStringLiteral("A.PAL"));  // as given, not re-sorted
    QCOMPARE(list.selectedCaption(), std::nullopt);
    list.item(4)->setSelected(true);
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

void WidgetsTest::enterOnTheListActsAsADoubleClick() {
    BrowserList list;
    list.setItems({{"a.wav", 8}});
    QSignalSpy entered(&list, &BrowserList::enterPressed);
    QTest::keyClick(&list, Qt::Key_Return);
    QTest::keyClick(&list, Qt::Key_Enter);
    QCOMPARE(entered.size(), 2);
}

void WidgetsTest::volumesAreSortedFromTheNoise() {
    QVERIFY(IsUserVolume("ext4", "/home"));
    QVERIFY(IsUserVolume("vfat", "/run/media/ann/STICK"));
    QVERIFY(IsUserVolume("tmpfs", "/mnt/ram"));
    QVERIFY(!IsUserVolume("ext4", "/"));  // the root has its own entry
    QVERIFY(!IsUserVolume("proc", "/proc"));
    QVERIFY(!IsUserVolume("tmpfs", "/dev/shm"));
    QVERIFY(!IsUserVolume("tmpfs", "/run/user/1000"));
    QVERIFY(!IsUserVolume("squashfs", "/snap/core/42"));
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
}

void WidgetsTest::driveHoldingPicksTheLongestRoot() {
    const std::vector<Drive> drives = {{"", "/", DriveKind::Root},
                                       {"/home/ann", "home", DriveKind::Home},
                                       {"/home/ann/nas", "nas", DriveKind::Network}};
    QCOMPARE(DriveHolding(drives, "/home/ann/nas/music"), 2);
    QCOMPARE(DriveHolding(drives, "/home/ann"), 1);
    QCOMPARE(DriveHolding(drives, "/home/anna"), 0);  // a longer name is not inside
    QCOMPARE(DriveHolding(drives, ""), 0);
}

void WidgetsTest::pickingADriveListsItsRootUnlessALoadRuns() {
    test::Window w;
    DriveSelector& selector = *w.ui().DriveComboBox1;
    QVERIFY(selector.count() >= 2);
    QCOMPARE(selector.rootAt(0), std::string());
    emit selector.activated(1);
    QCOMPARE(w.state.BrowserDir, selector.rootAt(1));
    // During a load the pick is refused and the selector goes back.
    selector.setCurrentIndex(0);
    emit selector.activated(0);
    QCOMPARE(w.state.BrowserDir, std::string());
    w.state.Loading = true;
    selector.setCurrentIndex(1);
    emit selector.activated(1);
    QCOMPARE(w.state.BrowserDir, std::string());
    QCOMPARE(selector.currentIndex(), 0);
    w.state.Loading = false;
}

void WidgetsTest::messageTextBreaksLinesAtCarriageReturns() {
    QCOMPARE(MessageText("Missing:\r/a.wav\r\n/b.wav\rGo on?"),
             QStringLiteral("Missing:\n/a.wav\n/b.wav\nGo on?"));
    QCOMPARE(MessageText("File doesn't exist !!!"), QStringLiteral("File doesn't exist !!!"));
}

void WidgetsTest::questionBoxDefaultsToNo() {
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Simple question"));
        QCOMPARE(box->text(), QStringLiteral("Cancel all\nchanges?"));
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
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        dlg->selectFile(picked);
        QMetaObject::invokeMethod(dlg, "accept");
    });
    QCOMPARE(dialogs.run(FileDialog::SaveDialog1),
             std::optional<std::string>(picked.toStdString()));
    QFileDialog again;
    dialogs.configure(again, FileDialog::SaveDialog1);
    QCOMPARE(again.directory().absolutePath(), QString::fromStdString(dir.path()));
    QCOMPARE(again.selectedFiles().value(0), picked);
    // The other dialogs keep their own places.
    QFileDialog other;
    dialogs.configure(other, FileDialog::OpenDialog1);
    QCOMPARE(other.directory().absolutePath(), QDir::currentPath());
}

void WidgetsTest::stopGlyphSplitsIntoNormalAndDisabled() {
    QImage picture(32, 16, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));  // the key colour, as in the bottom-left pixel
    picture.setPixel(8, 8, qRgb(255, 0, 0));
    picture.setPixel(24, 8, qRgb(128, 128, 128));
    const QIcon icon = GlyphPair(picture);
    const QImage normal = icon.pixmap(QSize(16, 16), QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    QCOMPARE(normal.size(), QSize(16, 16));
    QCOMPARE(normal.pixel(8, 8), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(normal.pixel(0, 15)), 0);
    QCOMPARE(disabled.pixel(8, 8), qRgb(128, 128, 128));
    QCOMPARE(qAlpha(disabled.pixel(3, 3)), 0);
    QVERIFY(GlyphPair(QImage()).isNull());
    QVERIFY(GlyphPair(QStringLiteral(":/no/such/picture.png")).isNull());
}

void WidgetsTest::eventPumpLetsTheFirstCallThroughThenThrottles() {
    EventPump pump;
    QVERIFY(pump.due());
    QVERIFY(!pump.due());
    QThread::msleep(EventPump::kIntervalMs + 5);
    QVERIFY(pump.due());
    QVERIFY(!pump.due());
    pump.restart();
    QVERIFY(pump.due());
}

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
