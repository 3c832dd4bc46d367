#include "design/IconImageFile.h"

#include <QImageReader>

namespace {

constexpr qint64 kMaxArea = qint64(10000) * 10000;
constexpr int kMaxSide = 16384;
constexpr int kDecoderLimitMegabytes = 1024; // a 10000 x 10000 RGBA picture needs 400 MB

// 72 dots per inch: one pixel per unit.
constexpr int kDotsPerMeterAt72Dpi = 2835;

} // namespace

QImage LoadIconImage(const QString& path) {
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
    image.setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    return image;
}
