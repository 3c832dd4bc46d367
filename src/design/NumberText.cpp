#include "design/NumberText.h"

#include <QByteArray>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The index after the digits that start at `pos`.
qsizetype SkipDigits(QStringView text, qsizetype pos) {
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

// The white space strtod skips in the C locale.
bool IsCSpace(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

std::optional<qint64> ParseWholeNumber(QStringView text) {
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    // Accumulate towards the negative side so that the smallest 64-bit value fits too.
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (!IsDigit(c))
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value < (std::numeric_limits<qint64>::min() + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == std::numeric_limits<qint64>::min())
            return std::nullopt;
        value = -value;
    }
    return value;
}

double LeadingNumberValue(QStringView text) {
    // The longest prefix of the form [sign] digits [. digits] [exponent], at least one digit
    // in the mantissa. Matched here so that strtod never sees its other spellings (hexadecimal,
    // "inf", "nan"), which a typed number must not have.
    qsizetype start = 0;
    while (start < text.size() && IsCSpace(text[start]))
        ++start;
    qsizetype pos = start;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    const qsizetype integerEnd = SkipDigits(text, pos);
    qsizetype end = integerEnd;
    bool hasDigits = integerEnd > pos;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fractionEnd = SkipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits)
        return 0.0;
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        qsizetype exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        const qsizetype exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    // strtod of the C locale for the correctly rounded value, whatever locale the application
    // runs in; beyond the range of a double it gives an infinity or zero.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const QByteArray number = text.sliced(start, end - start).toLatin1();
    return strtod_l(number.constData(), nullptr, cLocale);
}
