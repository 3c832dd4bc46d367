#include "imageio/IconImageFile.h"

#include "imageio/EncodedImageCheck.h"
#include "imageio/Jpeg2000Decoder.h"
#include "imageio/SvgImage.h"
#include "support/OrdinaryFile.h"

#include <QBuffer>
#include <QImageReader>

namespace {

constexpr qint64 kMaxArea = qint64(10000) * 10000;
constexpr int kMaxSide = 16384;
// Every decoder gets the same budget; a 10000 x 10000 RGBA picture needs 400 MB.
constexpr int kDecoderLimitMegabytes = 1024;
constexpr qint64 kDecoderLimitBytes = qint64(kDecoderLimitMegabytes) << 20;
// A 10000 x 10000 JPEG 2000 picture in tiles of 157 pixels or more; the decoder holds about
// 13 kB for each tile of four components before it decodes any.
constexpr qint64 kMaxJpeg2000Tiles = 4096;
// No image file is larger than the picture it may decode to.
constexpr qint64 kLargestFileBytes = kDecoderLimitBytes;

// 72 dots per inch: one pixel per unit.
constexpr int kDotsPerMeterAt72Dpi = 2835;

bool WithinSizeLimits(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxSide &&
           size.height() <= kMaxSide && qint64(size.width()) * size.height() <= kMaxArea;
}

QImage ReadWithQt(const QByteArray& bytes) {
    QImageReader::setAllocationLimit(kDecoderLimitMegabytes);
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // The size the header claims decides, before the reader allocates for it.
    if (!reader.canRead() ||
        !WithinSizeLimits(AllocatedSize(bytes, reader.format(), reader.size())) ||
        !EncodedDataCoversPicture(bytes, reader.format()))
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || !WithinSizeLimits(image.size()))
        return {};
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

} // namespace

QImage DecodeIconImage(const QByteArray& bytes, std::shared_ptr<const SvgImage>* vector) {
    if (SvgImage::Recognises(bytes)) {
        std::shared_ptr<const SvgImage> svg = SvgImage::Read(bytes);
        if (!svg)
            return {};
        if (vector)
            *vector = svg;
        return svg->thumbnail();
    }
    // Qt has no JPEG 2000 reader; those files go to OpenJPEG.
    QImage image = Jpeg2000Decoder::Recognises(bytes)
                       ? Jpeg2000Decoder::Decode(
                             bytes, {kMaxSide, kMaxArea, kDecoderLimitBytes, kMaxJpeg2000Tiles})
                       : ReadWithQt(bytes);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    return image;
}

QImage LoadIconImage(const QString& path, std::shared_ptr<const SvgImage>* vector) {
    QByteArray bytes;
    if (!ReadOrdinaryFile(path, kLargestFileBytes, bytes))
        return {};
    return DecodeIconImage(bytes, vector);
}
