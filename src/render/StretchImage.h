#pragma once

#include "render/ScaleSource.h"

#include <QImage>

// The whole of `image` drawn into exactly width x height pixels, stretched on each axis
// independently (the aspect ratio is not kept). Colours are filtered premultiplied, so
// transparent neighbours never darken an edge: an area filter when shrinking (no aliasing
// even at 16 pixels), a Mitchell cubic when enlarging. Shrinking averages linear light, so thin
// light strokes on dark keep their brightness. Rows are split over `threads` workers (0 = as
// many as the machine has); the pixels are the same for any thread count.
//
// The result is premultiplied ARGB32; a null image when the size is below one pixel or
// cannot be allocated. An empty source gives a fully transparent image.
QImage StretchImage(const QImage& image, int width, int height, int threads = 0);

// The same from a source scaled to several sizes, which is converted to linear light once.
QImage StretchImage(const ScaleSource& source, int width, int height, int threads = 0);

// Readies `source` for shrinking to several sizes on `threads` workers (0 = one per core), so
// that scaling the sizes one per thread afterwards does not leave that work to the first of
// them while the others wait.
void PrepareShrinking(const ScaleSource& source, int threads);
