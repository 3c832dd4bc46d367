#pragma once

#include <QColor>

// A colour as the design keeps it: components from 0.0 to 1.0 at full 64-bit precision, so a
// value read from a profile or a colour well survives a round trip unchanged.
struct Rgba {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;

    bool operator==(const Rgba&) const = default;

    QColor toQColor() const { return QColor::fromRgbF(red, green, blue, alpha); }
};
