#pragma once

#include "design/IconDesign.h"
#include "design/LayerEffects.h"
#include "platforms/PlannedFile.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <optional>

// The design's text and icon image as the layers of a layered app icon: each an asset of its
// own, placed on a square canvas of 1024 points by a position: centred on the canvas, scaled
// about its centre, then moved (x to the right, y down). Each layer is drawn as the full-bleed
// picture draws it, without corner rounding, outline or shadow, cut to the canvas. A non-square
// canvas is stretched to the square, as the full-bleed pictures stretch it; the SVG assets carry
// that stretch themselves, so a position stays one scale and one move.
namespace IconComposerLayers {

constexpr int CanvasPoints = 1024;

struct Layer {
    QString name;      // "text" or "icon"
    PlannedFile asset; // its path is the file's name in the flat asset folder
    double scale = 1.0;
    QPointF translation; // points from the canvas's centre to the asset's centre
    Shadow shadow;       // the one the design casts beneath the layer
    // The one colour the layer is drawn in (the text, a tinted icon); none for an icon image
    // in its own colours.
    std::optional<QColor> color;
    QRectF area;  // what the asset shows, in canvas units
    QRect pixels; // a raster asset's pixels on the canvas of points
};

// The layers the design draws, the front one first; a layer with nothing on the canvas is left
// out.
QList<Layer> Layers(const IconDesign& design);

// For an icon image in its own colours: the icon as `icon` shows it with every colour under
// `ratio` against `backdrop` lightened (see SvgDarkIcon), in the same form, size and place,
// named "icon-dark" with the asset's extension: an SVG asset stays vector, only the colours its
// document names raised. Nothing when no colour of the image needs it.
std::optional<PlannedFile> LegibleIcon(const IconDesign& design, const Layer& icon,
                                       const QColor& backdrop, double ratio);

} // namespace IconComposerLayers
