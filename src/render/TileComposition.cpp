#include "render/TileComposition.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace TileComposition {

QImage Backdrop(const QSize& size, const QColor& top, const QColor& bottom) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QLinearGradient gradient(0.0, 0.0, 0.0, size.height());
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), gradient);
    return image;
}

QImage Masked(const QImage& icon, const QPainterPath& shape) {
    QImage coverage(icon.size(), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(shape, Qt::white);
    }
    QImage result = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, coverage);
    return result;
}

QImage Colored(const QImage& layer, const QColor& color) {
    QImage result = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int red = color.red();
    const int green = color.green();
    const int blue = color.blue();
    // Premultiplied channels scaled by the colour stay premultiplied: the product never
    // exceeds alpha.
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            row[x] = qRgba(qRed(p) * red / 255, qGreen(p) * green / 255, qBlue(p) * blue / 255,
                           qAlpha(p));
        }
    }
    return result;
}

void OverRow(QRgb* target, const QRgb* top, int count) {
    for (int x = 0; x < count; ++x) {
        const QRgb pixel = top[x];
        const int keep = 255 - qAlpha(pixel);
        if (keep == 0) {
            target[x] = pixel;
            continue;
        }
        if (keep == 255)
            continue;
        // Each byte of the target times keep / 255, rounded, plus the top's byte.
        auto scaled = [keep](QRgb value, int shift) {
            const unsigned t = ((value >> shift) & 0xFF) * unsigned(keep) + 128;
            return ((t + (t >> 8)) >> 8) << shift;
        };
        const QRgb below = target[x];
        target[x] =
            pixel + (scaled(below, 24) | scaled(below, 16) | scaled(below, 8) | scaled(below, 0));
    }
}

QImage Over(const QImage& bottom, const QImage& top, const QPoint& position) {
    QImage result = bottom.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.drawImage(position, top);
    return result;
}

} // namespace TileComposition
