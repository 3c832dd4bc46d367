#pragma once

#include "design/IconDesign.h"

#include <QByteArray>

// The dark look of the design's SVG document, for a browser tab or page in a dark colour scheme:
// a <style> element whose `@media (prefers-color-scheme: dark)` rule recolours the elements of
// the classes below. Outside a dark scheme no rule applies, so the document looks exactly as
// drawn. The gradient is darkened to no lighter than the dark home screen, hue kept (a
// transparent background leaves the dark page itself behind the glyphs); every glyph colour
// (text fill, text outline, the icon's tint) whose contrast against that is under
// ColorContrast::LegibleRatio is lightened until it reaches it, and light glyphs stay as they
// are. A tinted icon image, raster or vector, is recoloured through the flood of its tint, which
// a style reaches. An icon image in its own colours keeps them: a raster's pixels cannot be
// restyled, and lightening only a vector image's flat colours would change a logo's colours
// unevenly.
namespace SvgDarkStyle {

// The classes the document gives what the dark look recolours, each after the document's own
// prefix.
inline constexpr char GradientStart[] = "dark-start"; // the gradient's first stop
inline constexpr char GradientEnd[] = "dark-end";     // its last stop
inline constexpr char TextFill[] = "dark-text";       // the text's glyph outlines
inline constexpr char TextOutline[] = "dark-outline"; // the same, when their outline is drawn
inline constexpr char Tint[] = "dark-tint";           // the flood that tints the icon image

// The <style> element for the design, its class names each after `classPrefix`.
QByteArray StyleElement(const IconDesign& design, const QByteArray& classPrefix);

} // namespace SvgDarkStyle
