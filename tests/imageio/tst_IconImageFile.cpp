#include "export/SaveImage.h"
#include "helpers/TestImages.h"
#include "imageio/IconImageFile.h"
#include "imageio/Jpeg2000Decoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// AddressSanitizer's shadow memory needs an unbounded address space.
#if defined(__SANITIZE_ADDRESS__)
#define ADDRESS_SPACE_IS_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ADDRESS_SPACE_IS_SANITIZED
#endif
#endif

namespace {

constexpr int kJp2 = 4; // the "JP2" entry of the output formats
constexpr int kGif = 8; // the "GIF" entry

const QString kRefused = QStringLiteral("refused");
const QString kAccepted = QStringLiteral("accepted");
const QString kEither = QStringLiteral("refused or accepted");

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

QByteArray EncodedByQt(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? bytes : QByteArray();
}

QByteArray EncodedByUs(const QImage& image, int formatIndex, const QString& path) {
    return ImageTools::SaveImage(image, path, formatIndex, 1.0) ? TestImages::ReadFile(path)
                                                                : QByteArray();
}

// A baseline JPEG whose frame header claims another size; its scan still holds 8 x 8 pixels.
QByteArray JpegClaiming(QByteArray jpeg, quint16 width, quint16 height) {
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    if (frame < 0)
        return {};
    // Marker (2), length (2), precision (1), then height and width.
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

QByteArray BmpClaiming(QByteArray bmp, qint32 width, qint32 height) {
    qToLittleEndian(width, bmp.data() + 18);
    qToLittleEndian(height, bmp.data() + 22);
    return bmp;
}

// The screen and the first picture of a GIF encoded from an 8 x 8 image, both made to claim
// another size.
QByteArray GifClaiming(QByteArray gif, quint16 width, quint16 height) {
    const qsizetype picture = gif.indexOf(QByteArray("\x2c\0\0\0\0\x08\0\x08\0", 9));
    if (picture < 0)
        return {};
    for (const qsizetype at : {qsizetype(6), picture + 5}) {
        qToLittleEndian(width, gif.data() + at);
        qToLittleEndian(height, gif.data() + at + 2);
    }
    return gif;
}

// A bare JPEG 2000 codestream: the codestream of a real file with its size header replaced by
// one announcing `components` 8-bit planes of width x height in one tile.
QByteArray CodestreamClaiming(const QByteArray& jp2, quint32 width, quint32 height,
                              quint16 components) {
    const qsizetype box = jp2.indexOf("jp2c");
    if (box < 0)
        return {};
    const QByteArray codestream = jp2.mid(box + 4);
    // Start of codestream (2), then the size segment: marker (2), length (2), capabilities (2).
    const qsizetype oldLength = qFromBigEndian<quint16>(codestream.constData() + 4);
    QByteArray size(4 + 38 + 3 * components, '\0');
    char* s = size.data();
    qToBigEndian(quint16(0xFF51), s + 0);
    qToBigEndian(quint16(38 + 3 * components), s + 2);
    for (const int at : {8, 24})
        qToBigEndian(width, s + at);
    for (const int at : {12, 28})
        qToBigEndian(height, s + at);
    qToBigEndian(components, s + 40);
    for (int c = 0; c < components; ++c) {
        s[42 + 3 * c] = 7; // 8 bits, unsigned
        s[43 + 3 * c] = 1; // no subsampling
        s[44 + 3 * c] = 1;
    }
    return codestream.left(2) + size + codestream.mid(2 + 2 + oldLength);
}

// Loads the file in a child process whose address space is bounded, so a loader that
// allocates for what a header claims fails there instead of exhausting the machine. Tells
// whether the child refused or accepted the file, or how it failed. A loader that blocks, as
// on a pipe, blocks the test.
QString OutcomeWithBoundedMemory(const QString& path) {
    enum : int { kRefused, kAccepted, kThrew };
    const pid_t child = fork();
    if (child == 0) {
        // A crash ends the child with its signal, not in the test runner's handler.
        for (const int crash : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
            signal(crash, SIG_DFL);
#ifndef ADDRESS_SPACE_IS_SANITIZED
        // Room for everything a refusal needs, but not for decoding 10000 x 10000 pixels
        // more than once.
        constexpr rlim_t kHeadroom = rlim_t(1536) << 20;
        long pages = 0;
        if (FILE* statm = fopen("/proc/self/statm", "r")) {
            if (fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            fclose(statm);
        }
        const rlim_t bound = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + kHeadroom;
        const rlimit limit{bound, bound};
        setrlimit(RLIMIT_AS, &limit);
#endif
        try {
            _exit(LoadIconImage(path).isNull() ? kRefused : kAccepted);
        } catch (...) {
            _exit(kThrew);
        }
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return QStringLiteral("not run");
    if (WIFSIGNALED(status))
        return QStringLiteral("killed by signal %1").arg(WTERMSIG(status));
    switch (WEXITSTATUS(status)) {
    case kRefused:
        return QStringLiteral("refused");
    case kAccepted:
        return QStringLiteral("accepted");
    default:
        return QStringLiteral("threw");
    }
}

} // namespace

Q_DECLARE_METATYPE(Jpeg2000Decoder::Limits)

class IconImageFileTest : public QObject {
    Q_OBJECT

    QString Write(const QString& name, const QByteArray& bytes) { return m_dir.Write(name, bytes); }

    TestImages::ScratchFolder m_dir;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // Qt's image plugins load once here, not first in a child process.
        QVERIFY(!DecodeIconImage(EncodedByQt(TestImages::AsymmetricImage(8, 8), "jpeg")).isNull());
    }

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

    void jpeg2000HeaderIsCheckedBeforeDecoding_data() {
        QTest::addColumn<Jpeg2000Decoder::Limits>("limits");
        QTest::addColumn<bool>("decoded");
        // 40 x 30 pixels, four planes the decoder holds in 32 bits a sample: 19200 bytes.
        QTest::newRow("within every limit") << Jpeg2000Decoder::Limits{40, 1200, 19200} << true;
        QTest::newRow("one side too long") << Jpeg2000Decoder::Limits{39, 1200, 19200} << false;
        QTest::newRow("area too large") << Jpeg2000Decoder::Limits{40, 1199, 19200} << false;
        QTest::newRow("planes too large") << Jpeg2000Decoder::Limits{40, 1200, 19199} << false;
    }
    void jpeg2000HeaderIsCheckedBeforeDecoding() {
        QFETCH(Jpeg2000Decoder::Limits, limits);
        QFETCH(bool, decoded);
        QImage picture = TestImages::AsymmetricImage(40, 30);
        picture.setPixelColor(0, 0, QColor(1, 2, 3, 4)); // keeps the alpha plane
        const QByteArray bytes = EncodedByUs(picture, kJp2, m_dir.filePath("limits.jp2"));
        QCOMPARE(Jpeg2000Decoder::Decode(bytes, limits).isNull(), !decoded);
    }

    // Every kind of hostile input goes through the loader the window and the command line
    // use; well-formed files of the same formats show the checks refuse only damage.
    void hostileFilesAreRefused_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("outcome");
        const QImage picture = TestImages::AsymmetricImage(8, 8);
        const QByteArray jpeg = EncodedByQt(picture, "jpeg");
        const QByteArray bmp = EncodedByQt(picture, "bmp");
        const QByteArray gif = EncodedByUs(picture, kGif, m_dir.filePath("picture.gif"));
        const QByteArray jp2 = EncodedByUs(picture, kJp2, m_dir.filePath("picture.jp2"));
        const QByteArray photo = EncodedByQt(TestImages::AsymmetricImage(300, 200), "jpeg");

        const QString pipe = m_dir.filePath("pipe.png");
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString folder = m_dir.filePath("folder.png");
        QVERIFY(QDir().mkdir(folder));

        QTest::newRow("pipe") << pipe << kRefused;
        QTest::newRow("folder") << folder << kRefused;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << kRefused;
        QTest::newRow("text") << Write("notes.png", "just some notes\n") << kRefused;
        QTest::newRow("empty") << Write("empty.png", {}) << kRefused;
        QTest::newRow("jpeg cut in its scan")
            << Write("cut.jpg", photo.left(photo.size() / 2)) << kRefused;
        QTest::newRow("jpeg without its end marker")
            << Write("end.jpg", photo.chopped(2)) << kRefused;
        QTest::newRow("bmp cut in its rows") << Write("cut.bmp", bmp.chopped(20)) << kRefused;
        QTest::newRow("gif cut in its picture")
            << Write("cut.gif", gif.left(gif.size() - 8)) << kRefused;
        QTest::newRow("png cut short")
            << Write("cut.png", TestImages::PngBytes(picture).left(60)) << kRefused;
        QTest::newRow("jpeg claiming 10000 x 10000")
            << Write("big.jpg", JpegClaiming(jpeg, 10000, 10000)) << kRefused;
        QTest::newRow("bmp claiming 10000 x 10000")
            << Write("big.bmp", BmpClaiming(bmp, 10000, 10000)) << kRefused;
        QTest::newRow("gif claiming 10000 x 10000")
            << Write("big.gif", GifClaiming(gif, 10000, 10000)) << kRefused;
        QTest::newRow("png claiming 100000 x 100000")
            << Write("huge.png", PngClaiming(100000, 100000)) << kRefused;
        QTest::newRow("png claiming 20000 x 2")
            << Write("wide.png", PngClaiming(20000, 2)) << kRefused;
        QTest::newRow("codestream with 16384 planes of 10000 x 10000")
            << Write("planes.j2k", CodestreamClaiming(jp2, 10000, 10000, 16384)) << kRefused;
        QTest::newRow("codestream with 5 planes of 8 x 8")
            << Write("five.j2k", CodestreamClaiming(jp2, 8, 8, 5)) << kRefused;
        QTest::newRow("jp2 signature only")
            << Write("signature.jp2", QByteArray("\x00\x00\x00\x0cjP  \r\n\x87\n", 12)) << kRefused;

        QTest::newRow("whole jpeg") << Write("whole.jpg", photo) << kAccepted;
        QTest::newRow("whole bmp") << Write("whole.bmp", bmp) << kAccepted;
        QTest::newRow("whole gif") << Write("whole.gif", gif) << kAccepted;
        // The content decides, not the extension.
        QTest::newRow("whole jp2 named .png") << Write("jp2.png", jp2) << kAccepted;
        // Cut short, a JPEG 2000 file may still decode in part; it must never crash the loader.
        for (const qsizetype length : {qsizetype(40), jp2.size() / 2, jp2.size() - 3})
            QTest::addRow("jp2 cut to %lld bytes", qlonglong(length))
                << Write(QStringLiteral("cut%1.jp2").arg(length), jp2.left(length)) << kEither;
    }
    void hostileFilesAreRefused() {
        QFETCH(QString, path);
        QFETCH(QString, outcome);
        QVERIFY(!path.isEmpty());
        const QString actual = OutcomeWithBoundedMemory(path);
        QVERIFY2(outcome.split(QStringLiteral(" or ")).contains(actual), qPrintable(actual));
    }
};

QTEST_MAIN(IconImageFileTest)
#include "tst_IconImageFile.moc"
