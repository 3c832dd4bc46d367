#include "export/ImageWriterEncoder.h"

#include <QBuffer>
#include <QImageWriter>

namespace ImageWriterEncoder {

namespace {

// Qt's TIFF writer reads compression 1 as LZW, which every TIFF reader decodes.
constexpr int TiffLzw = 1;

} // namespace

QByteArray Encode(const QImage& image, const QByteArray& format, int quality) {
    if (image.isNull())
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (format == "tiff")
        writer.setCompression(TiffLzw);
    // Huffman tables fitted to the picture: a smaller file with the very same pixels.
    if (format == "jpeg")
        writer.setOptimizedWrite(true);
    if (!writer.write(image))
        return {};
    return data;
}

} // namespace ImageWriterEncoder
