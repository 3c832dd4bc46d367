#include "design/AlphaPlane.h"

#include "design/ParallelRange.h"

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

// Fixed-point reciprocal so that every box average is the same integer arithmetic on every
// thread and machine.
struct BoxDivisor {
    explicit BoxDivisor(int radius)
        : multiplier((1u << 16) / static_cast<std::uint32_t>(2 * radius + 1)) {}
    std::uint8_t operator()(std::uint32_t sum) const {
        return static_cast<std::uint8_t>(
            std::min<std::uint32_t>(255, (sum * multiplier + 32768u) >> 16));
    }
    std::uint32_t multiplier;
};

// Cache-friendly transpose in square tiles, so horizontal blurs can run as vertical ones:
// a running sum along a row is one long dependency chain, while sums down many columns at
// once vectorise.
void Transpose(const AlphaPlane& in, AlphaPlane& out, int rowBegin, int rowEnd) {
    constexpr int kTile = 64;
    const int width = in.width();
    for (int y0 = rowBegin; y0 < rowEnd; y0 += kTile) {
        const int y1 = std::min(y0 + kTile, rowEnd);
        for (int x0 = 0; x0 < width; x0 += kTile) {
            const int x1 = std::min(x0 + kTile, width);
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* src = in.row(y);
                for (int x = x0; x < x1; ++x)
                    out.row(x)[y] = src[x];
            }
        }
    }
}

// One vertical box pass over columns [x0, x1): a running sum per column, walking the rows
// in order so memory is read sequentially.
void BoxColumns(const AlphaPlane& in, AlphaPlane& out, int x0, int x1, int radius) {
    const BoxDivisor divide(radius);
    const int height = in.height();
    const int span = x1 - x0;
    std::vector<std::uint32_t> sums(span, 0);
    for (int y = 0; y < std::min(radius, height); ++y) {
        const std::uint8_t* src = in.row(y) + x0;
        for (int x = 0; x < span; ++x)
            sums[x] += src[x];
    }
    for (int y = 0; y < height; ++y) {
        if (y + radius < height) {
            const std::uint8_t* add = in.row(y + radius) + x0;
            for (int x = 0; x < span; ++x)
                sums[x] += add[x];
        }
        std::uint8_t* dst = out.row(y) + x0;
        for (int x = 0; x < span; ++x)
            dst[x] = divide(sums[x]);
        if (y - radius >= 0) {
            const std::uint8_t* sub = in.row(y - radius) + x0;
            for (int x = 0; x < span; ++x)
                sums[x] -= sub[x];
        }
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
// the result ends in `plane`.
static void BoxColumnsThreeTimes(AlphaPlane& plane, AlphaPlane& scratch,
                                 const std::array<int, 3>& radii, int threads) {
    AlphaPlane* from = &plane;
    AlphaPlane* to = &scratch;
    for (int radius : radii) {
        ParallelRange(plane.width(), threads,
                      [&](int begin, int end) { BoxColumns(*from, *to, begin, end, radius); });
        std::swap(from, to);
    }
    // Three passes leave the result in the scratch plane.
    std::swap(plane, scratch);
}

void AlphaPlane::Blur(double sigmaX, double sigmaY, int threads) {
    if (isEmpty())
        return;
    const std::array<int, 3> radiiX = BoxRadii(sigmaX);
    const std::array<int, 3> radiiY = BoxRadii(sigmaY);
    if (radiiY[0] + radiiY[1] + radiiY[2] > 0) {
        AlphaPlane scratch(m_width, m_height);
        if (scratch.isEmpty())
            return;
        BoxColumnsThreeTimes(*this, scratch, radiiY, threads);
    }
    if (radiiX[0] + radiiX[1] + radiiX[2] > 0) {
        AlphaPlane turned(m_height, m_width);
        AlphaPlane scratch(m_height, m_width);
        if (turned.isEmpty() || scratch.isEmpty())
            return;
        ParallelRange(m_height, threads,
                      [&](int begin, int end) { Transpose(*this, turned, begin, end); });
        BoxColumnsThreeTimes(turned, scratch, radiiX, threads);
        ParallelRange(turned.height(), threads,
                      [&](int begin, int end) { Transpose(turned, *this, begin, end); });
    }
}
