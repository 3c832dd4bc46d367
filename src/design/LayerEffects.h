#pragma once

#include "design/DesignValues.h"
#include "design/IconDesign.h"
#include "design/Rgba.h"

// What a layer casts and what rims it, as single values instead of the design's fields one by
// one. Lengths are canvas units, angles degrees counter-clockwise from the x axis (y up).
struct Shadow {
    bool on = false;
    Rgba color;
    double distance = 0.0;
    double angle = 0.0;
    double blur = 0.0; // the blur's radius

    // A shadow that would show nothing, off or wholly transparent, is not drawn at all.
    bool isCast() const { return on && color.toQColor().alpha() > 0; }
};

struct Outline {
    bool on = false;
    Rgba color;
    // The line's width: canvas units for the background, percent of the font size for the
    // text as the design keeps it.
    double size = 0.0;
};

// The one place the design's shadow and outline fields are read. The icon image has no outline,
// and the canvas itself (DesignValues::Layer::None) neither shadow nor outline.
Shadow ShadowOf(const IconDesign& design, DesignValues::Layer layer);
Outline OutlineOf(const IconDesign& design, DesignValues::Layer layer);
