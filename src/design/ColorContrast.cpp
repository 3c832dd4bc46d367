#include "design/ColorContrast.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ColorContrast {

namespace {

using Vector = std::array<double, 3>;

double ToLinear(double srgb) {
    return srgb <= 0.04045 ? srgb / 12.92 : std::pow((srgb + 0.055) / 1.055, 2.4);
}

double ToSrgb(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

double Luminance(const Vector& linear) {
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
}

Vector LinearOf(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return {ToLinear(rgb.redF()), ToLinear(rgb.greenF()), ToLinear(rgb.blueF())};
}

// Björn Ottosson's OKLab, from and to linear sRGB.
Vector ToOklab(const Vector& c) {
    const double l = std::cbrt(0.4122214708 * c[0] + 0.5363325363 * c[1] + 0.0514459929 * c[2]);
    const double m = std::cbrt(0.2119034982 * c[0] + 0.6806995451 * c[1] + 0.1073969566 * c[2]);
    const double s = std::cbrt(0.0883024619 * c[0] + 0.2817188376 * c[1] + 0.6299787005 * c[2]);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

Vector FromOklab(const Vector& lab) {
    auto cube = [](double v) { return v * v * v; };
    const double l = cube(lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2]);
    const double m = cube(lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2]);
    const double s = cube(lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2]);
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

bool InGamut(const Vector& linear) {
    constexpr double Slack = 1e-6;
    return std::all_of(linear.begin(), linear.end(),
                       [](double v) { return v >= -Slack && v <= 1.0 + Slack; });
}

// The colour of OKLab lightness `lightness` on the hue of `lab`, with as much of its chroma
// as the gamut holds there.
Vector AtLightness(const Vector& lab, double lightness) {
    if (const Vector full = FromOklab({lightness, lab[1], lab[2]}); InGamut(full))
        return full;
    double low = 0.0;
    double high = 1.0;
    Vector linear = FromOklab({lightness, 0.0, 0.0});
    for (int step = 0; step < 16; ++step) {
        const double share = (low + high) / 2;
        const Vector candidate = FromOklab({lightness, lab[1] * share, lab[2] * share});
        if (InGamut(candidate)) {
            low = share;
            linear = candidate;
        } else {
            high = share;
        }
    }
    return linear;
}

} // namespace

QColor DarkHomeScreen() {
    return QColor(0x1C, 0x1C, 0x1E);
}

QColor DarkAppearance(const QColor& colour) {
    const QColor white(Qt::white);
    return LegibleOn(colour, white, Ratio(white, DarkHomeScreen()));
}

QColor LightTaskbar() {
    return QColor(0xF3, 0xF3, 0xF3);
}

double RelativeLuminance(const QColor& colour) {
    return Luminance(LinearOf(colour));
}

double Ratio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleOn(const QColor& colour, const QColor& background, double ratio) {
    const double backdrop = RelativeLuminance(background);
    // Lighter than the background where even white falls short of the ratio the other way.
    const bool lighten = (1.0 + 0.05) / (backdrop + 0.05) >= (backdrop + 0.05) / 0.05;
    const double needed = lighten ? std::min(1.0, ratio * (backdrop + 0.05) - 0.05)
                                  : std::max(0.0, (backdrop + 0.05) / ratio - 0.05);
    auto enough = [&](double luminance) {
        return lighten ? luminance >= needed : luminance <= needed;
    };
    const Vector linear = LinearOf(colour);
    if (enough(Luminance(linear)))
        return colour;
    const Vector lab = ToOklab(linear);
    // Luminance follows OKLab lightness along the hue: bisect for the least change that suffices.
    double near = lab[0];
    double far = lighten ? 1.0 : 0.0;
    Vector found = AtLightness(lab, far);
    for (int step = 0; step < 20; ++step) {
        const double lightness = (near + far) / 2;
        const Vector candidate = AtLightness(lab, lightness);
        if (enough(Luminance(candidate))) {
            far = lightness;
            found = candidate;
        } else {
            near = lightness;
        }
    }
    // Rounded away from the background to whole sRGB steps, so the stored colour keeps the
    // contrast.
    auto channel = [&](double v) {
        const double scaled = std::clamp(ToSrgb(std::clamp(v, 0.0, 1.0)), 0.0, 1.0) * 255;
        return int(lighten ? std::ceil(scaled - 1e-9) : std::floor(scaled + 1e-9));
    };
    QColor legible(channel(found[0]), channel(found[1]), channel(found[2]));
    legible.setAlpha(colour.alpha());
    return legible;
}

} // namespace ColorContrast
