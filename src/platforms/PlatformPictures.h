#pragma once

#include "design/IconDesign.h"
#include "platforms/PlannedFile.h"
#include "render/PictureRows.h"

#include <QImage>
#include <QStringList>

#include <functional>
#include <map>
#include <set>
#include <tuple>

// The finished pictures that a list of planned images asks for. Each variant is rendered
// once, at the largest size it is needed in but never larger than the canvas, and every
// smaller picture is scaled down from that rendering.
class PlatformPictures {
public:
    // Takes each asked-for picture (empty when it could not be drawn) as soon as it is
    // finished, on the worker that finished it: several calls may run at once. A composed
    // picture is made row by row as its rows are read.
    using Delivery = std::function<void(const PlannedImage& image, const PictureRows& picture)>;

    // Draws every picture `images` ask for on `threads` threads (0 = one per core) and hands
    // each to `deliver` once. Only the pictures in `kept` stay for At(): a platform set's
    // pictures are hundreds of megabytes together, and each is let go once delivered.
    // With `badge` set, every picture the badge's variant areas take (see
    // PlatformVariants::BadgeAreaOf) is delivered and kept with the badge drawn over it.
    PlatformPictures(const IconDesign& design, const QList<PlannedImage>& images,
                     const QList<PlannedImage>& kept, int threads, const Delivery& deliver,
                     const Badge& badge = {});

    // A kept picture, premultiplied ARGB32 of exactly image.pixels by image.Height(); null
    // when it was not kept or could not be drawn.
    QImage At(const PlannedImage& image) const;

    // What the user should know about the pictures, each said once: what a transparent
    // background was put on, glyphs made smaller for a safe zone, pictures enlarged past the
    // canvas.
    const QStringList& Notes() const { return m_notes; }

    // The canvas size in pixels, as the renderer draws it.
    static QSize CanvasPixels(const IconDesign& design);

    // The side of the square glyph picture in a composed image (see Composition): its share of
    // the image's height, in whole pixels.
    static int GlyphSide(const PlannedImage& image);

private:
    using Key = std::tuple<PlatformVariant, int, int>;
    static Key KeyOf(const PlannedImage& image);
    PictureRows Composed(const IconDesign& design, const PlannedImage& image) const;
    PictureRows ComposedRows(const IconDesign& design, const PlannedImage& image,
                             const Composition& composition) const;
    QImage Badged(const PlannedImage& image, QImage picture) const;
    void
    AddFittingNotes(const std::map<PlatformVariant, std::set<int, std::greater<int>>>& sources);
    BadgeArt m_badge;
    BadgeArea m_drawnArea; // the design's own shape, for the pictures shown as drawn
    VariantTraits m_traits;
    std::map<Key, QImage> m_pictures;
    QStringList m_notes;
};
