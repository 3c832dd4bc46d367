#include "design/ShadowMask.h"

#include "design/ParallelRange.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Below a standard deviation of about two reduced pixels the interpolation would show.
int ReductionFactor(double sigma) {
    return std::clamp(static_cast<int>(sigma / 2.0), 1, 64);
}

// Position of image pixel `x` on the reduced grid whose pixel 0 starts at image pixel
// -margin * factor, with the mask moved by `shift` pixels: a left index and a 0..256 weight
// for the next one.
void ReducedPosition(int x, int factor, int margin, double shift, int& index,
                     std::uint16_t& weight) {
    // Centres: image pixel x at x + 0.5, reduced pixel i at (i + 0.5) * factor.
    const double u = (x + 0.5 - shift) / factor - 0.5 + margin;
    index = static_cast<int>(std::floor(u));
    long fraction = std::lround((u - index) * 256.0);
    if (fraction >= 256) {
        ++index;
        fraction = 0;
    }
    weight = static_cast<std::uint16_t>(fraction);
}

} // namespace

ShadowMask::ShadowMask(const QImage& image, double sigmaX, double sigmaY, QPointF shift,
                       int threads)
    : m_shift(shift) {
    m_factor = std::min(ReductionFactor(sigmaX), ReductionFactor(sigmaY));
    const int f = m_factor;
    m_margin = std::max(AlphaPlane::BlurReach(sigmaX / f), AlphaPlane::BlurReach(sigmaY / f)) + 2;
    const int reducedW = (image.width() + f - 1) / f;
    const int reducedH = (image.height() + f - 1) / f;
    m_plane = AlphaPlane(reducedW + 2 * m_margin, reducedH + 2 * m_margin);
    if (m_plane.isEmpty())
        return;
    // One more pixel on the right and at the bottom for the fractional shift.
    m_bounds =
        QRect(-m_margin * f, -m_margin * f, m_plane.width() * f + 1, m_plane.height() * f + 1);

    // Box-average each f x f block of the alpha channel; outside the image counts as clear.
    const int width = image.width();
    const int height = image.height();
    const std::uint32_t area = std::uint32_t(f * f);
    ParallelRange(reducedH, threads, [&](int begin, int end) {
        // Column sums over the block's rows first (a loop that vectorises), then the blocks.
        std::vector<std::uint32_t> columns(std::size_t(reducedW) * f, 0u);
        for (int ry = begin; ry < end; ++ry) {
            std::fill(columns.begin(), columns.end(), 0u);
            for (int y = ry * f; y < std::min(height, (ry + 1) * f); ++y) {
                const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < width; ++x)
                    columns[x] += src[x] >> 24;
            }
            std::uint8_t* dst = m_plane.row(ry + m_margin) + m_margin;
            for (int rx = 0; rx < reducedW; ++rx) {
                std::uint32_t sum = 0;
                for (int k = 0; k < f; ++k)
                    sum += columns[std::size_t(rx) * f + k];
                dst[rx] = static_cast<std::uint8_t>((sum + area / 2) / area);
            }
        }
    });
    m_plane.Blur(sigmaX / f, sigmaY / f, threads);

    // Where each reduced row has any coverage at all, so reads of the empty surroundings of a
    // shadow cost nothing.
    m_rowSpans.resize(std::size_t(m_plane.height()));
    ParallelRange(m_plane.height(), threads, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const std::uint8_t* row = m_plane.row(y);
            int first = 0;
            while (first < m_plane.width() && row[first] == 0)
                ++first;
            int last = m_plane.width() - 1;
            while (last >= first && row[last] == 0)
                --last;
            m_rowSpans[std::size_t(y)] = {first, last};
        }
    });

    m_leftColumn.resize(m_bounds.width());
    m_rightColumn.resize(m_bounds.width());
    m_columnWeight.resize(m_bounds.width());
    const int lastColumn = m_plane.width() - 1;
    for (int i = 0; i < m_bounds.width(); ++i) {
        int index;
        ReducedPosition(m_bounds.x() + i, f, m_margin, m_shift.x(), index, m_columnWeight[i]);
        m_leftColumn[i] = std::clamp(index, 0, lastColumn);
        m_rightColumn[i] = std::clamp(index + 1, 0, lastColumn);
    }
}

void ShadowMask::SampleRow(int y, int x, int count, std::uint8_t* out) const {
    std::memset(out, 0, std::size_t(std::max(0, count)));
    if (m_plane.isEmpty() || y < m_bounds.top() || y > m_bounds.bottom())
        return;
    int row;
    std::uint16_t rowWeight;
    ReducedPosition(y, m_factor, m_margin, m_shift.y(), row, rowWeight);
    const int lastRow = m_plane.height() - 1;
    const int upperRow = std::clamp(row, 0, lastRow);
    const int lowerRow = std::clamp(row + 1, 0, lastRow);
    const std::uint8_t* upper = m_plane.row(upperRow);
    const std::uint8_t* lower = m_plane.row(lowerRow);
    const int firstColumn = std::min(m_rowSpans[upperRow].first, m_rowSpans[lowerRow].first);
    const int lastColumn = std::max(m_rowSpans[upperRow].last, m_rowSpans[lowerRow].last);
    if (firstColumn > lastColumn)
        return;
    // Only pixels that read a covered column can be non-zero (the column tables ascend).
    const int left = m_bounds.left();
    const int firstCovered =
        int(std::lower_bound(m_rightColumn.begin(), m_rightColumn.end(), firstColumn) -
            m_rightColumn.begin());
    const int pastCovered =
        int(std::upper_bound(m_leftColumn.begin(), m_leftColumn.end(), lastColumn) -
            m_leftColumn.begin());
    const int from = std::max(x, left + firstCovered);
    const int to = std::min(x + count, left + pastCovered);
    for (int px = from; px < to; ++px) {
        const int i = px - m_bounds.left();
        const std::uint32_t a = upper[m_leftColumn[i]];
        const std::uint32_t b = upper[m_rightColumn[i]];
        const std::uint32_t c = lower[m_leftColumn[i]];
        const std::uint32_t d = lower[m_rightColumn[i]];
        // Most of a shadow is either empty or solid; only its soft edge needs the weights.
        if (a == b && c == d && a == c) {
            out[px - x] = static_cast<std::uint8_t>(a);
            continue;
        }
        const std::uint32_t wx = m_columnWeight[i];
        const std::uint32_t top = a * (256 - wx) + b * wx;
        const std::uint32_t bottom = c * (256 - wx) + d * wx;
        out[px - x] =
            static_cast<std::uint8_t>((top * (256 - rowWeight) + bottom * rowWeight + 32768) >> 16);
    }
}
