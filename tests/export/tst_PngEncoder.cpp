// The export's own PNG writer: pixels survive a round trip through Qt's reader, the chunks
// are well formed, and standard tools accept the files.

#include "export/PngEncoder.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

QImage Decode(const QByteArray& png) {
    QImage image;
    image.loadFromData(png, "PNG");
    return image;
}

// The CRC-32 of the PNG standard, bit by bit: a second opinion on the writer's checksums.
quint32 Crc32(const char* data, qsizetype size) {
    quint32 crc = 0xffffffffu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

struct Chunk {
    QByteArray type;
    QByteArray data;
    bool crcMatches;
};

// The chunks after the signature; stops at the first malformed one.
QList<Chunk> Chunks(const QByteArray& png) {
    QList<Chunk> chunks;
    qsizetype pos = 8;
    while (pos + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + pos);
        if (pos + 12 + qsizetype(length) > png.size())
            break;
        const char* typeAndData = png.constData() + pos + 4;
        const quint32 crc = qFromBigEndian<quint32>(typeAndData + 4 + length);
        chunks.append({QByteArray(typeAndData, 4), QByteArray(typeAndData + 4, length),
                       Crc32(typeAndData, 4 + qsizetype(length)) == crc});
        pos += 12 + qsizetype(length);
    }
    return chunks;
}

} // namespace

class PngEncoderTest : public QObject {
    Q_OBJECT

private slots:
    void oddSizesRoundTripExactly_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("6 x 5") << QSize(6, 5);
        QTest::newRow("1 x 1") << QSize(1, 1);
        QTest::newRow("7 x 1") << QSize(7, 1);
        QTest::newRow("1 x 9") << QSize(1, 9);
        QTest::newRow("333 x 77") << QSize(333, 77);
    }

    void oddSizesRoundTripExactly() {
        QFETCH(QSize, size);
        // Red beside blue, green in the top-left corner: a flip, a rotation, a swapped red and
        // blue or a wrong row stride all show.
        const QImage image = TestImages::AsymmetricImage(size.width(), size.height());
        const QImage decoded = Decode(PngEncoder::Encode(image));
        QCOMPARE(decoded.size(), size);
        const QString difference = TestImages::FirstDifference(decoded, image, 0);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void alphaIsStoredStraight() {
        QImage image(3, 2, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgba(200, 100, 50, 128));
        image.setPixel(1, 0, qRgba(10, 250, 90, 255));
        image.setPixel(2, 0, qRgba(255, 255, 255, 0));
        image.setPixel(0, 1, qRgba(0, 0, 255, 200));
        image.setPixel(1, 1, qRgba(90, 90, 90, 30));
        image.setPixel(2, 1, qRgba(255, 0, 0, 255));
        const QImage decoded =
            Decode(PngEncoder::Encode(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)))
                .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(decoded.pixel(2, 0)), 0);
        const QPoint visible[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 1}};
        const int tolerances[] = {1, 0, 1, 5, 0}; // faint pixels lose precision premultiplied
        for (int i = 0; i < 5; ++i) {
            const QPoint p = visible[i];
            QVERIFY2(TestImages::ColorsClose(TestImages::PixelAt(decoded, p.x(), p.y()),
                                             TestImages::PixelAt(image, p.x(), p.y()),
                                             tolerances[i]),
                     qPrintable(QStringLiteral("pixel %1, %2").arg(p.x()).arg(p.y())));
        }
    }

    void chunksAreWellFormed() {
        const QByteArray png = PngEncoder::Encode(TestImages::AsymmetricImage(40, 30));
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        const QList<Chunk> chunks = Chunks(png);
        QVERIFY(chunks.size() >= 3);
        QCOMPARE(chunks.first().type, QByteArray("IHDR"));
        QCOMPARE(chunks.last().type, QByteArray("IEND"));
        QVERIFY(chunks.last().data.isEmpty());
        qsizetype total = 8;
        for (const Chunk& chunk : chunks) {
            QVERIFY2(chunk.crcMatches, chunk.type.constData());
            total += 12 + chunk.data.size();
        }
        QCOMPARE(total, png.size()); // nothing after IEND
        const QByteArray& header = chunks.first().data;
        QCOMPARE(qFromBigEndian<quint32>(header.constData()), 40u);
        QCOMPARE(qFromBigEndian<quint32>(header.constData() + 4), 30u);
        QCOMPARE(int(header[8]), 8); // bits per sample
        QCOMPARE(int(header[9]), 6); // RGBA
    }

    void imageMagickAgrees() {
        if (QStandardPaths::findExecutable(QStringLiteral("identify")).isEmpty())
            QSKIP("ImageMagick's identify is not installed");
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("check.png"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(PngEncoder::Encode(TestImages::AsymmetricImage(6, 5)));
        file.close();
        QProcess identify;
        // -verbose decodes every pixel, so a bad checksum or a short stream is an error.
        identify.start(QStringLiteral("identify"), {QStringLiteral("-verbose"), path});
        QVERIFY(identify.waitForFinished(30000));
        QCOMPARE(identify.exitCode(), 0);
        QVERIFY(identify.readAllStandardError().isEmpty());
        const QString report = QString::fromUtf8(identify.readAllStandardOutput());
        QVERIFY(report.contains(QStringLiteral("Format: PNG")));
        QVERIFY(report.contains(QStringLiteral("Geometry: 6x5+0+0")));
    }

    void emptyImageGivesNothing() { QVERIFY(PngEncoder::Encode(QImage()).isEmpty()); }
};

QTEST_GUILESS_MAIN(PngEncoderTest)
#include "tst_PngEncoder.moc"
