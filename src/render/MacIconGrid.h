#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRectF>

// The grid macOS app icons are drawn on: on a 1024-unit canvas a centred body of 824 units,
// shaped as a rounded square whose corners ease into the straight sides, with a soft shadow
// below it in the margin. A picture of another shape is put on a plate by the system.
namespace MacIconGrid {

// The body's side as a fraction of the icon's.
constexpr double BodyFraction = 824.0 / 1024.0;

// The body's square in an icon `pixels` wide.
QRectF Body(int pixels);

// The body's outline in an icon `pixels` wide.
QPainterPath BodyOutline(int pixels);

// The icon from `picture`, a square whose middle BodyFraction holds the design (its
// background full bleed across the whole square): the picture cut to the body, over the
// body's shadow, on transparent. Premultiplied ARGB32 of the picture's size.
QImage Finish(const QImage& picture);

} // namespace MacIconGrid
