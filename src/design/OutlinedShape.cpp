#include "design/OutlinedShape.h"

#include <QPainterPathStroker>

namespace {

// The subpaths of a path, each on its own.
QList<QPainterPath> Subpaths(const QPainterPath& path) {
    QList<QPainterPath> subpaths;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            subpaths.append(QPainterPath(e));
            break;
        case QPainterPath::LineToElement:
            subpaths.last().lineTo(e);
            break;
        case QPainterPath::CurveToElement:
            subpaths.last().cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break; // consumed with its curve
        }
    }
    return subpaths;
}

} // namespace

QPainterPath ShapeWithOutline(const QPainterPath& convexShape, const QPen& pen) {
    // The stroke of a closed convex outline is its outer side and its inner side; the outer
    // side alone encloses everything the shape and the outline's outer half cover.
    QPainterPath outer;
    double outerArea = -1.0;
    for (const QPainterPath& side : Subpaths(QPainterPathStroker(pen).createStroke(convexShape))) {
        const QRectF bounds = side.boundingRect();
        if (bounds.width() * bounds.height() > outerArea) {
            outer = side;
            outerArea = bounds.width() * bounds.height();
        }
    }
    outer.setFillRule(Qt::WindingFill);
    return outer.united(convexShape);
}
