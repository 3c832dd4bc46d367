#include "editing/LayerGesture.h"

#include "render/YUpGeometry.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {

int CornerIndex(Handle handle) {
    return std::clamp(int(handle), 0, 3);
}

// An angle in degrees counter-clockwise on the screen (y down in the frame).
double AngleOf(const QPointF& from, const QPointF& to) {
    constexpr double kDegrees = 180.0 / 3.141592653589793;
    return std::atan2(-(to.y() - from.y()), to.x() - from.x()) * kDegrees;
}

} // namespace

LayerValues ValuesOf(const IconDesign& design, CanvasLayer layer) {
    LayerValues values;
    values.rotation = design.iconRotation;
    values.curvature = design.cornerCurvature;
    switch (layer) {
    case CanvasLayer::Icon:
        values.offset = {design.iconHorizontalOffset, design.iconVerticalOffset};
        values.size = design.iconScale;
        break;
    case CanvasLayer::Text:
        values.offset = {design.textHorizontalOffset, design.textVerticalOffset};
        values.size = design.fontSize;
        break;
    case CanvasLayer::Background:
        break;
    }
    return values;
}

LayerGesture::LayerGesture(const IconDesign& design, const DesignGeometry::Frame& frame,
                           const LayerShape& shape, Handle handle, const QPointF& pressFrame)
    : m_design(design), m_frame(frame), m_shape(shape), m_handle(handle), m_press(pressFrame),
      m_values(ValuesOf(design, shape.layer)) {}

LayerValues LayerGesture::Moved(const QPointF& offsetChange) const {
    LayerValues values = m_values;
    values.offset += offsetChange;
    return values;
}

LayerValues LayerGesture::Scaled(const QPointF& pointer, bool aboutCentre) const {
    const QPointF centre = QPolygonF(m_shape.corners).boundingRect().center();
    const QPointF anchor = aboutCentre ? centre : m_shape.corners[(CornerIndex(m_handle) + 2) % 4];
    const double before = QLineF(anchor, m_press).length();
    if (before <= 0.0)
        return m_values;
    const double factor = QLineF(anchor, pointer).length() / before;
    LayerValues values = m_values;
    values.size = m_values.size * factor;
    // The layer grows about its own origin; moving it by (anchor - origin)(1 - factor) keeps the
    // anchor in place instead.
    const QPointF shift = (anchor - m_shape.scaleOrigin) * (1.0 - factor);
    values.offset += YUpGeometry::ToQtOffset(shift.x(), shift.y());
    return values;
}

LayerValues LayerGesture::Turned(const QPointF& pointer, bool inSteps) const {
    const QPointF centre = m_shape.scaleOrigin;
    double angle = m_values.rotation + AngleOf(centre, pointer) - AngleOf(centre, m_press);
    if (inSteps)
        angle = std::round(angle / kRotationStep) * kRotationStep;
    angle = std::fmod(angle, 360.0);
    if (angle < 0.0)
        angle += 360.0;
    LayerValues values = m_values;
    values.rotation = angle >= 360.0 ? 0.0 : angle;
    return values;
}

LayerValues LayerGesture::Rounded(const QPointF& pointer) const {
    const QPointF corner = m_shape.corners[CornerIndex(m_handle)];
    // The pointer's way into the canvas from the corner, along both sides.
    const double inward =
        (std::abs(pointer.x() - corner.x()) + std::abs(pointer.y() - corner.y())) * 0.5;
    // The handle sits where the rounding crosses the diagonal, (1 - √½) of the radius in.
    const double radius = inward / (1.0 - std::sqrt(0.5));
    const double longer = std::max(m_design.canvasWidth, m_design.canvasHeight);
    LayerValues values = m_values;
    values.curvature = std::clamp(2.0 * radius / longer, 0.0, 1.0);
    return values;
}

QPointF NudgeOffset(int dx, int dy, bool large) {
    const double step = large ? 10.0 : 1.0;
    return {dx * step, dy * step};
}
