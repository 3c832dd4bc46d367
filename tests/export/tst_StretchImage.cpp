// Scaling the rendering to an output size: stretched to fill, area averages without aliasing,
// clean transparent edges, and the same pixels for any thread count.

#include "export/StretchImage.h"
#include "support/TestImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QtTest>

namespace {

QImage Filled(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage image = Filled(width, height, Qt::red);
    QPainter(&image).fillRect(width / 2, 0, width / 2, height, Qt::blue);
    return image;
}

QImage Greys(const QList<int>& levels) {
    QImage image = Filled(int(levels.size()), 1, Qt::black);
    for (int x = 0; x < levels.size(); ++x)
        image.setPixel(x, 0, qRgb(levels[x], levels[x], levels[x]));
    return image;
}

// A row whose every output pixel's span is opaque white in its first half, clear in its second.
QImage HalfCovered(int width, int outputWidth) {
    QImage row = Filled(width, 1, Qt::transparent);
    for (int x = 0; x < width; ++x)
        if (std::fmod(double(x) * outputWidth / width, 1.0) < 0.5)
            row.setPixel(x, 0, 0xffffffffu);
    return row;
}

// A different colour and transparency at every pixel, so any difference between row bands
// shows.
QImage Busy(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qPremultiply(qRgba(x, y, x ^ y, x * 7 + y * 13)));
    return image;
}

// The covered length of source pixel `j` under output pixel `i` on an axis of `in` source and
// `out` output pixels.
double Overlap(int i, int j, int in, int out) {
    const double start = double(i) * in / out;
    const double end = double(i + 1) * in / out;
    return std::max(0.0, std::min(end, j + 1.0) - std::max(start, double(j)));
}

// Each output pixel the exact average of the premultiplied source area it covers, in double
// precision, pixel by pixel.
QImage AreaAverage(const QImage& source, int width, int height) {
    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    const double area = double(source.width()) / width * source.height() / height;
    for (int oy = 0; oy < height; ++oy) {
        const int y0 = int(double(oy) * source.height() / height);
        const int y1 =
            std::min(source.height() - 1, int(double(oy + 1) * source.height() / height));
        for (int ox = 0; ox < width; ++ox) {
            const int x0 = int(double(ox) * source.width() / width);
            const int x1 =
                std::min(source.width() - 1, int(double(ox + 1) * source.width() / width));
            double sums[4] = {};
            for (int y = y0; y <= y1; ++y) {
                const double wy = Overlap(oy, y, source.height(), height);
                for (int x = x0; x <= x1; ++x) {
                    const double w = wy * Overlap(ox, x, source.width(), width);
                    const QRgb p = source.pixel(x, y);
                    sums[0] += w * qRed(p);
                    sums[1] += w * qGreen(p);
                    sums[2] += w * qBlue(p);
                    sums[3] += w * qAlpha(p);
                }
            }
            result.setPixel(
                ox, oy,
                qRgba(int(std::lround(sums[0] / area)), int(std::lround(sums[1] / area)),
                      int(std::lround(sums[2] / area)), int(std::lround(sums[3] / area))));
        }
    }
    return result;
}

// Every pixel a valid premultiplied colour: no channel above alpha.
bool Premultiplied(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb p = image.pixel(x, y);
                std::max({qRed(p), qGreen(p), qBlue(p)}) > qAlpha(p))
                return false;
    return true;
}

} // namespace

class StretchImageTest : public QObject {
    Q_OBJECT

private slots:
    void exactResults_data() {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<QImage>("expected"); // at the output size
        QTest::addColumn<int>("tolerance");
        // No letterboxing, no cropping: both halves fill the square.
        QTest::newRow("wide into square") << Halves(1024, 512) << Halves(20, 20) << 0;
        const QColor flat(37, 140, 201);
        QTest::newRow("flat enlarged") << Filled(5, 7, flat) << Filled(17, 13, flat) << 0;
        QTest::newRow("flat shrunk") << Filled(5, 7, flat) << Filled(3, 2, flat) << 0;
        QTest::newRow("flat stretched") << Filled(5, 7, flat) << Filled(5, 30, flat) << 0;
        QTest::newRow("same size") << Busy(120, 90) << Busy(120, 90) << 0;
        QTest::newRow("empty source") << QImage() << Filled(20, 10, Qt::transparent) << 0;
        QTest::newRow("halved") << TestImages::AsymmetricImage(8, 8)
                                << TestImages::AsymmetricImage(4, 4) << 1;
        // Each output pixel covers one and a half source pixels.
        QTest::newRow("three into two") << Greys({0, 90, 180}) << Greys({30, 150}) << 1;
        // One-pixel black and white stripes: an area filter sees grey everywhere, a sampling
        // filter picks whole stripes.
        QImage stripes = Filled(1024, 1024, Qt::black);
        for (int y = 0; y < 1024; ++y)
            for (int x = 1; x < 1024; x += 2)
                stripes.setPixel(x, y, 0xffffffffu);
        for (int side : {16, 29, 87})
            QTest::addRow("stripes into %d", side)
                << stripes << Filled(side, side, QColor(128, 128, 128)) << 12;
        // Thousands of source pixels share each output pixel's weight.
        const QColor half(255, 255, 255, 128);
        QTest::newRow("10000 into 1") << HalfCovered(10000, 1) << Filled(1, 1, half) << 2;
        QTest::newRow("6000 into 1") << HalfCovered(6000, 1) << Filled(1, 1, half) << 2;
        QTest::newRow("10000 into 2") << HalfCovered(10000, 2) << Filled(2, 1, half) << 2;
        QTest::newRow("5000 into 2") << HalfCovered(5000, 2) << Filled(2, 1, half) << 2;
    }

    void exactResults() {
        QFETCH(QImage, source);
        QFETCH(QImage, expected);
        QFETCH(int, tolerance);
        const QString difference = TestImages::FirstDifference(
            StretchImage(source, expected.width(), expected.height()), expected, tolerance);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void shrinkingIsTheAreaAverage_data() {
        QTest::addColumn<QSize>("sourceSize");
        QTest::addColumn<QSize>("size");
        // Ratios from just above one to several hundred, whole and fractional, uneven on the
        // two axes, over random colour and transparency at every pixel.
        QTest::newRow("1037x771 into 1024x700") << QSize(1037, 771) << QSize(1024, 700);
        QTest::newRow("1037x771 into 87x61") << QSize(1037, 771) << QSize(87, 61);
        QTest::newRow("1037x771 into 16x16") << QSize(1037, 771) << QSize(16, 16);
        QTest::newRow("2000x1500 into 500x375") << QSize(2000, 1500) << QSize(500, 375);
        QTest::newRow("2000x1500 into 333x1000") << QSize(2000, 1500) << QSize(333, 1000);
        QTest::newRow("4000x300 into 29x7") << QSize(4000, 300) << QSize(29, 7);
    }

    void shrinkingIsTheAreaAverage() {
        QFETCH(QSize, sourceSize);
        QFETCH(QSize, size);
        const QImage source = TestImages::DetailedImage(sourceSize.width(), sourceSize.height(), 9);
        const QString difference =
            TestImages::FirstDifference(StretchImage(source, size.width(), size.height()),
                                        AreaAverage(source, size.width(), size.height()), 1);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void transparentEdgesGetNoDarkFringe_data() {
        QTest::addColumn<int>("side");
        for (int side : {16, 37, 128, 700})
            QTest::addRow("%d", side) << side;
    }

    void transparentEdgesGetNoDarkFringe() {
        QFETCH(int, side);
        // A soft edge: the cubic filter's overshoot at a hard corner would brighten it.
        QImage canvas = Filled(500, 500, Qt::transparent);
        QPainterPath disc;
        disc.addEllipse(50, 50, 400, 400);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(disc, QColor(255, 220, 0));
        painter.end();
        const QImage icon = StretchImage(canvas, side, side);
        QVERIFY(Premultiplied(icon));
        int edgePixels = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                QColor straight = TestImages::PixelAt(icon, x, y);
                if (straight.alpha() < 40)
                    continue;
                edgePixels += straight.alpha() < 255;
                straight.setAlpha(255);
                // Blending with transparent black would pull these towards black.
                QVERIFY2(TestImages::ColorsClose(straight, QColor(255, 220, 0), 8),
                         qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
        QVERIFY(edgePixels > 0);
    }

    void threadCountDoesNotChangePixels() {
        const QImage source = Busy(1000, 700);
        for (const QSize size : {QSize(333, 211), QSize(16, 16), QSize(1500, 900)}) {
            const QImage single = StretchImage(source, size.width(), size.height(), 1);
            QVERIFY(Premultiplied(single));
            for (int threads : {2, 3, 8}) {
                const QImage split = StretchImage(source, size.width(), size.height(), threads);
                const QString difference = TestImages::FirstDifference(split, single, 0);
                QVERIFY2(difference.isEmpty(), qPrintable(QString::number(threads) + difference));
            }
        }
    }

    void sizeBelowOnePixelGivesNothing() {
        QVERIFY(StretchImage(Busy(40, 40), 0, 10).isNull());
        QVERIFY(StretchImage(Busy(40, 40), 10, -1).isNull());
    }
};

QTEST_GUILESS_MAIN(StretchImageTest)
#include "tst_StretchImage.moc"
