#include "render/StretchImage.h"

#include "render/LinearLight.h"
#include "render/RenderKernels.h"
#include "support/ParallelRange.h"
#include "support/PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int WeightBits = 14;
constexpr int WeightOne = 1 << WeightBits;
// The vertical pass keeps 8 fractional bits per channel for the horizontal pass.
constexpr int MiddleShift = WeightBits - 8;
constexpr int MiddleMax = 255 << 8;

// For each output index the source indexes it reads and their fixed-point weights, which
// sum to exactly WeightOne.
struct Contributions {
    std::vector<int32_t> first;
    std::vector<int32_t> offset; // into weights; one more entry than outputs
    std::vector<int32_t> weights;

    int Count(int i) const { return offset[i + 1] - offset[i]; }
    const int32_t* Weights(int i) const { return weights.data() + offset[i]; }
};

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

Contributions AxisContributions(int in, int out) {
    return out <= in ? AreaContributions(in, out) : CubicContributions(in, out);
}

// One row of 4-channel pixels filtered across into `across`, four channels an output pixel.
void FilterAcross(const int32_t* row, const Contributions& columns, int32_t start, int shift,
                  std::vector<int32_t>& across) {
    RenderKernels::Loops().filterAcross(row, columns.first.data(), columns.offset.data(),
                                        columns.weights.data(), start, shift, across.data(),
                                        int(across.size() / 4));
}

// The target's pixels, taken once on the calling thread: scanLine() on a non-const image
// updates the image's shared bookkeeping, which the row workers must not race on.
struct TargetPixels {
    uint8_t* bits;
    qsizetype bytesPerLine;
    int width;

    uint8_t* Row(int y) const { return bits + bytesPerLine * y; }
};

// Output rows [rowBegin, rowEnd): first the source rows are combined into one row of source
// width, then that row is filtered across.
void StretchRows(const QImage& source, const TargetPixels& target, const Contributions& columns,
                 const Contributions& rows, int rowBegin, int rowEnd) {
    const int sourceChannels = source.width() * 4;
    std::vector<int32_t> sums(std::size_t(sourceChannels), 0);
    std::vector<int32_t> middle(std::size_t(sourceChannels), 0);
    std::vector<int32_t> across(std::size_t(target.width) * 4);
    for (int y = rowBegin; y < rowEnd; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int32_t* rowWeights = rows.Weights(y);
        for (int k = 0; k < rows.Count(y); ++k) {
            PixelKernels::AccumulateWeighted(sums.data(), source.constScanLine(rows.first[y] + k),
                                             rowWeights[k], sourceChannels);
        }
        const int32_t half = 1 << (MiddleShift - 1);
        for (int i = 0; i < sourceChannels; ++i)
            middle[i] = std::clamp((sums[i] + half) >> MiddleShift, 0, MiddleMax);

        constexpr int32_t round = 1 << (WeightBits + 8 - 1);
        FilterAcross(middle.data(), columns, round, WeightBits + 8, across);
        RenderKernels::Loops().packPremultiplied(
            across.data(), reinterpret_cast<uint32_t*>(target.Row(y)), target.width);
    }
}

// The same when both axes shrink, in linear light: the rows are 16-bit linear intensities and
// the weights' 14 fractional bits are shifted out after each pass. `put(y, channels)` takes
// each output row as premultiplied linear light, four channels a pixel.
template <typename PutPixel>
void ShrinkRowsInLinearLight(const ScaleSource& source, int width, const Contributions& columns,
                             const Contributions& rows, int rowBegin, int rowEnd,
                             const PutPixel& put) {
    const int sourceChannels = source.Size().width() * 4;
    std::vector<int32_t> sums(std::size_t(sourceChannels), 0);
    std::vector<uint16_t> scratch;
    std::vector<int32_t> across(std::size_t(width) * 4);
    constexpr int32_t half = 1 << (WeightBits - 1);
    for (int y = rowBegin; y < rowEnd; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int32_t* rowWeights = rows.Weights(y);
        for (int k = 0; k < rows.Count(y); ++k) {
            PixelKernels::AccumulateWeighted16(sums.data(),
                                               source.LinearRow(rows.first[y] + k, scratch),
                                               rowWeights[k], sourceChannels);
        }
        for (int32_t& sum : sums)
            sum = (sum + half) >> WeightBits;

        FilterAcross(sums.data(), columns, half, WeightBits, across);
        put(y, across.data());
    }
}

// The grain that gives each part of a scaling at least 64 K pixel operations: small images
// are not worth a thread.
int Grain(const Contributions& rows, int sourceWidth, int width, int height) {
    const double work = double(rows.weights.size()) * sourceWidth + double(width) * height;
    return int(std::ceil(height * 65536.0 / std::max(1.0, work)));
}

// The picture straight from `scaleSource` itself.
QImage Stretch(const ScaleSource& scaleSource, int width, int height, int threads) {
    const QImage& source = scaleSource.Image();
    const QSize sourceSize = scaleSource.Size();
    QImage target(width, height, QImage::Format_ARGB32_Premultiplied);
    if (target.isNull())
        return {};

    const TargetPixels pixels{target.bits(), target.bytesPerLine(), width};
    const Contributions columns = AxisContributions(sourceSize.width(), width);
    const Contributions rows = AxisContributions(sourceSize.height(), height);
    const int grain = Grain(rows, sourceSize.width(), width, height);
    if (width > sourceSize.width() || height > sourceSize.height()) {
        ParallelRange(
            height, threads,
            [&](int begin, int end) { StretchRows(source, pixels, columns, rows, begin, end); },
            grain);
        return target;
    }
    scaleSource.KeepLinearLight(threads);
    auto put = [&](int y, const int32_t* channels) {
        LinearLight::PremultipliedPixels(channels, width, reinterpret_cast<QRgb*>(pixels.Row(y)));
    };
    ParallelRange(
        height, threads,
        [&](int begin, int end) {
            ShrinkRowsInLinearLight(scaleSource, width, columns, rows, begin, end, put);
        },
        grain);
    return target;
}

// The linear light of `source` shrunk to `size`, 4 channels a pixel.
std::unique_ptr<uint16_t[]> ShrinkToLinearLight(const ScaleSource& source, QSize size,
                                                int threads) {
    std::unique_ptr<uint16_t[]> linear(
        new uint16_t[std::size_t(size.width()) * std::size_t(size.height()) * 4]);
    const Contributions columns = AxisContributions(source.Size().width(), size.width());
    const Contributions rows = AxisContributions(source.Size().height(), size.height());
    auto put = [&](int y, const int32_t* channels) {
        uint16_t* out = linear.get() + std::size_t(y) * std::size_t(size.width()) * 4;
        for (int c = 0; c < size.width() * 4; ++c)
            out[c] = uint16_t(std::clamp(channels[c], 0, 65535));
    };
    ParallelRange(
        size.height(), threads,
        [&](int begin, int end) {
            ShrinkRowsInLinearLight(source, size.width(), columns, rows, begin, end, put);
        },
        Grain(rows, source.Size().width(), size.width(), size.height()));
    return linear;
}

const ScaleSource& ReducedCopy(const ScaleSource& source, int threads) {
    return source.Reduced([&](QSize size) { return ShrinkToLinearLight(source, size, threads); });
}

} // namespace

QImage StretchImage(const QImage& image, int width, int height, int threads) {
    return StretchImage(ScaleSource(image), width, height, threads);
}

QImage StretchImage(const ScaleSource& source, int width, int height, int threads) {
    if (width < 1 || height < 1)
        return {};
    const QImage& image = source.Image();
    if (image.isNull() || image.width() < 1 || image.height() < 1) {
        QImage empty(width, height, QImage::Format_ARGB32_Premultiplied);
        if (!empty.isNull())
            empty.fill(Qt::transparent);
        return empty;
    }
    if (image.width() == width && image.height() == height)
        return image;
    // A huge picture is read once, for its reduced copy, by all the sizes that fit that copy.
    if (const QSize reduced = source.ReducedSize();
        !reduced.isEmpty() && width <= reduced.width() && height <= reduced.height()) {
        return Stretch(ReducedCopy(source, threads), width, height, threads);
    }
    return Stretch(source, width, height, threads);
}

void PrepareShrinking(const ScaleSource& source, int threads) {
    if (source.ReducedSize().isEmpty())
        source.KeepLinearLight(threads);
    else
        ReducedCopy(source, threads);
}
