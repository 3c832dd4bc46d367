#include "render/PictureRows.h"

#include <cstring>

PictureRows PictureRows::Of(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return {pixels.size(), [pixels](int y, QRgb*) {
                return reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
            }};
}

QImage PictureRows::ToImage() const {
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    for (int y = 0; y < size.height(); ++y) {
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        const QRgb* source = row(y, target);
        if (source != target)
            std::memcpy(target, source, sizeof(QRgb) * std::size_t(size.width()));
    }
    return image;
}
