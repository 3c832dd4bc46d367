#include "helpers/TestImages.h"
#include "imageio/IconImageFile.h"
#include "imageio/SvgImage.h"

#include <QtTest>

#include <zlib.h>

namespace {

QByteArray Svg(const QByteArray& attributes, const QByteArray& content) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
           attributes + ">" + content + "</svg>";
}

QByteArray Gzip(const QByteArray& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QByteArray EntityBomb() {
    QByteArray entities = "<!ENTITY e0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        entities += "<!ENTITY e" + QByteArray::number(i) + " \"" +
                    QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return "<?xml version=\"1.0\"?><!DOCTYPE svg [" + entities + "]>" +
           Svg("width=\"10\" height=\"10\"", "<text>&e9;</text>");
}

// Each level refers ten times to the one below: 10^19 rectangles if expanded.
QByteArray UseChain() {
    QByteArray defs = "<rect id=\"u0\" width=\"1\" height=\"1\"/>";
    for (int i = 1; i < 20; ++i)
        defs +=
            "<g id=\"u" + QByteArray::number(i) + "\">" +
            QByteArray("<use xlink:href=\"#u" + QByteArray::number(i - 1) + "\"/>").repeated(10) +
            "</g>";
    return Svg("width=\"10\" height=\"10\"", "<defs>" + defs + "</defs><use xlink:href=\"#u19\"/>");
}

// Thousands of wide blurs: minutes of drawing even at thumbnail size.
QByteArray SlowDocument() {
    QByteArray circles;
    for (int i = 0; i < 3000; ++i)
        circles += "<circle cx=\"" + QByteArray::number(i % 50) + "\" cy=\"" +
                   QByteArray::number(i / 50) + "\" r=\"40\" filter=\"url(#b)\"/>";
    return Svg("viewBox=\"0 0 100 100\"",
               "<filter id=\"b\"><feGaussianBlur stdDeviation=\"20\"/></filter>" + circles);
}

} // namespace

class tst_SvgImage : public QObject {
    Q_OBJECT

private slots:
    void refusesHostileOrBrokenDocuments_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray square = "<rect width=\"5\" height=\"5\"/>";
        const QByteArray sized = "width=\"10\" height=\"10\"";
        QTest::newRow("entity bomb") << EntityBomb();
        QTest::newRow("use chain") << UseChain();
        QTest::newRow("gzip past 32 MB") << Gzip(Svg(sized, QByteArray(33 << 20, ' ')));
        QTest::newRow("gzip inside gzip") << Gzip(Gzip(Svg(sized, square)));
        QTest::newRow("truncated gzip") << Gzip(Svg(sized, square)).chopped(8);
        QTest::newRow("zero viewBox")
            << Svg("viewBox=\"0 0 0 0\" width=\"9\" height=\"9\"", square);
        QTest::newRow("negative viewBox")
            << Svg("viewBox=\"0 0 -10 10\" width=\"9\" height=\"9\"", square);
        QTest::newRow("NaN viewBox") << Svg("viewBox=\"0 0 NaN 10\"", square);
        QTest::newRow("no size at all") << Svg("width=\"100%\"", square);
        QTest::newRow("not well-formed")
            << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><g>");
        QTest::newRow("too slow to draw") << SlowDocument();
    }
    void refusesHostileOrBrokenDocuments() {
        QFETCH(QByteArray, bytes);
        std::shared_ptr<const SvgImage> vector;
        QVERIFY(DecodeIconImage(bytes, &vector).isNull());
        QVERIFY(!vector);
    }

    void readsNoOtherFile() {
        // A picture the document names in every way a document can, next to it and absolute.
        QTemporaryDir folder;
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        const QString png = folder.filePath(QStringLiteral("red.png"));
        QVERIFY(red.save(png));
        const QByteArray url = QUrl::fromLocalFile(png).toEncoded();
        const QByteArray sized = "\" width=\"10\" height=\"10\"/>";
        const QByteArray document =
            Svg("viewBox=\"0 0 10 10\" xmlns:xi=\"http://www.w3.org/2001/XInclude\"",
                "<image xlink:href=\"" + url + sized + "<image xlink:href=\"red.png" + sized +
                    "<image xlink:href=\"" + png.toUtf8() + sized + "<xi:include href=\"" + url +
                    "\" parse=\"text\"/><use xlink:href=\"" + url + "#a\"/>");
        const QString path = folder.filePath(QStringLiteral("icon.svg"));
        QVERIFY(TestImages::WriteFile(path, document));
        std::shared_ptr<const SvgImage> vector;
        const QImage thumbnail = LoadIconImage(path, &vector);
        QVERIFY(vector);
        const QImage drawn = vector->Draw(QSize(10, 10), QTransform());
        for (const QImage& image : {thumbnail, drawn})
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }

    void compressedAndPlainDocumentsAgree() {
        const QByteArray plain = TestImages::ReadFile(
            QStringLiteral(SIGILON_SOURCE_DIR "/tests/data/tango-dialog-error.svg"));
        const auto fromPlain = SvgImage::Read(plain);
        const auto fromGzip = SvgImage::Read(Gzip(plain));
        QVERIFY(fromPlain && fromGzip);
        QCOMPARE(fromGzip->viewBox(), fromPlain->viewBox());
        QCOMPARE(fromGzip->thumbnail(), fromPlain->thumbnail());
        QCOMPARE(fromPlain->thumbnail().format(), QImage::Format_ARGB32_Premultiplied);
    }

    void sizeComesFromViewBoxElseWidthAndHeight_data() {
        QTest::addColumn<QByteArray>("attributes");
        QTest::addColumn<QRectF>("area");
        QTest::newRow("viewBox wins")
            << QByteArray("viewBox=\"-5 10 40 20\" width=\"7\" height=\"7\"")
            << QRectF(-5, 10, 40, 20);
        QTest::newRow("width and height")
            << QByteArray("width=\"30\" height=\"60\"") << QRectF(0, 0, 30, 60);
        QTest::newRow("units") << QByteArray("width=\"1in\" height=\"0.5in\"")
                               << QRectF(0, 0, 96, 48);
    }
    void sizeComesFromViewBoxElseWidthAndHeight() {
        QFETCH(QByteArray, attributes);
        QFETCH(QRectF, area);
        const auto image = SvgImage::Read(Svg(attributes, "<rect width=\"5\" height=\"5\"/>"));
        QVERIFY(image);
        QCOMPARE(image->viewBox(), area);
        // The thumbnail keeps the aspect.
        const QSize thumbnail = image->thumbnail().size();
        QVERIFY(std::abs(double(thumbnail.width()) / thumbnail.height() -
                         area.width() / area.height()) < 0.02);
    }
};

QTEST_MAIN(tst_SvgImage)
#include "tst_SvgImage.moc"
