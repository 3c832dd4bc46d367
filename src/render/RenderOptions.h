#pragma once

#include <QColor>
#include <QSize>

// How a design is drawn besides the design itself. The default options draw the design exactly
// as it is meant to look; platform icon sets and the preview ask for variants of it.
struct RenderOptions {
    // Which layers of the composition are drawn.
    enum class Layers {
        All,        // background, icon and text
        Background, // only the background gradient, always full bleed
        Glyphs,     // only the icon and the text with their own shadows, on transparent
    };

    // A colour change applied to the finished picture, alpha kept.
    enum class Treatment {
        None,
        Grayscale,  // every pixel its luminance
        Silhouette, // every pixel one opaque white, at its own coverage
    };

    Layers layers = Layers::All;

    // The background gradient fills the whole canvas: no corner rounding, no outline, no
    // background shadow, the canvas not enlarged for them. A transparent background becomes
    // opaque `plate`. Icon and text are drawn as designed, cut to the canvas.
    bool fullBleed = false;

    // The design's canvas is drawn into a centred part of the output, this fraction of each
    // side (1 = all of it). A full-bleed background still fills the whole output, its end
    // colours continuing outward.
    double insetFraction = 1.0;

    Treatment treatment = Treatment::None;

    // Icon and text, with their shadows, drawn this many times their size about the canvas's
    // centre: a platform's safe zone takes the glyphs in as one group, their placement kept.
    double glyphScale = 1.0;

    // Whether icon and text cast their shadows. A silhouette a system colours in is the
    // glyphs alone: a shadow would thicken it.
    bool glyphShadows = true;

    // What a transparent design stands on where it is drawn full bleed.
    QColor plate = Qt::white;

    // The picture's size in pixels; empty means the canvas size. The geometry is scaled to it,
    // blur radii and offsets included.
    QSize outputSize;

    // True when these options draw the design as it is meant to look at canvas size.
    bool isPlain() const {
        return layers == Layers::All && !fullBleed && insetFraction == 1.0 &&
               treatment == Treatment::None && glyphScale == 1.0 && glyphShadows &&
               outputSize.isEmpty();
    }
};
