#include "imageio/RasterDecoder.h"

#include "imageio/EncodedImageCheck.h"
#include "imageio/Jpeg2000Decoder.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Every decoder gets the same budget; a 10000 x 10000 RGBA picture needs 400 MB.
constexpr int kDecoderLimitMegabytes = 1024;
constexpr qint64 kDecoderLimitBytes = qint64(kDecoderLimitMegabytes) << 20;
// A 10000 x 10000 JPEG 2000 picture in tiles of 157 pixels or more; the decoder holds about
// 13 kB for each tile of four components before it decodes any.
constexpr qint64 kMaxJpeg2000Tiles = 4096;

constexpr Jpeg2000Decoder::Limits kJpeg2000Limits{RasterDecoder::kMaxSide, RasterDecoder::kMaxArea,
                                                  kDecoderLimitBytes, kMaxJpeg2000Tiles};

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
        !RasterDecoder::WithinSizeLimits(AllocatedSize(bytes, reader.format(), reader.size())) ||
        !EncodedDataCoversPicture(bytes, reader.format()))
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || !RasterDecoder::WithinSizeLimits(image.size()))
        return {};
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

} // namespace

bool RasterDecoder::WithinSizeLimits(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxSide &&
           size.height() <= kMaxSide && qint64(size.width()) * size.height() <= kMaxArea;
}

bool RasterDecoder::PassesHeaderCheck(const QByteArray& bytes) {
    return !Jpeg2000Decoder::Recognises(bytes) ||
           Jpeg2000Decoder::HeaderWithinLimits(bytes, kJpeg2000Limits);
}

QImage RasterDecoder::Decode(const QByteArray& bytes) {
    // Qt has no JPEG 2000 reader; those files go to OpenJPEG.
    return Jpeg2000Decoder::Recognises(bytes) ? Jpeg2000Decoder::Decode(bytes, kJpeg2000Limits)
                                              : ReadWithQt(bytes);
}
