#include "render/ImageTools.h"

#include "design/DesignValues.h"
#include "render/DesignGeometry.h"
#include "render/LayerStack.h"
#include "render/RasterLayers.h"
#include "support/LargeBuffer.h"
#include "support/ParallelRange.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace ImageTools {
namespace {

// Every pixel's colour replaced as the treatment asks; premultiplied values stay valid because
// neither treatment raises a channel above the pixel's alpha.
void ApplyTreatment(QImage& image, RenderOptions::Treatment treatment, int threads) {
    if (treatment == RenderOptions::Treatment::None)
        return;
    // Row pointers come from one bits() call here: scanLine() on the workers would each check
    // the image for sharing, a race on its reference count.
    uchar* const bits = image.bits();
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
    const IconDesign design = DesignGeometry::ForDrawing(requested);
    const LayerStack stack = StackOf(design, options);
    const DesignGeometry::Frame& frame = stack.frame;

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
    // The inset puts the whole picture into a centred part of the output.
    const double fraction = std::isfinite(options.insetFraction) && options.insetFraction > 0.0
                                ? std::min(options.insetFraction, 1.0)
                                : 1.0;
    const QTransform toDevice =
        DesignGeometry::PictureTransform(frame, QSizeF(outputSize), fraction);

    QImage result = MakePooledImage(outputSize.width(), outputSize.height());
    if (result.isNull())
        return result;

    // Icon and text are placed through a transform of their own, the canvas's scaled about its
    // centre when a safe zone asks for it; the background's shape still cuts them where it lies.
    const double glyphScale =
        std::isfinite(options.glyphScale) && options.glyphScale > 0.0 ? options.glyphScale : 1.0;
    const QPointF centre = frame.background.center();
    const QTransform aboutCentre = QTransform::fromTranslate(-centre.x(), -centre.y()) *
                                   QTransform::fromScale(glyphScale, glyphScale) *
                                   QTransform::fromTranslate(centre.x(), centre.y());
    const RasterLayers::Target target{result, toDevice, aboutCentre * toDevice,
                                      aboutCentre.inverted().map(frame.backgroundPath), threads};

    using DesignValues::Layer;
    for (const StackedLayer& layer : stack.layers) {
        switch (layer.part) {
        case Layer::Background:
            RasterLayers::DrawBackground(target, design, frame, layer, options.plate);
            break;
        case Layer::Icon:
            RasterLayers::DrawIconImage(target, design, layer);
            break;
        case Layer::Text:
            RasterLayers::DrawText(target, design, layer);
            break;
        case Layer::None:
            break;
        }
    }
    if (stack.beneath.isCast())
        RasterLayers::DrawShadowBeneath(target, stack.beneath);
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
