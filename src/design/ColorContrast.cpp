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

double Luminance(const Vector& linear) {
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
}

Vector LinearOf(const QColor& color) {
    const QColor rgb = color.toRgb();
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

// The linear light of each sRGB byte, as ToLinear gives it.
const std::array<double, 256>& LinearOfByte() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> linear{};
        for (int byte = 0; byte < 256; ++byte)
            linear[std::size_t(byte)] = ToLinear(byte / 255.0);
        return linear;
    }();
    return table;
}

Vector LinearOf(QRgb color) {
    const std::array<double, 256>& linear = LinearOfByte();
    return {linear[std::size_t(qRed(color))], linear[std::size_t(qGreen(color))],
            linear[std::size_t(qBlue(color))]};
}

// The sRGB byte of linear light `v` rounded away from the background: up when lightening (the
// least byte at least that light), else down, so that the stored colour keeps the contrast.
int ByteOf(double v, bool up) {
    const std::array<double, 256>& linear = LinearOfByte();
    if (up) {
        const auto at = std::lower_bound(linear.begin(), linear.end(), v - 1e-12);
        return at == linear.end() ? 255 : int(at - linear.begin());
    }
    const auto at = std::upper_bound(linear.begin(), linear.end(), v + 1e-12);
    return std::max(0, int(at - linear.begin()) - 1);
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
    // Twelve halvings find the chroma to a 4096th, finer than a byte of any channel.
    for (int step = 0; step < 12; ++step) {
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

QColor DarkAppearance(const QColor& color) {
    const QColor white(Qt::white);
    return LegibleOn(color, white, Ratio(white, DarkHomeScreen()));
}

QColor LightTaskbar() {
    return QColor(0xF3, 0xF3, 0xF3);
}

QColor DarkTaskbar() {
    return QColor(0x20, 0x20, 0x20);
}

double RelativeLuminance(const QColor& color) {
    return Luminance(LinearOf(color));
}

double Ratio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleOn(const QColor& color, const QColor& background, double ratio) {
    return Legibility(background, ratio).Legible(color);
}

Legibility::Legibility(const QColor& background, double ratio) {
    const double backdrop = RelativeLuminance(background);
    // Lighter than the background where even white falls short of the ratio the other way.
    m_lighten = (1.0 + 0.05) / (backdrop + 0.05) >= (backdrop + 0.05) / 0.05;
    m_needed = m_lighten ? std::min(1.0, ratio * (backdrop + 0.05) - 0.05)
                         : std::max(0.0, (backdrop + 0.05) / ratio - 0.05);
}

bool Legibility::Enough(QRgb color) const {
    return Reaches(Luminance(LinearOf(color)));
}

bool Legibility::Reaches(double luminance) const {
    return m_lighten ? luminance >= m_needed : luminance <= m_needed;
}

QColor Legibility::Legible(const QColor& color) const {
    const Vector linear = LinearOf(color);
    if (Reaches(Luminance(linear)))
        return color;
    QColor legible = QColor::fromRgb(Moved(linear));
    legible.setAlpha(color.alpha());
    return legible;
}

QRgb Legibility::Legible(QRgb color) const {
    const Vector linear = LinearOf(color);
    return Reaches(Luminance(linear)) ? color
                                      : (Moved(linear) & 0x00ffffffu) | (color & 0xff000000u);
}

QRgb Legibility::Moved(const std::array<double, 3>& linear) const {
    const Vector lab = ToOklab(linear);
    // Luminance follows OKLab lightness along the hue: bisect for the least change that suffices.
    double near = lab[0];
    double far = m_lighten ? 1.0 : 0.0;
    Vector found = AtLightness(lab, far);
    // Sixteen halvings find the lightness to a 65536th, finer than a byte of any channel.
    for (int step = 0; step < 16; ++step) {
        const double lightness = (near + far) / 2;
        const Vector candidate = AtLightness(lab, lightness);
        if (Reaches(Luminance(candidate))) {
            far = lightness;
            found = candidate;
        } else {
            near = lightness;
        }
    }
    return qRgb(ByteOf(found[0], m_lighten), ByteOf(found[1], m_lighten),
                ByteOf(found[2], m_lighten));
}

} // namespace ColorContrast
