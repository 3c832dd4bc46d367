#include "render/SvgDarkStyle.h"

#include "design/ColorContrast.h"

namespace SvgDarkStyle {

namespace {

QByteArray Hex(const QColor& colour) {
    return colour.name(QColor::HexRgb).toLatin1();
}

// The colour with its lightness lowered, hue kept, until it is no lighter than the dark home
// screen: the colours that stand against white as the home screen does are exactly those.
QColor Darkened(const Rgba& colour) {
    const QColor white(Qt::white);
    return ColorContrast::LegibleOn(colour.toQColor(), white,
                                    ColorContrast::Ratio(white, ColorContrast::DarkHomeScreen()));
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
        const QColor start = Darkened(design.gradientStartColor);
        const QColor end = Darkened(design.gradientEndColor);
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
