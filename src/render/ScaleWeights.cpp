#include "render/ScaleWeights.h"

#include "render/RenderKernels.h"
#include "support/PixelKernels.h"

#include <algorithm>
#include <cmath>

namespace ScaleWeights {

namespace {

double Mitchell(double x) {
    constexpr double B = 1.0 / 3.0;
    constexpr double C = 1.0 / 3.0;
    x = std::abs(x);
    if (x < 1.0)
        return ((12 - 9 * B - 6 * C) * x * x * x + (-18 + 12 * B + 6 * C) * x * x + (6 - 2 * B)) /
               6;
    if (x < 2.0)
        return ((-B - 6 * C) * x * x * x + (6 * B + 30 * C) * x * x + (-12 * B - 48 * C) * x +
                (8 * B + 24 * C)) /
               6;
    return 0.0;
}

void AppendFixedPoint(Contributions& c, int first, const std::vector<double>& weights) {
    double total = 0.0;
    for (double w : weights)
        total += w;
    c.first.push_back(first);
    // Each weight is the step between two rounded running totals. The weights then sum to
    // exactly WeightOne, so flat areas keep their exact colour, and no part of the span gains
    // or loses more than half a unit even when thousands of source pixels share one output
    // pixel (rounding each weight on its own lets those errors pile up).
    double running = 0.0;
    int previous = 0;
    for (double w : weights) {
        running += w;
        const int next = int(std::lround(running / total * WeightOne));
        c.weights.push_back(next - previous);
        previous = next;
    }
    c.offset.push_back(int(c.weights.size()));
}

// Shrinking: each output pixel averages the source pixels it covers, weighted by the covered
// length. Equal sizes give one weight of one.
Contributions AreaContributions(int in, int out) {
    Contributions c;
    c.offset.push_back(0);
    const double ratio = double(in) / out;
    std::vector<double> weights;
    for (int i = 0; i < out; ++i) {
        const double start = i * ratio;
        const double end = std::min(double(in), (i + 1) * ratio);
        const int first = int(start);
        const int last = std::min(in - 1, int(std::ceil(end)) - 1);
        weights.clear();
        for (int j = first; j <= last; ++j)
            weights.push_back(std::min(end, j + 1.0) - std::max(start, double(j)));
        // Drop slivers left by floating-point error at either end.
        int skip = 0;
        while (weights.size() - skip > 1 && weights[skip] < 1e-9)
            ++skip;
        while (weights.size() - skip > 1 && weights.back() < 1e-9)
            weights.pop_back();
        weights.erase(weights.begin(), weights.begin() + skip);
        AppendFixedPoint(c, first + skip, weights);
    }
    return c;
}

// Enlarging: a Mitchell cubic around each output pixel's centre, edges repeated.
Contributions CubicContributions(int in, int out) {
    Contributions c;
    c.offset.push_back(0);
    const double ratio = double(in) / out;
    std::vector<double> weights;
    for (int i = 0; i < out; ++i) {
        const double centre = (i + 0.5) * ratio - 0.5;
        const int base = int(std::floor(centre));
        const int first = std::clamp(base - 1, 0, in - 1);
        const int last = std::clamp(base + 2, 0, in - 1);
        weights.assign(std::size_t(last - first + 1), 0.0);
        for (int j = base - 1; j <= base + 2; ++j)
            weights[std::size_t(std::clamp(j, 0, in - 1) - first)] += Mitchell(centre - j);
        AppendFixedPoint(c, first, weights);
    }
    return c;
}

} // namespace

Contributions AxisContributions(int in, int out) {
    return out <= in ? AreaContributions(in, out) : CubicContributions(in, out);
}

void FilterAcross(const std::int32_t* row, const Contributions& columns, std::int32_t start,
                  int shift, std::vector<std::int32_t>& across) {
    RenderKernels::Loops().filterAcross(row, columns.first.data(), columns.offset.data(),
                                        columns.weights.data(), start, shift, across.data(),
                                        int(across.size() / 4));
}

void AddLinearRow(std::vector<std::int32_t>& sums, const std::uint16_t* line,
                  const Contributions& rows, int row, int k) {
    PixelKernels::AddWeightedRow16(sums.data(), line, rows.Weights(row)[k], int(sums.size()),
                                   k == 0, k + 1 == rows.Count(row), WeightBits);
}

void FilterLinearRow(const std::vector<std::int32_t>& sums, const Contributions& columns,
                     std::vector<std::int32_t>& across) {
    FilterAcross(sums.data(), columns, 1 << (WeightBits - 1), WeightBits, across);
}

} // namespace ScaleWeights
