#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// How the numbers of a profile text are written and read back.

// A colour component: the shortest decimal text that reads back to the same 64-bit value,
// always with a fractional part or an exponent ("1.0", "0.5019607843137255", "1e-05").
QString ProfileComponentText(double value);

// A slider or stepper value: the same for the 32-bit value ("0.2", "40.0", "315.0").
QString ProfileRealText(float value);

// A real line: strtof syntax of the C locale, whatever locale the application runs in, with the
// whole line consumed. An empty line or one that starts with white space does not parse. A
// magnitude beyond the 32-bit range reads as strtof gives it (an infinity or zero), as does
// every other accepted spelling ("inf", "nan", "0x1p-3").
std::optional<float> ParseProfileReal(QStringView line);

// A state or index line: a whole number in the syntax of ParseWholeNumber. A number that is
// whole but beyond the range of int reads as -1: a pop-up then selects nothing, and a check box
// shows the mixed state, which counts as on like any other state but off.
std::optional<int> ParseProfileStateOrIndex(QStringView line);
