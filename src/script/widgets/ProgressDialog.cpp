#include "script/widgets/ProgressDialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "script/widgets/DialogFrame.h"

namespace vxa {

TGauge::TGauge(QWidget* parent) : QWidget(parent) {}

void TGauge::setMaxValue(int value) {
    value = std::max(value, minValue());
    if (value == MaxValue)
        return;
    MaxValue = value;
    Progress = std::min(Progress, MaxValue);
    update();
}

void TGauge::setProgress(int value) {
    value = std::clamp(value, minValue(), MaxValue);
    if (value == Progress)
        return;
    const int before = filledWidth();
    Progress = value;
    if (filledWidth() != before)
        update();
}

int TGauge::filledWidth() const {
    const qint64 range = qint64(MaxValue) - minValue();
    if (range <= 0)
        return 0;
    return static_cast<int>(qint64(width()) * (Progress - minValue()) / range);
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.fillRect(QRect(0, 0, filledWidth(), height()), QColor(kFillColour));
}

TForm3::TForm3(AppState& state, QWidget* mainWindow)
    : QDialog(mainWindow), state_(state), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Please wait"));
    SetFixedDialogFrame(*this, QSize(345, 146));

    Label2 = new QLabel(QStringLiteral("Executing script..."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(16, 8, 313, 16);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label1 = new QLabel(QStringLiteral("Status"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 40, 297, 16);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);

    // The frame first, so that the gauge lies on top of its inside.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setLineWidth(1);
    Bevel1->setGeometry(14, 70, 317, 29);

    Gauge1 = new TGauge(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(15, 71, 315, 27);

    Button1 = new QPushButton(QStringLiteral("Stop"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(104, 112, 129, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm3::setGaugeMax(int max) {
    Gauge1->setMaxValue(max);
}
void TForm3::setGaugeProgress(int progress) {
    Gauge1->setProgress(progress);
}
void TForm3::setStatus(const QString& text) {
    Label1->setText(text);
}

void TForm3::showRun() {
    running_ = true;
    if (mainWindow_) {
        mainWindow_->setEnabled(false);
        // Disabling a window disables the windows it owns too; this one must
        // stay usable, since its Stop is then the only control that acts.
        setEnabled(true);
    }
    show();
    raise();
    activateWindow();
    Button1->setFocus(Qt::OtherFocusReason);
}

void TForm3::closeRun() {
    running_ = false;
    hide();
    if (mainWindow_)
        mainWindow_->setEnabled(true);
}

void TForm3::reject() {
    Button1Click();
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (!running_) {
        event->accept();
        return;
    }
    // Closing it would unlock the main window while the run goes on; it asks
    // the run to stop instead, and the runner closes it when the run ends.
    Button1Click();
    event->ignore();
}

void TForm3::Button1Click() {
    state_.StopRequested = true;
}

}  // namespace vxa
