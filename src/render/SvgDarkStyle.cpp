#include "render/SvgDarkStyle.h"

#include "design/ColorContrast.h"

namespace SvgDarkStyle {

namespace {

QByteArray Hex(const QColor& colour) {
    return colour.name(QColor::HexRgb).toLatin1();
}

} // namespace

QByteArray StyleElement(const IconDesign& design, const QByteArray& classPrefix) {
    QByteArray rules;
    auto rule = [&](const char* name, const QByteArray& declarations) {
        rules += '.' + classPrefix + name + '{' + declarations + '}';
    };
    // A transparent background shows the dark tab or page behind it instead.
    QColor behindGlyphs = ColorContrast::DarkHomeScreen();
    if (!design.transparentBackground) {
        const QColor start = ColorContrast::DarkAppearance(design.gradientStartColor.toQColor());
        const QColor end = ColorContrast::DarkAppearance(design.gradientEndColor.toQColor());
        rule(GradientStart, "stop-color:" + Hex(start));
        rule(GradientEnd, "stop-color:" + Hex(end));
        // Legible against the lighter end is legible against the whole gradient.
        behindGlyphs =
            ColorContrast::RelativeLuminance(start) > ColorContrast::RelativeLuminance(end) ? start
                                                                                            : end;
    }
    auto legible = [&](const Rgba& colour) {
        return Hex(
            ColorContrast::LegibleOn(colour.toQColor(), behindGlyphs, ColorContrast::LegibleRatio));
    };
    if (!design.text.isEmpty()) {
        rule(TextFill, "fill:" + legible(design.textColor));
        if (design.textStroke)
            rule(TextOutline, "stroke:" + legible(design.textStrokeColor));
    }
    if (!design.useImageColors)
        rule(Tint, "flood-color:" + legible(design.iconColor));
    return "<style>@media (prefers-color-scheme: dark){" + rules + "}</style>";
}

} // namespace SvgDarkStyle
