#pragma once

#include "design/ColorContrast.h"

#include <QImage>

// The glyph layer (icon and text on transparent) made legible where the system shows it
// recoloured. Premultiplied ARGB32 in and out; transparency is kept as it is.
namespace LegibleGlyphs {

// For a plain `background` (the dark home screen, the light taskbar): every colour whose
// contrast against it is under `ratio` moved away from it until it reaches it (see
// ColorContrast::LegibleOn); colours with enough contrast stay as they are.
QImage On(const QColor& background, QImage glyphs, double ratio = ColorContrast::LegibleRatio);

// For the system's tint: the gray glyph stretched so its brightest part is white and none of
// it is darker than MinimumTintedGray.
QImage ForTint(QImage grayGlyphs);

// 35 % gray as an sRGB byte.
constexpr int MinimumTintedGray = 89;

} // namespace LegibleGlyphs
