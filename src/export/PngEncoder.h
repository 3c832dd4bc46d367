#pragma once

#include "render/PictureRows.h"

#include <QByteArray>
#include <QImage>

// A PNG writer tuned for export speed: 8-bit RGBA with straight alpha, every row "Up"
// filtered, and compressed by looking only for runs of repeated pixels (PixelRunDeflate).
// Large pictures are filtered and compressed as they go, in parts on all cores, so no second
// full-size copy of the picture is ever made. On icon artwork (gradients, flat areas) this is
// many times faster than a general-purpose writer, for files a little larger.
namespace PngEncoder {

// Whether the file keeps an alpha channel. Some stores refuse any icon that has one, even a
// fully opaque one, so an opaque picture can be written as plain RGB.
enum class Channels { Rgba, Rgb };

// The PNG file of `image` (any format; premultiplied ARGB32 is the fast path), marked as 72
// pixels per inch. A large picture is compressed on `threads` threads (0 = one per core); the
// decoded pixels are the same for any count. With Channels::Rgb the alpha channel is left
// out and every pixel keeps its straight colour, so the picture should be opaque. Empty on
// failure.
QByteArray Encode(const QImage& image, int threads = 0, Channels channels = Channels::Rgba);

// The same for a picture made row by row as it is encoded.
QByteArray Encode(const PictureRows& pixels, int threads = 0, Channels channels = Channels::Rgba);

} // namespace PngEncoder
