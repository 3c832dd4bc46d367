#include "render/SvgColorRewrite.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace SvgColorRewrite {

namespace {

constexpr QStringView kColorProperties[] = {u"fill",        u"stroke", u"stop-color",
                                            u"flood-color", u"color",  u"lighting-color"};

bool IsColorProperty(QStringView name) {
    for (QStringView property : kColorProperties)
        if (name.compare(property, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// One channel of rgb(): a number from 0 to 255 or a percentage; the alpha from 0 to 1 or a
// percentage.
std::optional<double> Channel(QStringView text, double full) {
    const bool percent = text.endsWith(u'%');
    bool ok = false;
    const double value = (percent ? text.chopped(1) : text).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return std::clamp(percent ? value / 100.0 : value / full, 0.0, 1.0);
}

std::optional<QColor> FunctionalColor(QStringView token) {
    static const QRegularExpression separators(QStringLiteral(R"([\s,/]+)"));
    const qsizetype open = token.indexOf(u'(');
    const QStringList parts = token.sliced(open + 1, token.size() - open - 2)
                                  .toString()
                                  .split(separators, Qt::SkipEmptyParts);
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    double channels[4] = {0, 0, 0, 1};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<double> channel = Channel(parts[i], i < 3 ? 255.0 : 1.0);
        if (!channel)
            return std::nullopt;
        channels[i] = *channel;
    }
    return QColor::fromRgbF(float(channels[0]), float(channels[1]), float(channels[2]),
                            float(channels[3]));
}

// The colour a token names; none for references, keywords that are no colour, and
// `transparent`, which no change can make visible.
std::optional<QColor> ColorOf(QStringView token) {
    if (token.startsWith(u'#')) {
        if (token.size() != 4 && token.size() != 7)
            return std::nullopt;
    } else if (token.startsWith(u"rgb", Qt::CaseInsensitive) && token.endsWith(u')')) {
        return FunctionalColor(token);
    } else if (token.compare(u"transparent", Qt::CaseInsensitive) == 0) {
        return std::nullopt;
    }
    const QColor color = QColor::fromString(token);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

QString ColorText(const QColor& color) {
    if (color.alpha() == 255)
        return color.name(QColor::HexRgb);
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'g', 4);
}

// A painting property's value with each colour in it changed: a paint's fallback colour after
// its url() too.
QString RecoloredValue(const QString& value, const ColorChange& change) {
    static const QRegularExpression tokens(
        QStringLiteral(R"(url\([^)]*\)|rgba?\([^)]*\)|#[0-9a-f]+|[a-z][a-z0-9-]*)"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : tokens.globalMatch(value)) {
        const std::optional<QColor> color = ColorOf(match.capturedView());
        const QColor changed = color ? change(*color) : QColor();
        if (!color || changed.rgba() == color->rgba())
            continue;
        out += QStringView(value).sliced(last, match.capturedStart() - last);
        out += ColorText(changed);
        last = match.capturedEnd();
    }
    if (last == 0)
        return value;
    out += QStringView(value).sliced(last);
    return out;
}

} // namespace

QString RecoloredAttribute(QStringView name, const QString& value, const ColorChange& change) {
    if (name == u"style")
        return RecoloredStyle(value, change);
    return IsColorProperty(name) ? RecoloredValue(value, change) : value;
}

QString RecoloredStyle(const QString& css, const ColorChange& change) {
    // A declaration of a painting property; a longer name (fill-opacity, -x-stroke) is none.
    static const QRegularExpression declaration = [] {
        QStringList names;
        for (QStringView property : kColorProperties)
            names << property.toString();
        return QRegularExpression(
            QStringLiteral(R"((?<![\w-])(%1)\s*:([^;{}!]*))").arg(names.join(u'|')),
            QRegularExpression::CaseInsensitiveOption);
    }();
    QString out;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : declaration.globalMatch(css)) {
        out += QStringView(css).sliced(last, match.capturedStart(2) - last);
        out += RecoloredValue(match.captured(2), change);
        last = match.capturedEnd(2);
    }
    out += QStringView(css).sliced(last);
    return out;
}

} // namespace SvgColorRewrite
