#include "render/MaskShapes.h"

#include <cmath>
#include <numbers>

namespace {

// |x|^n + |y|^n = 1 stretched over `area`. n = 2 is an ellipse; larger n is squarer, its
// curvature still changing continuously along the whole outline.
QPainterPath Superellipse(const QRectF& area, double exponent) {
    // Enough corners that the outline looks smooth at the largest tile, few enough to be cheap.
    constexpr int kPoints = 256;
    const QPointF centre = area.center();
    const double rx = area.width() / 2.0;
    const double ry = area.height() / 2.0;
    const auto along = [exponent](double value) {
        return std::copysign(std::pow(std::abs(value), 2.0 / exponent), value);
    };
    QPainterPath path;
    for (int i = 0; i < kPoints; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kPoints;
        const QPointF point(centre.x() + rx * along(std::cos(angle)),
                            centre.y() + ry * along(std::sin(angle)));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

} // namespace

namespace MaskShapes {

QPainterPath ContinuousCornerSquare(const QRectF& area) {
    return Superellipse(area, 5.0);
}

QPainterPath Squircle(const QRectF& area) {
    return Superellipse(area, 3.5);
}

QPainterPath Circle(const QRectF& area) {
    QPainterPath path;
    path.addEllipse(area);
    return path;
}

QPainterPath RoundedSquare(const QRectF& area) {
    // The corner radius launchers use for this shape: 12 % of the side.
    constexpr double kRadiusFraction = 0.12;
    QPainterPath path;
    path.addRoundedRect(area, area.width() * kRadiusFraction, area.height() * kRadiusFraction);
    return path;
}

QPainterPath Teardrop(const QRectF& area) {
    QPainterPath path;
    path.moveTo(area.center().x(), area.top());
    path.lineTo(area.topRight());
    path.lineTo(area.right(), area.center().y());
    // Three quarters of the ellipse, clockwise on screen from the right back to the top.
    path.arcTo(area, 0.0, -270.0);
    path.closeSubpath();
    return path;
}

} // namespace MaskShapes
