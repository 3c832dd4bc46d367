#include "render/PreparedVectorIcon.h"

#include "imageio/SvgImage.h"
#include "render/DesignGeometry.h"
#include "render/StretchImage.h"
#include "support/KeptAnswers.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr qint64 LargestKeptPixels = qint64(8) << 20;

struct Preparation {
    std::shared_ptr<const SvgImage> image; // held, so that its address is never reused
    QTransform toPixels;
    QSize size;
    bool ownColors = true;
    Rgba tint;

    bool operator==(const Preparation&) const = default;
};

// The document drawn onto `size` pixels: straight at that size when the document may cover
// that many pixels, else at the largest area it may cover and enlarged.
QImage DrawnWithinBudget(const SvgImage& image, QSize size, const QTransform& toPixels) {
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels <= image.largestDrawing())
        return image.Draw(size, toPixels);
    const double shrink = std::sqrt(double(image.largestDrawing()) / double(pixels));
    const QSize reduced(std::max(1, int(size.width() * shrink)),
                        std::max(1, int(size.height() * shrink)));
    const QImage drawn = image.Draw(
        reduced, toPixels * QTransform::fromScale(double(reduced.width()) / size.width(),
                                                  double(reduced.height()) / size.height()));
    return drawn.isNull() ? drawn : StretchImage(drawn, size.width(), size.height());
}

} // namespace

QSizeF FittedVectorIconSize(const SvgImage& image, double canvasWidth, double canvasHeight) {
    const QSizeF area = image.viewBox().size();
    return area.scaled(QSizeF(canvasWidth, canvasHeight), Qt::KeepAspectRatio);
}

QImage PreparedVectorIcon(const IconDesign& design, const QRectF& iconRect,
                          const QTransform& toDevice, const QRect& region) {
    const SvgImage& image = *design.iconVector;
    const QRectF area = image.viewBox();
    if (region.isEmpty() || iconRect.isEmpty())
        return {};
    const QTransform toPixels =
        QTransform::fromTranslate(-area.x(), -area.y()) *
        QTransform::fromScale(iconRect.width() / area.width(), iconRect.height() / area.height()) *
        DesignGeometry::TurnedWithin(iconRect.size(), design.iconRotation) *
        QTransform::fromTranslate(iconRect.left(), iconRect.top()) * toDevice *
        QTransform::fromTranslate(-region.left(), -region.top());
    const Preparation wanted{design.iconVector, toPixels, region.size(), design.useImageColors,
                             design.useImageColors ? Rgba{} : design.iconColor};
    // The editor asks for two at a time: the interim preview at view size and the full
    // rendering at canvas size.
    static auto* kept = new KeptAnswers<Preparation, QImage, 2>;
    return kept->Get(
        wanted, std::equal_to<>(),
        [&] {
            QImage drawn = DrawnWithinBudget(image, region.size(), toPixels);
            if (!drawn.isNull() && !design.useImageColors) {
                QPainter painter(&drawn);
                painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
                painter.fillRect(drawn.rect(), design.iconColor.toQColor());
            }
            return drawn;
        },
        // A drawing the image helper refused is tried again at the next rendering.
        [](const QImage& drawn) {
            return !drawn.isNull() && qint64(drawn.width()) * drawn.height() <= LargestKeptPixels;
        });
}
