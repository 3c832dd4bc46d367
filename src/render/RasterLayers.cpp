#include "render/RasterLayers.h"

#include "render/KeptLayer.h"
#include "render/PreparedIcon.h"
#include "render/PreparedVectorIcon.h"
#include "render/RenderKernels.h"
#include "render/ShadowMask.h"
#include "render/SubpixelShift.h"
#include "support/ParallelRange.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace RasterLayers {
namespace {

// A drop shadow in device pixels: the blur radius becomes a Gaussian whose standard deviation
// is half the radius, scaled like everything else by the final canvas transform.
struct DeviceShadow {
    QColor color;
    double sigmaX = 0.0;
    double sigmaY = 0.0;
    QPointF offset;

    QPoint wholeOffset() const {
        return QPoint(int(std::floor(offset.x())), int(std::floor(offset.y())));
    }
    QPointF fractionOffset() const { return offset - QPointF(wholeOffset()); }

    // How far the blurred shadow spreads beyond what casts it.
    int margin() const { return int(std::ceil(3.0 * std::max(sigmaX, sigmaY))) + 1; }

    // How far outside the picture what casts the shadow can lie and still show through it.
    int reach() const {
        return margin() + 1 + int(std::ceil(std::max(std::abs(offset.x()), std::abs(offset.y()))));
    }
};

DeviceShadow MakeDeviceShadow(const Shadow& cast, const QTransform& toDevice) {
    const QPointF offset = DesignGeometry::ShadowOffset(cast.distance, cast.angle);
    DeviceShadow shadow;
    shadow.color = cast.color.toQColor();
    shadow.sigmaX = std::max(0.0, cast.blur) * 0.5 * toDevice.m11();
    shadow.sigmaY = std::max(0.0, cast.blur) * 0.5 * toDevice.m22();
    shadow.offset = QPointF(offset.x() * toDevice.m11(), offset.y() * toDevice.m22());
    return shadow;
}

// A colour's premultiplied channels, ready to be scaled by a coverage from 0 to 255.
ShadeColor PremultipliedChannels(const QColor& color) {
    const QRgb p = qPremultiply(color.rgba());
    return {std::uint32_t(qAlpha(p)), std::uint32_t(qRed(p)), std::uint32_t(qGreen(p)),
            std::uint32_t(qBlue(p))};
}

// Paints a layer into its own image, over the part of the canvas where it or its shadow can
// show, and makes the shadow mask of that image. `contentBounds` and `paint` work in canvas
// coordinates, mapped to the device by `toDevice`.
LayerPicture PaintLayer(const QRect& canvas, const QRectF& contentBounds,
                        const QTransform& toDevice, const DeviceShadow& shadow,
                        const std::function<void(QPainter&)>& paint, int threads) {
    // Content farther outside the target than the shadow can reach cannot show.
    const int reach = shadow.reach();
    const QRect bounds = toDevice.mapRect(contentBounds)
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1)
                             .intersected(canvas.adjusted(-reach, -reach, reach, reach));
    if (bounds.isEmpty())
        return {};
    QImage layer(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setTransform(toDevice * QTransform::fromTranslate(-bounds.left(), -bounds.top()));
        paint(painter);
    }
    auto mask = std::make_shared<const ShadowMask>(layer, shadow.sigmaX, shadow.sigmaY,
                                                   shadow.fractionOffset(), threads);
    return {bounds, layer, std::move(mask)};
}

// Composites a painted layer, with its drop shadow beneath it, into the target; the clip (in
// canvas coordinates, none: nothing cut) cuts both, as it cuts anything drawn with a shadow. One
// pass of our own over the affected pixels rather than a shadow image and two clipped painter
// blends.
void CompositeLayer(QImage& target, const QPainterPath* clip, const QTransform& toDevice,
                    const LayerPicture& picture, const DeviceShadow& shadow, int threads) {
    if (picture.pixels.isNull())
        return;
    const QRect& bounds = picture.bounds;
    const QImage& layer = picture.pixels;
    const ShadowMask& mask = *picture.mask;
    const QRect canvas = target.rect();
    const QPoint shadowOrigin =
        bounds.topLeft() + shadow.wholeOffset(); // mask coordinates start here
    const QRect region = (bounds | mask.bounds().translated(shadowOrigin)).intersected(canvas);
    if (region.isEmpty())
        return;

    QImage clipCoverage(region.size(), QImage::Format_Alpha8);
    clipCoverage.fill(clip ? 0 : 255);
    if (clip) {
        QPainter painter(&clipCoverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(toDevice * QTransform::fromTranslate(-region.left(), -region.top()));
        painter.fillPath(*clip, Qt::black);
    }

    const ShadeColor shade = PremultipliedChannels(shadow.color);
    const RenderKernelTable& loops = RenderKernels::Loops();
    // Row pointers come from one bits() call here: scanLine() on the workers would each check
    // the image for sharing, a race on its reference count.
    uchar* const targetBits = target.bits();
    const qsizetype targetStride = target.bytesPerLine();
    const int width = region.width();
    ParallelRange(region.height(), threads, [&](int begin, int end) {
        std::vector<std::uint8_t> coverage(width);
        for (int row = begin; row < end; ++row) {
            const int y = region.top() + row;
            mask.SampleRow(y - shadowOrigin.y(), region.left() - shadowOrigin.x(), width,
                           coverage.data());
            const std::uint8_t* clipRow = clipCoverage.constScanLine(row);
            auto* pixels =
                reinterpret_cast<std::uint32_t*>(targetBits + y * targetStride) + region.left();
            // The row in three parts: before, across and after the layer's own columns.
            const bool layerRow = y >= bounds.top() && y <= bounds.bottom();
            const int layerBegin =
                layerRow ? std::clamp(bounds.left() - region.left(), 0, width) : width;
            const int layerEnd =
                layerRow ? std::clamp(bounds.right() + 1 - region.left(), 0, width) : width;
            const auto* layerPixels = layerRow ? reinterpret_cast<const std::uint32_t*>(
                                                     layer.constScanLine(y - bounds.top())) +
                                                     (region.left() + layerBegin - bounds.left())
                                               : nullptr;
            loops.composeOver(pixels, nullptr, coverage.data(), clipRow, shade, layerBegin);
            loops.composeOver(pixels + layerBegin, layerPixels, coverage.data() + layerBegin,
                              clipRow + layerBegin, shade, layerEnd - layerBegin);
            loops.composeOver(pixels + layerEnd, nullptr, coverage.data() + layerEnd,
                              clipRow + layerEnd, shade, width - layerEnd);
        }
    });
}

// Puts the shadow of everything already in the image beneath it (destination-over), in place.
// The shadow shows only where the picture is not opaque, so the mask is neither blurred nor
// read under the opaque runs the mask found while reducing the picture.
void ShadeBeneath(QImage& image, const DeviceShadow& shadow, int threads) {
    const QPoint offset = shadow.wholeOffset();
    const ShadowMask mask = ShadowMask::Beneath(image, shadow.sigmaX, shadow.sigmaY,
                                                shadow.fractionOffset(), offset, threads);
    const ShadeColor shade = PremultipliedChannels(shadow.color);
    const RenderKernelTable& loops = RenderKernels::Loops();
    const int width = image.width();
    uchar* const imageBits = image.bits(); // once, before the workers start (see above)
    const qsizetype imageStride = image.bytesPerLine();
    ParallelRange(image.height(), threads, [&](int begin, int end) {
        std::vector<std::uint8_t> coverage(width);
        for (int y = begin; y < end; ++y) {
            auto* pixels = reinterpret_cast<std::uint32_t*>(imageBits + y * imageStride);
            const ColumnSpan covered = mask.CoveredColumns(y - offset.y());
            const int from = std::max(0, covered.begin + offset.x());
            const int to = std::min(width, covered.end + offset.x());
            const ColumnSpan opaque = mask.KnownOpaque(y);
            auto shadeColumns = [&](int first, int past) {
                if (first >= past)
                    return;
                mask.SampleRow(y - offset.y(), first - offset.x(), past - first, coverage.data());
                loops.shadeBeneath(pixels + first, coverage.data(), shade, past - first);
            };
            if (opaque.begin < opaque.end) {
                shadeColumns(from, std::min(to, opaque.begin));
                shadeColumns(std::max(from, opaque.end), to);
            } else {
                shadeColumns(from, to);
            }
        }
    });
}

// Draws the image into the rectangle. Qt puts an unscaled image on whole pixels, rounding its
// position; such an image is moved by the fraction itself and drawn on whole pixels.
void DrawImageExactly(QPainter& painter, const QRectF& rect, const QImage& image) {
    const QTransform& transform = painter.transform();
    const bool unscaled =
        transform.type() <= QTransform::TxTranslate && rect.size() == image.size();
    const QPointF topLeft = transform.map(rect.topLeft());
    const QPointF whole(std::floor(topLeft.x()), std::floor(topLeft.y()));
    if (!unscaled || topLeft == whole) {
        painter.drawImage(rect, image);
        return;
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(whole, ShiftedBySubpixel(image, topLeft - whole));
    painter.restore();
}

// Draws an image made for the device pixels from `topLeft` on, whatever the painter's transform
// from canvas coordinates (`toDevice`, possibly followed by a move) is.
void DrawOnDevicePixels(QPainter& painter, const QTransform& toDevice, QPoint topLeft,
                        const QImage& image) {
    const QPointF position = (toDevice.inverted() * painter.transform()).map(QPointF(topLeft));
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(std::round(position.x()), std::round(position.y())), image);
    painter.restore();
}

// A glyph layer either casts its shadow (drawn through its own image) or is painted straight
// onto the picture; the background shape cuts both ways, also when the background is
// transparent. `recipe` names what `paint` draws: a layer with a shadow comes from the kept
// pictures when an earlier rendering painted the same.
void DrawGlyphLayer(const Target& target, const StackedLayer& layer, const DeviceShadow& shadow,
                    const QRectF& bounds, LayerRecipe recipe,
                    const std::function<void(QPainter&)>& paint) {
    QImage& picture = target.picture;
    const QPainterPath* clip = layer.clippedToBackground ? &target.glyphClip : nullptr;
    if (layer.shadow.isCast()) {
        recipe.toDevice = target.glyphsToDevice;
        recipe.contentBounds = bounds;
        recipe.canvas = picture.size();
        recipe.sigmaX = shadow.sigmaX;
        recipe.sigmaY = shadow.sigmaY;
        recipe.shadowOffset = shadow.offset;
        const LayerPicture painted = KeptLayer(recipe, [&] {
            return PaintLayer(picture.rect(), bounds, target.glyphsToDevice, shadow, paint,
                              target.threads);
        });
        CompositeLayer(picture, clip, target.glyphsToDevice, painted, shadow, target.threads);
        return;
    }
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(target.glyphsToDevice);
    if (clip)
        painter.setClipPath(*clip);
    paint(painter);
}

} // namespace

void DrawBackground(const Target& target, const IconDesign& design,
                    const DesignGeometry::Frame& frame, const StackedLayer& layer,
                    const QColor& plate) {
    const QRectF& background = layer.rect;
    QPainter painter(&target.picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(target.toDevice);
    if (layer.outline.on)
        painter.fillPath(frame.outlinePath, layer.outline.color.toQColor());
    QLinearGradient gradient(background.topLeft(), background.bottomLeft());
    gradient.setColorAt(0.0, design.gradientStartColor.toQColor());
    gradient.setColorAt(1.0, design.gradientEndColor.toQColor());
    // A transparent design drawn full bleed stands on its opaque plate.
    const QBrush fill = design.transparentBackground ? QBrush(plate) : QBrush(gradient);
    // A full-bleed background fills the whole output, the gradient's end colours continuing
    // past the canvas. Otherwise the background fills its own path rather than a clip: one
    // anti-aliased edge at its exact position, where a rectangular clip would snap to whole
    // pixels and a rounded one would anti-alias the edge a second time.
    if (frame.fullBleed)
        painter.fillRect(target.toDevice.inverted().mapRect(QRectF(target.picture.rect())), fill);
    else
        painter.fillPath(frame.backgroundPath, fill);
}

void DrawIconImage(const Target& target, const IconDesign& design, const StackedLayer& layer) {
    const QRectF& iconRect = layer.rect;
    const DeviceShadow shadow = MakeDeviceShadow(layer.shadow, target.glyphsToDevice);
    LayerRecipe recipe;
    if (design.iconVector) {
        // An SVG image has no pixels of its own: it is drawn at the resolution it is shown at,
        // over the pixels where it or its shadow can show.
        const int reach = layer.shadow.on ? shadow.reach() : 0;
        const QRect region = target.glyphsToDevice.mapRect(iconRect).toAlignedRect().intersected(
            target.picture.rect().adjusted(-reach, -reach, reach, reach));
        const QImage drawn = PreparedVectorIcon(design, iconRect, target.glyphsToDevice, region);
        recipe.image = drawn.cacheKey();
        DrawGlyphLayer(target, layer, shadow, iconRect, recipe, [&](QPainter& p) {
            DrawOnDevicePixels(p, target.glyphsToDevice, region.topLeft(), drawn);
        });
        return;
    }
    const QImage prepared = PreparedIcon(design);
    recipe.image = prepared.cacheKey();
    DrawGlyphLayer(target, layer, shadow, iconRect, recipe,
                   [&](QPainter& p) { DrawImageExactly(p, iconRect, prepared); });
}

void DrawText(const Target& target, const IconDesign& design, const StackedLayer& layer) {
    const QPainterPath& glyphs = layer.text.glyphs;
    const DeviceShadow shadow = MakeDeviceShadow(layer.shadow, target.glyphsToDevice);
    const QPen outlinePen = DesignGeometry::OutlinePen(layer.outline.color, layer.outline.size);
    // Mitred tips of the outline reach several line widths beyond the glyphs.
    const QRectF bounds =
        layer.outline.on ? QPainterPathStroker(outlinePen).createStroke(glyphs).boundingRect() |
                               glyphs.boundingRect()
                         : glyphs.boundingRect();
    LayerRecipe recipe;
    recipe.path = glyphs;
    recipe.fill = design.textColor.toQColor().rgba64();
    recipe.outline = outlinePen.color().rgba64();
    recipe.outlineWidth = layer.outline.size;
    DrawGlyphLayer(target, layer, shadow, bounds, recipe, [&](QPainter& p) {
        p.fillPath(glyphs, design.textColor.toQColor());
        if (layer.outline.on)
            p.strokePath(glyphs, outlinePen);
    });
}

void DrawShadowBeneath(const Target& target, const Shadow& shadow) {
    ShadeBeneath(target.picture, MakeDeviceShadow(shadow, target.toDevice), target.threads);
}

} // namespace RasterLayers
