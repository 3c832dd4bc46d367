#include "export/ImageWriterEncoder.h"

#include <QBuffer>
#include <QImageWriter>

namespace ImageWriterEncoder {

QByteArray Encode(const QImage& image, const QByteArray& format, int quality) {
    if (image.isNull())
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return data;
}

} // namespace ImageWriterEncoder
