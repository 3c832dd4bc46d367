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

QImage RepeatedAcross(const QImage& column, int width) {
    const QImage source = column.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage image(width, source.height(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || source.isNull())
        return {};
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row, row + width, *reinterpret_cast<const QRgb*>(source.constScanLine(y)));
    }
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
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgba(qRed(p) * red / 255, qGreen(p) * green / 255, qBlue(p) * blue / 255,
                           qAlpha(p));
        }
    }
    return result;
}

QImage Over(const QImage& bottom, const QImage& top, const QPoint& position) {
    QImage result = bottom.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.drawImage(position, top);
    return result;
}

} // namespace TileComposition
