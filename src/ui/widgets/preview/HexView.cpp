#include "ui/widgets/preview/HexView.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>
#include <vector>

namespace vxa {

HexView::HexView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setObjectName(QStringLiteral("HexView"));
    const int width = fontMetrics().horizontalAdvance(lineText(0, nullptr, kBytesPerLine));
    setMinimumWidth(width + verticalScrollBar()->sizeHint().width() + 12);
}

void HexView::setSource(ReadStored read, std::uint64_t size) {
    read_ = std::move(read);
    size_ = read_ ? size : 0;
    verticalScrollBar()->setValue(0);
    updateScrollRange();
    viewport()->update();
}

QString HexView::lineText(std::uint64_t line, const unsigned char* bytes, int count) {
    QString text = QStringLiteral("%1 ").arg(line * kBytesPerLine, 8, 16, QLatin1Char('0'));
    QString chars;
    for (int k = 0; k < kBytesPerLine; ++k) {
        text += k == 8 ? QStringLiteral("  ") : QStringLiteral(" ");
        if (k < count && bytes) {
            text += QStringLiteral("%1").arg(bytes[k], 2, 16, QLatin1Char('0'));
            chars += bytes[k] >= 0x20 && bytes[k] < 0x7F ? QChar(bytes[k]) : QChar('.');
        } else {
            text += QStringLiteral("  ");
        }
    }
    return text.toUpper() + QStringLiteral("  ") + chars;
}

int HexView::visibleLines() const {
    return std::max(1, viewport()->height() / fontMetrics().height());
}

void HexView::updateScrollRange() {
    // Lines are at most 2^32 / 16, well inside the scroll bar's range.
    const auto lines = static_cast<int>((size_ + kBytesPerLine - 1) / kBytesPerLine);
    verticalScrollBar()->setRange(0, std::max(0, lines - visibleLines()));
    verticalScrollBar()->setPageStep(visibleLines());
}

void HexView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void HexView::paintEvent(QPaintEvent*) {
    shown_.clear();
    QPainter painter(viewport());
    const auto first = static_cast<std::uint64_t>(verticalScrollBar()->value());
    const std::uint64_t from = first * kBytesPerLine;
    if (!read_ || from >= size_)
        return;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(visibleLines() + 1) * kBytesPerLine);
    const std::size_t n =
        read_(from, bytes.data(), std::min<std::uint64_t>(bytes.size(), size_ - from));
    const int height = fontMetrics().height();
    for (std::size_t at = 0; at < n; at += kBytesPerLine) {
        const int count = static_cast<int>(std::min<std::size_t>(kBytesPerLine, n - at));
        shown_ << lineText(first + at / kBytesPerLine, bytes.data() + at, count);
        const int y = static_cast<int>(at / kBytesPerLine) * height;
        painter.drawText(QRect(4, y, viewport()->width() - 4, height), Qt::AlignLeft,
                         shown_.back());
    }
}

}  // namespace vxa
