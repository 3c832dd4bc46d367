#pragma once

#include <QRgb>

#include <cstdint>

// Light as it adds up: sRGB bytes mapped to linear intensity in 16 bits and back, through
// tables. Averaging pixels (as shrinking does) in these units keeps their brightness; averaging
// the stored sRGB values makes fine light detail on dark too dark and thin.
namespace LinearLight {

// One row of premultiplied ARGB32 (native byte order) as premultiplied linear light, four
// 16-bit channels per pixel in the same order, alpha scaled to 0..65535 like the colours.
void PremultipliedRow(const QRgb* row, int width, std::uint16_t* out);

// `count` premultiplied ARGB32 pixels of premultiplied linear channels, four per pixel in the
// order PremultipliedRow writes them, each clamped to 0..65535.
void PremultipliedPixels(const std::int32_t* channels, int count, QRgb* out);

} // namespace LinearLight
