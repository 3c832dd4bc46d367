#include "export/SaveImage.h"

#include "export/GifEncoder.h"
#include "export/ImageWriterEncoder.h"
#include "export/Jpeg2000Encoder.h"
#include "export/OutputFileWrite.h"
#include "export/OutputFormat.h"
#include "export/PngEncoder.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

namespace ImageTools {

namespace {

constexpr int PixelsPerMetreAt72Dpi = 2835;

// The Qt writers store the density in their headers; one pixel per unit is 72 per inch.
QImage At72Dpi(QImage image) {
    image.setDotsPerMeterX(PixelsPerMetreAt72Dpi);
    image.setDotsPerMeterY(PixelsPerMetreAt72Dpi);
    return image;
}

} // namespace

QImage EncodingBitmap(const QImage& image) {
    const QSizeF units = image.deviceIndependentSize();
    if (!(units.width() >= 1.0 && units.height() >= 1.0) ||
        !(units.width() <= INT_MAX && units.height() <= INT_MAX))
        return {};
    const int width = int(units.width());
    const int height = int(units.height());
    if (image.size() == QSize(width, height) && image.devicePixelRatio() == 1.0)
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);

    QImage bitmap(width, height, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return {};
    bitmap.fill(Qt::transparent);
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QPointF(0, 0), image);
    painter.end();
    return bitmap;
}

QByteArray EncodeImage(const QImage& image, int formatIndex, double quality) {
    const OutputFormat* format = OutputFormat::At(formatIndex);
    if (!format)
        return {};
    const QImage bitmap = EncodingBitmap(image);
    if (bitmap.isNull())
        return {};
    // A quality typed into a profile by hand can be anything: NaN and values below the range
    // give the lowest quality, values above it the best.
    const double factor = quality > 0.0 ? std::min(quality, 1.0) : 0.0;
    switch (format->encoder) {
    case Encoder::Png:
        return PngEncoder::Encode(bitmap);
    case Encoder::Jpeg:
        return ImageWriterEncoder::Encode(At72Dpi(bitmap), "jpeg",
                                          int(std::lround(factor * 100.0)));
    case Encoder::Jpeg2000:
        return Jpeg2000Encoder::Encode(bitmap, factor);
    case Encoder::Tiff:
        return ImageWriterEncoder::Encode(At72Dpi(bitmap), "tiff");
    case Encoder::Gif:
        return GifEncoder::Encode(bitmap);
    case Encoder::Bmp:
        return ImageWriterEncoder::Encode(At72Dpi(bitmap), "bmp");
    }
    return {};
}

WriteResult SaveImage(const QImage& image, const QString& path, int formatIndex, double quality) {
    return SaveEncoded(EncodeImage(image, formatIndex, quality), path, formatIndex);
}

WriteResult SaveEncoded(const QByteArray& encoded, const QString& path, int formatIndex) {
    if (!OutputFormat::At(formatIndex))
        return {QStringLiteral("No output format is selected.")};
    if (encoded.isEmpty())
        return {QStringLiteral("The image could not be encoded.")};
    return WriteOutputFile(path, encoded);
}

} // namespace ImageTools
