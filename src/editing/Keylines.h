#pragma once

#include "editing/SnapGuides.h"

#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// The platforms' keylines, drawn over the canvas to place the layers by: each platform's grid
// or safe zone, and the outlines launchers cut icons to. All in frame units on the canvas's
// centred square (a canvas that is not square is exported stretched to square sizes, but its
// keylines are those of the square it holds).
enum class Keyline {
    IosGrid,         // Apple's app icon grid: its circles, squares and the rounded outline
    MacBody,         // the macOS body: 824 of 1024, continuous corners
    AndroidSafeZone, // the adaptive icon's safe circle: 66 dp of the 72 shown
    AndroidCircle,   // the launcher masks, over the 72 dp the launcher shows
    AndroidSquircle,
    AndroidRoundedSquare,
    AndroidTeardrop,
    WebMaskable, // the maskable icon's safe circle: the central 80 %
    WindowsTile, // the Start tile's padding and the name bar at its foot
};
constexpr int kKeylineCount = 9;

QString KeylineTitle(Keyline keyline);

// A name for the keyline that stays the same from version to version, for the settings that
// remember a choice (as "androidSafeZone"); the keyline a name stands for, if any still does.
QString KeylineName(Keyline keyline);
std::optional<Keyline> KeylineNamed(const QString& name);

// One keyline set: the lines to stroke, what its platform keeps of the icon (empty when it cuts
// nothing), and the lines a dragged layer snaps to.
struct KeylineDrawing {
    QPainterPath lines;
    QPainterPath kept;
    std::vector<SnapLine> snapLines;
};
KeylineDrawing KeylineOf(Keyline keyline, const QRectF& canvas);

// The chosen keylines together: their lines, and the canvas outside what every chosen mask
// keeps (shaded; the layers' ink within it is what such a mask would cut, tinted over the
// picture), so a person sees before exporting what a platform's icons lose. It depends on the
// canvas alone, so a layer moved over it leaves it as it is.
struct KeylineOverlay {
    QPainterPath lines;
    QPainterPath shaded;
    std::vector<SnapLine> snapLines;
};
KeylineOverlay OverlayOf(const std::vector<Keyline>& keylines, const QRectF& canvas);
