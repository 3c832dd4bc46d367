#pragma once

#include <QColor>
#include <QString>

#include <functional>

// The colours of an SVG document changed one by one where the document names them: the
// painting properties (fill, stroke, stop-color, flood-color, color, lighting-color) as
// presentation attributes, inside style attributes and inside style sheets, written as #rgb,
// #rrggbb, rgb(), rgba() or a colour keyword. A colour the change gives back as it was keeps its
// text, and nothing else is touched: references such as url(#abc) stay references, keywords
// such as none or currentColor stay keywords.
namespace SvgColorRewrite {

using ColorChange = std::function<QColor(const QColor&)>;

// The value of the attribute `name` with its colours changed: a painting property's value or
// the declarations of a style attribute; any other attribute's value as it is.
QString RecoloredAttribute(QStringView name, const QString& value, const ColorChange& change);

// A style sheet (or a style attribute's declarations) with the painting properties' colours
// changed.
QString RecoloredStyle(const QString& css, const ColorChange& change);

} // namespace SvgColorRewrite
