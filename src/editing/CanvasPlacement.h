#pragma once

#include "design/IconDesign.h"
#include "render/DesignGeometry.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>

// Where a design's picture lies on the screen, and the conversions between the screen's pixels
// and the renderer's frame units (y down, as DesignGeometry places every layer). The picture
// holds the whole frame, outline and background shadow room included, so one screen pixel is
// as many units as the frame is wide over the picture's width, at any zoom and pan.
class CanvasPlacement {
public:
    // `design` as DesignGeometry::ForDrawing gives it; `picture` the rectangle the picture is
    // shown in, in screen pixels.
    CanvasPlacement(const IconDesign& design, const QRectF& picture);

    const DesignGeometry::Frame& frame() const { return m_frame; }
    const QTransform& frameToScreen() const { return m_toScreen; }

    QPointF ToFrame(const QPointF& screen) const { return m_toFrame.map(screen); }
    QPointF ToScreen(const QPointF& frame) const { return m_toScreen.map(frame); }

    // A pointer's movement on the screen as a change of a layer's offsets: units, y up.
    QPointF OffsetChange(const QPointF& screenMovement) const;

    // The units one screen pixel spans, for tolerances given in pixels.
    double UnitsPerPixel() const;

private:
    DesignGeometry::Frame m_frame;
    QTransform m_toScreen;
    QTransform m_toFrame;
};
