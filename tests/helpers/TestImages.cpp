#include "TestImages.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace TestImages {

QColor PixelAt(const QImage& image, int x, int y) {
    // pixelColor() is straight RGBA whatever the image's format; pixel() keeps
    // premultiplied formats premultiplied.
    return image.pixelColor(x, y).toRgb();
}

bool ColorsClose(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance &&
           std::abs(a.alpha() - b.alpha()) <= tolerance;
}

QString FirstDifference(const QImage& a, const QImage& b, int tolerance) {
    if (a.size() != b.size())
        return QString::asprintf("sizes differ: %dx%d and %dx%d", a.width(), a.height(), b.width(),
                                 b.height());
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < ca.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(ca.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(cb.constScanLine(y));
        for (int x = 0; x < ca.width(); ++x) {
            if (!ColorsClose(QColor::fromRgba(ra[x]), QColor::fromRgba(rb[x]), tolerance))
                return QString::asprintf("pixel (%d, %d) differs: %08x and %08x", x, y, ra[x],
                                         rb[x]);
        }
    }
    return {};
}

double MeanAbsoluteDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return std::numeric_limits<double>::infinity();
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0.0;
    for (int y = 0; y < pa.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(pa.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(pb.constScanLine(y));
        for (int x = 0; x < pa.width(); ++x)
            sum += std::abs(qAlpha(ra[x]) - qAlpha(rb[x])) + std::abs(qRed(ra[x]) - qRed(rb[x])) +
                   std::abs(qGreen(ra[x]) - qGreen(rb[x])) + std::abs(qBlue(ra[x]) - qBlue(rb[x]));
    }
    return sum / (4.0 * pa.width() * pa.height());
}

QImage AsymmetricImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    const int side = std::max(1, std::min(width, height) / 4);
    painter.fillRect(0, 0, side, side, Qt::green);
    return image;
}

QImage DetailedImage(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(seed);
    const int noisyRows = height - height / 3;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb straight =
                y < noisyRows ? random.generate() : qRgba(40, 90 + 100 * y / height, 200, 255);
            row[x] = qPremultiply(straight);
        }
    }
    return image;
}

QImage Filled(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

QByteArray EncodedBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format) ? bytes : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestImages
