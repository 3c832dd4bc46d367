#pragma once

#include <QPointF>
#include <QRectF>

// Designs place things with the origin at the bottom-left and y pointing up; Qt draws with y
// pointing down. These two functions are the only place where one becomes the other.
namespace YUpGeometry {

// The rectangle (x, y, width, height) given bottom-up inside a container of the given height,
// as a Qt rectangle of the same container.
inline QRectF ToQt(const QRectF& yUpRect, double containerHeight) {
    return QRectF(yUpRect.x(), containerHeight - yUpRect.y() - yUpRect.height(), yUpRect.width(),
                  yUpRect.height());
}

// A displacement (dx, dy) with positive dy meaning "up", as a Qt displacement.
inline QPointF ToQtOffset(double dx, double dy) {
    return QPointF(dx, -dy);
}

} // namespace YUpGeometry
