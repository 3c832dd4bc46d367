#pragma once

#include <QByteArray>
#include <QImage>

// JPEG, TIFF and BMP through Qt's image writers, which are fast enough for these formats.
// TIFF is LZW-compressed (lossless, and read everywhere); JPEG uses Huffman tables optimised
// for the picture, which changes the size of the file but not its pixels.
namespace ImageWriterEncoder {

// The file of `image` in `format` ("jpeg", "tiff", "bmp"); `quality` 0 to 100 where the
// format has one, -1 for the writer's default. Empty when the writer is missing or fails.
QByteArray Encode(const QImage& image, const QByteArray& format, int quality = -1);

} // namespace ImageWriterEncoder
