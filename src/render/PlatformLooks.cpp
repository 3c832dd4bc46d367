#include "render/PlatformLooks.h"

#include "design/ColorContrast.h"
#include "render/AdaptiveIconGrid.h"
#include "render/BadgeArt.h"
#include "render/GlyphInk.h"
#include "render/ImageTools.h"
#include "render/LegibleGlyphs.h"
#include "render/MacIconGrid.h"
#include "render/MaskShapes.h"
#include "render/RenderOptions.h"
#include "render/ScaleSource.h"
#include "render/StretchImage.h"
#include "render/TileComposition.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace TileComposition;

namespace {

using Layers = RenderOptions::Layers;
using Treatment = RenderOptions::Treatment;

using PlatformLooks::kSurround;
constexpr int kLookTileSide = PlatformLooks::kLargestTileSide;

constexpr int kFaviconSide = 16;

struct Gradient {
    QColor top;
    QColor bottom;
};

// Stand-ins for what surrounds an icon on each platform.
const Gradient kIosWallpaper{QColor(252, 214, 170), QColor(238, 120, 142)};
const Gradient kIosDarkWallpaper{QColor(44, 38, 66), QColor(10, 10, 18)};
const Gradient kIosDarkIcon{QColor(58, 58, 60), QColor(24, 24, 26)};
const Gradient kAndroidWallpaper{QColor(126, 96, 168), QColor(54, 40, 88)};
const Gradient kMacDesktop{QColor(206, 218, 232), QColor(150, 168, 196)};
const Gradient kWindowsStart{QColor(48, 50, 58), QColor(30, 31, 38)};

struct TabBar {
    QColor bar;
    QColor tab;
    QColor title;
};
const TabBar kLightTabBar{QColor(222, 225, 230), QColor(255, 255, 255), QColor(95, 99, 104)};
const TabBar kDarkTabBar{QColor(32, 33, 36), QColor(53, 54, 58), QColor(154, 160, 166)};

// Scaled to side x side with the export's own downscaler; a picture already that size is
// used as it is.
QImage Scaled(const QImage& image, int side, int threads) {
    if (image.size() == QSize(side, side))
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return StretchImage(image, side, side, threads);
}

// A variant of the design as `options` ask, shown side x side. It is drawn at that size, or at
// the canvas size when the canvas is smaller (then scaled up as the export would). With a
// viewport fraction below 1 the variant is drawn larger by that much and only its central part
// is kept, as a launcher shows adaptive layers.
QImage Variant(const IconDesign& design, RenderOptions options, int side, int threads,
               double viewportFraction = 1.0) {
    const int canvasSide = int(std::min(design.canvasWidth, design.canvasHeight));
    const int shown = std::clamp(canvasSide, 1, side);
    const int drawn = int(std::lround(shown / viewportFraction));
    options.outputSize = QSize(drawn, drawn);
    const QImage rendering = ImageTools::RenderIcon(design, options, threads);
    const int margin = (drawn - shown) / 2;
    return Scaled(rendering.copy(margin, margin, shown, shown), side, threads);
}

// An adaptive launcher layer; the glyphs scaled by `glyphScale` into the safe zone as the
// export fits them, a silhouette without the shadows.
QImage AdaptiveLayer(const IconDesign& design, Layers layers, Treatment treatment, int threads,
                     double glyphScale = 1.0) {
    RenderOptions options;
    options.layers = layers;
    options.treatment = treatment;
    options.glyphScale = glyphScale;
    options.glyphShadows = treatment != Treatment::Silhouette;
    options.insetFraction = layers == Layers::Glyphs ? AdaptiveIconGrid::kViewportShare : 1.0;
    return Variant(design, options, PlatformLooks::kLookSide, threads,
                   AdaptiveIconGrid::kViewportShare);
}

// A full-bleed variant at the looks' size: home screens fill their shape edge to edge.
QImage FullBleed(const IconDesign& design, Layers layers, Treatment treatment, int threads,
                 const QColor& plate = Qt::white) {
    RenderOptions options;
    options.fullBleed = true;
    options.plate = plate;
    options.layers = layers;
    options.treatment = treatment;
    return Variant(design, options, PlatformLooks::kLookSide, threads);
}

// The icon on the macOS grid, as the export writes it, the badge inside the grid's body.
QImage MacIcon(const IconDesign& design, const QColor& plate, int threads, const BadgeArt& badge) {
    RenderOptions options;
    options.fullBleed = true;
    options.plate = plate;
    options.insetFraction = MacIconGrid::BodyFraction;
    QImage icon = MacIconGrid::Finish(Variant(design, options, PlatformLooks::kLookSide, threads));
    const QRectF body = MacIconGrid::Body(PlatformLooks::kLookSide);
    badge.Draw(icon, {body, body.width() / 4}, BadgeLook::Color);
    return icon;
}

// A launch screen in small: the background full bleed, the glyphs a quarter of it in the middle,
// as the splash target writes it.
QImage SplashScreen(const IconDesign& design, const QColor& plate, int threads) {
    RenderOptions glyphOptions;
    glyphOptions.layers = Layers::Glyphs;
    constexpr int kGlyphSide = PlatformLooks::kLookSide / 4;
    const QImage glyphs = Variant(design, glyphOptions, kGlyphSide, threads);
    const int offset = (PlatformLooks::kLookSide - kGlyphSide) / 2;
    return Over(FullBleed(design, Layers::Background, Treatment::None, threads, plate), glyphs,
                QPoint(offset, offset));
}

QRectF IconRect() {
    return QRectF(0, 0, PlatformLooks::kLookSide, PlatformLooks::kLookSide);
}

// A look: the 128-pixel icon centred on its surroundings.
PreviewTile LookTile(const QString& caption, const Gradient& surroundings, const QImage& icon) {
    const QRect area(kSurround, kSurround, PlatformLooks::kLookSide, PlatformLooks::kLookSide);
    const QImage backdrop =
        Backdrop(QSize(kLookTileSide, kLookTileSide), surroundings.top, surroundings.bottom);
    return {caption, Over(backdrop, icon, area.topLeft()), area, QRectF()};
}

PreviewTile AndroidTile(const QString& caption, const Gradient& surroundings,
                        const QImage& viewport, const QPainterPath& shape) {
    PreviewTile tile = LookTile(caption, surroundings, Masked(viewport, shape));
    const double diameter = PlatformLooks::kLookSide * AdaptiveIconGrid::kSafeCircleUnits /
                            AdaptiveIconGrid::kViewportUnits;
    tile.safeZone = QRectF(0, 0, diameter, diameter);
    tile.safeZone.moveCenter(QRectF(tile.iconArea).center());
    return tile;
}

// The favicon in the active tab of a browser's tab bar, beside a stand-in for the page title.
PreviewTile FaviconTile(const QString& caption, const TabBar& colors, const QImage& favicon) {
    QImage image(kLookTileSide, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(colors.bar);
    const QRectF tab(8, 6, kLookTileSide - 16, 40);
    const QRect area(18, 6 + (34 - kFaviconSide) / 2, kFaviconSide, kFaviconSide);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors.tab);
        painter.drawRoundedRect(tab, 8, 8);
        painter.setBrush(colors.title);
        painter.drawRoundedRect(QRectF(area.right() + 10, area.center().y() - 2, 72, 5), 2.5, 2.5);
        painter.drawImage(area.topLeft(), favicon);
    }
    return {caption, image, area, QRectF()};
}

QColor Dimmed(const QColor& color, int value) {
    return QColor::fromHsv(color.hsvHue(), color.hsvSaturation(), value);
}

// The picture with the badge drawn over it as the export draws it, inside the centred circle of
// `circleShare` of the picture's side.
QImage Badged(QImage picture, const BadgeArt& badge, BadgeLook look, double circleShare = 1.0) {
    const QRectF whole(picture.rect());
    badge.Draw(picture, BadgeArea::Circle(whole.center(), whole.width() / 2 * circleShare), look);
    return picture;
}

// The looks, given the rendering already scaled to the favicon's size (badged already).
QList<PreviewTile> LooksFrom(const IconDesign& design, const QImage& favicon, int threads,
                             const BadgeArt& badge) {
    using namespace PlatformLooks;
    const QPainterPath iosShape = MaskShapes::ContinuousCornerSquare(IconRect());
    // The dark and tinted glyphs made legible as the export makes them.
    const QImage glyphs =
        Badged(LegibleGlyphs::On(ColorContrast::DarkHomeScreen(),
                                 FullBleed(design, Layers::Glyphs, Treatment::None, threads)),
               badge, BadgeLook::Dark);
    const QImage grayGlyphs = Badged(
        LegibleGlyphs::ForTint(FullBleed(design, Layers::Glyphs, Treatment::Grayscale, threads)),
        badge, BadgeLook::Gray);
    // A transparent design stands on the plate the export puts it on.
    const GlyphInk ink = GlyphInk::Of(design);
    const QImage fullBleed =
        Badged(FullBleed(design, Layers::All, Treatment::None, threads, ink.plate), badge,
               BadgeLook::Color);
    const QColor tint = SampleTint();
    const Gradient tintedIcon{Dimmed(tint, 64), Dimmed(tint, 20)};
    const QSize lookSize(kLookSide, kLookSide);

    constexpr double SafeShare = AdaptiveIconGrid::kSafeCircleShare;
    const double adaptiveScale = GlyphFit::ScaleInto(ink.reach, SafeShare);
    const QImage adaptive =
        Over(AdaptiveLayer(design, Layers::Background, Treatment::None, threads),
             Badged(AdaptiveLayer(design, Layers::Glyphs, Treatment::None, threads, adaptiveScale),
                    badge, BadgeLook::Color, SafeShare));
    const QImage monochrome = Colored(
        Badged(AdaptiveLayer(design, Layers::Glyphs, Treatment::Silhouette, threads, adaptiveScale),
               badge, BadgeLook::Silhouette, SafeShare),
        ThemeForeground());
    QImage themeBackground(lookSize, QImage::Format_ARGB32_Premultiplied);
    themeBackground.fill(ThemeBackground());

    return {
        LookTile(QStringLiteral("iOS"), kIosWallpaper, Masked(fullBleed, iosShape)),
        LookTile(QStringLiteral("iOS dark"), kIosDarkWallpaper,
                 Masked(Over(Backdrop(lookSize, kIosDarkIcon.top, kIosDarkIcon.bottom), glyphs),
                        iosShape)),
        LookTile(QStringLiteral("iOS tinted"), kIosDarkWallpaper,
                 Masked(Over(Backdrop(lookSize, tintedIcon.top, tintedIcon.bottom),
                             Colored(grayGlyphs, tint)),
                        iosShape)),
        AndroidTile(QStringLiteral("Android, circle"), kAndroidWallpaper, adaptive,
                    MaskShapes::Circle(IconRect())),
        AndroidTile(QStringLiteral("Android, squircle"), kAndroidWallpaper, adaptive,
                    MaskShapes::Squircle(IconRect())),
        AndroidTile(QStringLiteral("Android, rounded square"), kAndroidWallpaper, adaptive,
                    MaskShapes::RoundedSquare(IconRect())),
        AndroidTile(QStringLiteral("Android, themed"), kAndroidWallpaper,
                    Over(themeBackground, monochrome), MaskShapes::Circle(IconRect())),
        LookTile(QStringLiteral("macOS"), kMacDesktop, MacIcon(design, ink.plate, threads, badge)),
        LookTile(QStringLiteral("Windows Start"), kWindowsStart, fullBleed),
        LookTile(QStringLiteral("Splash screen"), kIosDarkWallpaper,
                 SplashScreen(design, ink.plate, threads)),
        FaviconTile(QStringLiteral("Browser tab, light"), kLightTabBar, favicon),
        FaviconTile(QStringLiteral("Browser tab, dark"), kDarkTabBar, favicon),
    };
}

} // namespace

namespace PlatformLooks {

QColor SampleTint() {
    return QColor(255, 176, 32);
}
QColor ThemeBackground() {
    return QColor(214, 227, 255);
}
QColor ThemeForeground() {
    return QColor(26, 52, 104);
}

QList<PreviewTile> RealSizes(const QImage& rendering, int threads) {
    QList<PreviewTile> tiles;
    // One source for the four sizes: a huge rendering is read once, for one reduced copy.
    const ScaleSource source(rendering);
    for (const int side : {16, 32, 64, 128}) {
        const QImage image = rendering.size() == QSize(side, side)
                                 ? source.Image()
                                 : StretchImage(source, side, side, threads);
        tiles.append({QStringLiteral("%1 × %1").arg(side), image, image.rect(), QRectF()});
    }
    return tiles;
}

QList<PreviewTile> WallTiles(const IconDesign& design, const QImage& rendering, int threads,
                             const Badge& badge) {
    // The favicon is one of the real sizes: scaled once, used twice, badged as the sizes are.
    QList<PreviewTile> realSizes = RealSizes(rendering, threads);
    const BadgeArt art(badge);
    const BadgeArea drawn = BadgeArea::OfDesign(design);
    for (PreviewTile& tile : realSizes)
        art.Draw(tile.image, drawn.Scaled(QSizeF(tile.image.size())), BadgeLook::Color);
    return realSizes + LooksFrom(design, realSizes.front().image, threads, art);
}

} // namespace PlatformLooks
