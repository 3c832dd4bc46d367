#include "editing/Keylines.h"

#include "render/AdaptiveIconGrid.h"
#include "render/MacIconGrid.h"
#include "render/MaskShapes.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kGolden = 1.618033988749895;
// The web's maskable icons keep a central circle of 80 % of the side.
constexpr double kMaskableSafe = 0.8;
// A Windows Start tile of 150 units: the system's padding of 8 on every side, and the bar of
// 32 at its foot where the app's name shows.
constexpr double kTilePadding = 8.0 / 150.0;
constexpr double kTileNameBar = 32.0 / 150.0;

QRectF CentredSquare(const QRectF& canvas) {
    const double side = std::min(canvas.width(), canvas.height());
    QRectF square(0, 0, side, side);
    square.moveCenter(canvas.center());
    return square;
}

QRectF Centred(const QRectF& square, double fraction) {
    QRectF inner(0, 0, square.width() * fraction, square.height() * fraction);
    inner.moveCenter(square.center());
    return inner;
}

QPainterPath RectPath(const QRectF& rect) {
    QPainterPath path;
    path.addRect(rect);
    return path;
}

// A mask or a safe circle: its outline is the line, what it encloses is kept.
KeylineDrawing Kept(const QPainterPath& outline) {
    KeylineDrawing drawing{outline, outline, {}};
    AddBoxLines(drawing.snapLines, outline.boundingRect());
    return drawing;
}

KeylineDrawing IosGrid(const QRectF& square) {
    // The grid of Apple's template, in golden proportions of the side: the large circle, the
    // middle circle and the centre square at 1/φ, the small circle at 1/φ², the vertical and
    // horizontal bands as wide as the centre square, and the diagonals.
    KeylineDrawing drawing = Kept(MaskShapes::ContinuousCornerSquare(square));
    const double side = square.width();
    for (const double fraction :
         {1.0 - 1.0 / std::pow(kGolden, 4), 1.0 / kGolden, 1.0 / (kGolden * kGolden)})
        drawing.lines.addEllipse(Centred(square, fraction));
    const QRectF centre = Centred(square, 1.0 / kGolden);
    drawing.lines.addRect(centre);
    drawing.lines.addRect(QRectF(centre.left(), square.top(), centre.width(), side));
    drawing.lines.addRect(QRectF(square.left(), centre.top(), side, centre.height()));
    drawing.lines.moveTo(square.topLeft());
    drawing.lines.lineTo(square.bottomRight());
    drawing.lines.moveTo(square.topRight());
    drawing.lines.lineTo(square.bottomLeft());
    AddBoxLines(drawing.snapLines, centre);
    AddBoxLines(drawing.snapLines, Centred(square, 1.0 - 1.0 / std::pow(kGolden, 4)));
    return drawing;
}

KeylineDrawing MacBody(const QRectF& square) {
    constexpr int kGrid = 1024;
    const double scale = square.width() / kGrid;
    const QPainterPath body = (QTransform::fromScale(scale, scale) *
                               QTransform::fromTranslate(square.left(), square.top()))
                                  .map(MacIconGrid::BodyOutline(kGrid));
    return Kept(body);
}

KeylineDrawing WindowsTile(const QRectF& square) {
    const double side = square.width();
    const QRectF padded = square.adjusted(side * kTilePadding, side * kTilePadding,
                                          -side * kTilePadding, -side * kTilePadding);
    KeylineDrawing drawing{RectPath(padded), QPainterPath(), {}};
    const double bar = square.bottom() - side * kTileNameBar;
    drawing.lines.moveTo(square.left(), bar);
    drawing.lines.lineTo(square.right(), bar);
    AddBoxLines(drawing.snapLines, padded);
    drawing.snapLines.push_back({Qt::Horizontal, bar});
    return drawing;
}

// One row a keyline, in the order of the enumeration: the name the settings keep, the title the
// menu shows, and its drawing on the canvas's centred square.
struct KeylineRow {
    const char* name;
    const char* title;
    KeylineDrawing (*draw)(const QRectF& square);
};

constexpr KeylineRow kKeylines[] = {
    {"iosGrid", "iOS App Icon Grid", IosGrid},
    {"macBody", "macOS Icon Body", MacBody},
    {"androidSafeZone", "Android Safe Zone",
     [](const QRectF& square) {
         return Kept(MaskShapes::Circle(Centred(square, AdaptiveIconGrid::kSafeCircleShare)));
     }},
    {"androidCircle", "Android Circle Mask",
     [](const QRectF& square) { return Kept(MaskShapes::Circle(square)); }},
    {"androidSquircle", "Android Squircle Mask",
     [](const QRectF& square) { return Kept(MaskShapes::Squircle(square)); }},
    {"androidRoundedSquare", "Android Rounded Square Mask",
     [](const QRectF& square) { return Kept(MaskShapes::RoundedSquare(square)); }},
    {"androidTeardrop", "Android Teardrop Mask",
     [](const QRectF& square) { return Kept(MaskShapes::Teardrop(square)); }},
    {"webMaskable", "Web Maskable Safe Zone",
     [](const QRectF& square) { return Kept(MaskShapes::Circle(Centred(square, kMaskableSafe))); }},
    {"windowsTile", "Windows Tile Padding", WindowsTile},
};
static_assert(std::size(kKeylines) == kKeylineCount, "one row for every keyline");

const KeylineRow& RowOf(Keyline keyline) {
    return kKeylines[std::clamp(int(keyline), 0, kKeylineCount - 1)];
}

} // namespace

QString KeylineTitle(Keyline keyline) {
    return QLatin1String(RowOf(keyline).title);
}

QString KeylineName(Keyline keyline) {
    return QLatin1String(RowOf(keyline).name);
}

std::optional<Keyline> KeylineNamed(const QString& name) {
    for (int index = 0; index < kKeylineCount; ++index)
        if (name == QLatin1String(kKeylines[index].name))
            return Keyline(index);
    return std::nullopt;
}

KeylineDrawing KeylineOf(Keyline keyline, const QRectF& canvas) {
    return RowOf(keyline).draw(CentredSquare(canvas));
}

KeylineOverlay OverlayOf(const std::vector<Keyline>& keylines, const QRectF& canvas) {
    KeylineOverlay overlay;
    const QPainterPath whole = RectPath(canvas);
    QPainterPath kept = whole;
    bool cuts = false;
    for (const Keyline keyline : keylines) {
        const KeylineDrawing drawing = KeylineOf(keyline, canvas);
        overlay.lines.addPath(drawing.lines);
        overlay.snapLines.insert(overlay.snapLines.end(), drawing.snapLines.begin(),
                                 drawing.snapLines.end());
        if (!drawing.kept.isEmpty()) {
            kept = kept.intersected(drawing.kept);
            cuts = true;
        }
    }
    if (!cuts)
        return overlay;
    overlay.shaded = whole.subtracted(kept);
    return overlay;
}
