#include "Icon.h"

#include <QPainter>
#include <QPainterPath>

namespace art {

namespace {

constexpr qreal kCanvas = 256;

const QColor kInk(20, 38, 74);

QString Num(qreal v) {
    return QString::number(v, 'g', 6);
}

QString Attributes(const Shape& s) {
    QString out = QStringLiteral(" fill=\"%1\"").arg(s.fill.name());
    if (s.stroke.isValid()) {
        out += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                   .arg(s.stroke.name(), Num(s.strokeWidth));
    } else {
        out += QStringLiteral(" stroke=\"none\"");  // some renderers outline by default
    }
    return out;
}

}  // namespace

std::vector<Shape> IconShapes() {
    const QColor slot(201, 216, 242);
    return {
        // The archive: a cabinet of entries.
        {RoundRect{{28, 32, 160, 200}, 18}, QColor(47, 85, 151), kInk, 10},
        // Three entries; the gold one is being replaced.
        {RoundRect{{50, 60, 116, 36}, 8}, slot, QColor(), 0},
        {RoundRect{{50, 112, 116, 36}, 8}, QColor(240, 192, 0), QColor(), 0},
        {RoundRect{{50, 164, 116, 36}, 8}, slot, QColor(), 0},
        // The new file coming in.
        {Polygon{
             QPolygonF({QPointF(128, 130), QPointF(176, 84), QPointF(176, 110), QPointF(244, 110),
                        QPointF(244, 150), QPointF(176, 150), QPointF(176, 176)})},
         QColor(232, 85, 42), QColor(107, 29, 8), 8},
    };
}

namespace {

// A sheet of paper with its top right corner folded down.
std::vector<Shape> Page() {
    return {
        {Polygon{QPolygonF({QPointF(44, 12), QPointF(168, 12), QPointF(216, 60), QPointF(216, 244),
                            QPointF(44, 244)})},
         QColor(246, 248, 252), kInk, 8},
        {Polygon{QPolygonF({QPointF(168, 12), QPointF(168, 60), QPointF(216, 60)})},
         QColor(201, 216, 242), kInk, 8},
    };
}

}  // namespace

std::vector<Shape> ArchiveTypeShapes() {
    const QColor slot(201, 216, 242);
    std::vector<Shape> shapes = Page();
    shapes.push_back({RoundRect{{68, 84, 124, 136}, 12}, QColor(47, 85, 151), kInk, 6});
    shapes.push_back({RoundRect{{82, 100, 96, 28}, 6}, slot, QColor(), 0});
    shapes.push_back({RoundRect{{82, 138, 96, 28}, 6}, QColor(240, 192, 0), QColor(), 0});
    shapes.push_back({RoundRect{{82, 176, 96, 28}, 6}, slot, QColor(), 0});
    return shapes;
}

std::vector<Shape> ScriptTypeShapes() {
    const QColor line(90, 104, 130);
    std::vector<Shape> shapes = Page();
    for (const auto& [y, width] : {std::pair{84, 104}, {116, 128}, {148, 88}, {180, 60}})
        shapes.push_back({RoundRect{{68, qreal(y), qreal(width), 16}, 8}, line, QColor(), 0});
    // The run mark: the plan is played back in one step.
    shapes.push_back({Polygon{QPolygonF({QPointF(144, 164), QPointF(144, 232), QPointF(204, 198)})},
                      QColor(232, 85, 42), QColor(107, 29, 8), 6});
    return shapes;
}

QString IconSvg(const std::vector<Shape>& shapes) {
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n");
    for (const Shape& s : shapes) {
        if (const auto* r = std::get_if<RoundRect>(&s.geometry)) {
            svg += QStringLiteral(
                       "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                       .arg(Num(r->rect.x()), Num(r->rect.y()), Num(r->rect.width()),
                            Num(r->rect.height()), Num(r->radius), Attributes(s));
        } else {
            QStringList points;
            for (const QPointF& p : std::get<Polygon>(s.geometry).points)
                points << Num(p.x()) + QLatin1Char(',') + Num(p.y());
            svg += QStringLiteral("  <polygon points=\"%1\"%2/>\n")
                       .arg(points.join(QLatin1Char(' ')), Attributes(s));
        }
    }
    return svg + QStringLiteral("</svg>\n");
}

QImage RenderIcon(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    for (const Shape& s : shapes) {
        QPainterPath path;
        if (const auto* r = std::get_if<RoundRect>(&s.geometry)) {
            path.addRoundedRect(r->rect, r->radius, r->radius);
        } else {
            path.addPolygon(std::get<Polygon>(s.geometry).points);
            path.closeSubpath();
        }
        p.fillPath(path, s.fill);
        if (s.stroke.isValid()) {
            QPen pen(s.stroke, s.strokeWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            p.strokePath(path, pen);
        }
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace art
