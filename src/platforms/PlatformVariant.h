#pragma once

#include "design/IconDesign.h"
#include "render/BadgeArt.h"
#include "render/GlyphInk.h"
#include "render/RenderOptions.h"

#include <QImage>

#include <optional>

// The pictures platform icon sets are made of, each derived from the design itself.
enum class PlatformVariant {
    AsDrawn,      // the design as it is meant to look: rounded, outlined, with its shadow
    FullBleed,    // the background gradient fills the square, nothing outside it
    Round,        // the full-bleed picture cut to its inscribed circle
    Background,   // the adaptive-icon background: the gradient alone
    Foreground,   // the adaptive-icon foreground: icon and text on transparent
    Monochrome,   // the foreground as one opaque white at its own coverage
    Dark,         // icon and text on transparent, lightened where too dark for a dark home screen
    Tinted,       // icon and text in gray, stretched to white, for the system to tint
    Maskable,     // the full-bleed picture with the design inside the maskable safe zone
    MacGrid,      // the macOS grid: the full-bleed design cut to the grid's body, with its shadow
    Backdrop,     // the background gradient alone, full bleed
    Glyphs,       // icon and text on transparent, as designed
    LightGlyphs,  // icon and text on transparent, darkened where too light for a light taskbar
    DarkGlyphs,   // icon and text on transparent, lightened where too dark for a dark taskbar
    CircleGlyphs, // icon and text on transparent, inside the picture's inscribed circle
    // Composed from the square pictures above (see Composition), any width and height:
    WideTile,   // the backdrop across the picture, the glyphs of the square tile as high
    Splash,     // the backdrop, the glyphs a quarter of the picture in the middle
    SplashDark, // the dark home screen's colour, the dark glyphs a quarter of the picture
    SplashIcon, // on transparent, the glyphs inside the central circle of 192 of 288 units
};

// What the variants need to know of a design besides its values, measured once for a set.
struct VariantTraits {
    bool hasGlyphs = false; // see PlatformVariants::HasGlyphs
    GlyphInk ink;
};

// How a composed variant is put together.
struct Composition {
    enum class Ground { Transparent, Backdrop, DarkHomeScreen };
    Ground ground;
    PlatformVariant glyphs; // the square picture centred on the ground
    double glyphShare;      // its side, as a share of the picture's height
    bool circle;            // the glyph picture cut to its inscribed circle
};

namespace PlatformVariants {

// How a composed variant is put together; nothing for the variants drawn as one picture.
std::optional<Composition> CompositionOf(PlatformVariant variant);

// The picture a variant is scaled from: Round is cut from the FullBleed picture after
// scaling, so its edge is smooth at every size; every other variant is its own source.
PlatformVariant Source(PlatformVariant variant);

// True when the design draws an icon image or text: the glyphs the dark and tinted variants
// show. Without them those variants show the background's silhouette instead.
bool HasGlyphs(const IconDesign& design);

VariantTraits TraitsOf(const IconDesign& design);

// The circle a platform's masks keep whole of the variant's picture, as a share of the radius
// of the canvas's inscribed circle: the glyphs are fitted into it. Nothing for a variant that
// no mask cuts.
std::optional<double> SafeRadius(PlatformVariant variant);

// How much the variant's glyphs are scaled about the canvas's centre to fit its safe radius;
// 1 for a design inside it already, and for variants without one.
double GlyphScale(PlatformVariant variant, const VariantTraits& traits);

// The options that draw the variant's source picture `pixels` wide and high.
RenderOptions Options(PlatformVariant variant, int pixels, const VariantTraits& traits);

// True when the variant fills the background, so a transparent one is put on its plate.
bool FillsBackground(PlatformVariant variant);

// The finished picture of the variant from its source picture scaled to the file's size.
QImage Finish(PlatformVariant variant, QImage scaled, bool hasGlyphs);

// Where a badge goes in the variant's picture of `size` pixels: inside what every mask of the
// platforms showing it keeps, and on the design's own shape (`drawn`, see BadgeArea::OfDesign)
// where the design is shown as drawn. Nothing for the layers drawn under another (the adaptive
// background, the backdrop), and for the splash pictures unless `splash`.
std::optional<BadgeArea> BadgeAreaOf(PlatformVariant variant, const QSize& size, bool splash,
                                     const BadgeArea& drawn);

// How the variant's appearance shows a badge.
BadgeLook BadgeLookOf(PlatformVariant variant);

} // namespace PlatformVariants
