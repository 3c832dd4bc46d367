#pragma once

#include "design/IconDesign.h"

#include <QColor>

// What the ink of a design's glyphs (its icon image and text, without their shadows) is like,
// measured once on a small drawing of them: how far it reaches from the canvas's centre, which
// decides whether a platform's round safe zone takes it in, and what it reads best on.
struct GlyphInk {
    // The farthest ink from the canvas's centre, 1 being the edge of the canvas's inscribed
    // circle (an ellipse on a canvas that is not square; its corners are at about 1.41). Zero
    // for a design without glyphs.
    double reach = 0.0;

    // What a transparent design stands on in pictures that must be opaque: white, or the dark
    // home screen's colour when more of the ink keeps 3:1 against it.
    QColor plate = Qt::white;

    static GlyphInk Of(const IconDesign& design);
};

namespace GlyphFit {

// The contrast the plate keeps the glyphs at.
constexpr double PlateRatio = 3.0;

// The scale, about the canvas's centre, that brings ink reaching `reach` inside a centred circle
// of radius `safeRadius` (in the same measure); 1 when it is inside already.
double ScaleInto(double reach, double safeRadius);

} // namespace GlyphFit
