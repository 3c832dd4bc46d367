#include "export/ValidatedNumber.h"

#include "design/DesignValues.h"
#include "design/NumberText.h"

namespace {

ValidatedNumber ValidateWholeNumber(const QString& text, int fallback, int minimum, int maximum) {
    const std::optional<qint64> number = ParseWholeNumber(text);
    if (!number)
        return {QString::number(fallback), fallback};
    if (*number > maximum)
        return {QString::number(maximum), maximum};
    if (*number < minimum)
        return {QString::number(minimum), minimum};
    return {text, static_cast<int>(*number)};
}

} // namespace

ValidatedNumber ValidateQuality(const QString& text) {
    return ValidateWholeNumber(text, 1, 1, 100);
}

ValidatedNumber ValidateCustomSize(const QString& text) {
    return ValidateWholeNumber(text, 1024, 1, DesignValues::LargestSide);
}
