#pragma once

#include <QString>

// A typed whole number after its field's check: the text the field shows from now on and the
// value its partner stepper takes.
struct ValidatedNumber {
    QString text;
    int value = 0;

    bool operator==(const ValidatedNumber&) const = default;
};

// The quality field: text that is not a whole number becomes 1, values are kept within 1 to
// 100, a text in range stays exactly as typed ("+55" stays "+55").
ValidatedNumber ValidateQuality(const QString& text);

// The custom width and height fields and the canvas fields: text that is not a whole number
// becomes 1024, values are kept within 1 to 10000, a text in range stays as typed.
ValidatedNumber ValidateCustomSize(const QString& text);
