// The icon containers and the PNG channel choice, read back by the test's own readers from
// pictures whose every pixel is known.

#include "export/PngEncoder.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IcoWriter.h"
#include "platforms/IconContainerReader.h"
#include "support/TestImages.h"

#include <QtTest>

namespace {

// The asymmetric test picture with a fully transparent corner and a half-transparent one,
// so flips, channel swaps, lost alpha and a wrong mask all show.
QImage TranslucentPicture(int width, int height) {
    QImage picture =
        TestImages::AsymmetricImage(width, height).convertToFormat(QImage::Format_ARGB32);
    picture.setPixel(width - 1, height - 1, qRgba(0, 0, 0, 0));
    picture.setPixel(0, height - 1, qRgba(200, 100, 50, 100));
    return picture;
}

// A picture of one colour per size, so each container entry shows where it came from.
QColor ColourOfSize(int pixels) {
    return QColor::fromHsv((pixels * 37) % 360, 200, 220);
}

} // namespace

class IconContainersTest : public QObject {
    Q_OBJECT

private slots:
    void icoEntriesReadBackPixelForPixel_data() {
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("one pixel") << QList<int>{1};
        QTest::newRow("mask rows padded") << QList<int>{33, 16};
        QTest::newRow("largest bitmap and a PNG") << QList<int>{255, 256};
        QTest::newRow("favicon") << QList<int>{16, 32, 48};
    }
    void icoEntriesReadBackPixelForPixel() {
        QFETCH(QList<int>, sizes);
        QList<QImage> pictures;
        for (int size : sizes)
            pictures.append(TranslucentPicture(size, size));
        QList<IconContainerReader::Entry> entries;
        const QString error = IconContainerReader::ReadIco(IcoWriter::Write(pictures), entries);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(entries.size(), sizes.size());
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            QCOMPARE(entries[i].declaredSize, sizes[i]);
            QCOMPARE(entries[i].type, QByteArray(sizes[i] == 256 ? "png" : "bmp"));
            // Straight colours go in and come out; only the PNG's premultiplied path rounds.
            const QString difference =
                TestImages::FirstDifference(entries[i].image, pictures[i], 1);
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
    }

    void icoRefusesWhatItCannotHold_data() {
        QTest::addColumn<QList<QImage>>("pictures");
        QTest::newRow("nothing") << QList<QImage>{};
        QTest::newRow("not square") << QList<QImage>{TranslucentPicture(16, 15)};
        QTest::newRow("beyond 256") << QList<QImage>{TranslucentPicture(257, 257)};
        QTest::newRow("a null picture") << QList<QImage>{TranslucentPicture(16, 16), QImage()};
    }
    void icoRefusesWhatItCannotHold() {
        QFETCH(QList<QImage>, pictures);
        QVERIFY(IcoWriter::Write(pictures).isEmpty());
    }

    void icnsCarriesEveryStandardCodeAtItsSize_data() {
        QTest::addColumn<QList<int>>("given");
        QTest::addColumn<QList<QByteArray>>("codes"); // expected, in file order
        // The codes and their pixel sizes as the system defines them.
        QTest::newRow("every size")
            << QList<int>{16, 32, 64, 128, 256, 512, 1024}
            << QList<QByteArray>{"icp4", "icp5", "icp6", "ic07", "ic08", "ic09",
                                 "ic10", "ic11", "ic12", "ic13", "ic14"};
        QTest::newRow("some sizes")
            << QList<int>{32, 1024} << QList<QByteArray>{"icp5", "ic10", "ic11"};
    }
    void icnsCarriesEveryStandardCodeAtItsSize() {
        QFETCH(QList<int>, given);
        QFETCH(QList<QByteArray>, codes);
        const QMap<QByteArray, int> pixelsOfCode{
            {"icp4", 16},   {"icp5", 32}, {"icp6", 64}, {"ic07", 128}, {"ic08", 256}, {"ic09", 512},
            {"ic10", 1024}, {"ic11", 32}, {"ic12", 64}, {"ic13", 256}, {"ic14", 512}};
        QMap<int, QByteArray> pngBySize;
        for (int pixels : given) {
            QImage picture(pixels, pixels, QImage::Format_ARGB32);
            picture.fill(ColourOfSize(pixels));
            pngBySize.insert(pixels, PngEncoder::Encode(picture));
        }
        QList<IconContainerReader::Entry> entries;
        const QString error = IconContainerReader::ReadIcns(IcnsWriter::Write(pngBySize), entries);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QList<QByteArray> read;
        for (const IconContainerReader::Entry& entry : entries) {
            read.append(entry.type);
            const int pixels = pixelsOfCode.value(entry.type);
            QCOMPARE(entry.image.size(), QSize(pixels, pixels));
            QCOMPARE(entry.image.pixel(pixels / 2, pixels / 2), ColourOfSize(pixels).rgba());
        }
        QCOMPARE(read, codes);
        QCOMPARE(IcnsWriter::Sizes(), (QList<int>{16, 32, 64, 128, 256, 512, 1024}));
    }

    void icnsWithoutAnyFittingEntryIsEmpty() {
        QVERIFY(IcnsWriter::Write({}).isEmpty());
        QVERIFY(IcnsWriter::Write({{48, QByteArray("png")}}).isEmpty());
    }

    void pngChannelsFollowTheRequest_data() {
        QTest::addColumn<PngEncoder::Channels>("channels");
        QTest::addColumn<int>("colourType");
        QTest::newRow("with alpha") << PngEncoder::Channels::Rgba << 6;
        QTest::newRow("without alpha") << PngEncoder::Channels::Rgb << 2;
    }
    void pngChannelsFollowTheRequest() {
        QFETCH(PngEncoder::Channels, channels);
        QFETCH(int, colourType);
        // An odd size catches rows of three bytes per pixel laid out with the wrong stride.
        const QImage picture = TestImages::AsymmetricImage(7, 5);
        const QByteArray png = PngEncoder::Encode(picture, 0, channels);
        QCOMPARE(IconContainerReader::PngColourType(png), colourType);
        const QImage decoded = QImage::fromData(png, "PNG");
        QCOMPARE(decoded.hasAlphaChannel(), channels == PngEncoder::Channels::Rgba);
        QCOMPARE(TestImages::FirstDifference(decoded, picture, 0), QString());
    }
};

QTEST_GUILESS_MAIN(IconContainersTest)
#include "tst_IconContainers.moc"
