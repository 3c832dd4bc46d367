#pragma once

#include <QColor>

#include <array>

// Contrast between colours as legibility guidelines measure it, and the lightening that
// brings a colour up to a contrast: pure functions of their arguments.
namespace ColorContrast {

// The home screen an app icon's dark appearance is shown on.
QColor DarkHomeScreen();

// A background colour as a dark appearance shows it: its OKLCH lightness lowered, hue kept,
// until it is no lighter than DarkHomeScreen(), so that white stands on it as on the home
// screen. Colours that dark already are kept.
QColor DarkAppearance(const QColor& color);

// The light and the dark taskbar unplated app icons are shown on.
QColor LightTaskbar();
QColor DarkTaskbar();

// The contrast glyphs are brought to against DarkHomeScreen() or a taskbar.
constexpr double LegibleRatio = 4.5;

// The relative luminance of an sRGB colour (0 black .. 1 white), alpha ignored.
double RelativeLuminance(const QColor& color);

// (lighter + 0.05) / (darker + 0.05) of the two luminances: 1 for equal colours, 21 for black
// and white.
double Ratio(const QColor& a, const QColor& b);

// `colour` unchanged when its contrast against `background` reaches `ratio`; else the colour
// with its OKLCH lightness moved away from the background's (raised on a dark background,
// lowered on a light one), hue kept (chroma given up only where the sRGB gamut ends), just far
// enough to reach it. Alpha is kept.
QColor LegibleOn(const QColor& color, const QColor& background, double ratio);

// LegibleOn's rule for one background and ratio, set up once for the many colours of a picture.
class Legibility {
public:
    Legibility(const QColor& background, double ratio);

    // Whether the colour (its red, green and blue bytes; alpha ignored) reaches the ratio
    // already, so that Legible would give it back unchanged: a few table look-ups.
    bool Enough(QRgb color) const;

    // LegibleOn(colour, background, ratio).
    QColor Legible(const QColor& color) const;
    // The same for an sRGB colour of bytes; alpha is kept.
    QRgb Legible(QRgb color) const;

private:
    bool Reaches(double luminance) const;
    // The colour of this linear light moved until it reaches the ratio, as opaque sRGB bytes.
    QRgb Moved(const std::array<double, 3>& linear) const;

    bool m_lighten;  // moved lighter, on a dark background; else darker
    double m_needed; // the relative luminance that reaches the ratio
};

} // namespace ColorContrast
