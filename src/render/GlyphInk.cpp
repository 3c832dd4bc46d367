#include "render/GlyphInk.h"

#include "design/ColorContrast.h"
#include "render/ImageTools.h"
#include "render/RenderOptions.h"

#include <algorithm>
#include <cmath>

namespace {

// Fine enough to place the ink within a fraction of a percent of the canvas, small enough to
// cost little next to the pictures it decides.
constexpr int kMeasureSide = 256;

QImage InkPicture(const IconDesign& design) {
    RenderOptions options;
    options.layers = RenderOptions::Layers::Glyphs;
    options.glyphShadows = false;
    options.outputSize = QSize(kMeasureSide, kMeasureSide);
    return ImageTools::RenderIcon(design, options, 1)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The farthest corner of the pixel from the centre, so that no part of an inked pixel is
// missed, in halves of the picture's side.
double Reach(int x, int y) {
    const double half = kMeasureSide / 2.0;
    const double dx = std::max(std::abs(x - half), std::abs(x + 1 - half));
    const double dy = std::max(std::abs(y - half), std::abs(y + 1 - half));
    return std::hypot(dx, dy) / half;
}

// How much of the ink, by coverage, keeps the plate's contrast against `plate`.
double LegibleShare(const QImage& ink, const QColor& plate) {
    const ColorContrast::Legibility rule(plate, GlyphFit::PlateRatio);
    const QRgb ground = plate.rgb();
    double legible = 0.0;
    double total = 0.0;
    for (int y = 0; y < ink.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        for (int x = 0; x < ink.width(); ++x) {
            const int alpha = qAlpha(row[x]);
            if (alpha == 0)
                continue;
            // The pixel as it looks on the plate.
            auto over = [&](int ink, int plate) {
                return ink + (plate * (255 - alpha) + 127) / 255;
            };
            const QRgb seen =
                qRgb(over(qRed(row[x]), qRed(ground)), over(qGreen(row[x]), qGreen(ground)),
                     over(qBlue(row[x]), qBlue(ground)));
            total += alpha;
            if (rule.Enough(seen))
                legible += alpha;
        }
    }
    return total > 0.0 ? legible / total : 1.0;
}

} // namespace

GlyphInk GlyphInk::Of(const IconDesign& design) {
    GlyphInk measured;
    const QImage ink = InkPicture(design);
    if (ink.isNull())
        return measured;
    for (int y = 0; y < ink.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        // The farthest ink of a row is at one of its ends.
        int first = 0;
        while (first < ink.width() && qAlpha(row[first]) == 0)
            ++first;
        if (first == ink.width())
            continue;
        int last = ink.width() - 1;
        while (qAlpha(row[last]) == 0)
            --last;
        measured.reach = std::max({measured.reach, Reach(first, y), Reach(last, y)});
    }
    if (design.transparentBackground &&
        LegibleShare(ink, ColorContrast::DarkHomeScreen()) > LegibleShare(ink, Qt::white))
        measured.plate = ColorContrast::DarkHomeScreen();
    return measured;
}

namespace GlyphFit {

double ScaleInto(double reach, double safeRadius) {
    return reach > safeRadius ? safeRadius / reach : 1.0;
}

} // namespace GlyphFit
