#pragma once

#include <QImage>

// The glyph layer (icon and text on transparent) made legible where the system shows it
// recoloured. Premultiplied ARGB32 in and out; transparency is kept as it is.
namespace LegibleGlyphs {

// For the dark home screen: every colour whose contrast against it is under the legible ratio
// lightened until it reaches it (see ColorContrast); lighter colours stay as they are.
QImage ForDarkHomeScreen(QImage glyphs);

// For the system's tint: the gray glyph stretched so its brightest part is white and none of
// it is darker than MinimumTintedGray.
QImage ForTint(QImage grayGlyphs);

// 35 % gray as an sRGB byte.
constexpr int MinimumTintedGray = 89;

} // namespace LegibleGlyphs
