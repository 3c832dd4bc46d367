#include "editing/CanvasLayers.h"

#include "design/LayerEffects.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {

QPainterPath PolygonPath(const QPolygonF& polygon) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPolygonF Corners(const QRectF& box) {
    return {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
}

} // namespace

std::vector<LayerShape> LayerShapes(const IconDesign& design, const DesignGeometry::Frame& frame) {
    std::vector<LayerShape> shapes;
    if (!design.text.isEmpty()) {
        const DesignGeometry::Text text =
            DesignGeometry::TextOf(design, frame, ShadowOf(design, DesignValues::Layer::Text));
        // The ink's box, not the advance box: its centre is the optical centre of the letters.
        const QRectF box = text.glyphs.boundingRect();
        if (!box.isEmpty()) {
            QPainterPath area;
            area.addRect(box);
            const double top = frame.background.top() - design.textVerticalOffset;
            shapes.push_back(
                {CanvasLayer::Text, Corners(box), area, text.glyphs,
                 QPointF(frame.background.center().x() + design.textHorizontalOffset, top)});
        }
    }
    const QSizeF iconSize = DesignGeometry::IconSize(design);
    if (!iconSize.isEmpty()) {
        const QRectF rect = DesignGeometry::IconRect(design, frame, iconSize);
        const QPolygonF corners = DesignGeometry::TurnedIconCorners(design, rect);
        const QPainterPath area = PolygonPath(corners);
        shapes.push_back({CanvasLayer::Icon, corners, area, area, rect.center()});
    }
    shapes.push_back({CanvasLayer::Background, Corners(frame.background), frame.backgroundPath,
                      QPainterPath(), frame.background.center()});
    return shapes;
}

const LayerShape* ShapeOf(const std::vector<LayerShape>& shapes, CanvasLayer layer) {
    const auto found = std::find_if(shapes.begin(), shapes.end(), [layer](const LayerShape& shape) {
        return shape.layer == layer;
    });
    return found == shapes.end() ? nullptr : &*found;
}

std::optional<CanvasLayer> LayerAt(const std::vector<LayerShape>& shapes, const QPointF& point) {
    for (const LayerShape& shape : shapes)
        if (shape.area.contains(point))
            return shape.layer;
    return std::nullopt;
}

std::optional<CanvasLayer> NextLayer(const std::vector<LayerShape>& shapes,
                                     std::optional<CanvasLayer> current, bool backwards) {
    if (shapes.empty())
        return std::nullopt;
    const int count = int(shapes.size());
    int index = -1;
    for (int i = 0; i < count; ++i)
        if (current && shapes[i].layer == *current)
            index = i;
    if (index < 0)
        return shapes[backwards ? count - 1 : 0].layer;
    return shapes[(index + (backwards ? count - 1 : 1)) % count].layer;
}

std::vector<HandlePoint> HandlesOf(const LayerShape& shape, const QTransform& frameToScreen,
                                   double cornerRadius) {
    const QPolygonF screen = frameToScreen.map(shape.corners);
    std::vector<HandlePoint> handles;
    const Handle corners[] = {Handle::TopLeft, Handle::TopRight, Handle::BottomRight,
                              Handle::BottomLeft};
    for (int i = 0; i < 4; ++i) {
        QPointF at = screen[i];
        if (shape.layer == CanvasLayer::Background) {
            // Where the rounding crosses the diagonal: the visible tip of the corner.
            const QPointF inward = screen[(i + 2) % 4] - screen[i];
            const double inset = cornerRadius * (1.0 - std::sqrt(0.5)) * frameToScreen.m11();
            at += QPointF(std::copysign(inset, inward.x()), std::copysign(inset, inward.y()));
        }
        handles.push_back({corners[i], at});
    }
    if (shape.layer == CanvasLayer::Icon) {
        const QLineF top(screen[0], screen[1]);
        // Outward from the top edge: away from the bottom edge.
        const QLineF up = QLineF(top.center(), top.center() + (screen[0] - screen[3])).unitVector();
        handles.push_back({Handle::Rotation, up.pointAt(kRotationHandleDistance)});
    }
    return handles;
}

Handle HandleAt(const std::vector<HandlePoint>& handles, const QPointF& screen) {
    Handle nearest = Handle::None;
    double best = kHandleReach;
    for (const HandlePoint& handle : handles) {
        const double distance = QLineF(handle.at, screen).length();
        if (distance <= best) {
            best = distance;
            nearest = handle.handle;
        }
    }
    return nearest;
}

double CornerRadius(const IconDesign& design) {
    // As DesignGeometry::FrameOf rounds it: half the longer side times the curvature, within
    // what the rectangle can take.
    const double radius =
        std::max(design.canvasWidth, design.canvasHeight) * design.cornerCurvature * 0.5f;
    return std::clamp(radius, 0.0, std::min(design.canvasWidth, design.canvasHeight) * 0.5);
}
