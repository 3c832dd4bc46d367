// Scaling the rendering to an output size: exact sizes, stretching without keeping the aspect
// ratio, clean transparent edges, no aliasing, and the same pixels for any thread count.

#include "export/StretchImage.h"
#include "support/TestImages.h"

#include <QPainter>
#include <QtTest>

namespace {

QImage Disc(int side, const QColor& colour) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(side * 0.1, side * 0.1, side * 0.8, side * 0.8));
    return image;
}

// Colour, transparency and sharp edges everywhere, so any difference between row bands shows.
QImage Busy(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(255, 40, 0, 255));
    gradient.setColorAt(1, QColor(0, 90, 255, 120));
    painter.setBrush(gradient);
    painter.setPen(QPen(Qt::white, 7));
    painter.drawRoundedRect(QRectF(10, 10, width - 20, height - 20), 60, 60);
    painter.setPen(QPen(QColor(20, 200, 20), 3));
    for (int x = 0; x < width; x += 37)
        painter.drawLine(x, 0, width - x, height);
    return image;
}

// Every pixel a valid premultiplied colour: no channel above alpha.
bool Premultiplied(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > qAlpha(p) || qGreen(p) > qAlpha(p) || qBlue(p) > qAlpha(p))
                return false;
        }
    }
    return true;
}

} // namespace

class StretchImageTest : public QObject {
    Q_OBJECT

private slots:
    void wideCanvasFillsTheWholeSquare() {
        // 1024 x 512: red left half, blue right half, no transparency anywhere. Squeezed to
        // 20 x 20 it must fill every pixel (no letterboxing) and keep both halves (no crop).
        QImage canvas(1024, 512, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(QColor(255, 0, 0));
        QPainter(&canvas).fillRect(512, 0, 512, 512, QColor(0, 0, 255));
        const QImage icon = StretchImage(canvas, 20, 20);
        QCOMPARE(icon.size(), QSize(20, 20));
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const QColor expected = x < 10 ? QColor(255, 0, 0) : QColor(0, 0, 255);
                QVERIFY2(TestImages::PixelAt(icon, x, y) == expected,
                         qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
    }

    void transparentEdgesGetNoDarkFringe_data() {
        QTest::addColumn<int>("side");
        QTest::newRow("16") << 16;
        QTest::newRow("37") << 37;
        QTest::newRow("128") << 128;
        QTest::newRow("enlarged 700") << 700;
    }

    void transparentEdgesGetNoDarkFringe() {
        QFETCH(int, side);
        const QImage icon = StretchImage(Disc(500, QColor(255, 220, 0)), side, side);
        QVERIFY(Premultiplied(icon));
        int edgePixels = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QColor straight = TestImages::PixelAt(icon, x, y);
                if (straight.alpha() < 40)
                    continue;
                if (straight.alpha() < 255)
                    ++edgePixels;
                // Blending with transparent black would pull these towards black.
                QVERIFY2(TestImages::ColorsClose(
                             QColor(straight.red(), straight.green(), straight.blue()),
                             QColor(255, 220, 0), 8),
                         qPrintable(QStringLiteral("pixel %1, %2 is %3")
                                        .arg(x)
                                        .arg(y)
                                        .arg(straight.name(QColor::HexArgb))));
            }
        }
        QVERIFY(edgePixels > 0);
    }

    void fineStripesDoNotAlias() {
        // One-pixel black and white stripes: an area filter sees grey everywhere, a sampling
        // filter picks whole stripes and shows black or white.
        QImage stripes(1024, 1024, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 1024; ++x)
                stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        for (int side : {16, 29, 87}) {
            const QImage icon = StretchImage(stripes, side, side);
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    const int grey = qGreen(icon.pixel(x, y));
                    QVERIFY2(std::abs(grey - 128) <= 12,
                             qPrintable(QStringLiteral("%1 px: pixel %2, %3 is %4")
                                            .arg(side)
                                            .arg(x)
                                            .arg(y)
                                            .arg(grey)));
                }
            }
        }
    }

    void shrinkingAveragesCoveredArea() {
        // Three pixels into two: each output covers one and a half source pixels.
        QImage row(3, 1, QImage::Format_ARGB32_Premultiplied);
        row.setPixel(0, 0, qRgb(0, 0, 0));
        row.setPixel(1, 0, qRgb(90, 90, 90));
        row.setPixel(2, 0, qRgb(180, 180, 180));
        const QImage shrunk = StretchImage(row, 2, 1);
        QVERIFY(std::abs(qRed(shrunk.pixel(0, 0)) - 30) <= 1);  // (0 + 90 / 2) / 1.5
        QVERIFY(std::abs(qRed(shrunk.pixel(1, 0)) - 150) <= 1); // (90 / 2 + 180) / 1.5

        const QImage blocks = TestImages::AsymmetricImage(8, 8).scaled(4, 4);
        const QImage halved = StretchImage(TestImages::AsymmetricImage(8, 8), 4, 4);
        const QString difference = TestImages::FirstDifference(halved, blocks, 1);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void fewPixelsFromALargeCanvasKeepTheAverage_data() {
        QTest::addColumn<int>("sourceWidth");
        QTest::addColumn<int>("outputWidth");
        QTest::newRow("10000 to 1") << 10000 << 1;
        QTest::newRow("6000 to 1") << 6000 << 1;
        QTest::newRow("10000 to 2") << 10000 << 2;
        QTest::newRow("5000 to 2") << 5000 << 2;
        QTest::newRow("3000 to 1") << 3000 << 1;
    }

    void fewPixelsFromALargeCanvasKeepTheAverage() {
        // Thousands of source pixels share each output pixel. Within every output pixel's span
        // the first half is opaque white and the second half clear, so each must come out half
        // covered, however the shared weight is split among so many pixels.
        QFETCH(int, sourceWidth);
        QFETCH(int, outputWidth);
        QImage row(sourceWidth, 1, QImage::Format_ARGB32_Premultiplied);
        for (int x = 0; x < sourceWidth; ++x) {
            const double position = double(x) * outputWidth / sourceWidth;
            row.setPixel(x, 0, position - std::floor(position) < 0.5 ? 0xffffffffu : 0u);
        }
        const QImage shrunk = StretchImage(row, outputWidth, 1);
        for (int x = 0; x < outputWidth; ++x) {
            const int alpha = qAlpha(shrunk.pixel(x, 0));
            QVERIFY2(std::abs(alpha - 128) <= 2,
                     qPrintable(QStringLiteral("pixel %1 has alpha %2").arg(x).arg(alpha)));
        }
    }

    void flatAreasStayFlat() {
        QImage flat(5, 7, QImage::Format_ARGB32_Premultiplied);
        flat.fill(QColor(37, 140, 201, 255));
        for (const QSize size : {QSize(17, 13), QSize(3, 2), QSize(5, 30)}) {
            const QImage scaled = StretchImage(flat, size.width(), size.height());
            QImage expected(size, QImage::Format_ARGB32_Premultiplied);
            expected.fill(QColor(37, 140, 201, 255));
            const QString difference = TestImages::FirstDifference(scaled, expected, 0);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
    }

    void threadCountDoesNotChangePixels() {
        const QImage source = Busy(1000, 700);
        for (const QSize size : {QSize(333, 211), QSize(16, 16), QSize(1500, 900)}) {
            const QImage single = StretchImage(source, size.width(), size.height(), 1);
            for (int threads : {2, 3, 8}) {
                const QImage split = StretchImage(source, size.width(), size.height(), threads);
                const QString difference = TestImages::FirstDifference(split, single, 0);
                QVERIFY2(difference.isEmpty(),
                         qPrintable(QStringLiteral("%1 threads: ").arg(threads) + difference));
            }
            QVERIFY(Premultiplied(single));
        }
    }

    void sameSizeKeepsThePixels() {
        const QImage source = Busy(120, 90);
        const QString difference =
            TestImages::FirstDifference(StretchImage(source, 120, 90), source, 0);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void emptySourceGivesTransparency() {
        const QImage icon = StretchImage(QImage(), 20, 10);
        QCOMPARE(icon.size(), QSize(20, 10));
        QCOMPARE(icon.pixel(0, 0), 0u);
        QCOMPARE(icon.pixel(19, 9), 0u);
    }

    void sizeBelowOnePixelGivesNothing() {
        QVERIFY(StretchImage(Busy(40, 40), 0, 10).isNull());
        QVERIFY(StretchImage(Busy(40, 40), 10, -1).isNull());
    }
};

QTEST_GUILESS_MAIN(StretchImageTest)
#include "tst_StretchImage.moc"
