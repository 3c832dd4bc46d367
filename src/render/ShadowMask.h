#pragma once

#include "render/AlphaPlane.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <vector>

// The blurred coverage of an image, the shape of its drop shadow. A blur wider than a couple
// of pixels carries no fine detail, so the mask is kept at a reduced resolution (1/2, 1/3, ...
// of the image's) and read back with bilinear interpolation: a fraction of the work of a
// full-resolution blur, with no visible difference.
class ShadowMask {
public:
    // sigmaX and sigmaY are the blur's standard deviations in image pixels; `shift` (each part
    // from 0 to 1) moves the mask by a fraction of a pixel, so that a shadow offset need not be
    // rounded to whole pixels.
    ShadowMask(const QImage& image, double sigmaX, double sigmaY, QPointF shift, int threads);

    // The mask of a shadow that the image casts beneath itself, moved by `offset` whole
    // pixels: it is read only under the image's own pixels outside KnownOpaque(), where
    // nothing shows through. Under those opaque runs, moved by the offset, its values are
    // unspecified; the blur leaves them out.
    static ShadowMask Beneath(const QImage& image, double sigmaX, double sigmaY, QPointF shift,
                              QPoint offset, int threads);

    // The part of the image's pixel grid (before any whole-pixel shadow offset) where the mask
    // can be non-zero: the image grown by the blur's reach.
    QRect bounds() const { return m_bounds; }

    // Coverage 0..255 of `count` pixels of row `y` from column `x` (image pixel coordinates);
    // 0 outside bounds().
    void SampleRow(int y, int x, int count, std::uint8_t* out) const;

    // The columns of row `y` where SampleRow can give anything but 0.
    ColumnSpan CoveredColumns(int y) const;

    // A run of columns of the image's row `y` that is wholly opaque in the image (the longest
    // such run the reduction found, in whole blocks); possibly empty.
    ColumnSpan KnownOpaque(int y) const;

private:
    ShadowMask(const QImage& image, double sigmaX, double sigmaY, QPointF shift, int threads,
               const QPoint* beneathOffset);

    // Per row of the reduced plane, the columns that no pixel of the image (`imageHeight`
    // rows) outside its opaque runs reads when the mask is moved by `offset`.
    std::vector<ColumnSpan> UnreadBeneath(QPoint offset, int imageHeight) const;

    int m_factor = 1;
    int m_margin = 0; // in reduced pixels
    QPointF m_shift;
    QRect m_bounds;
    AlphaPlane m_plane;
    // Per column of bounds(): the two reduced columns around it and the weight (0..256) of
    // the right one.
    std::vector<int> m_leftColumn;
    std::vector<int> m_rightColumn;
    std::vector<std::uint16_t> m_columnWeight;
    // Per reduced row: first and last column with any coverage (first > last when none).
    struct Span {
        int first;
        int last;
    };
    std::vector<Span> m_rowSpans;
    // Per block row of the image: the longest run of wholly opaque blocks, in image columns.
    std::vector<ColumnSpan> m_opaqueRuns;
};
