#include "design/IconImageFile.h"

#include "design/Jpeg2000Decoder.h"

#include <QFile>
#include <QImageReader>

namespace {

constexpr qint64 kMaxArea = qint64(10000) * 10000;
constexpr int kMaxSide = 16384;
constexpr int kDecoderLimitMegabytes = 1024; // a 10000 x 10000 RGBA picture needs 400 MB

// 72 dots per inch: one pixel per unit.
constexpr int kDotsPerMeterAt72Dpi = 2835;

// Qt has no JPEG 2000 reader; those files go to OpenJPEG.
bool IsJpeg2000(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && Jpeg2000Decoder::Recognises(file.read(12));
}

QImage ReadWithQt(const QString& path) {
    QImageReader::setAllocationLimit(kDecoderLimitMegabytes);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {};
    const QSize declared = reader.size();
    if (declared.isValid() && (declared.width() > kMaxSide || declared.height() > kMaxSide ||
                               qint64(declared.width()) * declared.height() > kMaxArea))
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() > kMaxSide ||
        image.height() > kMaxSide)
        return {};
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

} // namespace

QImage LoadIconImage(const QString& path) {
    QImage image =
        IsJpeg2000(path) ? Jpeg2000Decoder::Decode(path, kMaxSide, kMaxArea) : ReadWithQt(path);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    return image;
}
