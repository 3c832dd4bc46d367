#pragma once

#include "design/IconDesign.h"
#include "design/LayerEffects.h"

#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

// Where a design's parts lie, in canvas units with y pointing down: the one computation that
// both the raster renderer and the SVG writer draw from.
namespace DesignGeometry {

// The design with every value brought into a range the drawing can take. Profiles are plain
// text and can hold any number, NaN and infinities included; a hand-edited file must never crash
// the renderer or make it allocate without bound.
IconDesign ForDrawing(IconDesign design);

// The whole picture: the canvas grows by the outline width so the outline fits, and the
// background shadow needs 12 % more room. Full bleed has neither outline nor shadow.
struct Frame {
    bool fullBleed = false;
    bool opaqueBackground = true;
    bool outlined = false;
    bool backgroundShadow = false;
    double stroke = 0.0;         // the outline's width
    double inset = 0.0;          // where the canvas starts inside the outlined area
    QSizeF outlinedSize;         // the canvas with its outline
    QPointF shadowMargin;        // room for the background shadow on each side
    QSizeF outerSize;            // everything: outlined canvas and shadow room
    QRectF background;           // the canvas, within the outlined area
    QPainterPath backgroundPath; // rounded unless full bleed; clips the icon and the text
    QPainterPath outlinePath;    // the background grown by the outline's outer half, or empty
};

// `design` as ForDrawing gives it. `drawBackground` is false when only the glyph layers are
// drawn (they then cast no background shadow).
Frame FrameOf(const IconDesign& design, bool fullBleed, bool drawBackground);

// From the frame's units to the pixels of a picture of `output` pixels: the whole frame, outline
// and shadow room included, drawn into the centred `fraction` of each side.
QTransform PictureTransform(const Frame& frame, const QSizeF& output, double fraction = 1.0);

// The icon image's turned outline: its rectangle's corners as the turn places them (top left,
// top right, bottom right, bottom left of the unturned image).
QPolygonF TurnedIconCorners(const IconDesign& design, const QRectF& iconRect);

// The pen of every outline: sharp corners (mitred up to ten times the line width), as square
// canvas corners and angular glyphs should look.
constexpr double kMiterLimit = 10.0;
QPen OutlinePen(const Rgba& color, double width);

// The icon image's rectangle, for an image of `size` units at 100 %.
QRectF IconRect(const IconDesign& design, const Frame& frame, const QSizeF& size);

// Turns a rectangle's content counter-clockwise about its centre and squeezes the turned bounds
// back into the rectangle (0, 0, size), as the icon image is turned.
QTransform TurnedWithin(const QSizeF& size, double degrees);

// The icon image's size at 100 %: its pixels, or an SVG image's area fitted inside the canvas.
QSizeF IconSize(const IconDesign& design);

// The text as glyph outlines, with the width of its outline (0 without one). Glyphs outside the
// background are kept as far as their outline and `shadow`, the one the text casts, reach in.
struct Text {
    QPainterPath glyphs;
    double strokeWidth = 0.0;
};
Text TextOf(const IconDesign& design, const Frame& frame, const Shadow& shadow);

// A shadow's displacement in canvas units, Qt orientation.
QPointF ShadowOffset(double distance, double angleDegrees);

} // namespace DesignGeometry
