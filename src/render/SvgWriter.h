#pragma once

#include "design/IconDesign.h"
#include "render/Badge.h"

#include <QByteArray>

// The design as one SVG document at canvas size, one user unit to one canvas unit, drawn from the
// same geometry as the raster picture: the outlined, rounded background as paths with a linear
// gradient, the text as glyph outlines, the icon image as embedded SVG (its ids prefixed) or PNG
// data, each layer's drop shadow as a filter with the raster's blur, offsets, scale and rotation
// as transforms. It refers to nothing outside itself, and the same design gives the same bytes.
//
// With `darkColourScheme` the document also carries the design's dark look for a dark colour
// scheme (see SvgDarkStyle), as a favicon does; what it draws elsewhere stays the same. A set
// `badge` is drawn in front of everything, as vector (see BadgeSvg), in the dark look too.
struct SvgDocumentOptions {
    bool darkColorScheme = false;
    Badge badge = {};
};
QByteArray SvgDocument(const IconDesign& design, const SvgDocumentOptions& options = {});
