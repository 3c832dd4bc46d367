#include "render/LegibleGlyphs.h"

#include "design/ColorContrast.h"

#include <algorithm>
#include <vector>

namespace LegibleGlyphs {

namespace {

// Calls `recolour(straight)` for each visible pixel and stores the straight colour it gives.
template <typename Recolor> void EachVisiblePixel(QImage& image, const Recolor& recolor) {
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) > 0)
                row[x] = qPremultiply(recolor(qUnpremultiply(row[x])));
        }
    }
}

// Each opaque colour the rule moves, worked out once: antialiased edges repeat a few colours,
// and a photograph has hundreds of thousands, so they are kept in an open-addressed table
// rather than a node per colour.
class MovedColors {
public:
    explicit MovedColors(const ColorContrast::Legibility& rule) : m_rule(rule) {}

    QRgb Of(QRgb opaque) {
        if (2 * (m_count + 1) > m_table.size())
            Grow();
        Slot& slot = Find(m_table, opaque);
        if (slot.color != opaque) {
            slot = {opaque, m_rule.Legible(opaque)};
            ++m_count;
        }
        return slot.moved;
    }

private:
    struct Slot {
        QRgb color = 0; // transparent black: never an opaque colour, so an empty slot
        QRgb moved = 0;
    };

    // The slot holding `colour`, or the empty one where it belongs.
    static Slot& Find(std::vector<Slot>& table, QRgb color) {
        const std::size_t mask = table.size() - 1;
        for (std::size_t i = (std::size_t(color) * 0x9E3779B97F4A7C15ull) >> 32;; ++i) {
            Slot& slot = table[i & mask];
            if (slot.color == color || slot.color == 0)
                return slot;
        }
    }

    void Grow() {
        std::vector<Slot> larger(std::max<std::size_t>(4096, m_table.size() * 2));
        for (const Slot& slot : m_table)
            if (slot.color != 0)
                Find(larger, slot.color) = slot;
        m_table.swap(larger);
    }

    const ColorContrast::Legibility& m_rule;
    std::vector<Slot> m_table;
    std::size_t m_count = 0;
};

} // namespace

QImage On(const QColor& background, QImage glyphs, double ratio) {
    glyphs.convertTo(QImage::Format_ARGB32_Premultiplied);
    const ColorContrast::Legibility rule(background, ratio);
    MovedColors moved(rule);
    EachVisiblePixel(glyphs, [&](QRgb straight) {
        // A colour with contrast enough is known from its luminance alone.
        if (rule.Enough(straight))
            return straight;
        return (moved.Of(straight | 0xff000000u) & 0x00ffffffu) | (straight & 0xff000000u);
    });
    return glyphs;
}

QImage ForTint(QImage grayGlyphs) {
    grayGlyphs.convertTo(QImage::Format_ARGB32_Premultiplied);
    const int width = grayGlyphs.width();
    auto eachPixel = [&](const auto& visit) {
        for (int y = 0; y < grayGlyphs.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(grayGlyphs.constScanLine(y));
            for (int x = 0; x < width; ++x)
                visit(row[x]);
        }
    };
    // The glyph's grays are read where it covers at least half as much as anywhere, and each
    // pixel's gray is trusted only as far as its coverage allows: unpremultiplied, a faint
    // antialiased edge can come out at any gray, and even a half-covered one a level or two off,
    // which would set the stretch instead of the glyph itself.
    int mostOpaque = 0;
    eachPixel([&](QRgb pixel) { mostOpaque = std::max(mostOpaque, qAlpha(pixel)); });
    if (mostOpaque == 0)
        return grayGlyphs;
    const int solid = std::max(1, (mostOpaque + 1) / 2);
    int darkest = 255;
    int brightest = 0;
    eachPixel([&](QRgb pixel) {
        const int alpha = qAlpha(pixel);
        if (alpha < solid)
            return;
        const int gray = qGray(qUnpremultiply(pixel));
        const int uncertainty = 510 / alpha;
        darkest = std::min(darkest, gray + uncertainty);
        brightest = std::max(brightest, gray - uncertainty);
    });
    // Grays within each other's uncertainty are one colour, which becomes white.
    const bool oneColor = brightest <= darkest;
    const int span = std::max(1, brightest - darkest);
    EachVisiblePixel(grayGlyphs, [&](QRgb straight) {
        if (oneColor)
            return qRgba(255, 255, 255, qAlpha(straight));
        const int level = std::clamp(qGray(straight), darkest, brightest);
        const int gray =
            MinimumTintedGray + ((level - darkest) * (255 - MinimumTintedGray) + span / 2) / span;
        return qRgba(gray, gray, gray, qAlpha(straight));
    });
    return grayGlyphs;
}

} // namespace LegibleGlyphs
