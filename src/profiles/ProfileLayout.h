#pragma once

#include "design/Rgba.h"

#include <QString>
#include <variant>
#include <vector>

struct DesignSettings;

// One line of a profile text and the record value it stands for. State and index lines share
// one form, a whole number; a colour takes three component lines (red, green, blue).
struct WholeNumberLine {
    int* value;
};
struct ComponentLine {
    Rgba* color;
    double Rgba::*component;
};
struct RealLine {
    float* value;
};
struct TextLine {
    QString* value;
};
using ProfileLine = std::variant<WholeNumberLine, ComponentLine, RealLine, TextLine>;

// The 104 lines of the current layout in their order, addressing the values of `record`: the
// design values' table gives each value its lines, and the writer and the reader both walk
// this list.
std::vector<ProfileLine> CurrentProfileLayout(DesignSettings& record);
