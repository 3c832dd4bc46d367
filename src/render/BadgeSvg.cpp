#include "render/BadgeSvg.h"

#include "render/SvgDarkStyle.h"
#include "render/SvgPathData.h"

namespace BadgeSvg {

namespace {

// Layouts far larger than any compact mark: a vector badge always shows its text.
constexpr double VectorSide = 4096.0;

QByteArray Hex(const QColor& color) {
    return color.name(QColor::HexRgb).toLatin1();
}

QByteArray Path(const QPainterPath& path, const QColor& color, const QByteArray& className) {
    return "<path" + (className.isEmpty() ? QByteArray() : " class=\"" + className + '"') +
           " d=\"" + SvgPathData(path) + "\" fill-rule=\"" + SvgFillRule(path) + "\" fill=\"" +
           Hex(color) + "\"/>";
}

} // namespace

QByteArray Elements(const BadgeArt& badge, const BadgeArea& area, BadgeLook look,
                    const QByteArray& darkClassPrefix) {
    if (!badge.IsSet() || area.bounds.isEmpty())
        return {};
    // Laid out on a large area and scaled back, so that a small document shows text too.
    const double enlarge = VectorSide / std::min(area.bounds.width(), area.bounds.height());
    const QTransform up = QTransform::fromTranslate(-area.bounds.x(), -area.bounds.y()) *
                          QTransform::fromScale(enlarge, enlarge);
    const BadgeArea large{up.mapRect(area.bounds), area.radius * enlarge};
    const QTransform back = up.inverted();
    const BadgeShapes shapes = badge.Layout(large, look);
    const bool dark = !darkClassPrefix.isEmpty();
    const QByteArray plateClass = dark ? darkClassPrefix + "badge-plate" : QByteArray();
    const QByteArray textClass = dark ? darkClassPrefix + "badge-text" : QByteArray();
    QByteArray elements;
    if (dark) {
        const BadgeShapes darkShapes = badge.Layout(large, BadgeLook::Dark);
        elements += QByteArray("<style>@media ") + SvgDarkStyle::DarkScheme + "{." + plateClass +
                    "{fill:" + Hex(darkShapes.plateColor) + "}." + textClass +
                    "{fill:" + Hex(darkShapes.textColor) + "}}</style>";
    }
    return elements + "<g>" + Path(back.map(shapes.plate), shapes.plateColor, plateClass) +
           Path(back.map(shapes.text), shapes.textColor, textClass) + "</g>";
}

QByteArray Document(const BadgeArt& badge, const QSize& size, const BadgeArea& area,
                    BadgeLook look) {
    const QByteArray w = QByteArray::number(size.width());
    const QByteArray h = QByteArray::number(size.height());
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "width=\"" +
           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n" +
           Elements(badge, area, look) + "\n</svg>\n";
}

} // namespace BadgeSvg
