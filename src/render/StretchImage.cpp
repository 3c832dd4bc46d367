#include "render/StretchImage.h"

#include "render/LinearLight.h"
#include "render/RenderKernels.h"
#include "render/ScaleWeights.h"
#include "support/ParallelRange.h"
#include "support/PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using ScaleWeights::AxisContributions;
using ScaleWeights::Contributions;
using ScaleWeights::FilterAcross;
using ScaleWeights::WeightBits;

// The vertical pass keeps 8 fractional bits per channel for the horizontal pass.
constexpr int MiddleShift = WeightBits - 8;
constexpr int MiddleMax = 255 << 8;

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
    for (int y = rowBegin; y < rowEnd; ++y) {
        for (int k = 0; k < rows.Count(y); ++k)
            ScaleWeights::AddLinearRow(sums, source.LinearRow(rows.first[y] + k, scratch), rows, y,
                                       k);
        ScaleWeights::FilterLinearRow(sums, columns, across);
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
