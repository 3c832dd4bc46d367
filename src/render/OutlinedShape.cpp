#include "render/OutlinedShape.h"

#include "render/PathIdentity.h"
#include "support/KeptAnswers.h"

#include <QPainterPathStroker>

#include <utility>

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

bool SameOutline(const QPen& a, const QPen& b) {
    return a.widthF() == b.widthF() && a.joinStyle() == b.joinStyle() &&
           a.capStyle() == b.capStyle() && a.miterLimit() == b.miterLimit();
}

// A path with data of its own. Qt builds the data it fills a path from lazily, inside the data
// that copies of the path share, and without a lock: two threads filling copies of one kept
// path at the same time could both build it and free each other's.
QPainterPath UnsharedCopy(const QPainterPath& path) {
    QPainterPath copy;
    copy.setFillRule(path.fillRule());
    copy.addPath(path);
    return copy;
}

QPainterPath ComputeShapeWithOutline(const QPainterPath& convexShape, const QPen& pen) {
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

} // namespace

QPainterPath ShapeWithOutline(const QPainterPath& convexShape, const QPen& pen) {
    // Uniting paths is the dearest step of drawing an outlined background, and most edits
    // leave the background as it was.
    using Outlined = std::pair<QPainterPath, QPen>;
    static auto* kept = new KeptAnswers<Outlined, QPainterPath>;
    return UnsharedCopy(kept->Get(
        Outlined{convexShape, pen},
        [](const Outlined& a, const Outlined& b) {
            return SamePath(a.first, b.first) && SameOutline(a.second, b.second);
        },
        [&] { return ComputeShapeWithOutline(convexShape, pen); }));
}
