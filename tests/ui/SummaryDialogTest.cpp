#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "DialogTestSupport.h"
#include "core/View.h"
#include "script/Summary.h"
#include "script/SummaryDialog.h"

namespace vxa::test {

class SummaryDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QWidget main_;
    AppState state_;

    std::string existing(const char* name) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot create a test file");
        f.write("data");
        return path.toStdString();
    }
    template <class T>
    static T* child(const TForm2& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        if (w == nullptr)
            qFatal("no control %s", name);
        return w;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        PlaceMainWindow(main_);
    }
    void init() { state_ = AppState(); }

    void windowAndControlsStandWhereDesigned() {
        TForm2 d(state_, RealFileSystem(), &main_);
        QCOMPARE(d.windowTitle(), QStringLiteral("Summary"));
        QVERIFY(HasFixedDialogFrame(d, QSize(451, 331)));

        struct Button {
            const char* name;
            QRect geometry;
            const char* text;
        };
        for (const Button& b : {Button{"Button1", {8, 56, 105, 25}, "Show details"},
                                Button{"Button2", {120, 56, 105, 25}, "Proceed >>>"},
                                Button{"Button3", {232, 56, 97, 25}, "Cancel"},
                                Button{"Button4", {336, 56, 105, 25}, "Load only"}}) {
            auto* button = child<QPushButton>(d, b.name);
            QCOMPARE(button->geometry(), b.geometry);
            QCOMPARE(button->text(), QString::fromLatin1(b.text));
        }
        QCOMPARE(child<QLabel>(d, "Label1")->text(), QStringLiteral("Input VXA file:"));
        QCOMPARE(child<QLabel>(d, "Label1")->pos(), QPoint(8, 8));
        QCOMPARE(child<QLabel>(d, "Label2")->text(), QStringLiteral("Output VXA file:"));
        QCOMPARE(child<QLabel>(d, "Label2")->pos(), QPoint(8, 32));

        auto* memo = child<QPlainTextEdit>(d, "Memo1");
        QCOMPARE(memo->geometry(), QRect(8, 88, 433, 234));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);

        QCOMPARE(Tooltips(d), QStringList{QStringLiteral("Button4")});
        QCOMPARE(child<QPushButton>(d, "Button4")->toolTip(),
                 QStringLiteral("Only loads the VXA file and returns to the main window"));
    }

    void tabOrderStartsAtShowDetails() {
        TForm2 d(state_, RealFileSystem(), &main_);
        QStringList order;
        ExecWith(d, [&] {
            QWidget* w = d.focusWidget();
            for (int i = 0; i < 5 && w != nullptr; ++i, w = w->nextInFocusChain())
                order << w->objectName();
            d.done(7);
        });
        QCOMPARE(order, (QStringList{"Button1", "Button2", "Button3", "Button4", "Memo1"}));
    }

    void valuesShowThePathsAsPlainTextBesideTheirCaptions() {
        state_.InPath = "/games/orn/<b>data</b>.vxa";
        state_.OutPath = "/games/out.vxa";
        TForm2 d(state_, RealFileSystem(), &main_);
        auto* in = child<QLabel>(d, "InLabel");
        auto* out = child<QLabel>(d, "OutLabel");
        ExecWith(d, [&] { d.done(7); });
        QCOMPARE(in->text(), QString::fromStdString(state_.InPath));
        QCOMPARE(in->textFormat(), Qt::PlainText);
        QCOMPARE(out->text(), QStringLiteral("/games/out.vxa"));
        // However wide the font, a caption never runs into its value.
        QVERIFY(in->x() >= 96 && in->x() > child<QLabel>(d, "Label1")->geometry().right());
        QVERIFY(out->x() >= 108 && out->x() > child<QLabel>(d, "Label2")->geometry().right());

        // With a font as narrow as the designed one they stand at their places.
        QFont narrow = d.font();
        narrow.setPixelSize(8);
        d.setFont(narrow);
        ExecWith(d, [&] { d.done(7); });
        QCOMPARE(in->pos(), QPoint(96, 8));
        QCOMPARE(out->pos(), QPoint(108, 32));
    }

    void noOutputChosenShowsAnEmptyValue() {
        state_.InPath = existing("a.vxa");
        TForm2 d(state_, RealFileSystem(), &main_);
        ExecWith(d, [&] { d.done(7); });
        QCOMPARE(child<QLabel>(d, "OutLabel")->text(), QString());
    }

    void textBoxShowsTheStatusThenTheDetails() {
        state_.InPath = existing("in.vxa");
        state_.OutPath = dir_.filePath("out.vxa").toStdString();
        state_.Replacements.append(0, existing("present.bin"));
        state_.Replacements.append(3, dir_.filePath("missing.bin").toStdString());
        TForm2 d(state_, RealFileSystem(), &main_);
        auto* memo = child<QPlainTextEdit>(d, "Memo1");
        const SummaryStatus status = SummaryOnShow(state_, RealFileSystem());
        QString shown;
        ExecWith(d, [&] {
            shown = memo->toPlainText();
            child<QPushButton>(d, "Button1")->click();
            d.done(7);
        });
        QCOMPARE(shown, SummaryMemoText(status.lines));
        QCOMPARE(memo->toPlainText(),
                 SummaryMemoText(SummaryDetails(state_, RealFileSystem(), status.allFilesExist)));
    }

    void additionsWithLineBreaksShowAsSeveralLines() {
        QCOMPARE(SummaryMemoText({"Status:", "", "one\r\ntwo\r\nthree", "end"}),
                 QStringLiteral("Status:\n\none\ntwo\nthree\nend"));
        QCOMPARE(SummaryMemoText({"a\rb"}), QStringLiteral("a\nb"));
        QCOMPARE(SummaryMemoText({}), QString());
        QCOMPARE(SummaryMemoText({"ünïcode/päth"}), QStringLiteral("ünïcode/päth"));
    }

    void proceedFollowsTheStatusAndIsEnabledAgainAtTheNextShowing() {
        state_.InPath = dir_.filePath("gone.vxa").toStdString();
        TForm2 d(state_, RealFileSystem(), &main_);
        auto* proceed = child<QPushButton>(d, "Button2");
        bool enabled = true;
        ExecWith(d, [&] {
            enabled = proceed->isEnabled();
            d.done(7);
        });
        QCOMPARE(enabled, SummaryOnShow(state_, RealFileSystem()).proceedEnabled);

        // "Load only" and "Cancel" work whatever Proceed's state.
        proceed->setEnabled(false);
        QCOMPARE(ExecWith(d, [&] { child<QPushButton>(d, "Button4")->click(); }), 5);

        // A script whose input exists: Proceed is enabled again.
        state_.InPath = existing("back.vxa");
        proceed->setEnabled(false);
        ExecWith(d, [&] {
            enabled = proceed->isEnabled();
            d.done(7);
        });
        QVERIFY(SummaryOnShow(state_, RealFileSystem()).proceedEnabled);
        QVERIFY(enabled);
    }

    void eachWayOutGivesItsModalResult() {
        state_.InPath = existing("in.vxa");
        TForm2 d(state_, RealFileSystem(), &main_);
        auto click = [&](const char* name) {
            return ExecWith(d, [&d, name] { child<QPushButton>(d, name)->click(); });
        };
        QCOMPARE(click("Button2"), static_cast<int>(SummaryResult::Proceed));
        QCOMPARE(click("Button3"), static_cast<int>(SummaryResult::Cancel));
        QCOMPARE(click("Button4"), static_cast<int>(SummaryResult::LoadOnly));
        QCOMPARE(ExecWith(d, [&] { PressEscape(d); }), 7);
        QCOMPARE(ExecWith(d,
                          [&] {
                              child<QPlainTextEdit>(d, "Memo1")->setFocus();
                              PressEscape(d);
                          }),
                 7);
        QCOMPARE(ExecWith(d, [&] { d.close(); }), static_cast<int>(SummaryResult::Closed));
        QVERIFY(!d.isVisible());
        // "Show details" leaves the dialog open.
        QCOMPARE(ExecWith(d,
                          [&] {
                              child<QPushButton>(d, "Button1")->click();
                              QVERIFY(d.isVisible());
                              d.done(6);
                          }),
                 6);
    }

    void opensCentredOnTheMainWindow() {
        TForm2 d(state_, RealFileSystem(), &main_);
        QPoint centre;
        ExecWith(d, [&] {
            centre = d.geometry().center();
            d.done(7);
        });
        QVERIFY((centre - main_.geometry().center()).manhattanLength() <= 1);
        // And again at the next showing, after the main window moved.
        main_.move(main_.pos() + QPoint(40, 30));
        ExecWith(d, [&] {
            centre = d.geometry().center();
            d.done(7);
        });
        QVERIFY((centre - main_.geometry().center()).manhattanLength() <= 1);
    }
};

}  // namespace vxa::test

QTEST_MAIN(vxa::test::SummaryDialogTest)
#include "SummaryDialogTest.moc"
