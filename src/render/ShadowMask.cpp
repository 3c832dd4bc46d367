#include "render/ShadowMask.h"

#include "render/RenderKernels.h"
#include "support/ParallelRange.h"

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
    : ShadowMask(image, sigmaX, sigmaY, shift, threads, nullptr) {}

ShadowMask ShadowMask::Beneath(const QImage& image, double sigmaX, double sigmaY, QPointF shift,
                               QPoint offset, int threads) {
    return ShadowMask(image, sigmaX, sigmaY, shift, threads, &offset);
}

ShadowMask::ShadowMask(const QImage& image, double sigmaX, double sigmaY, QPointF shift,
                       int threads, const QPoint* beneathOffset)
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
    // A block whose sum is the full area is wholly opaque.
    const int width = image.width();
    const int height = image.height();
    const std::uint32_t area = std::uint32_t(f * f);
    // (sum + area / 2) / area without a division per block: the numerator stays below 2^20,
    // where a 40-bit reciprocal rounded up gives exactly the quotient.
    const std::uint64_t reciprocal = ((std::uint64_t(1) << 40) / area) + 1;
    const RenderKernelTable& loops = RenderKernels::Loops();
    m_opaqueRuns.resize(std::size_t(reducedH));
    ParallelRange(reducedH, threads, [&](int begin, int end) {
        // Column sums over the block's rows first (a loop that vectorises), then the blocks.
        std::vector<std::uint32_t> columns(std::size_t(reducedW) * f, 0u);
        for (int ry = begin; ry < end; ++ry) {
            std::fill(columns.begin(), columns.end(), 0u);
            for (int y = ry * f; y < std::min(height, (ry + 1) * f); ++y)
                loops.accumulateAlpha(
                    columns.data(), reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)),
                    width);
            std::uint8_t* dst = m_plane.row(ry + m_margin) + m_margin;
            ColumnSpan longest;
            int runBegin = 0;
            for (int rx = 0; rx < reducedW; ++rx) {
                std::uint32_t sum = 0;
                for (int k = 0; k < f; ++k)
                    sum += columns[std::size_t(rx) * f + k];
                dst[rx] = static_cast<std::uint8_t>(((sum + area / 2) * reciprocal) >> 40);
                if (sum != area * 255u)
                    runBegin = rx + 1;
                else if (rx + 1 - runBegin > longest.end - longest.begin)
                    longest = {runBegin, rx + 1};
            }
            m_opaqueRuns[std::size_t(ry)] = {longest.begin * f, longest.end * f};
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

    m_plane.Blur(sigmaX / f, sigmaY / f, threads,
                 beneathOffset ? UnreadBeneath(*beneathOffset, height) : std::vector<ColumnSpan>());

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
}

std::vector<ColumnSpan> ShadowMask::UnreadBeneath(QPoint offset, int imageHeight) const {
    // Rows no image pixel reads stay wholly unread.
    std::vector<ColumnSpan> unread(std::size_t(m_plane.height()), {0, m_plane.width()});
    const int tableSize = m_bounds.width();
    const int lastRow = m_plane.height() - 1;
    for (int y = 0; y < imageHeight; ++y) {
        const int maskY = y - offset.y();
        if (maskY < m_bounds.top() || maskY > m_bounds.bottom())
            continue;
        int row;
        std::uint16_t weight;
        ReducedPosition(maskY, m_factor, m_margin, m_shift.y(), row, weight);
        // Pixels before the opaque run read up to the right column of its last one, pixels
        // after it from the left column of its first one; a row without a run reads it all.
        const ColumnSpan opaque = KnownOpaque(y);
        ColumnSpan columns;
        if (opaque.begin < opaque.end) {
            const int before = opaque.begin - 1 - offset.x() - m_bounds.left();
            const int after = opaque.end - offset.x() - m_bounds.left();
            columns.begin = before < 0 ? 0 : m_rightColumn[std::min(before, tableSize - 1)] + 1;
            columns.end = after >= tableSize ? m_plane.width() : m_leftColumn[std::max(after, 0)];
        }
        for (const int read : {std::clamp(row, 0, lastRow), std::clamp(row + 1, 0, lastRow)}) {
            ColumnSpan& span = unread[std::size_t(read)];
            span = {std::max(span.begin, columns.begin), std::min(span.end, columns.end)};
        }
    }
    return unread;
}

ColumnSpan ShadowMask::KnownOpaque(int y) const {
    if (y < 0 || y / m_factor >= int(m_opaqueRuns.size()))
        return {};
    return m_opaqueRuns[std::size_t(y / m_factor)];
}

ColumnSpan ShadowMask::CoveredColumns(int y) const {
    if (m_plane.isEmpty() || y < m_bounds.top() || y > m_bounds.bottom())
        return {};
    int row;
    std::uint16_t rowWeight;
    ReducedPosition(y, m_factor, m_margin, m_shift.y(), row, rowWeight);
    const int lastRow = m_plane.height() - 1;
    const Span upper = m_rowSpans[std::clamp(row, 0, lastRow)];
    const Span lower = m_rowSpans[std::clamp(row + 1, 0, lastRow)];
    const int firstColumn = std::min(upper.first, lower.first);
    const int lastColumn = std::max(upper.last, lower.last);
    if (firstColumn > lastColumn)
        return {};
    // Only pixels that read a covered column can be non-zero (the column tables ascend).
    const int firstCovered =
        int(std::lower_bound(m_rightColumn.begin(), m_rightColumn.end(), firstColumn) -
            m_rightColumn.begin());
    const int pastCovered =
        int(std::upper_bound(m_leftColumn.begin(), m_leftColumn.end(), lastColumn) -
            m_leftColumn.begin());
    return {m_bounds.left() + firstCovered, m_bounds.left() + pastCovered};
}

void ShadowMask::SampleRow(int y, int x, int count, std::uint8_t* out) const {
    std::memset(out, 0, std::size_t(std::max(0, count)));
    const ColumnSpan covered = CoveredColumns(y);
    const int from = std::max(x, covered.begin);
    const int to = std::min(x + count, covered.end);
    if (from >= to)
        return;
    int row;
    std::uint16_t rowWeight;
    ReducedPosition(y, m_factor, m_margin, m_shift.y(), row, rowWeight);
    const int lastRow = m_plane.height() - 1;
    const std::uint8_t* upper = m_plane.row(std::clamp(row, 0, lastRow));
    const std::uint8_t* lower = m_plane.row(std::clamp(row + 1, 0, lastRow));
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
