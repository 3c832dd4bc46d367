#include "platforms/PlatformVariant.h"

#include "design/ColorContrast.h"
#include "render/AdaptiveIconGrid.h"
#include "render/LegibleGlyphs.h"
#include "render/MacIconGrid.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace PlatformVariants {

namespace {

using AdaptiveIconGrid::kSafeCircleShare; // of the canvas drawn into the viewport
using AdaptiveIconGrid::kViewportShare;
// A maskable web icon keeps what matters inside the circle of 80 % of its side; the canvas is
// drawn into that 80 %, so the safe circle is the canvas's own inscribed circle.
constexpr double MaskableInset = 0.8;
// A silhouette standing in for missing glyphs is the background's square, whose corners reach
// this far out: it is made small enough for them to keep inside a safe circle.
constexpr double SquareCornerReach = 1.4142135623730951;
// The tinted silhouette of a design without glyphs: a plain gray for the system to tint.
constexpr int SilhouetteGray = 128;

QImage Grayed(QImage silhouette) {
    silhouette.convertTo(QImage::Format_ARGB32_Premultiplied);
    const int width = silhouette.width();
    for (int y = 0; y < silhouette.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(silhouette.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] =
                qPremultiply(qRgba(SilhouetteGray, SilhouetteGray, SilhouetteGray, qAlpha(row[x])));
    }
    return silhouette;
}

QImage CutToCircle(QImage picture) {
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outside;
    outside.addRect(QRectF(picture.rect()));
    outside.addEllipse(QRectF(picture.rect()));
    // Odd-even fill: the path covers everything but the circle, which keeps its pixels.
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(outside, Qt::transparent);
    return picture;
}

} // namespace

std::optional<Composition> CompositionOf(PlatformVariant variant) {
    using Ground = Composition::Ground;
    // The splash icon's glyphs keep to the central 192 units of its 288.
    constexpr double SplashIconShare = 192.0 / 288.0;
    switch (variant) {
    case PlatformVariant::WideTile:
        return Composition{Ground::Backdrop, PlatformVariant::Glyphs, 1.0, false};
    case PlatformVariant::Splash:
        return Composition{Ground::Backdrop, PlatformVariant::Glyphs, 0.25, false};
    case PlatformVariant::SplashDark:
        return Composition{Ground::DarkHomeScreen, PlatformVariant::Dark, 0.25, false};
    case PlatformVariant::SplashIcon:
        return Composition{Ground::Transparent, PlatformVariant::CircleGlyphs, SplashIconShare,
                           true};
    default:
        return std::nullopt;
    }
}

PlatformVariant Source(PlatformVariant variant) {
    return variant == PlatformVariant::Round ? PlatformVariant::FullBleed : variant;
}

bool HasGlyphs(const IconDesign& design) {
    return !design.iconImage.isNull() || !design.text.trimmed().isEmpty();
}

VariantTraits TraitsOf(const IconDesign& design) {
    return {HasGlyphs(design), GlyphInk::Of(design)};
}

std::optional<double> SafeRadius(PlatformVariant variant) {
    switch (variant) {
    case PlatformVariant::Foreground:
    case PlatformVariant::Monochrome:
        return kSafeCircleShare;
    case PlatformVariant::Maskable:
    case PlatformVariant::CircleGlyphs:
        return 1.0;
    default:
        return std::nullopt;
    }
}

double GlyphScale(PlatformVariant variant, const VariantTraits& traits) {
    const std::optional<double> safe = SafeRadius(variant);
    return safe ? GlyphFit::ScaleInto(traits.ink.reach, *safe) : 1.0;
}

RenderOptions Options(PlatformVariant variant, int pixels, const VariantTraits& traits) {
    RenderOptions options;
    options.outputSize = QSize(pixels, pixels);
    options.plate = traits.ink.plate;
    options.glyphScale = GlyphScale(variant, traits);
    switch (variant) {
    case PlatformVariant::AsDrawn:
        break;
    case PlatformVariant::FullBleed:
    case PlatformVariant::Round:
        options.fullBleed = true;
        break;
    case PlatformVariant::Background:
        // Inset like the foreground, so the two layers line up as the design does.
        options.layers = RenderOptions::Layers::Background;
        options.fullBleed = true;
        options.insetFraction = kViewportShare;
        break;
    case PlatformVariant::Foreground:
    case PlatformVariant::Monochrome:
        options.insetFraction = kViewportShare;
        if (variant == PlatformVariant::Monochrome || !traits.hasGlyphs)
            options.treatment = RenderOptions::Treatment::Silhouette;
        if (!traits.hasGlyphs) {
            // The background's silhouette, as the dark and tinted icons show it, small enough
            // for the launcher's masks to keep it whole.
            options.insetFraction *= GlyphFit::ScaleInto(SquareCornerReach, kSafeCircleShare);
            break;
        }
        options.layers = RenderOptions::Layers::Glyphs;
        // A silhouette is the glyphs alone, without the shadows they cast.
        options.glyphShadows = variant != PlatformVariant::Monochrome;
        break;
    case PlatformVariant::Backdrop:
        options.layers = RenderOptions::Layers::Background;
        options.fullBleed = true;
        break;
    case PlatformVariant::Glyphs:
    case PlatformVariant::LightGlyphs:
    case PlatformVariant::DarkGlyphs:
    case PlatformVariant::CircleGlyphs:
        options.layers = RenderOptions::Layers::Glyphs;
        break;
    case PlatformVariant::WideTile:
    case PlatformVariant::Splash:
    case PlatformVariant::SplashDark:
    case PlatformVariant::SplashIcon:
        break; // composed from other pictures, never drawn themselves
    case PlatformVariant::Dark:
    case PlatformVariant::Tinted:
        if (!traits.hasGlyphs) {
            options.treatment = RenderOptions::Treatment::Silhouette;
            break;
        }
        options.layers = RenderOptions::Layers::Glyphs;
        if (variant == PlatformVariant::Tinted)
            options.treatment = RenderOptions::Treatment::Grayscale;
        break;
    case PlatformVariant::Maskable:
        options.fullBleed = true;
        options.insetFraction = MaskableInset;
        break;
    case PlatformVariant::MacGrid:
        // The background spreads past the body; Finish cuts it to the body's outline.
        options.fullBleed = true;
        options.insetFraction = MacIconGrid::BodyFraction;
        break;
    }
    return options;
}

bool FillsBackground(PlatformVariant variant) {
    const RenderOptions options = Options(variant, 1, VariantTraits{true, {}});
    return options.fullBleed || options.layers == RenderOptions::Layers::Background;
}

QImage Finish(PlatformVariant variant, QImage scaled, bool hasGlyphs) {
    switch (variant) {
    case PlatformVariant::Round:
        return CutToCircle(std::move(scaled));
    case PlatformVariant::Dark:
        return hasGlyphs ? LegibleGlyphs::On(ColorContrast::DarkHomeScreen(), std::move(scaled))
                         : scaled;
    case PlatformVariant::Tinted:
        return hasGlyphs ? LegibleGlyphs::ForTint(std::move(scaled)) : Grayed(std::move(scaled));
    case PlatformVariant::MacGrid:
        return MacIconGrid::Finish(scaled);
    case PlatformVariant::LightGlyphs:
        return LegibleGlyphs::On(ColorContrast::LightTaskbar(), std::move(scaled));
    case PlatformVariant::DarkGlyphs:
        return LegibleGlyphs::On(ColorContrast::DarkTaskbar(), std::move(scaled));
    default:
        return scaled;
    }
}

std::optional<BadgeArea> BadgeAreaOf(PlatformVariant variant, const QSize& size, bool splash,
                                     const BadgeArea& drawn) {
    const QRectF whole{QPointF(), QSizeF(size)};
    const QPointF centre = whole.center();
    const double side = std::min(size.width(), size.height());
    switch (variant) {
    case PlatformVariant::Background:
    case PlatformVariant::Backdrop:
        return std::nullopt;
    case PlatformVariant::Foreground:
    case PlatformVariant::Monochrome:
        return BadgeArea::Circle(centre, side / 2 * kViewportShare * kSafeCircleShare);
    case PlatformVariant::Maskable:
        return BadgeArea::Circle(centre, side / 2 * MaskableInset);
    case PlatformVariant::FullBleed:
    case PlatformVariant::Round:
    case PlatformVariant::Dark:
    case PlatformVariant::Tinted:
        // Shown through the round masks of watches and launchers as well as the rounded
        // squares of phones: the inscribed circle is what all of them keep.
        return BadgeArea::Circle(centre, side / 2);
    case PlatformVariant::MacGrid: {
        // Kept a little inside the body's eased corners, which reach further in than a
        // circular corner of the same size.
        constexpr double CornerShare = 0.25;
        const QRectF body = MacIconGrid::Body(size.width());
        return BadgeArea{body, body.width() * CornerShare};
    }
    case PlatformVariant::Splash:
    case PlatformVariant::SplashDark:
        // Around the glyphs in the middle, which every crop of the screen keeps.
        if (!splash)
            return std::nullopt;
        return BadgeArea::Circle(centre, side * CompositionOf(variant)->glyphShare);
    case PlatformVariant::SplashIcon:
        if (!splash)
            return std::nullopt;
        return BadgeArea::Circle(centre, side / 2 * CompositionOf(variant)->glyphShare);
    case PlatformVariant::AsDrawn:
        return drawn.Scaled(QSizeF(size));
    case PlatformVariant::Glyphs:
    case PlatformVariant::LightGlyphs:
    case PlatformVariant::DarkGlyphs:
    case PlatformVariant::CircleGlyphs:
    case PlatformVariant::WideTile:
        break; // shown whole, as drawn
    }
    return BadgeArea{whole, 0.0};
}

BadgeLook BadgeLookOf(PlatformVariant variant) {
    switch (variant) {
    case PlatformVariant::Dark:
    case PlatformVariant::SplashDark:
        return BadgeLook::Dark;
    case PlatformVariant::Tinted:
        return BadgeLook::Gray;
    case PlatformVariant::Monochrome:
        return BadgeLook::Silhouette;
    default:
        return BadgeLook::Color;
    }
}

} // namespace PlatformVariants
