#include "script/widgets/SummaryDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "script/Summary.h"
#include "script/widgets/DialogFrame.h"
#include "ui/View.h"

namespace vxa {

namespace {

constexpr int kLabelGap = 6;  // between a caption and its value, should they meet

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Paths are shown as they are: a name that looks like markup stays text.
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

}  // namespace

QString SummaryMemoText(const std::vector<std::string>& additions) {
    QStringList lines;
    for (const std::string& item : additions) {
        QString text = ToQString(item);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}

TForm2::TForm2(const AppState& state, FileSystem& fs, QWidget* parent)
    : QDialog(parent), state_(state), fs_(fs) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Summary"));
    SetFixedDialogFrame(*this, QSize(451, 331));

    Label1 = MakeLabel(this, "Label1", 8, 8, QStringLiteral("Input VXA file:"));
    InLabel = MakeLabel(this, "InLabel", 96, 8, QString());
    Label2 = MakeLabel(this, "Label2", 8, 32, QStringLiteral("Output VXA file:"));
    OutLabel = MakeLabel(this, "OutLabel", 108, 32, QString());

    Button1 = MakeButton(this, "Button1", {8, 56, 105, 25}, QStringLiteral("Show details"));
    Button2 = MakeButton(this, "Button2", {120, 56, 105, 25}, QStringLiteral("Proceed >>>"));
    Button3 = MakeButton(this, "Button3", {232, 56, 97, 25}, QStringLiteral("Cancel"));
    Button4 = MakeButton(this, "Button4", {336, 56, 105, 25}, QStringLiteral("Load only"));
    Button4->setToolTip(QStringLiteral("Only loads the VXA file and returns to the main window"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 88, 433, 234);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Memo1);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { done(static_cast<int>(SummaryResult::Proceed)); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { done(static_cast<int>(SummaryResult::Cancel)); });
    connect(Button4, &QPushButton::clicked, this,
            [this] { done(static_cast<int>(SummaryResult::LoadOnly)); });
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;  // the window system re-showing it is no new showing
    FormShow();
    Button1->setFocus(Qt::OtherFocusReason);
}

void TForm2::closeEvent(QCloseEvent* event) {
    // The title bar's close button: the runner treats this like Cancel, but
    // it is told apart by its own result.
    if (isVisible())
        done(static_cast<int>(SummaryResult::Closed));
    event->accept();
}

void TForm2::reject() {
    Button3->click();
}

void TForm2::FormShow() {
    Button2->setEnabled(true);  // the previous showing may have disabled it
    InLabel->setText(ToQString(state_.InPath));
    OutLabel->setText(ToQString(state_.OutPath));
    placeValueLabels();

    const SummaryStatus status =
        SummaryOnShow(state_.InPath, state_.OutPath, state_.Replacements, fs_);
    AllFilesExist = status.AllFilesExist;
    Memo1->setPlainText(SummaryMemoText(status.Lines));
    Button2->setEnabled(status.ProceedEnabled);
}

void TForm2::Button1Click() {
    Memo1->setPlainText(SummaryMemoText(SummaryDetails(state_.Replacements, fs_, AllFilesExist)));
}

void TForm2::placeValueLabels() {
    // The values stand at their designed places. Only a font wider than the
    // designed one could make a caption reach into its value; then the value
    // moves right so that the two never overlap.
    Label1->adjustSize();
    Label2->adjustSize();
    InLabel->move(std::max(96, Label1->geometry().right() + 1 + kLabelGap), 8);
    OutLabel->move(std::max(108, Label2->geometry().right() + 1 + kLabelGap), 32);
    InLabel->adjustSize();
    OutLabel->adjustSize();
}

}  // namespace vxa
