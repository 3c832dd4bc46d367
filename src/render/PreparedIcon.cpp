#include "render/PreparedIcon.h"

#include "render/ImageTools.h"
#include "support/KeptAnswers.h"

#include <QPainter>
#include <functional>

namespace {

// Preparing redraws every pixel of the icon, yet while the user changes anything else the
// prepared icon stays the same: the last one is kept for the next rendering. Larger icons are
// prepared afresh rather than held in memory twice.
constexpr qint64 LargestKeptPixels = 2048 * 2048;

struct Preparation {
    qint64 image = 0; // QImage::cacheKey: changes whenever the pixels do
    float rotation = 0.0f;
    bool ownColors = true;
    Rgba tint;

    bool operator==(const Preparation&) const = default;
};

QImage Prepare(const IconDesign& design) {
    const QImage& icon = design.iconImage;
    QImage prepared(icon.size(), QImage::Format_ARGB32_Premultiplied);
    prepared.fill(Qt::transparent);
    QPainter painter(&prepared);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(0, 0, icon.width(), icon.height()),
                      ImageTools::RotateImage(icon, design.iconRotation));
    if (!design.useImageColors) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(prepared.rect(), design.iconColor.toQColor());
    }
    return prepared;
}

} // namespace

QImage PreparedIcon(const IconDesign& design) {
    const QImage& icon = design.iconImage;
    const Preparation wanted{icon.cacheKey(), design.iconRotation, design.useImageColors,
                             design.useImageColors ? Rgba{} : design.iconColor};
    static auto* kept = new KeptAnswers<Preparation, QImage>;
    return kept->Get(
        wanted, std::equal_to<>(), [&] { return Prepare(design); },
        [](const QImage& prepared) {
            return qint64(prepared.width()) * prepared.height() <= LargestKeptPixels;
        });
}
