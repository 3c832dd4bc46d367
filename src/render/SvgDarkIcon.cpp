#include "render/SvgDarkIcon.h"

#include "design/ColorContrast.h"
#include "render/LegibleGlyphs.h"
#include "render/StretchImage.h"

#include <algorithm>

namespace SvgDarkIcon {

bool NeedsLightening(const IconDesign& design, const QColor& ground, double ratio) {
    constexpr int Side = 256;
    const QSize size = design.iconImage.size().boundedTo(
        design.iconImage.size().scaled(Side, Side, Qt::KeepAspectRatio));
    const QImage sample =
        StretchImage(design.iconImage, std::max(1, size.width()), std::max(1, size.height()), 1);
    return LegibleGlyphs::On(ground, sample, ratio) != sample;
}

SvgColorRewrite::ColorChange Lightening(const QColor& ground, double ratio) {
    return [ground, ratio](const QColor& color) {
        return ColorContrast::LegibleOn(color, ground, ratio);
    };
}

} // namespace SvgDarkIcon
