#pragma once

#include "design/IconDesign.h"
#include "render/Badge.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QRectF>
#include <QString>

// One picture of the preview wall: how the icon looks in one place, meant to be shown one
// image pixel per device pixel.
struct PreviewTile {
    QString caption;
    QImage image;
    QRect iconArea;  // where the icon itself lies in the image
    QRectF safeZone; // the circle that every launcher shape keeps whole; empty when none
};

// The icon as it will look at its real sizes and on the platforms it is made for. Pure
// functions of their arguments; they may run on any thread. `threads` bounds the worker threads
// of each rendering and scaling step (1 keeps all the work on the calling thread).
namespace PlatformLooks {

// The side of the platform looks in pixels, as a home screen shows an icon.
constexpr int kLookSide = 128;

// The widest and tallest tile: a look's icon with its surroundings.
constexpr int kSurround = 16;
constexpr int kLargestTileSide = kLookSide + 2 * kSurround;

// The tint and the themed-icon colours the looks are shown with; a phone takes them from the
// user's choice.
QColor SampleTint();
QColor ThemeBackground();
QColor ThemeForeground();

// The rendering at 16, 32, 64 and 128 pixels, scaled exactly as the export scales it.
QList<PreviewTile> RealSizes(const QImage& rendering, int threads);

// Everything the wall shows, in its order: the real sizes, then iOS in its three appearances,
// Android under three launcher shapes and as a themed icon, macOS on its grid, the Windows
// Start tile, the splash screen, and the favicon on a light and a dark browser tab bar. `rendering`
// is the design as drawn; the other variants are drawn from `design`, each once, at the size it is
// shown at (or at the canvas size when that is smaller, then scaled up as the export would). A
// canvas that is not square is stretched to the square tiles, as the export stretches it to square
// sizes.
// A set `badge` is drawn over the real sizes and the looks as the export draws it into their
// sets (the splash screen's look without it).
QList<PreviewTile> WallTiles(const IconDesign& design, const QImage& rendering, int threads,
                             const Badge& badge = {});

} // namespace PlatformLooks
