// Draws the program's artwork into resources/: the Stop button's glyphs, the
// browser's 13 pictures, the drive pictures and the program icon. Run by
// make-artwork.sh; the build uses the committed output and never runs this.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Icon.h"
#include "Palette.h"
#include "PixelMaps.h"

namespace {

[[noreturn]] void Fail(const QString& what) {
    std::fprintf(stderr, "make-artwork: %s\n", qPrintable(what));
    std::exit(1);
}

QImage FromMap(const art::PixelMap& rows, int size) {
    if (static_cast<int>(rows.size()) != size)
        Fail(QStringLiteral("a map has the wrong height"));
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        if (static_cast<int>(std::strlen(rows[y])) != size)
            Fail(
                QStringLiteral("row %1 of a map is not %2 wide: %3").arg(y).arg(size).arg(rows[y]));
        for (int x = 0; x < size; ++x) {
            auto colour = art::kColours.find(rows[y][x]);
            if (colour == art::kColours.end())
                Fail(QStringLiteral("unknown colour '%1'").arg(QLatin1Char(rows[y][x])));
            image.setPixel(x, y, colour->second);
        }
    }
    return image;
}

// A page: the folded top, then "...K" + the nine body pixels + "K...".
QImage Page(const art::PageBody& body) {
    if (body.size() != 11)
        Fail(QStringLiteral("a page body needs 11 rows"));
    std::vector<std::string> rows(std::begin(art::kPageTop), std::end(art::kPageTop));
    for (const char* line : body)
        rows.push_back(std::string("...K") + line + "K...");
    rows.push_back(art::kPageBottom);
    art::PixelMap map;
    for (const std::string& row : rows)
        map.push_back(row.c_str());
    return FromMap(map, 17);
}

// An optical disc: a silver ring with a rainbow sheen and a hole.
QImage Disc() {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QConicalGradient sheen(8, 8, 45);
    sheen.setColorAt(0.0, QColor(220, 220, 228));
    sheen.setColorAt(0.15, QColor(170, 210, 255));
    sheen.setColorAt(0.3, QColor(236, 236, 240));
    sheen.setColorAt(0.5, QColor(255, 220, 170));
    sheen.setColorAt(0.65, QColor(236, 236, 240));
    sheen.setColorAt(0.8, QColor(210, 180, 250));
    sheen.setColorAt(1.0, QColor(220, 220, 228));
    QPainterPath disc;
    disc.addEllipse(QPointF(8, 8), 7.3, 7.3);
    disc.addEllipse(QPointF(8, 8), 1.8, 1.8);  // the hole, left open by the odd-even fill
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.setBrush(sheen);
    p.drawPath(disc);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 150, 160), 1));
    p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// One 16 x 16 glyph of the Stop button, drawn at `left`: a prohibition sign
// (ring and diagonal bar) over an exclamation mark.
void StopGlyph(QPainter& p, int left, const QColor& sign, const QColor& mark) {
    p.save();
    p.setClipRect(left, 0, 16, 16);
    p.translate(left, 0);
    p.fillRect(QRectF(7, 3, 2, 6.5), mark);
    p.fillRect(QRectF(7, 10.5, 2, 2), mark);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(sign, 2.2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 6.4, 6.4);
    const qreal d = 6.4 / std::sqrt(2.0);
    p.drawLine(QPointF(8 - d, 8 - d), QPointF(8 + d, 8 + d));
    p.restore();
}

QImage Stop() {
    QImage image(32, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    StopGlyph(p, 0, QColor(220, 24, 24), Qt::black);
    StopGlyph(p, 16, QColor(160, 160, 160), QColor(110, 110, 110));
    p.end();
    image = image.convertToFormat(QImage::Format_ARGB32);
    // The button takes the bottom-left pixel's colour as transparent.
    if (qAlpha(image.pixel(0, 15)) != 0)
        Fail(QStringLiteral("stop.png: bottom-left is drawn"));
    return image;
}

void Save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path, "PNG"))
        Fail(QStringLiteral("cannot write ") + path);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2)
        Fail(QStringLiteral("usage: make-artwork RESOURCES_DIR"));
    const QString out = QString::fromLocal8Bit(argv[1]);

    Save(Stop(), out + QStringLiteral("/stop.png"));

    const std::vector<QImage> pictures = {
        FromMap(art::kFolder, 17), Page(art::kPlain),
        Page(art::kLandscape),     FromMap(art::kColourBars, 17),
        Page(art::kGem),           Page(art::kBall),
        Page(art::kTiles),         Page(art::kBricks),
        Page(art::kSpeakerWav),    Page(art::kSpeakerVoc),
        FromMap(art::kFilm, 17),   Page(art::kNotes),
        Page(art::kLetter),
    };
    for (std::size_t i = 0; i < pictures.size(); ++i)
        Save(pictures[i], out + QStringLiteral("/pictures/%1.png").arg(i));

    Save(FromMap(art::kDriveRoot, 16), out + QStringLiteral("/drives/root.png"));
    Save(FromMap(art::kDriveHome, 16), out + QStringLiteral("/drives/home.png"));
    Save(FromMap(art::kDriveFixed, 16), out + QStringLiteral("/drives/fixed.png"));
    Save(FromMap(art::kDriveRemovable, 16), out + QStringLiteral("/drives/removable.png"));
    Save(FromMap(art::kDriveNetwork, 16), out + QStringLiteral("/drives/network.png"));
    Save(Disc(), out + QStringLiteral("/drives/optical.png"));
    Save(FromMap(art::kDriveRam, 16), out + QStringLiteral("/drives/ram.png"));

    // The program's icon, then one for each file type it opens.
    const std::pair<const char*, std::vector<art::Shape>> icons[] = {
        {"vxa-manager", art::IconShapes()},
        {"application-x-vxa-archive", art::ArchiveTypeShapes()},
        {"application-x-vxa-script", art::ScriptTypeShapes()},
    };
    QDir().mkpath(out + QStringLiteral("/icons"));
    for (const auto& [name, shapes] : icons) {
        QFile svg(out + QStringLiteral("/icons/%1.svg").arg(QLatin1String(name)));
        if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
            Fail(QStringLiteral("cannot write ") + svg.fileName());
        svg.write(art::IconSvg(shapes).toUtf8());
        svg.close();
        for (int size : {16, 32, 48, 64, 128, 256}) {
            Save(art::RenderIcon(shapes, size),
                 out +
                     QStringLiteral("/icons/hicolor/%1/%2.png").arg(size).arg(QLatin1String(name)));
        }
    }
    return 0;
}
