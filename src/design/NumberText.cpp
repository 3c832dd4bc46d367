#include "design/NumberText.h"

#include <QByteArray>
#include <cstdlib>
#include <limits>
#include <locale.h>

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
        if (c < u'0' || c > u'9')
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
    // strtod of the C locale, whatever locale the application runs in.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const QByteArray bytes = text.toUtf8();
    const double value = strtod_l(bytes.constData(), nullptr, cLocale);
    return value;
}
