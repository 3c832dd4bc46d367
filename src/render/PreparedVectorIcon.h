#pragma once

#include "design/IconDesign.h"

#include <QImage>
#include <QRect>
#include <QSizeF>
#include <QTransform>

// The size of an SVG icon image at 100 %: its area fitted inside the canvas, aspect kept.
QSizeF FittedVectorIconSize(const SvgImage& image, double canvasWidth, double canvasHeight);

// The design's SVG icon as it is placed: fitted to `iconRect` (canvas coordinates), turned and
// squeezed back into that rectangle as a raster icon is, tinted unless the design keeps the
// image's own colours, and drawn straight at device resolution (`toDevice`) onto the device
// pixels of `region` only (a region larger than the image's largestDrawing() is drawn at that
// area and enlarged). Premultiplied ARGB32 of the region's size. The last pictures are kept,
// so that a rendering changing only other layers does not draw the document again.
QImage PreparedVectorIcon(const IconDesign& design, const QRectF& iconRect,
                          const QTransform& toDevice, const QRect& region);
