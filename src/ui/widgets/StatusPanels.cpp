#include "ui/widgets/StatusPanels.h"

#include <qdrawutil.h>
#include <QLabel>
#include <QPainter>
#include <QSizeGrip>
#include <algorithm>

namespace vxa {

namespace {

// Both panels have the same one-pixel sunken frame, two pixels below the
// bar's top edge. (Not the style's status bar item frame: some styles draw
// none, and the text panel's frame is a label's.)
constexpr int kPanelTop = 2;
constexpr int kPanelGap = 2;

void DrawPanelFrame(const QWidget& w, QPainter& p, const QRect& rect) {
    qDrawShadePanel(&p, rect, w.palette(), true, 1);
}

}  // namespace

ProgressPanel::ProgressPanel(QWidget* parent)
    : QWidget(parent), image_(kWidth, StatusBar1::kHeight, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::transparent);
    setFixedSize(kWidth, StatusBar1::kHeight);
}

void ProgressPanel::draw(int barWidth, const QString& text) {
    pending_ = Drawing{std::clamp(barWidth, 0, 100), text};
    update();
}

QImage ProgressPanel::image() {
    render();
    return image_;
}

void ProgressPanel::render() {
    if (!pending_)
        return;
    const Drawing d = *pending_;
    pending_.reset();
    QPainter p(&image_);
    // The bar from x 2 to w + 2, the rest of the panel in the button face
    // from w + 3 on; the column at w + 2 keeps what it showed.
    p.fillRect(QRect(2, 4, d.BarWidth, 16), QColor(255, 255, 0));
    p.fillRect(QRect(d.BarWidth + 3, 4, 100 - d.BarWidth, 16), palette().color(QPalette::Button));
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const int textWidth = QFontMetrics(font()).horizontalAdvance(d.Text);
    const int x = 50 - textWidth / 2;
    // A text wider than the bar would leave pieces outside the area that
    // the next drawing clears, to be read with the next text.
    p.setClipRect(QRect(2, 4, 101, 16));
    p.drawText(QRect(x, 4, kWidth, StatusBar1::kHeight), Qt::AlignLeft | Qt::AlignTop, d.Text);
}

void ProgressPanel::paintEvent(QPaintEvent*) {
    render();
    QPainter p(this);
    p.drawImage(0, 0, image_);
    DrawPanelFrame(*this, p, QRect(0, kPanelTop, kWidth, height() - kPanelTop));
}

StatusBar1::StatusBar1(QWidget* parent)
    : QStatusBar(parent), progress_(new ProgressPanel(this)), text_(new QLabel(this)) {
    setFixedHeight(kHeight);
    progress_->setObjectName(QStringLiteral("Status1Panel0"));
    progress_->setAccessibleName(QStringLiteral("Load progress"));
    progress_->move(0, 0);
    text_->setObjectName(QStringLiteral("Status1Panel1"));
    text_->setAccessibleName(QStringLiteral("Status"));
    text_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text_->setIndent(2);
}

void StatusBar1::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    int right = width();
    if (const auto* grip = findChild<QSizeGrip*>(); grip && !grip->isHidden()) {
        right -= grip->sizeHint().width();
    }
    const int left = ProgressPanel::kWidth + kPanelGap;
    text_->setGeometry(left, kPanelTop, std::max(right - left, 0), kHeight - kPanelTop);
}

}  // namespace vxa
