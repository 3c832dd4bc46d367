#pragma once

#include <QColor>

// Contrast between colours as legibility guidelines measure it, and the lightening that
// brings a colour up to a contrast: pure functions of their arguments.
namespace ColorContrast {

// The home screen an app icon's dark appearance is shown on.
QColor DarkHomeScreen();

// A background colour as a dark appearance shows it: its OKLCH lightness lowered, hue kept,
// until it is no lighter than DarkHomeScreen(), so that white stands on it as on the home
// screen. Colours that dark already are kept.
QColor DarkAppearance(const QColor& colour);

// The light taskbar unplated app icons are shown on.
QColor LightTaskbar();

// The contrast glyphs are brought to against DarkHomeScreen() or LightTaskbar().
constexpr double LegibleRatio = 4.5;

// The relative luminance of an sRGB colour (0 black .. 1 white), alpha ignored.
double RelativeLuminance(const QColor& colour);

// (lighter + 0.05) / (darker + 0.05) of the two luminances: 1 for equal colours, 21 for black
// and white.
double Ratio(const QColor& a, const QColor& b);

// `colour` unchanged when its contrast against `background` reaches `ratio`; else the colour
// with its OKLCH lightness moved away from the background's (raised on a dark background,
// lowered on a light one), hue kept (chroma given up only where the sRGB gamut ends), just far
// enough to reach it. Alpha is kept.
QColor LegibleOn(const QColor& colour, const QColor& background, double ratio);

} // namespace ColorContrast
