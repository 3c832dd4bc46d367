#include "render/SvgPathData.h"

#include <cmath>

QByteArray SvgNumber(double value) {
    if (!std::isfinite(value) || std::abs(value) < 1e-9)
        return "0";
    return QByteArray::number(value, 'g', 9);
}

QByteArray SvgPathData(const QPainterPath& path) {
    QByteArray d;
    d.reserve(path.elementCount() * 24);
    auto point = [&](const QPainterPath::Element& e) {
        d += SvgNumber(e.x);
        d += ' ';
        d += SvgNumber(e.y);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (!d.isEmpty())
            d += ' ';
        if (e.isMoveTo()) {
            d += 'M';
            point(e);
        } else if (e.isLineTo()) {
            d += 'L';
            point(e);
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            // A curve is its first control point followed by two data elements.
            d += 'C';
            point(e);
            d += ' ';
            point(path.elementAt(i + 1));
            d += ' ';
            point(path.elementAt(i + 2));
            i += 2;
        }
    }
    return d;
}

QByteArray SvgMatrix(const QTransform& t) {
    return "matrix(" + SvgNumber(t.m11()) + ' ' + SvgNumber(t.m12()) + ' ' + SvgNumber(t.m21()) +
           ' ' + SvgNumber(t.m22()) + ' ' + SvgNumber(t.dx()) + ' ' + SvgNumber(t.dy()) + ')';
}

QByteArray SvgFillRule(const QPainterPath& path) {
    return path.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd";
}
