#include "render/LegibleGlyphs.h"

#include "design/ColorContrast.h"

#include <algorithm>
#include <unordered_map>

namespace LegibleGlyphs {

namespace {

// Calls `recolour(straight)` for each visible pixel and stores the straight colour it gives.
template <typename Recolour> void EachVisiblePixel(QImage& image, const Recolour& recolour) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) > 0)
                row[x] = qPremultiply(recolour(qUnpremultiply(row[x])));
        }
    }
}

} // namespace

QImage On(const QColor& background, QImage glyphs, double ratio) {
    glyphs.convertTo(QImage::Format_ARGB32_Premultiplied);
    // Antialiased edges repeat the same few colours; each is worked out once.
    std::unordered_map<QRgb, QRgb> lightened;
    EachVisiblePixel(glyphs, [&](QRgb straight) {
        const QRgb opaque = straight | 0xff000000u;
        auto [found, added] = lightened.try_emplace(opaque, opaque);
        if (added)
            found->second =
                ColorContrast::LegibleOn(QColor::fromRgb(opaque), background, ratio).rgb();
        return (found->second & 0x00ffffffu) | (straight & 0xff000000u);
    });
    return glyphs;
}

QImage ForTint(QImage grayGlyphs) {
    grayGlyphs.convertTo(QImage::Format_ARGB32_Premultiplied);
    int darkest = 255;
    int brightest = 0;
    for (int y = 0; y < grayGlyphs.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(grayGlyphs.constScanLine(y));
        for (int x = 0; x < grayGlyphs.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            const int gray = qGray(qUnpremultiply(row[x]));
            darkest = std::min(darkest, gray);
            brightest = std::max(brightest, gray);
        }
    }
    const int span = std::max(1, brightest - darkest);
    EachVisiblePixel(grayGlyphs, [&](QRgb straight) {
        const int gray =
            MinimumTintedGray +
            ((qGray(straight) - darkest) * (255 - MinimumTintedGray) + span / 2) / span;
        const int value = brightest == darkest ? 255 : gray;
        return qRgba(value, value, value, qAlpha(straight));
    });
    return grayGlyphs;
}

} // namespace LegibleGlyphs
