// The PNG writer: whatever the size and however many threads compress it, the file decodes
// (with Qt's reader, an independent decoder) to the picture it was given.

#include "export/PngEncoder.h"
#include "helpers/TestImages.h"

#include <QtTest>

class PngEncoderTest : public QObject {
    Q_OBJECT

private slots:
    void decodesToThePicture_data() {
        QTest::addColumn<QImage>("picture");
        // Small pictures go through one buffer; large ones (beyond 32 MB of rows) are
        // compressed in parts, one per thread, whose streams are joined.
        QTest::newRow("small") << TestImages::DetailedImage(333, 77);
        QTest::newRow("one row") << TestImages::DetailedImage(1001, 1);
        QTest::newRow("large, odd size") << TestImages::DetailedImage(3001, 2803, 7);
        QTest::newRow("large, few rows") << TestImages::DetailedImage(8193, 1031, 11);
    }

    void decodesToThePicture() {
        QFETCH(QImage, picture);
        const QImage single = QImage::fromData(PngEncoder::Encode(picture, 1), "PNG");
        // Straight colour in the file, premultiplied again on reading: at most one step off.
        QCOMPARE(TestImages::FirstDifference(single, picture, 1), QString());
        for (int threads : {2, 3, 7}) {
            const QByteArray png = PngEncoder::Encode(picture, threads);
            const QString split =
                TestImages::FirstDifference(QImage::fromData(png, "PNG"), single, 0);
            QVERIFY2(split.isEmpty(),
                     qPrintable(QString::number(threads) + QLatin1String(": ") + split));
        }
    }

    void moreThreadsThanRows() {
        // Every part a single row: the joins between parts outnumber the rows' own data.
        const QImage picture = TestImages::DetailedImage(210000, 40, 3);
        const QImage decoded = QImage::fromData(PngEncoder::Encode(picture, 100), "PNG");
        QCOMPARE(TestImages::FirstDifference(decoded, picture, 1), QString());
    }
};

QTEST_GUILESS_MAIN(PngEncoderTest)
#include "tst_PngEncoder.moc"
