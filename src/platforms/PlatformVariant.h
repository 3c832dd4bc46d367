#pragma once

#include "design/IconDesign.h"
#include "render/RenderOptions.h"

#include <QImage>

// The pictures platform icon sets are made of, each derived from the design itself.
enum class PlatformVariant {
    AsDrawn,    // the design as it is meant to look: rounded, outlined, with its shadow
    FullBleed,  // the background gradient fills the square, nothing outside it
    Round,      // the full-bleed picture cut to its inscribed circle
    Background, // the adaptive-icon background: the gradient alone
    Foreground, // the adaptive-icon foreground: icon and text on transparent
    Monochrome, // the foreground as one opaque white at its own coverage
    Dark,       // icon and text on transparent, lightened where too dark for a dark home screen
    Tinted,     // icon and text in gray, stretched to white, for the system to tint
    Maskable,   // the full-bleed picture with the design inside the maskable safe zone
};

namespace PlatformVariants {

// The picture a variant is scaled from: Round is cut from the FullBleed picture after
// scaling, so its edge is smooth at every size; every other variant is its own source.
PlatformVariant Source(PlatformVariant variant);

// True when the design draws an icon image or text: the glyphs the dark and tinted variants
// show. Without them those variants show the background's silhouette instead.
bool HasGlyphs(const IconDesign& design);

// The options that draw the variant's source picture `pixels` wide and high.
RenderOptions Options(PlatformVariant variant, int pixels, bool hasGlyphs);

// True when the variant fills the background, so a transparent one is put on white.
bool FillsBackground(PlatformVariant variant);

// The finished picture of the variant from its source picture scaled to the file's size.
QImage Finish(PlatformVariant variant, QImage scaled, bool hasGlyphs);

} // namespace PlatformVariants
