#include "platforms/PlatformPictures.h"

#include "design/ColorContrast.h"
#include "design/DesignValues.h"
#include "render/ImageTools.h"
#include "render/MaskShapes.h"
#include "render/ShrinkToSizes.h"
#include "render/StretchImage.h"
#include "render/TileComposition.h"
#include "support/ParallelRange.h"

#include <QSize>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
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

// A source rendering, made by the first scaling job that needs it and let go after the last:
// rendering within the jobs keeps every thread busy, and no more renderings than threads
// are in memory at once.
struct LazySource {
    int pixels = 0; // the side it is rendered at
    std::once_flag rendered;
    QImage image;
    std::atomic<int> jobsLeft{0};
};

// A share of the scaling, done on one thread: sides smaller than their source shrunk in one
// pass, or one other side (the source's own, or one enlarged past the canvas).
struct ScaleJob {
    PlatformVariant source;
    std::vector<int> sides;
    bool shrink;
};

// The jobs for the sides each source serves: each source's costliest first, and the sources
// taken in turn, so that no two threads start on one source and wait for its rendering.
std::vector<ScaleJob>
ScaleJobs(const std::map<PlatformVariant, std::map<int, std::vector<PlannedImage>>>& bySource,
          std::map<PlatformVariant, LazySource>& sources) {
    std::vector<std::vector<ScaleJob>> perSource;
    for (const auto& [variant, bySide] : bySource) {
        const int pixels = sources.at(variant).pixels;
        std::vector<ScaleJob>& jobs = perSource.emplace_back();
        std::vector<int> shrunk;
        for (const auto& entry : bySide) {
            if (entry.first < pixels)
                shrunk.insert(shrunk.begin(), entry.first);
            else
                jobs.push_back({variant, {entry.first}, false});
        }
        for (std::size_t begin = 0; begin < shrunk.size(); begin += SidesPerPass) {
            const std::size_t end = std::min(shrunk.size(), begin + SidesPerPass);
            jobs.push_back({variant,
                            std::vector<int>(shrunk.begin() + std::ptrdiff_t(begin),
                                             shrunk.begin() + std::ptrdiff_t(end)),
                            true});
        }
        sources.at(variant).jobsLeft = int(jobs.size());
    }
    // A pass reads its whole source for every side it makes.
    auto cost = [&](const ScaleJob& job) {
        const double area = double(sources.at(job.source).pixels) * sources.at(job.source).pixels;
        return job.shrink ? area * double(job.sides.size())
                          : std::max(area, double(job.sides.front()) * job.sides.front());
    };
    for (std::vector<ScaleJob>& jobs : perSource)
        std::stable_sort(jobs.begin(), jobs.end(),
                         [&](const ScaleJob& a, const ScaleJob& b) { return cost(a) > cost(b); });
    std::stable_sort(perSource.begin(), perSource.end(), [&](const auto& a, const auto& b) {
        return cost(a.front()) > cost(b.front());
    });
    std::vector<ScaleJob> jobs;
    for (std::size_t turn = 0;; ++turn) {
        const std::size_t before = jobs.size();
        for (std::vector<ScaleJob>& sourceJobs : perSource)
            if (turn < sourceJobs.size())
                jobs.push_back(std::move(sourceJobs[turn]));
        if (jobs.size() == before)
            return jobs;
    }
}

} // namespace

PlatformPictures::PlatformPictures(const IconDesign& design, const QList<PlannedImage>& images,
                                   const QList<PlannedImage>& kept, int threads,
                                   const Delivery& deliver, const Badge& badge)
    : m_badge(badge), m_drawnArea(BadgeArea::OfDesign(design)) {
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
    m_traits = PlatformVariants::TraitsOf(design);
    const bool hasGlyphs = m_traits.hasGlyphs;
    bool silhouettes = false;
    int largest = 0;
    bool filled = false;
    std::map<PlatformVariant, LazySource> sources;
    for (const auto& [variant, sizes] : sizesBySource) {
        largest = std::max(largest, *sizes.begin());
        filled = filled || PlatformVariants::FillsBackground(variant);
        silhouettes = silhouettes || (!hasGlyphs && (variant == PlatformVariant::Dark ||
                                                     variant == PlatformVariant::Tinted ||
                                                     variant == PlatformVariant::Foreground ||
                                                     variant == PlatformVariant::Monochrome));
        sources[variant].pixels = std::min(*sizes.begin(), canvas);
    }

    // The pictures of each source by their side; several variants may share one scaling.
    std::map<PlatformVariant, std::map<int, std::vector<PlannedImage>>> bySource;
    std::set<Key> seen;
    for (const PlannedImage& image : squares) {
        if (!seen.insert(KeyOf(image)).second)
            continue;
        bySource[PlatformVariants::Source(image.variant)][image.pixels].push_back(image);
        // Made now, so that the jobs only fill in entries and never change the map itself.
        if (keep.count(KeyOf(image)))
            m_pictures[KeyOf(image)] = QImage();
    }
    const std::vector<ScaleJob> jobs = ScaleJobs(bySource, sources);
    ForEachInParallel(int(jobs.size()), threads, [&](int j) {
        const ScaleJob& job = jobs[std::size_t(j)];
        LazySource& source = sources.at(job.source);
        std::call_once(source.rendered, [&] {
            source.image = ImageTools::RenderIcon(
                design, PlatformVariants::Options(job.source, source.pixels, m_traits), 1);
        });
        const auto finish = [&](int side, const QImage& scaled) {
            for (const PlannedImage& image : bySource.at(job.source).at(side)) {
                const QImage picture =
                    scaled.isNull() ? QImage()
                                    : PlatformVariants::Finish(image.variant, scaled, hasGlyphs);
                const QImage badged = Badged(image, picture);
                if (asked.count(KeyOf(image)))
                    deliver(image, PictureRows::Of(badged));
                // A composed image's glyph picture gets the badge of the composed image alone.
                if (keep.count(KeyOf(image)))
                    m_pictures.at(KeyOf(image)) = keptKeys.count(KeyOf(image)) ? badged : picture;
            }
        };
        // A rendering that failed stays missing: scaling it would give a blank picture.
        if (source.image.isNull()) {
            for (const int side : job.sides)
                finish(side, QImage());
        } else if (job.shrink && source.image.size() == QSize(source.pixels, source.pixels)) {
            std::vector<QSize> sizes;
            for (const int side : job.sides)
                sizes.emplace_back(side, side);
            ShrinkToSizes(source.image, sizes, [&](std::size_t index, const QImage& shrunk) {
                finish(job.sides[index], shrunk);
            });
        } else {
            for (const int side : job.sides)
                finish(side, StretchImage(source.image, side, side, 1));
        }
        if (--source.jobsLeft == 0)
            source.image = QImage();
    });

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
        m_notes.append(
            m_traits.ink.plate == QColor(Qt::white)
                ? QStringLiteral("Note: the background is transparent; the full-bleed icons put "
                                 "the design on opaque white.")
                : QStringLiteral("Note: the background is transparent; the full-bleed icons put "
                                 "the design on the dark home screen's colour (%1), on which its "
                                 "icon and text read better than on white.")
                      .arg(m_traits.ink.plate.name()));
    if (silhouettes)
        m_notes.append(QStringLiteral("Note: the design has no icon image and no text; the dark, "
                                      "tinted, monochrome and foreground icons show the "
                                      "background's silhouette."));
    AddFittingNotes(sizesBySource);
    if (largest > canvas)
        m_notes.append(QStringLiteral("Note: the canvas is %1 x %1 pixels; icons up to %2 "
                                      "pixels are enlarged from it.")
                           .arg(canvas)
                           .arg(largest));
}

// Which safe zones made the glyphs smaller, each said once with how much.
void PlatformPictures::AddFittingNotes(
    const std::map<PlatformVariant, std::set<int, std::greater<int>>>& sources) {
    struct Zone {
        std::vector<PlatformVariant> variants;
        const char* name;
    };
    const Zone zones[] = {
        {{PlatformVariant::Foreground, PlatformVariant::Monochrome},
         "the adaptive launcher layers' safe zone (66 of 108 dp)"},
        {{PlatformVariant::Maskable}, "the maskable web icons' safe zone (the central 80 %)"},
        {{PlatformVariant::CircleGlyphs}, "the splash icon's circle (192 of 288 dp)"},
    };
    if (!m_traits.hasGlyphs)
        return;
    for (const Zone& zone : zones) {
        for (PlatformVariant variant : zone.variants) {
            const double scale = PlatformVariants::GlyphScale(variant, m_traits);
            if (!sources.count(variant) || scale >= 1.0)
                continue;
            m_notes.append(QStringLiteral("Note: the icon and text are scaled to %1 % to fit %2.")
                               .arg(int(std::floor(scale * 100.0)))
                               .arg(QLatin1String(zone.name)));
            break;
        }
    }
}

QImage PlatformPictures::Badged(const PlannedImage& image, QImage picture) const {
    if (!m_badge.IsSet() || picture.isNull())
        return picture;
    const std::optional<BadgeArea> area = PlatformVariants::BadgeAreaOf(
        image.variant, picture.size(), m_badge.Options().splash, m_drawnArea);
    if (area)
        m_badge.Draw(picture, *area, PlatformVariants::BadgeLookOf(image.variant));
    return picture;
}

PictureRows PlatformPictures::Composed(const IconDesign& design, const PlannedImage& image) const {
    PictureRows rows = ComposedRows(design, image, *PlatformVariants::CompositionOf(image.variant));
    if (!m_badge.IsSet() || !PlatformVariants::BadgeAreaOf(image.variant, rows.size,
                                                           m_badge.Options().splash, m_drawnArea))
        return rows;
    // Made whole to be badged: the badge crosses many rows.
    return PictureRows::Of(Badged(image, rows.ToImage()));
}

PictureRows PlatformPictures::ComposedRows(const IconDesign& design, const PlannedImage& image,
                                           const Composition& composition) const {
    // The ground varies only downwards: one colour a row, which for the full-bleed background
    // is one column drawn at the picture's height, as sharp as any size.
    QImage column;
    QRgb flat = 0;
    switch (composition.ground) {
    case Composition::Ground::Backdrop: {
        RenderOptions options = PlatformVariants::Options(PlatformVariant::Backdrop, 1, m_traits);
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
    QImage glyphs = At({composition.glyphs, GlyphSide(image)});
    if (glyphs.isNull())
        return {};
    if (composition.circle)
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
        return std::isfinite(units) ? int(std::clamp(units, 1.0f, float(DesignValues::LargestSide)))
                                    : 1;
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
