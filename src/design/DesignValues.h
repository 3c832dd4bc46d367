#pragma once

#include "design/DesignSettings.h"

#include <QString>

#include <span>
#include <variant>

// The design's values, one row each, as every part that names, stores, checks or edits them
// knows them: the profile text's layout, the command line's `--set` names and what each takes,
// the manual's list and the number fields' ranges all come from this one table.
namespace DesignValues {

enum class Kind {
    Flag,       // a check box or radio button: 1 on, 0 off, -1 mixed
    Index,      // a pop-up's selected item, from 0 to `maximum`
    NumberText, // a number field's text: a whole number from `minimum` to `maximum`
    Real,       // a slider's or stepper's 32-bit value
    Color,      // a colour well's red, green and blue
    Text,       // one line of text
};

// Where a row's value lives in one record.
using Reference = std::variant<int*, float*, Rgba*, QString*>;

struct Row {
    const char* name;    // as `--set` and the manual spell it
    const char* control; // the object name of the window's control that holds it
    Kind kind;
    Reference (*in)(DesignSettings& settings);
    int line;              // its first line of the profile text, from 1 (a colour has three)
    double minimum = 0.0;  // for a number: its field's and stepper's range; for an index,
    double maximum = 0.0;  // the last one
    double step = 0.0;     // a stepper's increment
    QString fallback = {}; // what a number field takes for a text that is no number
};

// Every value, grouped as the editor's window groups them.
std::span<const Row> Table();

// The row of that name, or null.
const Row* Find(const QString& name, Qt::CaseSensitivity sensitivity = Qt::CaseSensitive);

// The part of the design a row belongs to, as the profile's lines group them; None for the
// canvas and the output settings, which are no layer.
enum class Layer { Background, Icon, Text, None };
Layer LayerOf(const Row& row);

// The longest canvas side in units, and the farthest an offset reaches.
constexpr int LargestSide = 10000;

// The output formats a profile can choose (see OutputFormat).
constexpr int OutputFormatCount = 10;

} // namespace DesignValues
