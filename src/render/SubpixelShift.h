#pragma once

#include <QImage>
#include <QPointF>

// The premultiplied image moved right and down by a fraction of a pixel (each part from 0 to
// 1), on an image one pixel wider and taller: each pixel is the bilinear mix of its
// neighbours. Qt places an unscaled image on whole pixels, rounding its position; this keeps
// the position exact.
QImage ShiftedBySubpixel(const QImage& image, QPointF fraction);
