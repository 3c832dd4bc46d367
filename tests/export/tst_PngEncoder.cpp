// The PNG writer: whatever the size and however many threads compress it, the file decodes
// (with Qt's reader, an independent decoder) to the picture it was given.

#include "export/HuffmanCode.h"
#include "export/PngEncoder.h"
#include "helpers/TestImages.h"

#include <QPainter>
#include <QtTest>

#include <cmath>

namespace {

// The picture with a fully transparent band across its middle, as around an icon's glyphs.
QImage WithTransparentBand(QImage picture) {
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(0, picture.height() / 3, picture.width(), picture.height() / 3,
                     Qt::transparent);
    return picture;
}

QImage Opaque(const QImage& picture) {
    return picture.convertToFormat(QImage::Format_RGB32)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class PngEncoderTest : public QObject {
    Q_OBJECT

private slots:
    void decodesToThePicture_data() {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<bool>("alpha");
        // Small pictures are one part; large ones (beyond 4 MB of rows) are compressed in
        // parts, one per thread, whose streams are joined. Odd widths leave pixels after the
        // last run of eight that the colour conversion takes at once.
        QTest::newRow("small") << TestImages::DetailedImage(333, 77) << true;
        QTest::newRow("one row") << TestImages::DetailedImage(1001, 1) << true;
        QTest::newRow("transparent areas")
            << WithTransparentBand(TestImages::DetailedImage(333, 77)) << true;
        QTest::newRow("large, odd size") << TestImages::DetailedImage(3001, 2803, 7) << true;
        QTest::newRow("large, few rows") << TestImages::DetailedImage(8193, 1031, 11) << true;
        // At 100 threads every part is a single row: the joins outnumber the rows' own data.
        QTest::newRow("more threads than rows") << TestImages::DetailedImage(210000, 40, 3) << true;
        // Store icons leave the alpha channel out: three bytes a pixel.
        QTest::newRow("without alpha") << Opaque(TestImages::DetailedImage(333, 77)) << false;
        QTest::newRow("without alpha, large")
            << Opaque(TestImages::DetailedImage(1501, 1499, 5)) << false;
    }

    void decodesToThePicture() {
        QFETCH(QImage, picture);
        QFETCH(bool, alpha);
        const auto channels = alpha ? PngEncoder::Channels::Rgba : PngEncoder::Channels::Rgb;
        const QImage single = QImage::fromData(PngEncoder::Encode(picture, 1, channels), "PNG");
        QCOMPARE(single.hasAlphaChannel(), alpha);
        // Straight colour in the file, premultiplied again on reading: at most one step off.
        QCOMPARE(TestImages::FirstDifference(single, picture, alpha ? 1 : 0), QString());
        for (int threads : {2, 3, 7, 100}) {
            const QByteArray png = PngEncoder::Encode(picture, threads, channels);
            const QString split =
                TestImages::FirstDifference(QImage::fromData(png, "PNG"), single, 0);
            QVERIFY2(split.isEmpty(),
                     qPrintable(QString::number(threads) + QLatin1String(": ") + split));
        }
    }
    // Deflate's code lengths stop at 15 bits, and a decoder refuses a code that is not
    // complete. Counts that grow like the Fibonacci numbers make the deepest Huffman tree
    // (unlimited, 30 levels here); a lone symbol still needs a second code beside it.
    void codeLengthsFitDeflate_data() {
        QTest::addColumn<QList<quint32>>("counts");
        QList<quint32> fibonacci{1, 1};
        while (fibonacci.size() < 31)
            fibonacci.append(fibonacci[fibonacci.size() - 1] + fibonacci[fibonacci.size() - 2]);
        QTest::newRow("skewed") << fibonacci;
        QTest::newRow("one symbol") << QList<quint32>{0, 0, 7, 0};
        QTest::newRow("even") << QList<quint32>(286, 3);
    }

    void codeLengthsFitDeflate() {
        QFETCH(QList<quint32>, counts);
        const std::vector<std::uint32_t> input(counts.begin(), counts.end());
        const std::vector<std::uint8_t> lengths = HuffmanCode::Lengths(input, 15);
        double kraft = 0;
        for (std::size_t s = 0; s < lengths.size(); ++s) {
            QVERIFY(lengths[s] <= 15);
            QVERIFY(input[s] == 0 || lengths[s] > 0);
            kraft += lengths[s] > 0 ? std::ldexp(1.0, -lengths[s]) : 0.0;
            // A more frequent symbol never has the longer code.
            for (std::size_t t = 0; t < lengths.size(); ++t)
                QVERIFY(input[s] <= input[t] || input[t] == 0 || lengths[s] <= lengths[t]);
        }
        QCOMPARE(kraft, 1.0);
    }
};

QTEST_GUILESS_MAIN(PngEncoderTest)
#include "tst_PngEncoder.moc"
