#include "platforms/PlatformPictures.h"

#include "design/ColorContrast.h"
#include "render/ImageTools.h"
#include "render/MaskShapes.h"
#include "render/ShrinkToSizes.h"
#include "render/StretchImage.h"
#include "render/TileComposition.h"
#include "support/ParallelRange.h"

#include <QSize>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// The square pictures a list of planned images is drawn from: the images themselves, and for a
// composed image its glyph picture (its backdrop is drawn at its own size).
QList<PlannedImage> SquarePictures(const QList<PlannedImage>& images) {
    QList<PlannedImage> squares;
    for (const PlannedImage& image : images) {
        const std::optional<Composition> composition =
            PlatformVariants::CompositionOf(image.variant);
        if (!composition) {
            squares.append(image);
            continue;
        }
        squares.append({composition->glyphs, PlatformPictures::GlyphSide(image)});
    }
    return squares;
}

// Sizes shrunk in one pass down their source: the pass converts each source row to linear
// light once for all of them, and enough passes to share out over the threads.
constexpr std::size_t SidesPerPass = 6;

// A share of the scaling, done on one thread: sides smaller than their source shrunk in one
// pass, or one other side (the source's own, or one enlarged past the canvas).
struct ScaleJob {
    PlatformVariant source;
    std::vector<int> sides;
    bool shrink;
    double cost; // about the source pixels read for every side
};

// The jobs for the sides each source serves, costliest first.
std::vector<ScaleJob>
ScaleJobs(const std::map<PlatformVariant, std::map<int, std::vector<PlannedImage>>>& bySource,
          const std::map<PlatformVariant, QImage>& sources) {
    std::vector<ScaleJob> jobs;
    for (const auto& [variant, bySide] : bySource) {
        const QImage& source = sources.at(variant);
        const double area = double(source.width()) * source.height();
        std::vector<int> shrunk;
        for (const auto& entry : bySide) {
            const int side = entry.first;
            if (side < source.width() && side < source.height())
                shrunk.push_back(side);
            else
                jobs.push_back({variant, {side}, false, std::max(area, double(side) * side)});
        }
        for (std::size_t begin = 0; begin < shrunk.size(); begin += SidesPerPass) {
            const std::size_t end = std::min(shrunk.size(), begin + SidesPerPass);
            jobs.push_back({variant,
                            std::vector<int>(shrunk.begin() + std::ptrdiff_t(begin),
                                             shrunk.begin() + std::ptrdiff_t(end)),
                            true, area * double(end - begin)});
        }
    }
    std::stable_sort(jobs.begin(), jobs.end(),
                     [](const ScaleJob& a, const ScaleJob& b) { return a.cost > b.cost; });
    return jobs;
}

} // namespace

PlatformPictures::PlatformPictures(const IconDesign& design, const QList<PlannedImage>& images,
                                   const QList<PlannedImage>& kept, int threads,
                                   const Delivery& deliver) {
    std::set<Key> asked;
    for (const PlannedImage& image : images)
        asked.insert(KeyOf(image));
    std::set<Key> keptKeys;
    for (const PlannedImage& image : kept)
        keptKeys.insert(KeyOf(image));
    // The composed images' glyph pictures stay until the images are composed.
    std::set<Key> keep = keptKeys;
    const QList<PlannedImage> squares = SquarePictures(images);
    for (qsizetype i = 0; i < images.size(); ++i)
        if (PlatformVariants::CompositionOf(images[i].variant))
            keep.insert(KeyOf(squares[i]));

    // The sizes each source rendering serves, largest first.
    std::map<PlatformVariant, std::set<int, std::greater<int>>> sizesBySource;
    for (const PlannedImage& image : squares)
        sizesBySource[PlatformVariants::Source(image.variant)].insert(image.pixels);

    const int canvas = CanvasPixels(design).width();
    const bool hasGlyphs = PlatformVariants::HasGlyphs(design);
    bool silhouettes = false;
    int largest = 0;
    bool filled = false;
    std::vector<std::pair<PlatformVariant, int>> sourceSizes;
    for (const auto& [variant, sizes] : sizesBySource) {
        largest = std::max(largest, *sizes.begin());
        filled = filled || PlatformVariants::FillsBackground(variant);
        silhouettes = silhouettes || (!hasGlyphs && (variant == PlatformVariant::Dark ||
                                                     variant == PlatformVariant::Tinted));
        sourceSizes.emplace_back(variant, std::min(*sizes.begin(), canvas));
    }
    std::stable_sort(sourceSizes.begin(), sourceSizes.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });

    // Each source rendered on one thread, the sources spread over the threads: a rendering
    // has steps that one thread does alone, and another rendering fills that time.
    std::vector<QImage> rendered(sourceSizes.size());
    ForEachInParallel(int(sourceSizes.size()), threads, [&](int i) {
        const auto [variant, pixels] = sourceSizes[std::size_t(i)];
        rendered[std::size_t(i)] = ImageTools::RenderIcon(
            design, PlatformVariants::Options(variant, pixels, hasGlyphs), 1);
    });
    std::map<PlatformVariant, QImage> sources;
    for (std::size_t i = 0; i < sourceSizes.size(); ++i)
        sources[sourceSizes[i].first] = std::move(rendered[i]);

    // The pictures of each source by their side; several variants may share one scaling.
    std::map<PlatformVariant, std::map<int, std::vector<PlannedImage>>> bySource;
    std::set<Key> seen;
    for (const PlannedImage& image : squares) {
        if (!seen.insert(KeyOf(image)).second)
            continue;
        bySource[PlatformVariants::Source(image.variant)][image.pixels].push_back(image);
        if (keep.count(KeyOf(image)))
            m_pictures[KeyOf(image)] = QImage();
    }
    const std::vector<ScaleJob> jobs = ScaleJobs(bySource, sources);
    ForEachInParallel(int(jobs.size()), threads, [&](int j) {
        const ScaleJob& job = jobs[std::size_t(j)];
        const QImage& source = sources.at(job.source);
        const auto finish = [&](int side, const QImage& scaled) {
            for (const PlannedImage& image : bySource.at(job.source).at(side)) {
                const QImage picture =
                    scaled.isNull() ? QImage()
                                    : PlatformVariants::Finish(image.variant, scaled, hasGlyphs);
                if (asked.count(KeyOf(image)))
                    deliver(image, PictureRows::Of(picture));
                if (keep.count(KeyOf(image)))
                    m_pictures.at(KeyOf(image)) = picture;
            }
        };
        // A rendering that failed stays missing: scaling it would give a blank picture.
        if (source.isNull()) {
            for (const int side : job.sides)
                finish(side, QImage());
        } else if (job.shrink) {
            std::vector<QSize> sizes;
            for (const int side : job.sides)
                sizes.emplace_back(side, side);
            ShrinkToSizes(source, sizes, [&](std::size_t index, const QImage& shrunk) {
                finish(job.sides[index], shrunk);
            });
        } else {
            finish(job.sides.front(),
                   StretchImage(source, job.sides.front(), job.sides.front(), 1));
        }
    });
    sources.clear();

    std::vector<PlannedImage> composed;
    for (const PlannedImage& image : images) {
        const std::optional<Composition> composition =
            PlatformVariants::CompositionOf(image.variant);
        if (!composition || !seen.insert(KeyOf(image)).second)
            continue;
        composed.push_back(image);
        filled = filled || composition->ground == Composition::Ground::Backdrop;
    }
    // The splash screens first: a thread that took one last would keep the other waiting.
    std::stable_sort(composed.begin(), composed.end(), [](const auto& a, const auto& b) {
        return qint64(a.pixels) * a.Height() > qint64(b.pixels) * b.Height();
    });
    std::vector<QImage> composedKept(composed.size());
    ForEachInParallel(int(composed.size()), threads, [&](int i) {
        const PlannedImage& image = composed[std::size_t(i)];
        const PictureRows picture = Composed(design, image);
        deliver(image, picture);
        if (keep.count(KeyOf(image)))
            composedKept[std::size_t(i)] = picture.ToImage();
    });
    // The glyph pictures were kept for the composed images alone.
    std::erase_if(m_pictures, [&](const auto& entry) { return !keptKeys.count(entry.first); });
    for (std::size_t i = 0; i < composed.size(); ++i)
        if (!composedKept[i].isNull())
            m_pictures[KeyOf(composed[i])] = std::move(composedKept[i]);

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

PictureRows PlatformPictures::Composed(const IconDesign& design, const PlannedImage& image) const {
    const std::optional<Composition> composition = PlatformVariants::CompositionOf(image.variant);
    // The ground varies only downwards: one colour a row, which for the full-bleed background
    // is one column drawn at the picture's height, as sharp as any size.
    QImage column;
    QRgb flat = 0;
    switch (composition->ground) {
    case Composition::Ground::Backdrop: {
        RenderOptions options = PlatformVariants::Options(PlatformVariant::Backdrop, 1, true);
        options.outputSize = QSize(1, image.Height());
        column = ImageTools::RenderIcon(design, options, 1)
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (column.isNull())
            return {};
        break;
    }
    case Composition::Ground::DarkHomeScreen:
        flat = ColorContrast::DarkHomeScreen().rgba();
        break;
    case Composition::Ground::Transparent:
        break;
    }
    QImage glyphs = At({composition->glyphs, GlyphSide(image)});
    if (glyphs.isNull())
        return {};
    if (composition->circle)
        glyphs = TileComposition::Masked(glyphs, MaskShapes::Circle(QRectF(glyphs.rect())));
    glyphs.convertTo(QImage::Format_ARGB32_Premultiplied);
    const int width = image.pixels;
    const QRect placed(QPoint((width - glyphs.width()) / 2, (image.Height() - glyphs.height()) / 2),
                       glyphs.size());
    return {QSize(width, image.Height()), [column, flat, glyphs, placed, width](int y, QRgb* row) {
                std::fill(row, row + width, column.isNull() ? flat : column.pixel(0, y));
                if (y >= placed.top() && y <= placed.bottom())
                    TileComposition::OverRow(
                        row + placed.left(),
                        reinterpret_cast<const QRgb*>(glyphs.constScanLine(y - placed.top())),
                        placed.width());
                return row;
            }};
}

QImage PlatformPictures::At(const PlannedImage& image) const {
    const auto found = m_pictures.find(KeyOf(image));
    return found == m_pictures.end() ? QImage() : found->second;
}

QSize PlatformPictures::CanvasPixels(const IconDesign& design) {
    auto pixels = [](float units) {
        return std::isfinite(units) ? int(std::clamp(units, 1.0f, 10000.0f)) : 1;
    };
    return {pixels(design.canvasWidth), pixels(design.canvasHeight)};
}

int PlatformPictures::GlyphSide(const PlannedImage& image) {
    const std::optional<Composition> composition = PlatformVariants::CompositionOf(image.variant);
    const double share = composition ? composition->glyphShare : 1.0;
    return std::max(1, int(std::lround(image.Height() * share)));
}

PlatformPictures::Key PlatformPictures::KeyOf(const PlannedImage& image) {
    return {image.variant, image.pixels, image.Height()};
}
