#pragma once

#include "editing/CanvasLayers.h"

#include <QPointF>

// The design values a gesture on the canvas changes. Offsets in units with y up, as the
// inspector shows them; `size` is the icon's scale in percent or the text's font size.
struct LayerValues {
    QPointF offset;
    double size = 0.0;
    double rotation = 0.0;  // the icon's, degrees counter-clockwise
    double curvature = 0.0; // the background's corner curvature
};

LayerValues ValuesOf(const IconDesign& design, CanvasLayer layer);

// One drag on a layer or on one of its handles, from the press to the present pointer position.
// Pure arithmetic in frame units (y down); the values come out unrounded, for the editor to
// take as typed values are taken.
class LayerGesture {
public:
    // `design` as DesignGeometry::ForDrawing gives it, `shape` the layer as it was at the press.
    LayerGesture(const IconDesign& design, const DesignGeometry::Frame& frame,
                 const LayerShape& shape, Handle handle, const QPointF& pressFrame);

    CanvasLayer layer() const { return m_shape.layer; }
    Handle handle() const { return m_handle; }
    const LayerShape& start() const { return m_shape; }

    // Moving the layer: its offsets changed by the pointer's movement (`offsetChange`, units,
    // y up, from CanvasPlacement).
    LayerValues Moved(const QPointF& offsetChange) const;

    // A corner: the icon's scale or the text's font size, the opposite corner staying where it
    // is, or the centre with `aboutCentre`.
    LayerValues Scaled(const QPointF& pointerFrame, bool aboutCentre) const;

    // The rotation handle: the icon turned about its centre by the angle the pointer swept,
    // in steps of 15 degrees with `inSteps`; always within [0, 360).
    LayerValues Turned(const QPointF& pointerFrame, bool inSteps) const;

    // The background's corner handle: the curvature whose rounding reaches the pointer,
    // within 0 (square) to 1 (round).
    LayerValues Rounded(const QPointF& pointerFrame) const;

private:
    IconDesign m_design;
    DesignGeometry::Frame m_frame;
    LayerShape m_shape;
    Handle m_handle;
    QPointF m_press;
    LayerValues m_values;
};

// The steps a Shift-turn keeps to.
constexpr double kRotationStep = 15.0;

// Arrow keys: one unit a press, ten with Shift.
QPointF NudgeOffset(int dx, int dy, bool large);
