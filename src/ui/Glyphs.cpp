#include "Glyphs.h"

#include <QPixmap>

namespace vxa {

QIcon GlyphPair(const QImage& picture) {
    if (picture.isNull() || picture.width() < 2 * picture.height())
        return {};
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    const int side = image.height();
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image.copy(0, 0, side, side)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(image.copy(side, 0, side, side)), QIcon::Disabled);
    return icon;
}

QIcon GlyphPair(const QString& resource) {
    return GlyphPair(QImage(resource));
}

}  // namespace vxa
