#include "platforms/PlatformPictures.h"

#include "render/ImageTools.h"
#include "render/StretchImage.h"

#include <algorithm>
#include <cmath>
#include <set>

PlatformPictures::PlatformPictures(const IconDesign& design, const QList<PlannedImage>& images,
                                   int threads) {
    // The sizes each source rendering serves, largest first.
    std::map<PlatformVariant, std::set<int, std::greater<int>>> sizesBySource;
    for (const PlannedImage& image : images)
        sizesBySource[PlatformVariants::Source(image.variant)].insert(image.pixels);

    const int canvas = CanvasPixels(design).width();
    const bool hasGlyphs = PlatformVariants::HasGlyphs(design);
    bool silhouettes = false;
    int largest = 0;
    bool filled = false;
    std::map<PlatformVariant, ScaleSource> sources;
    for (const auto& [variant, sizes] : sizesBySource) {
        const int pixels = std::min(*sizes.begin(), canvas);
        largest = std::max(largest, *sizes.begin());
        filled = filled || PlatformVariants::FillsBackground(variant);
        silhouettes = silhouettes || (!hasGlyphs && (variant == PlatformVariant::Dark ||
                                                     variant == PlatformVariant::Tinted));
        sources.try_emplace(
            variant, ImageTools::RenderIcon(
                         design, PlatformVariants::Options(variant, pixels, hasGlyphs), threads));
    }

    for (const PlannedImage& image : images) {
        const Key key{image.variant, image.pixels};
        if (m_pictures.count(key))
            continue;
        const ScaleSource& source = sources.at(PlatformVariants::Source(image.variant));
        // A rendering that failed stays missing: scaling it would give a blank picture.
        QImage scaled = source.Image().isNull()
                            ? QImage()
                            : StretchImage(source, image.pixels, image.pixels, threads);
        m_pictures[key] =
            scaled.isNull() ? QImage()
                            : PlatformVariants::Finish(image.variant, std::move(scaled), hasGlyphs);
    }

    if (filled && design.transparentBackground)
        m_notes.append(QStringLiteral("Note: the background is transparent; the full-bleed "
                                      "icons put the design on opaque white."));
    if (silhouettes)
        m_notes.append(QStringLiteral("Note: the design has no icon image and no text; the dark "
                                      "and tinted icons show the background's silhouette."));
    if (largest > canvas)
        m_notes.append(QStringLiteral("Note: the canvas is %1 x %1 pixels; icons up to %2 "
                                      "pixels are enlarged from it.")
                           .arg(canvas)
                           .arg(largest));
}

QImage PlatformPictures::At(const PlannedImage& image) const {
    const auto found = m_pictures.find({image.variant, image.pixels});
    return found == m_pictures.end() ? QImage() : found->second;
}

QSize PlatformPictures::CanvasPixels(const IconDesign& design) {
    auto pixels = [](float units) {
        return std::isfinite(units) ? int(std::clamp(units, 1.0f, 10000.0f)) : 1;
    };
    return {pixels(design.canvasWidth), pixels(design.canvasHeight)};
}
