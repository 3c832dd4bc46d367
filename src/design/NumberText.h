#pragma once

#include <QStringView>
#include <optional>

// The one test for typed whole numbers, shared by the profile reader, the export's size and
// quality rules and the window's number fields: an optional "+" or "-" followed by one or more
// ASCII digits and nothing else, within the range of a 64-bit signed integer.
std::optional<qint64> ParseWholeNumber(QStringView text);

// The numeric value a text field shows for its text: the longest leading decimal number
// (after leading white space, with an optional sign, fraction and exponent), 0 when there is
// none. "12abc" gives 12, "abc" gives 0, and "0x20", "inf" and "nan" give 0: the only digits
// are decimal ones.
double LeadingNumberValue(QStringView text);
