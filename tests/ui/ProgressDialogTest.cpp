#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "script/ProgressDialog.h"

namespace vxa::test {

class ProgressDialogTest : public QObject {
    Q_OBJECT

    AppState state_;
    QWidget main_;

    template <class T>
    static T* child(const TForm3& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr)
            qFatal("no control %s", name);
        return w;
    }
    static QColor pixel(TGauge& gauge, int x) {
        return gauge.grab().toImage().pixelColor(x, gauge.height() / 2);
    }

  private slots:
    void initTestCase() { PlaceMainWindow(main_); }
    void init() { state_ = AppState(); }

    void windowAndControlsStandWhereDesigned() {
        TForm3 d(state_, &main_);
        QCOMPARE(d.windowTitle(), QStringLiteral("Please wait"));
        QVERIFY(HasFixedDialogFrame(d, QSize(345, 146)));

        auto* title = child<QLabel>(d, "Label2");
        QCOMPARE(title->geometry(), QRect(16, 8, 313, 16));
        QCOMPARE(title->text(), QStringLiteral("Executing script..."));
        QVERIFY(title->alignment() & Qt::AlignHCenter);
        auto* status = child<QLabel>(d, "Label1");
        QCOMPARE(status->geometry(), QRect(24, 40, 297, 16));
        QCOMPARE(status->text(), QStringLiteral("Status"));
        QVERIFY(status->alignment() & Qt::AlignHCenter);

        auto* gauge = child<TGauge>(d, "Gauge1");
        QCOMPARE(gauge->geometry(), QRect(15, 71, 315, 27));
        QCOMPARE(gauge->minValue(), 0);
        QCOMPARE(gauge->maxValue(), 100);
        QCOMPARE(gauge->progress(), 0);
        auto* bevel = child<QFrame>(d, "Bevel1");
        QCOMPARE(bevel->geometry(), QRect(14, 70, 317, 29));
        QCOMPARE(bevel->frameShadow(), QFrame::Sunken);
        QVERIFY(bevel->frameShape() != QFrame::NoFrame);

        auto* stop = child<QPushButton>(d, "Button1");
        QCOMPARE(stop->geometry(), QRect(104, 112, 129, 25));
        QCOMPARE(stop->text(), QStringLiteral("Stop"));
        QVERIFY(Tooltips(d).isEmpty());

        d.setStatus(QStringLiteral("Loading file..."));
        QCOMPARE(status->text(), QStringLiteral("Loading file..."));
        QCOMPARE(title->text(), QStringLiteral("Executing script..."));
    }

    void gaugeKeepsProgressWithinItsRange() {
        TForm3 d(state_, &main_);
        auto* gauge = child<TGauge>(d, "Gauge1");
        d.setGaugeProgress(150);
        QCOMPARE(gauge->progress(), 100);
        QCOMPARE(gauge->filledWidth(), 315);
        d.setGaugeProgress(-5);
        QCOMPARE(gauge->progress(), 0);
        QCOMPARE(gauge->filledWidth(), 0);

        // A 25-entry load: 0, 10, 20 of 25, never a full bar.
        d.setGaugeMax(25);
        d.setGaugeProgress(20);
        QCOMPARE(gauge->filledWidth(), 315 * 20 / 25);
        // A lower maximum pulls the progress down with it.
        d.setGaugeMax(10);
        QCOMPARE(gauge->progress(), 10);
        // An empty range shows an empty bar; a maximum below 0 is taken as 0.
        d.setGaugeMax(0);
        d.setGaugeProgress(7);
        QCOMPARE(gauge->progress(), 0);
        QCOMPARE(gauge->filledWidth(), 0);
        d.setGaugeMax(-3);
        QCOMPARE(gauge->maxValue(), 0);
        // Large values do not overflow the share.
        d.setGaugeMax(2'000'000'000);
        d.setGaugeProgress(1'000'000'000);
        QCOMPARE(gauge->filledWidth(), 157);
    }

    void gaugeFillsWithGoldOnTheButtonFace() {
        TForm3 d(state_, &main_);
        auto* gauge = child<TGauge>(d, "Gauge1");
        const QColor gold(240, 192, 0);
        const QColor face = gauge->palette().color(QPalette::Button);
        QVERIFY(face != gold);

        QCOMPARE(pixel(*gauge, 0), face);  // 0 of 100: empty
        d.setGaugeMax(25);
        d.setGaugeProgress(10);
        const int filled = 315 * 10 / 25;
        QCOMPARE(pixel(*gauge, 0), gold);
        QCOMPARE(pixel(*gauge, filled - 1), gold);
        QCOMPARE(pixel(*gauge, filled), face);
        QCOMPARE(pixel(*gauge, 314), face);
        d.setGaugeProgress(25);
        QCOMPARE(pixel(*gauge, 314), gold);
        // No percentage text: a full bar is all gold.
        const QImage full = gauge->grab().toImage();
        for (int y = 0; y < full.height(); ++y) {
            for (int x = 0; x < full.width(); ++x)
                QCOMPARE(full.pixelColor(x, y), gold);
        }
    }

    void runDisablesTheMainWindowUntilItCloses() {
        TForm3 d(state_, &main_);
        for (int run = 0; run < 2; ++run) {
            d.showRun();
            QVERIFY(d.isVisible());
            QVERIFY(!d.isModal());
            QVERIFY(!main_.isEnabled());
            QVERIFY(d.isEnabled());
            QVERIFY(
                (d.frameGeometry().center() - main_.frameGeometry().center()).manhattanLength() <=
                2);
            // Its Stop still takes a real click while the main window is locked.
            QTest::mouseClick(child<QPushButton>(d, "Button1"), Qt::LeftButton);
            QVERIFY(state_.StopRequested);
            state_.StopRequested = false;

            d.closeRun();
            QVERIFY(!d.isVisible());
            QVERIFY(main_.isEnabled());
        }
    }

    void stopSetsTheFlagAtEveryClickAndNothingElse() {
        TForm3 d(state_, &main_);
        d.setGaugeMax(25);
        d.setGaugeProgress(10);
        d.setStatus(QStringLiteral("Loading file..."));
        d.showRun();
        auto* stop = child<QPushButton>(d, "Button1");
        for (int click = 0; click < 3; ++click) {
            state_.StopRequested = false;
            stop->click();
            QVERIFY(state_.StopRequested);
        }
        QVERIFY(d.isVisible());
        QVERIFY(!main_.isEnabled());
        QCOMPARE(child<TGauge>(d, "Gauge1")->progress(), 10);
        QCOMPARE(child<QLabel>(d, "Label1")->text(), QStringLiteral("Loading file..."));
        d.closeRun();
    }

    void escapeActsAsStop() {
        TForm3 d(state_, &main_);
        d.showRun();
        PressEscape(d);
        QVERIFY(state_.StopRequested);
        QVERIFY(d.isVisible());
        QVERIFY(!main_.isEnabled());
        d.closeRun();
    }

    void closingFromTheTitleBarDuringARunActsAsStop() {
        TForm3 d(state_, &main_);
        d.showRun();
        QVERIFY(!d.close());
        QVERIFY(state_.StopRequested);
        QVERIFY(d.isVisible());
        QVERIFY(!main_.isEnabled());
        d.closeRun();
        QVERIFY(main_.isEnabled());
        QVERIFY(!d.isVisible());
    }
};

}  // namespace vxa::test

QTEST_MAIN(vxa::test::ProgressDialogTest)
#include "ProgressDialogTest.moc"
