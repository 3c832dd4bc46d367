// What the icon containers refuse, and the PNG channel choice read back byte by byte.

#include "export/PngEncoder.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IcoWriter.h"
#include "platforms/IconContainerReader.h"
#include "support/TestImages.h"

#include <QtTest>

using TestImages::AsymmetricImage;

class IconContainersTest : public QObject {
    Q_OBJECT

private slots:
    // The entries of a whole platform set are read back pixel for pixel with the set; here
    // what no container can hold.
    void icoRefusesWhatItCannotHold_data() {
        QTest::addColumn<QList<QImage>>("pictures");
        QTest::newRow("nothing") << QList<QImage>{};
        QTest::newRow("not square") << QList<QImage>{AsymmetricImage(16, 15)};
        QTest::newRow("beyond 256") << QList<QImage>{AsymmetricImage(257, 257)};
        QTest::newRow("a null picture") << QList<QImage>{AsymmetricImage(16, 16), QImage()};
    }
    void icoRefusesWhatItCannotHold() {
        QFETCH(QList<QImage>, pictures);
        QVERIFY(IcoWriter::Write(pictures).isEmpty());
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
