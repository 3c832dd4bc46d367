#include "render/AlphaPlane.h"

#include "render/RenderKernels.h"
#include "support/ParallelRange.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Radii of three box filters whose succession approximates a Gaussian of this standard
// deviation (the classic "boxes for Gauss" sizing).
std::array<int, 3> BoxRadii(double sigma) {
    if (!(sigma > 0.0))
        return {0, 0, 0};
    constexpr int n = 3;
    const double ideal = std::sqrt(12.0 * sigma * sigma / n + 1.0);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double idealCount =
        (12.0 * sigma * sigma - n * lower * lower - 4.0 * n * lower - 3.0 * n) /
        (-4.0 * lower - 4.0);
    const int lowerCount = static_cast<int>(std::lround(idealCount));
    std::array<int, 3> radii{};
    for (int i = 0; i < n; ++i)
        radii[i] = ((i < lowerCount ? lower : upper) - 1) / 2;
    return radii;
}

// Rows [begin, end) of a group of columns that need no blurred value; empty when
// begin >= end.
struct RowSpan {
    int begin = 0;
    int end = 0;
};

// Columns are blurred in groups of this many, each group skipping the rows that none of its
// columns needs.
constexpr int kColumnGroup = 64;

// Whether the tile [x0, x1) x [y0, y1) of a plane lies wholly in the unneeded spans of its
// rows, each span narrowed by `narrowing` at both ends.
bool TileUnneeded(const std::vector<ColumnSpan>& unneeded, int narrowing, int x0, int x1, int y0,
                  int y1) {
    if (unneeded.empty())
        return false;
    for (int y = y0; y < y1; ++y) {
        if (unneeded[y].begin + narrowing > x0 || unneeded[y].end - narrowing < x1)
            return false;
    }
    return true;
}

// Per group of columns: the longest run of rows in which every column of the group is
// unneeded (each row's span narrowed by `narrowing`).
std::vector<RowSpan> UnneededRowsPerGroup(const std::vector<ColumnSpan>& unneeded, int width,
                                          int narrowing) {
    std::vector<RowSpan> groups((width + kColumnGroup - 1) / kColumnGroup);
    if (unneeded.empty())
        return groups;
    const int height = int(unneeded.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int x0 = int(g) * kColumnGroup;
        const int x1 = std::min(width, x0 + kColumnGroup);
        for (int y = 0; y < height;) {
            int end = y;
            while (end < height && TileUnneeded(unneeded, narrowing, x0, x1, end, end + 1))
                ++end;
            if (end - y > groups[g].end - groups[g].begin)
                groups[g] = {y, end};
            y = end + 1;
        }
    }
    return groups;
}

// Per group of rows: the columns unneeded in every row of the group, which become rows of
// the turned plane.
std::vector<RowSpan> SharedUnneededColumns(const std::vector<ColumnSpan>& unneeded, int height) {
    std::vector<RowSpan> groups((height + kColumnGroup - 1) / kColumnGroup);
    if (unneeded.empty())
        return groups;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int y0 = int(g) * kColumnGroup;
        const int y1 = std::min(height, y0 + kColumnGroup);
        RowSpan shared = {unneeded[y0].begin, unneeded[y0].end};
        for (int y = y0 + 1; y < y1; ++y)
            shared = {std::max(shared.begin, unneeded[y].begin),
                      std::min(shared.end, unneeded[y].end)};
        groups[g] = shared;
    }
    return groups;
}

// Cache-friendly transpose in square tiles, so horizontal blurs can run as vertical ones:
// a running sum along a row is one long dependency chain, while sums down many columns at
// once vectorise. Tiles for which `skipTile(x0, x1, y0, y1)` holds (source coordinates) are
// left out.
template <typename SkipTile>
void Transpose(const AlphaPlane& in, AlphaPlane& out, int rowBegin, int rowEnd,
               const SkipTile& skipTile) {
    constexpr int kTile = 64;
    const int width = in.width();
    for (int y0 = rowBegin; y0 < rowEnd; y0 += kTile) {
        const int y1 = std::min(y0 + kTile, rowEnd);
        for (int x0 = 0; x0 < width; x0 += kTile) {
            const int x1 = std::min(x0 + kTile, width);
            if (skipTile(x0, x1, y0, y1))
                continue;
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* src = in.row(y);
                for (int x = x0; x < x1; ++x)
                    out.row(x)[y] = src[x];
            }
        }
    }
}

// One vertical box pass over columns [x0, x1), except for rows in `skip`: a running sum per
// column, walking the rows in order so memory is read sequentially. Averages use a 16.16
// reciprocal of the box size, the same integer arithmetic on every thread and machine.
void BoxColumns(const AlphaPlane& in, AlphaPlane& out, int x0, int x1, int radius, RowSpan skip) {
    const RenderKernelTable& loops = RenderKernels::Loops();
    const std::uint32_t reciprocal = (1u << 16) / std::uint32_t(2 * radius + 1);
    const int height = in.height();
    const int span = x1 - x0;
    std::vector<std::uint32_t> sums(span);
    auto rows = [&](int y0, int y1) {
        // The running sum enters row y0 holding rows [y0 - radius, y0 + radius).
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = std::max(0, y0 - radius); y < std::min(height, y0 + radius); ++y) {
            const std::uint8_t* src = in.row(y) + x0;
            for (int x = 0; x < span; ++x)
                sums[x] += src[x];
        }
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* add = y + radius < height ? in.row(y + radius) + x0 : nullptr;
            const std::uint8_t* subtract = y - radius >= 0 ? in.row(y - radius) + x0 : nullptr;
            loops.boxStep(sums.data(), add, subtract, reciprocal, out.row(y) + x0, span);
        }
    };
    skip = {std::clamp(skip.begin, 0, height), std::clamp(skip.end, 0, height)};
    if (skip.begin < skip.end) {
        rows(0, skip.begin);
        rows(skip.end, height);
    } else {
        rows(0, height);
    }
}

} // namespace

AlphaPlane::AlphaPlane(int width, int height)
    : m_width(std::max(0, width)), m_height(std::max(0, height)),
      m_buffer(std::size_t(m_width) * std::size_t(m_height)) {
    if (m_buffer.data())
        std::memset(m_buffer.data(), 0, m_buffer.size());
    else
        m_width = m_height = 0;
}

int AlphaPlane::BlurReach(double sigma) {
    const std::array<int, 3> radii = BoxRadii(sigma);
    return radii[0] + radii[1] + radii[2];
}

// Three box passes down the columns of `plane`, using `scratch` (same size) in between;
// the result ends in `plane`. `skip` holds, per group of columns, the rows whose final value
// is not needed; earlier passes still compute what later ones read.
static void BoxColumnsThreeTimes(AlphaPlane& plane, AlphaPlane& scratch,
                                 const std::array<int, 3>& radii, int threads,
                                 const std::vector<RowSpan>& skip) {
    AlphaPlane* from = &plane;
    AlphaPlane* to = &scratch;
    for (int pass = 0; pass < 3; ++pass) {
        const int radius = radii[pass];
        int laterReach = 0;
        for (int later = pass + 1; later < 3; ++later)
            laterReach += radii[later];
        ParallelRange(plane.width(), threads, [&](int begin, int end) {
            for (int x0 = begin; x0 < end;) {
                const int group = x0 / kColumnGroup;
                const int x1 = std::min(end, (group + 1) * kColumnGroup);
                const RowSpan rows = skip[group];
                BoxColumns(*from, *to, x0, x1, radius,
                           {rows.begin + laterReach, rows.end - laterReach});
                x0 = x1;
            }
        });
        std::swap(from, to);
    }
    // Three passes leave the result in the scratch plane.
    std::swap(plane, scratch);
}

void AlphaPlane::Blur(double sigmaX, double sigmaY, int threads,
                      const std::vector<ColumnSpan>& unneeded) {
    if (isEmpty())
        return;
    const std::vector<ColumnSpan> noSkipping;
    const std::vector<ColumnSpan>& skipped =
        unneeded.size() == std::size_t(m_height) ? unneeded : noSkipping;
    const std::array<int, 3> radiiX = BoxRadii(sigmaX);
    const std::array<int, 3> radiiY = BoxRadii(sigmaY);
    const int reachX = radiiX[0] + radiiX[1] + radiiX[2];
    if (radiiY[0] + radiiY[1] + radiiY[2] > 0) {
        AlphaPlane scratch(m_width, m_height);
        if (scratch.isEmpty())
            return;
        // The horizontal passes read each row's unneeded span only away from its ends.
        BoxColumnsThreeTimes(*this, scratch, radiiY, threads,
                             UnneededRowsPerGroup(skipped, m_width, reachX));
    }
    if (reachX > 0) {
        AlphaPlane turned(m_height, m_width);
        AlphaPlane scratch(m_height, m_width);
        if (turned.isEmpty() || scratch.isEmpty())
            return;
        ParallelRange(m_height, threads, [&](int begin, int end) {
            Transpose(*this, turned, begin, end, [&](int x0, int x1, int y0, int y1) {
                return TileUnneeded(skipped, reachX, x0, x1, y0, y1);
            });
        });
        BoxColumnsThreeTimes(turned, scratch, radiiX, threads,
                             SharedUnneededColumns(skipped, m_height));
        ParallelRange(turned.height(), threads, [&](int begin, int end) {
            // Turned back: rows of `turned` are columns here.
            Transpose(turned, *this, begin, end, [&](int y0, int y1, int x0, int x1) {
                return TileUnneeded(skipped, 0, x0, x1, y0, y1);
            });
        });
    }
}
