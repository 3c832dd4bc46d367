#pragma once

#include <QByteArray>
#include <QImage>

// GIF through a real palette quantiser (libimagequant, with dithering) so gradients do not
// band, written by giflib. GIF has no partial transparency: pixels at least half covered
// become opaque in their own colour, the others share the one transparent palette entry.
namespace GifEncoder {

// The GIF89a file of `image` (any format; premultiplied ARGB32 is the fast path). Empty on
// failure or when the image is larger than GIF allows (65535 pixels a side).
QByteArray Encode(const QImage& image);

} // namespace GifEncoder
