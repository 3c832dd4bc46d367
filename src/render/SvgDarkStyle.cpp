#include "render/SvgDarkStyle.h"

#include "design/ColorContrast.h"
#include "design/LayerEffects.h"

namespace SvgDarkStyle {

namespace {

QByteArray Hex(const QColor& color) {
    return color.name(QColor::HexRgb).toLatin1();
}

QColor DarkStart(const IconDesign& design) {
    return ColorContrast::DarkAppearance(design.gradientStartColor.toQColor());
}

QColor DarkEnd(const IconDesign& design) {
    return ColorContrast::DarkAppearance(design.gradientEndColor.toQColor());
}

} // namespace

QColor GlyphGround(const IconDesign& design) {
    // A transparent background shows the dark tab or page behind it instead.
    if (design.transparentBackground)
        return ColorContrast::DarkHomeScreen();
    // Legible against the lighter end is legible against the whole gradient.
    const QColor start = DarkStart(design);
    const QColor end = DarkEnd(design);
    return ColorContrast::RelativeLuminance(start) > ColorContrast::RelativeLuminance(end) ? start
                                                                                           : end;
}

QByteArray StyleElement(const IconDesign& design, const QByteArray& classPrefix,
                        bool lightenedIcon) {
    QByteArray rules;
    auto rule = [&](const char* name, const QByteArray& declarations) {
        rules += '.' + classPrefix + name + '{' + declarations + '}';
    };
    if (!design.transparentBackground) {
        rule(GradientStart, "stop-color:" + Hex(DarkStart(design)));
        rule(GradientEnd, "stop-color:" + Hex(DarkEnd(design)));
    }
    const QColor ground = GlyphGround(design);
    auto legible = [&](const Rgba& color) {
        return Hex(ColorContrast::LegibleOn(color.toQColor(), ground, ColorContrast::LegibleRatio));
    };
    if (!design.text.isEmpty()) {
        rule(TextFill, "fill:" + legible(design.textColor));
        if (const Outline outline = OutlineOf(design, DesignValues::Layer::Text); outline.on)
            rule(TextOutline, "stroke:" + legible(outline.color));
    }
    if (!design.useImageColors)
        rule(Tint, "flood-color:" + legible(design.iconColor));
    if (lightenedIcon) {
        rule(OwnColors, "display:none");
        rule(Lightened, "display:inline");
    }
    return QByteArray("<style>@media ") + DarkScheme + '{' + rules + "}</style>";
}

} // namespace SvgDarkStyle
