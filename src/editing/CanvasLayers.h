#pragma once

#include "design/IconDesign.h"
#include "render/DesignGeometry.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <optional>
#include <vector>

// The layers a person can grab on the canvas, where the renderer's own geometry puts them (frame
// units, y down): not the pixels of the last picture, which may be older than the design.
enum class CanvasLayer { Background, Icon, Text };

struct LayerShape {
    CanvasLayer layer;
    QPolygonF corners;   // the box shown around it: top left, top right, bottom right, bottom left
    QPainterPath area;   // what a click must hit: the glyphs' box, the turned image, the background
    QPainterPath ink;    // what a platform's mask may cut: the glyphs, the turned image
    QPointF scaleOrigin; // the point its size grows from: the icon's centre, the text's top middle
};

// The layers a design has, the front one first (the text, the icon image, the background).
// `design` as DesignGeometry::ForDrawing gives it.
std::vector<LayerShape> LayerShapes(const IconDesign& design, const DesignGeometry::Frame& frame);

const LayerShape* ShapeOf(const std::vector<LayerShape>& shapes, CanvasLayer layer);

// The front layer under the frame point, if any.
std::optional<CanvasLayer> LayerAt(const std::vector<LayerShape>& shapes, const QPointF& point);

// The layer after `current` in the front-to-back order, wrapping around (`backwards` the one
// before); the front one when nothing is selected.
std::optional<CanvasLayer> NextLayer(const std::vector<LayerShape>& shapes,
                                     std::optional<CanvasLayer> current, bool backwards);

// The handles of a selected layer, in screen pixels: its corners (which scale the icon and the
// text, and set the background's corner rounding) and, for the icon, the rotation handle above
// its top edge.
enum class Handle { TopLeft, TopRight, BottomRight, BottomLeft, Rotation, None };
struct HandlePoint {
    Handle handle;
    QPointF at;
};
// How far above the top edge the rotation handle stands, and how near a press must come.
constexpr double kRotationHandleDistance = 24.0;
constexpr double kHandleReach = 6.0;

// `cornerRadius` (units) places the background's handle where its rounding crosses the diagonal.
std::vector<HandlePoint> HandlesOf(const LayerShape& shape, const QTransform& frameToScreen,
                                   double cornerRadius);
Handle HandleAt(const std::vector<HandlePoint>& handles, const QPointF& screen);

// The background's corner radius in units, as the renderer rounds it.
double CornerRadius(const IconDesign& design);
