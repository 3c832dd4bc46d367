#include "design/IconImageFile.h"
#include "design/Jpeg2000Decoder.h"
#include "export/SaveImage.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

constexpr int kJp2 = 4; // the "JP2" entry of the output formats

// A real PNG whose header is rewritten to claim another size, with a valid checksum, so only
// the claimed size is wrong.
QByteArray PngClaiming(quint32 width, quint32 height) {
    QByteArray bytes = TestImages::PngBytes(TestImages::AsymmetricImage(8, 8));
    // Signature (8), IHDR length (4), "IHDR" (4), then width and height.
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    qToBigEndian(TestImages::Crc32(bytes.constData() + 12, 4 + 13), bytes.data() + 12 + 4 + 13);
    return bytes;
}

} // namespace

class IconImageFileTest : public QObject {
    Q_OBJECT

    QString Write(const QString& name, const QByteArray& bytes) { return m_dir.Write(name, bytes); }

    TestImages::ScratchFolder m_dir;

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void sizeInUnitsIsThePixelSizeWhateverTheResolution() {
        QImage retina = TestImages::AsymmetricImage(512, 512);
        retina.setDotsPerMeterX(5669); // 144 dpi
        retina.setDotsPerMeterY(5669);
        const QImage loaded = LoadIconImage(Write("retina.png", TestImages::PngBytes(retina)));
        QCOMPARE(loaded.size(), QSize(512, 512));
        QCOMPARE(loaded.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(loaded.dotsPerMeterX(), 2835); // 72 dpi: one pixel per unit
        QCOMPARE(TestImages::FirstDifference(loaded, retina, 0), QString());
    }

    void jpeg2000FilesAreReadByOurDecoder() {
        // Lossless JPEG 2000 with transparency, written by our own encoder, comes back exactly.
        QImage picture = TestImages::AsymmetricImage(37, 21);
        picture.setPixelColor(36, 20, QColor(10, 200, 30, 0));
        picture.setPixelColor(35, 20, QColor(250, 100, 0, 128));
        const QString path = m_dir.filePath("icon.jp2");
        QVERIFY(ImageTools::SaveImage(picture, path, kJp2, 1.0));
        const QImage loaded = LoadIconImage(path);
        QCOMPARE(TestImages::FirstDifference(loaded, picture, 1), QString());
        QCOMPARE(loaded.pixelColor(36, 20).alpha(), 0);
        // A file cut short never crashes the decoder: it gives no image or the picture's size.
        QFile whole(path);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        for (const qsizetype length : {qsizetype(40), bytes.size() / 2, bytes.size() - 3}) {
            const QImage cut = LoadIconImage(Write("cut.jp2", bytes.left(length)));
            QVERIFY(cut.isNull() || cut.size() == QSize(37, 21));
        }
        // The extension does not matter, the content does.
        QCOMPARE(LoadIconImage(Write("renamed.png", bytes)).size(), QSize(37, 21));
    }

    void jpeg2000SizeIsCheckedBeforeDecoding() {
        const QString path = m_dir.filePath("big.jp2");
        QVERIFY(ImageTools::SaveImage(TestImages::AsymmetricImage(40, 30), path, kJp2, 0.8));
        QCOMPARE(Jpeg2000Decoder::Decode(path, 100, 10000).size(), QSize(40, 30));
        QVERIFY(Jpeg2000Decoder::Decode(path, 39, 10000).isNull());
        QVERIFY(Jpeg2000Decoder::Decode(path, 100, 1199).isNull());
    }

    void badFilesGiveNoImage_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray png = TestImages::PngBytes(TestImages::AsymmetricImage(64, 64));
        QTest::newRow("text") << QByteArray("just some notes\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated png") << png.left(png.size() / 2);
        QTest::newRow("png claiming 100000 x 100000") << PngClaiming(100000, 100000);
        QTest::newRow("png claiming 20000 x 2") << PngClaiming(20000, 2);
        QTest::newRow("jp2 signature only") << QByteArray("\x00\x00\x00\x0cjP  \r\n\x87\n", 12);
        QTest::newRow("codestream start only") << QByteArray("\xff\x4f\xff\x51\x00\x00", 6);
    }
    void badFilesGiveNoImage() {
        QFETCH(QByteArray, bytes);
        QVERIFY(LoadIconImage(Write("bad.png", bytes)).isNull());
        QVERIFY(LoadIconImage(m_dir.filePath("missing.png")).isNull());
    }
};

QTEST_MAIN(IconImageFileTest)
#include "tst_IconImageFile.moc"
