#pragma once

#include "design/IconDesign.h"

#include <QByteArray>
#include <QColor>

// The dark look of the design's SVG document, for a browser tab or page in a dark colour scheme:
// a <style> element whose `@media (prefers-color-scheme: dark)` rule recolours the elements of
// the classes below. Outside a dark scheme no rule applies, so the document looks exactly as
// drawn. The gradient is darkened to no lighter than the dark home screen, hue kept (a
// transparent background leaves the dark page itself behind the glyphs); every glyph colour
// (text fill, text outline, the icon's tint) whose contrast against that is under
// ColorContrast::LegibleRatio is lightened until it reaches it, and light glyphs stay as they
// are. A tinted icon image, raster or vector, is recoloured through the flood of its tint, which
// a style reaches. An icon image in its own colours cannot be restyled, so when some of its
// colours are under the ratio the document carries a second copy of it with those lightened
// (see SvgDarkIcon), hidden until the rule swaps the two.
namespace SvgDarkStyle {

// The media query of the dark look.
inline constexpr char DarkScheme[] = "(prefers-color-scheme: dark)";

// The classes the document gives what the dark look recolours, each after the document's own
// prefix.
inline constexpr char GradientStart[] = "dark-start";   // the gradient's first stop
inline constexpr char GradientEnd[] = "dark-end";       // its last stop
inline constexpr char TextFill[] = "dark-text";         // the text's glyph outlines
inline constexpr char TextOutline[] = "dark-outline";   // the same, when their outline is drawn
inline constexpr char Tint[] = "dark-tint";             // the flood that tints the icon image
inline constexpr char OwnColors[] = "dark-own-colours"; // the icon image as drawn
inline constexpr char Lightened[] = "dark-lightened";   // its lightened copy

// What the glyphs stand on in the dark look, the colour they are made legible against: the
// lighter end of the darkened gradient, or the dark page behind a transparent background.
QColor GlyphGround(const IconDesign& design);

// The <style> element for the design, its class names each after `classPrefix`;
// `lightenedIcon` when the document carries the icon image's lightened copy.
QByteArray StyleElement(const IconDesign& design, const QByteArray& classPrefix,
                        bool lightenedIcon);

} // namespace SvgDarkStyle
