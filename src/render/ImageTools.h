#pragma once

#include "design/IconDesign.h"
#include "render/RenderOptions.h"

#include <QColor>
#include <QImage>

// Stateless drawing operations. Every function creates its own images and may run on any
// thread.
namespace ImageTools {

// The picture of a design: exactly canvasWidth x canvasHeight pixels (one pixel per unit),
// premultiplied ARGB. `threads` bounds the worker threads used for blurs and compositing
// (0 = as many as the machine has); the picture is the same for any thread count.
QImage RenderIcon(const IconDesign& design, int threads = 0);

// A variant of the picture as `options` ask: layers, full bleed, inset, colour treatment and
// output size. With default options it is exactly RenderIcon(design, threads).
QImage RenderIcon(const IconDesign& design, const RenderOptions& options, int threads = 0);

// The image turned counter-clockwise by `degrees` about its centre, on a new image just large
// enough to hold it.
QImage RotateImage(const QImage& image, double degrees);

// A copy of the image with a dotted frame of square dots along its edges.
QImage DrawCanvasMargins(const QImage& image, const QColor& color, double lineWidth);

} // namespace ImageTools
