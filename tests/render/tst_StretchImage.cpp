// Scaling the rendering to an output size: stretched to fill, area averages of linear light
// without aliasing, clean transparent edges, and the same pixels for any thread count.

#include "helpers/TestImages.h"
#include "render/ShrinkToSizes.h"
#include "render/StretchImage.h"

#include <QPainter>
#include <QPainterPath>
#include <QtTest>

using TestImages::Filled;

namespace {

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage image = Filled(width, height, Qt::red);
    QPainter(&image).fillRect(width / 2, 0, width / 2, height, Qt::blue);
    return image;
}

// The covered length of source pixel `j` under output pixel `i` on an axis of `in` source and
// `out` output pixels.
double Overlap(int i, int j, int in, int out) {
    const double start = double(i) * in / out;
    const double end = double(i + 1) * in / out;
    return std::max(0.0, std::min(end, j + 1.0) - std::max(start, double(j)));
}

double ToLinear(int byte) {
    const double v = byte / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

int ToSrgbByte(double linear) {
    const double v =
        linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

// Each output pixel the exact average of the linear light of the source area it covers
// (colours weighted by their opacity), in double precision, pixel by pixel.
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
                    const QRgb p = qUnpremultiply(source.pixel(x, y));
                    const double opacity = qAlpha(p) / 255.0;
                    sums[0] += w * opacity * ToLinear(qRed(p));
                    sums[1] += w * opacity * ToLinear(qGreen(p));
                    sums[2] += w * opacity * ToLinear(qBlue(p));
                    sums[3] += w * opacity;
                }
            }
            const double opacity = sums[3] / area;
            auto color = [&](double sum) { return opacity > 0 ? ToSrgbByte(sum / sums[3]) : 0; };
            result.setPixel(ox, oy,
                            qPremultiply(qRgba(color(sums[0]), color(sums[1]), color(sums[2]),
                                               int(std::lround(opacity * 255)))));
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
        // No letterboxing, no cropping: both halves fill the square.
        QTest::newRow("wide into square") << Halves(1024, 512) << Halves(20, 20);
        const QColor flat(37, 140, 201);
        QTest::newRow("flat enlarged") << Filled(5, 7, flat) << Filled(17, 13, flat);
        QTest::newRow("same size")
            << TestImages::DetailedImage(120, 90) << TestImages::DetailedImage(120, 90);
        QTest::newRow("empty source") << QImage() << Filled(20, 10, Qt::transparent);
    }

    void exactResults() {
        QFETCH(QImage, source);
        QFETCH(QImage, expected);
        QCOMPARE(TestImages::FirstDifference(
                     StretchImage(source, expected.width(), expected.height()), expected, 0),
                 QString());
    }

    void shrinkingIsTheAreaAverage_data() {
        QTest::addColumn<QSize>("sourceSize");
        QTest::addColumn<QSize>("size");
        // Ratios from just above one to several hundred, whole and fractional, uneven on the
        // two axes, over random colour and transparency at every pixel.
        QTest::newRow("1037x771 into 1024x700") << QSize(1037, 771) << QSize(1024, 700);
        QTest::newRow("1037x771 into 87x61") << QSize(1037, 771) << QSize(87, 61);
        QTest::newRow("1037x771 into 16x16") << QSize(1037, 771) << QSize(16, 16);
        QTest::newRow("2000x1500 into 333x1000") << QSize(2000, 1500) << QSize(333, 1000);
        QTest::newRow("4000x300 into 29x7") << QSize(4000, 300) << QSize(29, 7);
        // Thousands of source pixels share each output pixel's weight.
        QTest::newRow("10000x3 into 1x1") << QSize(10000, 3) << QSize(1, 1);
    }

    void shrinkingIsTheAreaAverage() {
        QFETCH(QSize, sourceSize);
        QFETCH(QSize, size);
        const QImage source = TestImages::DetailedImage(sourceSize.width(), sourceSize.height(), 9);
        QCOMPARE(TestImages::FirstDifference(StretchImage(source, size.width(), size.height()),
                                             AreaAverage(source, size.width(), size.height()), 1),
                 QString());
    }

    // One pass down a picture shrinks it to many sizes with the pixels of shrinking it to
    // each size alone; rows of the output that share a source row, and sizes that keep one
    // axis, are where a pass of its own could go wrong.
    void shrinkingToManySizesAtOnceGivesTheSamePixels() {
        const QImage source = TestImages::DetailedImage(1037, 771, 3);
        const std::vector<QSize> sizes{{1036, 770}, {1037, 700}, {520, 771}, {87, 61},
                                       {16, 16},    {1, 1},      {3, 700}};
        std::vector<int> made(sizes.size(), 0);
        ShrinkToSizes(source, sizes, [&](std::size_t index, const QImage& shrunk) {
            ++made[index];
            const QSize size = sizes[index];
            QCOMPARE(TestImages::FirstDifference(
                         shrunk, StretchImage(source, size.width(), size.height()), 0),
                     QString());
        });
        QCOMPARE(made, std::vector<int>(sizes.size(), 1));
    }

    void enlargedTransparentEdgesGetNoDarkFringe() {
        // Shrinking is the area average of linear light (above); enlarging uses a cubic filter,
        // whose overshoot at a hard corner would brighten the edge, and whose weights must be
        // premultiplied.
        const int side = 700;
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
        const QImage source = TestImages::DetailedImage(1000, 700);
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
        QVERIFY(StretchImage(Filled(40, 40, Qt::red), 0, 10).isNull());
        QVERIFY(StretchImage(Filled(40, 40, Qt::red), 10, -1).isNull());
    }
};

QTEST_GUILESS_MAIN(StretchImageTest)
#include "tst_StretchImage.moc"
