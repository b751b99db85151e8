// Draws the program's artwork into resources/: the Stop button's glyphs, the
// browser's 13 pictures and the drive pictures, each also at twice the size
// (name@2x.png), and the program icon. Run by make-artwork.sh; the build uses
// the committed output and never runs this.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

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

// Twice the size, for screens of device pixel ratio 2, by the Scale2x rule:
// each pixel becomes four, and a quarter takes a neighbour's colour where
// two neighbours that meet at its corner agree. Diagonal steps come out as
// finer steps, so the hand-drawn pixels stay crisp where plain doubling
// gives coarse staircases and smooth scaling a blur.
QImage Scale2x(const QImage& in) {
    const int w = in.width(), h = in.height();
    const auto at = [&](int x, int y) {
        return in.pixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
    };
    QImage out(2 * w, 2 * h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = at(x, y), up = at(x, y - 1), right = at(x + 1, y), left = at(x - 1, y),
                       down = at(x, y + 1);
            out.setPixel(2 * x, 2 * y, left == up && left != down && up != right ? up : p);
            out.setPixel(2 * x + 1, 2 * y, up == right && up != left && right != down ? right : p);
            out.setPixel(2 * x, 2 * y + 1, down == left && down != right && left != up ? left : p);
            out.setPixel(2 * x + 1, 2 * y + 1,
                         right == down && right != up && down != left ? down : p);
        }
    }
    return out;
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

// An optical disc: a silver ring with a rainbow sheen and a hole; drawn
// `scale` times the 16 x 16 size.
QImage Disc(int scale) {
    QImage image(16 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
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

// The Stop button's two glyphs side by side, `scale` times 32 x 16.
QImage Stop(int scale) {
    QImage image(32 * scale, 16 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(scale, scale);
    StopGlyph(p, 0, QColor(220, 24, 24), Qt::black);
    StopGlyph(p, 16, QColor(160, 160, 160), QColor(110, 110, 110));
    p.end();
    image = image.convertToFormat(QImage::Format_ARGB32);
    // The button takes the bottom-left pixel's colour as transparent.
    if (qAlpha(image.pixel(0, image.height() - 1)) != 0)
        Fail(QStringLiteral("stop.png: bottom-left is drawn"));
    return image;
}

void Save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path, "PNG"))
        Fail(QStringLiteral("cannot write ") + path);
}

// Saves `image` as `name`.png and its twice-as-large drawing as `name`@2x.png,
// the name the toolkit looks for on screens of device pixel ratio 2.
void SaveBoth(const QImage& image, const QImage& twice, const QString& name) {
    if (twice.size() != 2 * image.size())
        Fail(name + QStringLiteral(": the @2x drawing is not twice the size"));
    Save(image, name + QStringLiteral(".png"));
    Save(twice, name + QStringLiteral("@2x.png"));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2)
        Fail(QStringLiteral("usage: make-artwork RESOURCES_DIR"));
    const QString out = QString::fromLocal8Bit(argv[1]);

    SaveBoth(Stop(1), Stop(2), out + QStringLiteral("/stop"));

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
        SaveBoth(pictures[i], Scale2x(pictures[i]), out + QStringLiteral("/pictures/%1").arg(i));

    const std::pair<const char*, const art::PixelMap*> drives[] = {
        {"root", &art::kDriveRoot},       {"home", &art::kDriveHome},
        {"fixed", &art::kDriveFixed},     {"removable", &art::kDriveRemovable},
        {"network", &art::kDriveNetwork}, {"ram", &art::kDriveRam},
    };
    for (const auto& [name, map] : drives) {
        const QImage drive = FromMap(*map, 16);
        SaveBoth(drive, Scale2x(drive), out + QStringLiteral("/drives/") + QLatin1String(name));
    }
    SaveBoth(Disc(1), Disc(2), out + QStringLiteral("/drives/optical"));

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
