#pragma once

#include "design/IconDesign.h"
#include "design/LayerEffects.h"
#include "render/DesignGeometry.h"
#include "render/LayerStack.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

// The layers of a LayerStack drawn into a raster picture, one function a layer, each with the
// shadow it casts; the stack's order is kept by drawing them one after the other.
namespace RasterLayers {

// Where the layers go: the picture, and the transforms from canvas units to its pixels.
struct Target {
    QImage& picture;
    QTransform toDevice;       // the background's
    QTransform glyphsToDevice; // the icon's and the text's, scaled for a safe zone
    QPainterPath glyphClip;    // the background shape in the glyphs' canvas units
    int threads = 1;
};

// The outline and the gradient fill; a transparent design drawn full bleed stands on `plate`.
void DrawBackground(const Target& target, const IconDesign& design,
                    const DesignGeometry::Frame& frame, const StackedLayer& layer,
                    const QColor& plate);

void DrawIconImage(const Target& target, const IconDesign& design, const StackedLayer& layer);

void DrawText(const Target& target, const IconDesign& design, const StackedLayer& layer);

// The shadow of everything already in the picture, beneath it; `shadow` is cast.
void DrawShadowBeneath(const Target& target, const Shadow& shadow);

} // namespace RasterLayers
