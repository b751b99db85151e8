#include "ui/widgets/Glyphs.h"

#include <QFile>
#include <QPixmap>

namespace vxa {

namespace {

// "name.png" -> "name@2x.png": the name under which the toolkit looks for a
// drawing at device pixel ratio 2, and the ratio its image reader gives it.
QString TwiceAsLarge(const QString& resource) {
    QString name = resource;
    return name.insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
}

}  // namespace

QIcon ScaledPicture(const QString& resource) {
    // Added by hand: QIcon looks for the larger drawing by itself only when
    // a screen of ratio 2 is attached as the picture is loaded.
    QIcon icon(resource);
    if (const QString twice = TwiceAsLarge(resource); QFile::exists(twice))
        icon.addFile(twice);
    return icon;
}

void AddGlyphPair(QIcon& icon, const QImage& picture) {
    if (picture.isNull() || picture.width() < 2 * picture.height())
        return;
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
    icon.addPixmap(QPixmap::fromImage(image.copy(0, 0, side, side)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(image.copy(side, 0, side, side)), QIcon::Disabled);
}

QIcon GlyphPair(const QString& resource) {
    QIcon icon;
    AddGlyphPair(icon, QImage(resource));
    if (!icon.isNull())
        AddGlyphPair(icon, QImage(TwiceAsLarge(resource)));
    return icon;
}

}  // namespace vxa
