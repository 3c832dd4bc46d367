#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Decodes a raster icon image file (every format Qt reads, and JPEG 2000 through OpenJPEG):
// what an image helper process runs for one.
namespace RasterDecoder {

// No icon needs more: 10000 x 10000 pixels in area, 16384 on a side.
constexpr qint64 kMaxArea = qint64(10000) * 10000;
constexpr int kMaxSide = 16384;
bool WithinSizeLimits(QSize size);

// False for JPEG 2000 data whose header asks for more than the decoder may hold: a check of the
// bytes alone, made before any decoder library sees them. The other formats' headers are read
// by Qt's readers, in Decode.
bool PassesHeaderCheck(const QByteArray& bytes);

// The picture as premultiplied ARGB32, or a null image for data that is
// not an image, is truncated or corrupt, or claims dimensions beyond the limits above (refused
// before any pixel is decoded where the header tells).
QImage Decode(const QByteArray& bytes);

} // namespace RasterDecoder
