// TIFF and JPEG through Qt's writers: TIFF compressed without loss, JPEG with Huffman tables
// fitted to the picture, neither changing a decoded pixel.

#include "export/ImageWriterEncoder.h"
#include "export/OutputFormat.h"
#include "export/SaveImage.h"
#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtTest>

namespace {

// What Qt's writer makes of the picture with nothing but the quality set.
QByteArray PlainlyWritten(const QImage& picture, int quality) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    return writer.write(picture) ? data : QByteArray();
}

} // namespace

class ImageWriterEncoderTest : public QObject {
    Q_OBJECT

private slots:
    void tiffIsCompressedWithoutLoss_data() {
        QTest::addColumn<QImage>("picture");
        QTest::newRow("detail and gradient") << TestImages::DetailedImage(301, 203);
        QTest::newRow("one pixel") << TestImages::DetailedImage(1, 1);
    }

    void tiffIsCompressedWithoutLoss() {
        QFETCH(QImage, picture);
        const QByteArray tiff = ImageWriterEncoder::Encode(picture, "tiff");
        QCOMPARE(TestImages::FirstDifference(QImage::fromData(tiff, "TIFF"), picture, 0),
                 QString());
        // A second reader agrees, and names the compression.
        TestImages::ScratchFolder folder;
        const QString path = folder.Write(QStringLiteral("picture.tiff"), tiff);
        QCOMPARE(ProgramRun::Run("identify", {"-format", "%C %w %h", path}).out,
                 QStringLiteral("LZW %1 %2").arg(picture.width()).arg(picture.height()));
    }

    // The exported JPEG (quality field to file) against Qt's own writer at the same
    // percentage: smaller, with the same pixels.
    void jpegTablesChangeTheSizeNotThePixels_data() {
        QTest::addColumn<int>("percent");
        for (int percent : {8, 29, 57, 95, 100})
            QTest::addRow("%d", percent) << percent;
    }

    void jpegTablesChangeTheSizeNotThePixels() {
        QFETCH(int, percent);
        const QImage picture = TestImages::DetailedImage(257, 181, 5);
        // The single-precision factor of these percentages lies just below them: cutting off
        // the fraction instead of rounding would encode one per cent lower.
        const double factor = CompressionFactor(float(percent));
        QVERIFY(percent == 100 || int(factor * 100.0) == percent - 1);
        const QByteArray optimised = ImageTools::EncodeImage(picture, 1, factor);
        const QByteArray plain = PlainlyWritten(picture, percent);
        QVERIFY(!plain.isEmpty());
        QVERIFY2(optimised.size() < plain.size(),
                 qPrintable(QStringLiteral("%1 >= %2").arg(optimised.size()).arg(plain.size())));
        const QImage decoded = QImage::fromData(optimised, "JPEG");
        QCOMPARE(TestImages::FirstDifference(decoded, QImage::fromData(plain, "JPEG"), 0),
                 QString());
        // One per cent less gives other pixels: the comparison tells the percentages apart.
        const QImage lower = QImage::fromData(PlainlyWritten(picture, percent - 1), "JPEG");
        QVERIFY(!TestImages::FirstDifference(decoded, lower, 0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ImageWriterEncoderTest)
#include "tst_ImageWriterEncoder.moc"
