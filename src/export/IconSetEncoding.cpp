#include "export/IconSetEncoding.h"

#include "design/DesignValues.h"
#include "export/SaveImage.h"
#include "render/BadgeArt.h"
#include "render/StretchImage.h"
#include "support/ParallelRange.h"

#include <algorithm>
#include <numeric>

namespace {

// The custom size fields' own limit. A hand-edited profile can ask for more; such a file
// fails rather than letting one export claim gigabytes for its image and encoder buffers.
constexpr double LargestSide = DesignValues::LargestSide;

bool Usable(const OutputSize& size) {
    return size.width >= 1.0 && size.height >= 1.0 && size.width <= LargestSide &&
           size.height <= LargestSide;
}

QByteArray EncodeSize(const ScaleSource& rendering, const OutputSize& size, int formatIndex,
                      double quality, int threads, const BadgeArt& badge, const BadgeArea& area) {
    if (!Usable(size))
        return {};
    QImage picture = StretchImage(rendering, int(size.width), int(size.height), threads);
    badge.Draw(picture, area.Scaled(QSizeF(picture.size())), BadgeLook::Color);
    return ImageTools::EncodeImage(picture, formatIndex, quality);
}

} // namespace

std::vector<QByteArray> EncodeIconSet(const QImage& rendering, const QList<OutputSize>& sizes,
                                      int formatIndex, double quality, const Badge& badge,
                                      const BadgeArea& badgeArea) {
    const BadgeArt art(badge);
    const int count = int(sizes.size());
    std::vector<QByteArray> files(std::size_t(std::max(count, 0)));
    std::vector<int> largestFirst(files.size());
    std::iota(largestFirst.begin(), largestFirst.end(), 0);
    auto area = [&](int i) {
        const OutputSize& size = sizes[i];
        return Usable(size) ? size.width * size.height : 0.0;
    };
    std::stable_sort(largestFirst.begin(), largestFirst.end(),
                     [&](int a, int b) { return area(a) > area(b); });
    // One file per core; a single file is scaled on all cores instead. What shrinking reads is
    // readied first, on all cores.
    const ScaleSource source(rendering);
    const bool anyShrinks = std::any_of(sizes.begin(), sizes.end(), [&](const OutputSize& size) {
        return Usable(size) && size.width <= rendering.width() && size.height <= rendering.height();
    });
    if (anyShrinks && count > 1)
        PrepareShrinking(source, 0);
    const int threadsPerFile = count > 1 ? 1 : 0;
    ForEachInParallel(count, 0, [&](int taken) {
        const int i = largestFirst[std::size_t(taken)];
        files[std::size_t(i)] =
            EncodeSize(source, sizes[i], formatIndex, quality, threadsPerFile, art, badgeArea);
    });
    return files;
}
