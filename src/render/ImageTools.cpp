#include "render/ImageTools.h"

#include "design/DesignValues.h"
#include "render/DesignGeometry.h"
#include "render/KeptLayer.h"
#include "render/PreparedIcon.h"
#include "render/PreparedVectorIcon.h"
#include "render/RenderKernels.h"
#include "render/ShadowMask.h"
#include "render/SubpixelShift.h"
#include "support/LargeBuffer.h"
#include "support/ParallelRange.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace ImageTools {
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
};

DeviceShadow MakeDeviceShadow(const Rgba& color, double blurRadius, double distance,
                              double angleDegrees, const QTransform& toDevice) {
    const QPointF offset = DesignGeometry::ShadowOffset(distance, angleDegrees);
    DeviceShadow shadow;
    shadow.color = color.toQColor();
    shadow.sigmaX = std::max(0.0, blurRadius) * 0.5 * toDevice.m11();
    shadow.sigmaY = std::max(0.0, blurRadius) * 0.5 * toDevice.m22();
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
    const int reach =
        shadow.margin() + 1 +
        int(std::ceil(std::max(std::abs(shadow.offset.x()), std::abs(shadow.offset.y()))));
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
// canvas coordinates) cuts both, as it cuts anything drawn with a shadow. One pass of our own
// over the affected pixels rather than a shadow image and two clipped painter blends.
void CompositeLayer(QImage& target, const QPainterPath& clip, const QTransform& toDevice,
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
    clipCoverage.fill(0);
    {
        QPainter painter(&clipCoverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(toDevice * QTransform::fromTranslate(-region.left(), -region.top()));
        painter.fillPath(clip, Qt::black);
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
void DrawShadowBeneath(QImage& image, const DeviceShadow& shadow, int threads) {
    if (shadow.color.alpha() == 0)
        return;
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

// Every pixel's colour replaced as the treatment asks; premultiplied values stay valid because
// neither treatment raises a channel above the pixel's alpha.
void ApplyTreatment(QImage& image, RenderOptions::Treatment treatment, int threads) {
    if (treatment == RenderOptions::Treatment::None)
        return;
    uchar* const bits = image.bits(); // once, before the workers start (see above)
    const qsizetype stride = image.bytesPerLine();
    const int width = image.width();
    ParallelRange(image.height(), threads, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            auto* pixels = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = 0; x < width; ++x) {
                const QRgb p = pixels[x];
                const int a = qAlpha(p);
                // Rec. 709 luminance weights in 1/256ths, summing to exactly 256.
                const int level = treatment == RenderOptions::Treatment::Silhouette
                                      ? a
                                      : (54 * qRed(p) + 183 * qGreen(p) + 19 * qBlue(p) + 128) >> 8;
                pixels[x] = qRgba(level, level, level, a);
            }
        }
    });
}

} // namespace

QImage RenderIcon(const IconDesign& design, int threads) {
    return RenderIcon(design, RenderOptions{}, threads);
}

QImage RenderIcon(const IconDesign& requested, const RenderOptions& options, int threads) {
    threads = ResolveThreadCount(threads);
    IconDesign design = DesignGeometry::ForDrawing(requested);
    if (!options.glyphShadows)
        design.iconShadow = design.textShadow = false;
    using Layers = RenderOptions::Layers;
    const bool drawBackground = options.layers != Layers::Glyphs;
    const bool drawGlyphs = options.layers != Layers::Background;
    // A layer drawn on its own is drawn full bleed, so that the layers laid over each other
    // give the full-bleed picture.
    const bool fullBleed = options.fullBleed || options.layers != Layers::All;

    const double w = design.canvasWidth;
    const double h = design.canvasHeight;
    const int pixelWidth = std::clamp(static_cast<int>(w), 1, DesignValues::LargestSide);
    const int pixelHeight = std::clamp(static_cast<int>(h), 1, DesignValues::LargestSide);
    const QSize outputSize =
        options.outputSize.isEmpty()
            ? QSize(pixelWidth, pixelHeight)
            : options.outputSize
                  .boundedTo(QSize(DesignValues::LargestSide, DesignValues::LargestSide))
                  .expandedTo(QSize(1, 1));

    // The whole picture, outline and shadow room included, is drawn straight at the output size
    // through one transform instead of materialising the larger picture and scaling it down.
    const DesignGeometry::Frame frame = DesignGeometry::FrameOf(design, fullBleed, drawBackground);
    // The inset puts the whole picture into a centred part of the output.
    const double fraction = std::isfinite(options.insetFraction) && options.insetFraction > 0.0
                                ? std::min(options.insetFraction, 1.0)
                                : 1.0;
    const QTransform toDevice =
        DesignGeometry::PictureTransform(frame, QSizeF(outputSize), fraction);

    QImage result = MakePooledImage(outputSize.width(), outputSize.height());
    if (result.isNull())
        return result;

    const QRectF& background = frame.background;
    const QPainterPath& backgroundPath = frame.backgroundPath;

    if (drawBackground && frame.opaqueBackground) {
        QPainter painter(&result);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setTransform(toDevice);
        if (!frame.outlinePath.isEmpty())
            painter.fillPath(frame.outlinePath, design.backgroundStrokeColor.toQColor());
        QLinearGradient gradient(background.topLeft(), background.bottomLeft());
        gradient.setColorAt(0.0, design.gradientStartColor.toQColor());
        gradient.setColorAt(1.0, design.gradientEndColor.toQColor());
        // A transparent design drawn full bleed stands on its opaque plate.
        const QBrush fill = design.transparentBackground ? QBrush(options.plate) : QBrush(gradient);
        // A full-bleed background fills the whole output, the gradient's end colours continuing
        // past the canvas. Otherwise the background fills its own path rather than a clip: one
        // anti-aliased edge at its exact position, where a rectangular clip would snap to whole
        // pixels and a rounded one would anti-alias the edge a second time.
        if (frame.fullBleed)
            painter.fillRect(toDevice.inverted().mapRect(QRectF(result.rect())), fill);
        else
            painter.fillPath(backgroundPath, fill);
    }

    // Icon and text are placed through a transform of their own, the canvas's scaled about its
    // centre when a safe zone asks for it; the background's shape still cuts them where it lies.
    const double glyphScale =
        std::isfinite(options.glyphScale) && options.glyphScale > 0.0 ? options.glyphScale : 1.0;
    const QPointF centre = background.center();
    const QTransform aboutCentre = QTransform::fromTranslate(-centre.x(), -centre.y()) *
                                   QTransform::fromScale(glyphScale, glyphScale) *
                                   QTransform::fromTranslate(centre.x(), centre.y());
    const QTransform glyphsToDevice = aboutCentre * toDevice;
    const QPainterPath glyphClip = aboutCentre.inverted().map(backgroundPath);

    // A layer either casts its shadow (drawn through its own image) or is painted straight
    // onto the canvas, cut to the background shape; the clip holds for the icon and the text,
    // also when the background is transparent.
    // `recipe` names what `paint` draws; a layer with a shadow comes from the kept pictures
    // when an earlier rendering painted the same.
    auto drawLayer = [&](bool withShadow, const DeviceShadow& shadow, const QRectF& bounds,
                         LayerRecipe recipe, const std::function<void(QPainter&)>& paint) {
        if (withShadow && shadow.color.alpha() > 0) {
            recipe.toDevice = glyphsToDevice;
            recipe.contentBounds = bounds;
            recipe.canvas = result.size();
            recipe.sigmaX = shadow.sigmaX;
            recipe.sigmaY = shadow.sigmaY;
            recipe.shadowOffset = shadow.offset;
            const LayerPicture picture = KeptLayer(recipe, [&] {
                return PaintLayer(result.rect(), bounds, glyphsToDevice, shadow, paint, threads);
            });
            CompositeLayer(result, glyphClip, glyphsToDevice, picture, shadow, threads);
            return;
        }
        QPainter painter(&result);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setTransform(glyphsToDevice);
        painter.setClipPath(glyphClip);
        paint(painter);
    };

    const bool vectorIcon = design.iconVector != nullptr;
    if (drawGlyphs && (vectorIcon || (!design.iconImage.isNull() && design.iconImage.width() > 0 &&
                                      design.iconImage.height() > 0))) {
        // An SVG image has no pixels of its own: it is drawn below, once its place is known.
        const QImage prepared = vectorIcon ? QImage() : PreparedIcon(design);
        const QRectF iconRect =
            DesignGeometry::IconRect(design, frame, DesignGeometry::IconSize(design));
        const DeviceShadow shadow =
            MakeDeviceShadow(design.iconShadowColor, design.iconShadowBlur, design.iconShadowOffset,
                             design.iconShadowAngle, glyphsToDevice);
        LayerRecipe recipe;
        if (vectorIcon) {
            // Drawn at the resolution it is shown at, over the pixels where it or its shadow
            // can show.
            const int reach = design.iconShadow
                                  ? shadow.margin() + 1 +
                                        int(std::ceil(std::max(std::abs(shadow.offset.x()),
                                                               std::abs(shadow.offset.y()))))
                                  : 0;
            const QRect region = glyphsToDevice.mapRect(iconRect).toAlignedRect().intersected(
                result.rect().adjusted(-reach, -reach, reach, reach));
            const QImage drawn = PreparedVectorIcon(design, iconRect, glyphsToDevice, region);
            recipe.image = drawn.cacheKey();
            drawLayer(design.iconShadow, shadow, iconRect, recipe, [&](QPainter& p) {
                DrawOnDevicePixels(p, glyphsToDevice, region.topLeft(), drawn);
            });
        } else {
            recipe.image = prepared.cacheKey();
            drawLayer(design.iconShadow, shadow, iconRect, recipe,
                      [&](QPainter& p) { DrawImageExactly(p, iconRect, prepared); });
        }
    }

    if (drawGlyphs && !design.text.isEmpty()) {
        const DesignGeometry::Text text =
            DesignGeometry::TextOf(design, frame, ShadowOf(design, DesignValues::Layer::Text));
        const QPainterPath& glyphs = text.glyphs;
        const double strokeWidth = text.strokeWidth;
        // The text's own shadow always replaces the icon's; a text without shadow has none.
        const DeviceShadow shadow =
            MakeDeviceShadow(design.textShadowColor, design.textShadowBlur, design.textShadowOffset,
                             design.textShadowAngle, glyphsToDevice);
        const QPen outlinePen = DesignGeometry::OutlinePen(design.textStrokeColor, strokeWidth);
        // Mitred tips of the outline reach several line widths beyond the glyphs.
        const QRectF bounds =
            strokeWidth > 0.0
                ? QPainterPathStroker(outlinePen).createStroke(glyphs).boundingRect() |
                      glyphs.boundingRect()
                : glyphs.boundingRect();
        LayerRecipe recipe;
        recipe.path = glyphs;
        recipe.fill = design.textColor.toQColor().rgba64();
        recipe.outline = outlinePen.color().rgba64();
        recipe.outlineWidth = strokeWidth;
        drawLayer(design.textShadow, shadow, bounds, recipe, [&](QPainter& p) {
            p.fillPath(glyphs, design.textColor.toQColor());
            if (strokeWidth > 0.0)
                p.strokePath(glyphs, outlinePen);
        });
    }

    if (frame.backgroundShadow) {
        const DeviceShadow shadow =
            MakeDeviceShadow(design.backgroundShadowColor, design.backgroundShadowBlur,
                             design.backgroundShadowOffset, design.backgroundShadowAngle, toDevice);
        DrawShadowBeneath(result, shadow, threads);
    }
    ApplyTreatment(result, options.treatment, threads);
    return result;
}

QImage RotateImage(const QImage& image, double degrees) {
    const double w = image.width();
    const double h = image.height();
    if (!std::isfinite(degrees))
        degrees = 0.0;
    // Counter-clockwise on a y-up canvas is clockwise-negative in Qt's y-down coordinates.
    const QRectF rotatedBounds = QTransform().rotate(-degrees).mapRect(QRectF(0, 0, w, h));
    const int bw = std::max(1, qRound(rotatedBounds.width()));
    const int bh = std::max(1, qRound(rotatedBounds.height()));
    QImage result(bw, bh, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    if (image.isNull())
        return result;
    QPainter painter(&result);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(bw / 2.0, bh / 2.0);
    painter.rotate(-degrees);
    painter.translate(-bw / 2.0, -bh / 2.0);
    painter.drawImage(QRectF((bw - w) / 2.0, (bh - h) / 2.0, w, h), image);
    return result;
}

QImage DrawCanvasMargins(const QImage& image, const QColor& color, double lineWidth) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (result.isNull() || lineWidth <= 0.0)
        return result;
    const double width = result.width();
    const double height = result.height();
    const double half = lineWidth * 0.5;
    // Square dots of the line width, one every 12 units along the frame, as zero-length
    // dashes with square caps draw them; the frame runs counter-clockwise from the bottom-left.
    const QPointF corners[5] = {{half, half},
                                {width - half, half},
                                {width - half, height - half},
                                {half, height - half},
                                {half, half}};
    constexpr double kDotSpacing = 12.0;
    QPainter painter(&result);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    double distanceToNextDot = 0.0;
    for (int side = 0; side < 4; ++side) {
        const QPointF from = corners[side];
        const QPointF to = corners[side + 1];
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        double along = distanceToNextDot;
        for (; along <= length; along += kDotSpacing) {
            const double t = length > 0.0 ? along / length : 0.0;
            const QPointF yUp = from + (to - from) * t;
            const QPointF centre(yUp.x(), height - yUp.y());
            painter.drawRect(QRectF(centre.x() - half, centre.y() - half, lineWidth, lineWidth));
        }
        distanceToNextDot = along - length;
    }
    return result;
}

} // namespace ImageTools
