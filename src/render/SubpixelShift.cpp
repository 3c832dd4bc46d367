#include "render/SubpixelShift.h"

#include <algorithm>
#include <cstdint>

QImage ShiftedBySubpixel(const QImage& image, QPointF fraction) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = source.width();
    const int height = source.height();
    QImage shifted(width + 1, height + 1, QImage::Format_ARGB32_Premultiplied);
    if (shifted.isNull())
        return shifted;
    // Weights in 1/256: a pixel takes (256 - w) of the source pixel at its place and w of
    // the one before it, along each axis.
    const auto weight = [](double f) {
        return std::uint32_t(std::clamp(qRound(f * 256.0), 0, 256));
    };
    const std::uint32_t wx = weight(fraction.x());
    const std::uint32_t wy = weight(fraction.y());
    const auto at = [&](int x, int y) -> QRgb {
        return x >= 0 && x < width && y >= 0 && y < height
                   ? reinterpret_cast<const QRgb*>(source.constScanLine(y))[x]
                   : 0;
    };
    for (int y = 0; y <= height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(shifted.scanLine(y));
        for (int x = 0; x <= width; ++x) {
            const QRgb corners[4] = {at(x - 1, y - 1), at(x, y - 1), at(x - 1, y), at(x, y)};
            const std::uint32_t weights[4] = {wx * wy, (256 - wx) * wy, wx * (256 - wy),
                                              (256 - wx) * (256 - wy)};
            std::uint32_t channels[4] = {0, 0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                channels[0] += qAlpha(corners[i]) * weights[i];
                channels[1] += qRed(corners[i]) * weights[i];
                channels[2] += qGreen(corners[i]) * weights[i];
                channels[3] += qBlue(corners[i]) * weights[i];
            }
            // The weights sum to 65536; round to the nearest 8-bit value.
            const auto channel = [&](int i) { return int((channels[i] + 32768) >> 16); };
            out[x] = qRgba(channel(1), channel(2), channel(3), channel(0));
        }
    }
    return shifted;
}
