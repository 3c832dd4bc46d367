#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QSize>

// The drawing steps that turn a rendered icon into a picture of it in its surroundings.
namespace TileComposition {

// A vertical gradient from `top` to `bottom`: a stand-in for a wallpaper or a desktop.
QImage Backdrop(const QSize& size, const QColor& top, const QColor& bottom);

// The icon cut to `shape` (in the icon's pixels) with anti-aliased edges, transparent outside.
QImage Masked(const QImage& icon, const QPainterPath& shape);

// Every pixel's colour multiplied by `color`, alpha kept: a grayscale layer takes the colour's
// hue at its own brightness, a white silhouette becomes that colour.
QImage Colored(const QImage& layer, const QColor& color);

// One row of premultiplied ARGB32 pixels `top` drawn over those of `target`.
void OverRow(QRgb* target, const QRgb* top, int count);

// `top` drawn over `bottom` with its top-left corner at `position`.
QImage Over(const QImage& bottom, const QImage& top, const QPoint& position = {});

} // namespace TileComposition
