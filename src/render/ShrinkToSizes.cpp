#include "render/ShrinkToSizes.h"

#include "render/LinearLight.h"
#include "render/ScaleWeights.h"

#include <array>

namespace {

using ScaleWeights::Contributions;

// One size being made: its weights, and the sums of the output rows the pass is inside of.
// Shrinking, a source row falls into at most two output rows, so a ring of two rows of sums
// holds every row begun and not yet finished.
struct Target {
    std::size_t index;
    QImage picture;
    Contributions columns;
    Contributions rows;
    int next = 0; // the first output row not yet finished
    std::array<std::vector<std::int32_t>, 2> sums;
    std::vector<std::int32_t> across;

    std::vector<std::int32_t>& SumsOf(int row) { return sums[std::size_t(row % 2)]; }
    int LastSourceRow(int row) const { return rows.first[row] + rows.Count(row) - 1; }
};

} // namespace

void ShrinkToSizes(const QImage& picture, const std::vector<QSize>& sizes,
                   const std::function<void(std::size_t index, QImage shrunk)>& done) {
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = source.width();
    const int channels = width * 4;
    std::vector<Target> targets;
    targets.reserve(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        QImage shrunk(sizes[i], QImage::Format_ARGB32_Premultiplied);
        if (shrunk.isNull()) {
            done(i, QImage());
            continue;
        }
        Target& target = targets.emplace_back();
        target.index = i;
        target.columns = ScaleWeights::AxisContributions(width, sizes[i].width());
        target.rows = ScaleWeights::AxisContributions(source.height(), sizes[i].height());
        target.picture = std::move(shrunk);
        for (std::vector<std::int32_t>& sums : target.sums)
            sums.resize(std::size_t(channels));
        target.across.resize(std::size_t(sizes[i].width()) * 4);
    }

    std::vector<std::uint16_t> linear(static_cast<std::size_t>(channels));
    for (int y = 0; y < source.height(); ++y) {
        LinearLight::PremultipliedRow(reinterpret_cast<const QRgb*>(source.constScanLine(y)), width,
                                      linear.data());
        for (Target& target : targets) {
            const int height = target.picture.height();
            for (int row = target.next; row < height && target.rows.first[row] <= y; ++row) {
                const int k = y - target.rows.first[row];
                if (k < target.rows.Count(row))
                    ScaleWeights::AddLinearRow(target.SumsOf(row), linear.data(), target.rows, row,
                                               k);
            }
            for (; target.next < height && target.LastSourceRow(target.next) <= y; ++target.next) {
                ScaleWeights::FilterLinearRow(target.SumsOf(target.next), target.columns,
                                              target.across);
                LinearLight::PremultipliedPixels(
                    target.across.data(), target.picture.width(),
                    reinterpret_cast<QRgb*>(target.picture.scanLine(target.next)));
            }
        }
    }
    for (Target& target : targets)
        done(target.index, std::move(target.picture));
}
