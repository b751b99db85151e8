#pragma once

// The program's icon, drawn on a 256 x 256 canvas from a few flat shapes: an
// archive box with three entry slots, the middle one gold, and an arrow that
// brings a new file into it. The same shapes give the SVG and every PNG size.

#include <QColor>
#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <variant>
#include <vector>

namespace art {

struct RoundRect {
    QRectF rect;
    qreal radius;
};
struct Polygon {
    QPolygonF points;
};

struct Shape {
    std::variant<RoundRect, Polygon> geometry;
    QColor fill;
    QColor stroke;  // invalid: no outline
    qreal strokeWidth = 0;
};

std::vector<Shape> IconShapes();
// The file-type icons: a page with a folded corner showing what the file
// holds, the archive's three entry slots or a script's lines and a run mark.
std::vector<Shape> ArchiveTypeShapes();
std::vector<Shape> ScriptTypeShapes();
QString IconSvg(const std::vector<Shape>& shapes);
QImage RenderIcon(const std::vector<Shape>& shapes, int size);

}  // namespace art
