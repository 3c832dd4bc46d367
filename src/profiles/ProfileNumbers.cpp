#include "profiles/ProfileNumbers.h"

#include "design/NumberText.h"

#include <QByteArray>
#include <array>
#include <charconv>
#include <limits>
#include <locale.h>
#include <stdlib.h>

namespace {

template <typename Real> QString ShortestText(Real value) {
    // Enough for the longest shortest form of a double ("-2.2250738585072014e-308").
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    Q_ASSERT(result.ec == std::errc{});
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    // The shortest form of a whole number has no point ("40"); the text keeps one so that a
    // reader sees a real number.
    if (!text.contains(u'.') && !text.contains(u'e') && !text.contains(u"inf") &&
        !text.contains(u"nan"))
        text += u".0";
    return text;
}

} // namespace

QString ProfileComponentText(double value) {
    return ShortestText(value);
}

QString ProfileRealText(float value) {
    return ShortestText(value);
}

std::optional<float> ParseProfileReal(QStringView line) {
    // strtof skips leading white space, which the line may not have.
    if (line.isEmpty() || line.front().isSpace())
        return std::nullopt;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const QByteArray bytes = line.toUtf8();
    char* end = nullptr;
    const float value = strtof_l(bytes.constData(), &end, cLocale);
    // A NUL inside the line stops strtof early and is caught here too.
    if (end != bytes.constData() + bytes.size())
        return std::nullopt;
    return value;
}

std::optional<int> ParseProfileStateOrIndex(QStringView line) {
    const std::optional<qint64> number = ParseWholeNumber(line);
    if (!number)
        return std::nullopt;
    if (*number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(*number);
}
