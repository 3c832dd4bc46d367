// TIFF and JPEG through Qt's writers: TIFF compressed without loss, JPEG with Huffman tables
// fitted to the picture, neither changing a decoded pixel.

#include "export/ImageWriterEncoder.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QImageWriter>
#include <QProcess>
#include <QtTest>

namespace {

// What Qt's writer makes of the picture with nothing but the quality set.
QByteArray PlainlyWritten(const QImage& picture, const QByteArray& format, int quality) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
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
        QTest::newRow("asymmetric") << TestImages::AsymmetricImage(333, 77);
    }

    void tiffIsCompressedWithoutLoss() {
        QFETCH(QImage, picture);
        const QByteArray tiff = ImageWriterEncoder::Encode(picture, "tiff");
        const QString difference =
            TestImages::FirstDifference(QImage::fromData(tiff, "TIFF"), picture, 0);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        // A second reader agrees, and names the compression.
        TestImages::ScratchFolder folder;
        const QString path = folder.Write(QStringLiteral("picture.tiff"), tiff);
        QVERIFY(!path.isEmpty());
        QProcess identify;
        identify.start(QStringLiteral("identify"),
                       {QStringLiteral("-format"), QStringLiteral("%C %w %h"), path});
        QVERIFY(identify.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(identify.readAllStandardOutput()),
                 QStringLiteral("LZW %1 %2").arg(picture.width()).arg(picture.height()));
    }

    void compressedTiffIsSmallerThanItsPixels() {
        const QImage flat = TestImages::AsymmetricImage(400, 300);
        const QByteArray tiff = ImageWriterEncoder::Encode(flat, "tiff");
        QVERIFY(!tiff.isEmpty());
        QVERIFY2(tiff.size() < 400 * 300 * 4 / 10, qPrintable(QString::number(tiff.size())));
    }

    void jpegTablesChangeTheSizeNotThePixels_data() {
        QTest::addColumn<int>("quality");
        for (int quality : {1, 50, 80, 100})
            QTest::addRow("quality %d", quality) << quality;
    }

    void jpegTablesChangeTheSizeNotThePixels() {
        QFETCH(int, quality);
        const QImage picture = TestImages::DetailedImage(257, 181, 5);
        const QByteArray optimised = ImageWriterEncoder::Encode(picture, "jpeg", quality);
        const QByteArray plain = PlainlyWritten(picture, "jpeg", quality);
        QVERIFY(!plain.isEmpty());
        QVERIFY2(optimised.size() < plain.size(),
                 qPrintable(QStringLiteral("%1 >= %2").arg(optimised.size()).arg(plain.size())));
        const QString difference = TestImages::FirstDifference(QImage::fromData(optimised, "JPEG"),
                                                               QImage::fromData(plain, "JPEG"), 0);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
};

QTEST_GUILESS_MAIN(ImageWriterEncoderTest)
#include "tst_ImageWriterEncoder.moc"
