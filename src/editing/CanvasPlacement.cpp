#include "editing/CanvasPlacement.h"

#include "render/YUpGeometry.h"

CanvasPlacement::CanvasPlacement(const IconDesign& design, const QRectF& picture)
    : m_frame(DesignGeometry::FrameOf(design, false, true)),
      m_toScreen(DesignGeometry::PictureTransform(m_frame, picture.size()) *
                 QTransform::fromTranslate(picture.left(), picture.top())),
      m_toFrame(m_toScreen.inverted()) {}

QPointF CanvasPlacement::OffsetChange(const QPointF& screenMovement) const {
    const QPointF units(screenMovement.x() * m_toFrame.m11(), screenMovement.y() * m_toFrame.m22());
    return YUpGeometry::ToQtOffset(units.x(), units.y());
}

double CanvasPlacement::UnitsPerPixel() const {
    return m_toFrame.m11();
}
