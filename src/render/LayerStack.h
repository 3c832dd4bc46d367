#pragma once

#include "design/DesignValues.h"
#include "design/IconDesign.h"
#include "design/LayerEffects.h"
#include "render/DesignGeometry.h"
#include "render/RenderOptions.h"

#include <QRectF>

#include <vector>

// One layer of the design as it is drawn. Its shadow and outline are the ones drawn, lengths in
// canvas units: a layer that casts no shadow has it off, an outline not drawn is off.
struct StackedLayer {
    DesignValues::Layer part = DesignValues::Layer::None; // background, icon image or text
    QRectF rect;                      // the canvas, or the icon image's rectangle before its turn
    DesignGeometry::Text text;        // the text's glyphs; empty for the other layers
    Shadow shadow;                    // cast beneath this layer alone
    Outline outline;                  // its width (`size`) in canvas units
    bool clippedToBackground = false; // cut, together with its shadow, to the background shape
};

// Everything a picture of the design draws: the layers back to front, and the background's
// shadow, cast by all of them together beneath the whole picture.
struct LayerStack {
    DesignGeometry::Frame frame;
    std::vector<StackedLayer> layers;
    Shadow beneath;
};

// The one walk over the design's layers that the raster picture and the SVG document both draw.
// `design` as DesignGeometry::ForDrawing gives it; `options` choose which layers are drawn,
// full bleed and whether icon and text cast their shadows. A layer with nothing to draw (no
// image, no glyphs) is left out.
LayerStack StackOf(const IconDesign& design, const RenderOptions& options = {});
