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

    // Components outside 0..1 (or NaN, which a hand-edited profile can hold) are brought into
    // range; QColor would otherwise make an invalid colour of them.
    QColor toQColor() const {
        auto unit = [](double v) { return v >= 0.0 ? (v <= 1.0 ? float(v) : 1.0f) : 0.0f; };
        return QColor::fromRgbF(unit(red), unit(green), unit(blue), unit(alpha));
    }
};
