#include "render/LinearLight.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace LinearLight {

namespace {

constexpr int LinearOne = 65535;

double ToLinear(double srgb) {
    return srgb <= 0.04045 ? srgb / 12.92 : std::pow((srgb + 0.055) / 1.055, 2.4);
}

double ToSrgb(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

const std::array<std::uint16_t, 256> LinearOfByte = [] {
    std::array<std::uint16_t, 256> values{};
    for (int i = 0; i < 256; ++i)
        values[std::size_t(i)] = std::uint16_t(std::lround(ToLinear(i / 255.0) * LinearOne));
    return values;
}();

// Every 16-bit intensity's nearest sRGB byte: a byte mapped to linear and back is itself, so
// flat areas keep their exact colour.
const std::vector<std::uint8_t> ByteOfLinear = [] {
    std::vector<std::uint8_t> values(LinearOne + 1);
    for (int i = 0; i <= LinearOne; ++i)
        values[std::size_t(i)] = std::uint8_t(std::lround(ToSrgb(double(i) / LinearOne) * 255));
    return values;
}();

} // namespace

void PremultipliedRow(const QRgb* row, int width, std::uint16_t* out) {
    const auto& linear = LinearOfByte;
    for (int x = 0; x < width; ++x, out += 4) {
        const QRgb pixel = row[x];
        const int alpha = qAlpha(pixel);
        std::uint16_t channels[4];
        if (alpha == 255) {
            // Opaque, as most icon pixels are: the stored colour is the straight colour.
            channels[0] = linear[qBlue(pixel)];
            channels[1] = linear[qGreen(pixel)];
            channels[2] = linear[qRed(pixel)];
            channels[3] = LinearOne;
        } else if (alpha == 0) {
            std::fill(channels, channels + 4, 0);
        } else {
            const QRgb straight = qUnpremultiply(pixel);
            const int colors[3] = {qBlue(straight), qGreen(straight), qRed(straight)};
            for (int c = 0; c < 3; ++c)
                channels[c] = std::uint16_t((linear[std::size_t(colors[c])] * alpha + 127) / 255);
            channels[3] = std::uint16_t(alpha * 257);
        }
        // The channel order of the native 32-bit word in memory (blue first on little-endian).
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN)
            std::reverse(channels, channels + 4);
        std::memcpy(out, channels, sizeof channels);
    }
}

void PremultipliedPixels(const std::int32_t* channels, int count, QRgb* out) {
    const std::uint8_t* bytes = ByteOfLinear.data();
    for (int x = 0; x < count; ++x, channels += 4) {
        std::int32_t ordered[4];
        for (int c = 0; c < 4; ++c)
            ordered[c] = std::clamp(channels[c], 0, LinearOne);
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN)
            std::reverse(ordered, ordered + 4);
        const std::int32_t alpha = ordered[3];
        if (alpha == LinearOne) {
            out[x] = qRgb(bytes[ordered[2]], bytes[ordered[1]], bytes[ordered[0]]);
            continue;
        }
        const int alphaByte = (alpha * 255 + LinearOne / 2) / LinearOne;
        if (alphaByte == 0) {
            out[x] = 0;
            continue;
        }
        // Straight colour = premultiplied * 65535 / alpha, through one reciprocal in 32.32.
        const std::uint64_t reciprocal = (std::uint64_t(LinearOne) << 32) / std::uint64_t(alpha);
        int colors[3];
        for (int c = 0; c < 3; ++c) {
            const std::uint64_t straight =
                (std::uint64_t(ordered[c]) * reciprocal + (1ull << 31)) >> 32;
            colors[c] =
                (bytes[std::min<std::uint64_t>(straight, LinearOne)] * alphaByte + 127) / 255;
        }
        out[x] = qRgba(colors[2], colors[1], colors[0], alphaByte);
    }
}

} // namespace LinearLight
