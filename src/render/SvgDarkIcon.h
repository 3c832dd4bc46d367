#pragma once

#include "design/IconDesign.h"
#include "render/SvgColorRewrite.h"

#include <QColor>

// An icon image in its own colours as the dark looks of the SVG outputs show it (the dark
// favicon, the dark appearance of a layered app icon): every colour whose contrast against the
// dark ground is under a ratio lightened just enough, hue kept (ColorContrast::LegibleOn), the
// others as drawn. A raster image is lightened pixel by pixel (LegibleGlyphs::On), an SVG image
// colour by colour where its document names them.
namespace SvgDarkIcon {

// Whether any colour the icon image draws falls under `ratio` against `ground`, judged on a
// picture small enough to look at whole: the raster image, or an SVG image's thumbnail.
bool NeedsLightening(const IconDesign& design, const QColor& ground, double ratio);

// The change that lightens an SVG image's colours so.
SvgColorRewrite::ColorChange Lightening(const QColor& ground, double ratio);

} // namespace SvgDarkIcon
