#pragma once

#include <QPainterPath>
#include <QRectF>

// The outlines that launchers and home screens cut app icons to, each filling `area`.
namespace MaskShapes {

// A rounded square whose curvature grows smoothly out of the straight sides (no visible joint
// where a circular arc would begin), as home screens draw app icons.
QPainterPath ContinuousCornerSquare(const QRectF& area);

// A squarer circle: between the two, with no straight part.
QPainterPath Squircle(const QRectF& area);

QPainterPath Circle(const QRectF& area);

// Straight sides and circular corners.
QPainterPath RoundedSquare(const QRectF& area);

// A circle whose top right quarter is a square corner, as one of Android's launcher masks.
QPainterPath Teardrop(const QRectF& area);

} // namespace MaskShapes
