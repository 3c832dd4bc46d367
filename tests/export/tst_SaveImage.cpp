// Writing one exported image in each of the ten formats: sizes, transparency, quality, shared
// encoders, and what a failed write leaves behind.

#include "export/OutputFormat.h"
#include "export/SaveImage.h"
#include "support/TestImages.h"

#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// A rounded badge with a vertical gradient: transparent corners, opaque middle.
QImage Badge(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, QColor(0, 128, 255));
    gradient.setColorAt(1, QColor(0, 64, 128));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(0, 0, width, height), width / 4.0, height / 4.0);
    return image;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ImageMagick's view of a file, formatted by `format`; empty when it cannot read it.
QString Identify(const QString& path, const QString& format) {
    QProcess process;
    process.start(QStringLiteral("identify"), {QStringLiteral("-format"), format, path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool HaveIdentify() {
    return !QStandardPaths::findExecutable(QStringLiteral("identify")).isEmpty();
}

// Lowers the largest file this process may write, so that a write fails even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool Active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace

class SaveImageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void everyFormatWritesTheExactSize_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("magick");
        const QStringList magicks{"PNG", "JPEG", "JPEG", "JPEG", "JP2",
                                  "JP2", "TIFF", "TIFF", "GIF",  "BMP"};
        for (int i = 0; i < OutputFormat::Count; ++i)
            QTest::newRow(qPrintable(OutputFormat::At(i)->title)) << i << magicks[i];
    }

    void everyFormatWritesTheExactSize() {
        QFETCH(int, format);
        QFETCH(QString, magick);
        const QString path = m_folder.filePath(QStringLiteral("size.") + GetFileExtension(format));
        QVERIFY(ImageTools::SaveImage(Badge(20, 20), path, format, 0.8));
        if (format < 4 || format > 5) { // Qt reads all but JPEG 2000
            QImageReader reader(path);
            QCOMPARE(reader.size(), QSize(20, 20));
        }
        if (!HaveIdentify())
            QSKIP("ImageMagick's identify is not installed");
        const QStringList seen = Identify(path, QStringLiteral("%m %w %h")).split(u' ');
        QCOMPARE(seen.size(), 3);
        QVERIFY2(seen[0].startsWith(magick), qPrintable(seen[0]));
        QCOMPARE(seen[1], QStringLiteral("20"));
        QCOMPARE(seen[2], QStringLiteral("20"));
    }

    void sizeInUnitsIsTruncated() {
        // 41 pixels at two pixels per unit are 20.5 units: the file has 20 pixels a side.
        QImage image = Badge(41, 41);
        image.setDevicePixelRatio(2.0);
        const QString path = m_folder.filePath(QStringLiteral("truncated.png"));
        QVERIFY(ImageTools::SaveImage(image, path, 0, 0.8));
        const QImage written(path);
        QCOMPARE(written.size(), QSize(20, 20));
        QVERIFY(TestImages::PixelAt(written, 10, 10).alpha() == 255);
    }

    void sharedEncodersWriteIdenticalBytes() {
        // Large enough for the JPEG 2000 encoder to use its threads.
        const QImage image = Badge(200, 160);
        const auto bytes = [&](int format) {
            const QString path =
                m_folder.filePath(QStringLiteral("same%1.").arg(format) + GetFileExtension(format));
            return ImageTools::SaveImage(image, path, format, 0.6) ? ReadAll(path) : QByteArray();
        };
        const QByteArray jpeg = bytes(1);
        QVERIFY(!jpeg.isEmpty());
        QCOMPARE(bytes(2), jpeg);
        QCOMPARE(bytes(3), jpeg);
        const QByteArray jpeg2000 = bytes(4);
        QVERIFY(!jpeg2000.isEmpty());
        QCOMPARE(bytes(5), jpeg2000);
        const QByteArray tiff = bytes(6);
        QVERIFY(!tiff.isEmpty());
        QCOMPARE(bytes(7), tiff);
    }

    void transparentCornersStayTransparent_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("PNG") << 0 << 1;
        QTest::newRow("TIFF") << 6 << 1;
        QTest::newRow("GIF") << 8 << 12;
    }

    void transparentCornersStayTransparent() {
        QFETCH(int, format);
        QFETCH(int, tolerance);
        const QImage image = Badge(64, 64);
        const QString path =
            m_folder.filePath(QStringLiteral("corners.") + GetFileExtension(format));
        QVERIFY(ImageTools::SaveImage(image, path, format, 0.8));
        const QImage written(path);
        QCOMPARE(written.size(), image.size());
        for (const QPoint corner : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 63), QPoint(63, 63)})
            QCOMPARE(TestImages::PixelAt(written, corner.x(), corner.y()).alpha(), 0);
        for (const QPoint inside : {QPoint(32, 2), QPoint(32, 32), QPoint(2, 32), QPoint(32, 61)})
            QVERIFY(TestImages::ColorsClose(TestImages::PixelAt(written, inside.x(), inside.y()),
                                            TestImages::PixelAt(image, inside.x(), inside.y()),
                                            tolerance));
    }

    void partialTransparencyKeepsItsColourInPng() {
        QImage image(4, 1, QImage::Format_ARGB32_Premultiplied);
        const QColor colours[] = {QColor(255, 0, 0, 128), QColor(0, 200, 100, 64),
                                  QColor(20, 40, 250, 10), QColor(255, 255, 255, 255)};
        for (int x = 0; x < 4; ++x)
            image.setPixelColor(x, 0, colours[x]);
        const QString path = m_folder.filePath(QStringLiteral("partial.png"));
        QVERIFY(ImageTools::SaveImage(image, path, 0, 0.8));
        const QImage written(path);
        // Premultiplied storage rounds faint colours; the tolerance grows as alpha shrinks.
        const int tolerances[] = {2, 4, 13, 0};
        for (int x = 0; x < 4; ++x)
            QVERIFY2(TestImages::ColorsClose(TestImages::PixelAt(written, x, 0),
                                             TestImages::PixelAt(image, x, 0), tolerances[x]),
                     qPrintable(QStringLiteral("pixel %1").arg(x)));
    }

    void jpeg2000KeepsAlpha() {
        if (!HaveIdentify())
            QSKIP("ImageMagick's identify is not installed");
        const QString path = m_folder.filePath(QStringLiteral("alpha.jp2"));
        QVERIFY(ImageTools::SaveImage(Badge(64, 64), path, 4, 1.0));
        QCOMPARE(Identify(path, QStringLiteral("%[fx:p{0,0}.a] %[fx:p{32,32}.a]")),
                 QStringLiteral("0 1"));
    }

    void gifGradientDoesNotBand() {
        // Thousands of red and green levels, far more colours than a palette holds. Dithering
        // keeps the local average of the picture, where a plain reduction shows steps of
        // several levels. The blocks along the border hold the extremes of the picture's
        // colours, which no palette colour goes beyond, so they are left out.
        QImage image(256, 64, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 256; ++x)
                image.setPixel(x, y, qRgb(32 + x * 3 / 4, 32 + y * 3, 160));
        const QString path = m_folder.filePath(QStringLiteral("gradient.gif"));
        QVERIFY(ImageTools::SaveImage(image, path, 8, 0.8));
        const QImage written = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(written.size(), image.size());
        double worst = 0.0;
        for (int by = 8; by < 56; by += 8) {
            for (int bx = 8; bx < 248; bx += 8) {
                double difference[3] = {0, 0, 0};
                for (int y = by; y < by + 8; ++y) {
                    for (int x = bx; x < bx + 8; ++x) {
                        const QRgb a = image.pixel(x, y);
                        const QRgb b = written.pixel(x, y);
                        difference[0] += qRed(b) - qRed(a);
                        difference[1] += qGreen(b) - qGreen(a);
                        difference[2] += qBlue(b) - qBlue(a);
                    }
                }
                for (double d : difference)
                    worst = std::max(worst, std::abs(d) / 64.0);
            }
        }
        QVERIFY2(worst < 2.0, qPrintable(QString::number(worst)));
    }

    void qualityChangesOnlyLossyFormats_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("lossy");
        for (int i = 0; i < OutputFormat::Count; ++i)
            QTest::newRow(qPrintable(OutputFormat::At(i)->title)) << i << (i >= 1 && i <= 5);
    }

    void qualityChangesOnlyLossyFormats() {
        QFETCH(int, format);
        QFETCH(bool, lossy);
        const QImage image = Badge(96, 80);
        const QString extension = GetFileExtension(format);
        const QString low = m_folder.filePath(QStringLiteral("low.") + extension);
        const QString high = m_folder.filePath(QStringLiteral("high.") + extension);
        QVERIFY(ImageTools::SaveImage(image, low, format, 0.1));
        QVERIFY(ImageTools::SaveImage(image, high, format, 1.0));
        if (lossy)
            QVERIFY2(
                ReadAll(high).size() > ReadAll(low).size(),
                qPrintable(
                    QStringLiteral("%1 <= %2").arg(ReadAll(high).size()).arg(ReadAll(low).size())));
        else
            QCOMPARE(ReadAll(high), ReadAll(low));
    }

    void qualityOutsideItsRangeIsTheNearestEnd_data() {
        // A hand-edited profile can put any number, NaN included, into the quality field.
        QTest::addColumn<int>("format");
        for (int format : {1, 4})
            QTest::newRow(qPrintable(OutputFormat::At(format)->title)) << format;
    }

    void qualityOutsideItsRangeIsTheNearestEnd() {
        QFETCH(int, format);
        const QImage image = Badge(96, 80);
        const QByteArray lowest = ImageTools::EncodeImage(image, format, 0.0);
        const QByteArray best = ImageTools::EncodeImage(image, format, 1.0);
        QVERIFY(!lowest.isEmpty() && lowest != best);
        QCOMPARE(ImageTools::EncodeImage(image, format, -3.0), lowest);
        QCOMPARE(ImageTools::EncodeImage(image, format, std::nan("")), lowest);
        QCOMPARE(ImageTools::EncodeImage(image, format, 1e30), best);
        QCOMPARE(ImageTools::EncodeImage(image, format, qInf()), best);
    }

    void indexOutsideTheListWritesNothing() {
        for (int format : {-1, 10}) {
            const QString path = m_folder.filePath(QStringLiteral("nothing%1.").arg(format));
            QVERIFY(!ImageTools::SaveImage(Badge(20, 20), path, format, 0.8));
            QVERIFY(!QFileInfo::exists(path));
        }
        QVERIFY(ImageTools::EncodeImage(Badge(20, 20), -1, 0.8).isEmpty());
    }

    void emptyImageWritesNothing() {
        const QString path = m_folder.filePath(QStringLiteral("empty.png"));
        QVERIFY(!ImageTools::SaveImage(QImage(), path, 0, 0.8));
        QVERIFY(!QFileInfo::exists(path));
    }

    void failedEncodeKeepsTheExistingFile() {
        const QString path = m_folder.filePath(QStringLiteral("kept."));
        QVERIFY(ImageTools::SaveImage(Badge(20, 20), path, 0, 0.8));
        const QByteArray before = ReadAll(path);
        QVERIFY(!ImageTools::SaveImage(Badge(30, 30), path, -1, 0.8));
        QCOMPARE(ReadAll(path), before);
    }

    void writeIntoAMissingFolderFails() {
        // The parent "folder" is a regular file, which no user, root included, can write into.
        const QString parent = m_folder.filePath(QStringLiteral("plain-file"));
        QFile file(parent);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(
            !ImageTools::SaveImage(Badge(20, 20), parent + QStringLiteral("/icon.png"), 0, 0.8));
    }

    void folderAtTheTargetNameIsLeftAlone() {
        const QString path = m_folder.filePath(QStringLiteral("occupied.png"));
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        QVERIFY(!ImageTools::SaveImage(Badge(20, 20), path, 0, 0.8));
        QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
    }

    void failedWriteKeepsTheExistingFileWhole() {
        // A file size limit makes the write itself fail (root is not exempt), after the
        // encoding succeeded; the old file must survive untouched, not half-written.
        const QString path = m_folder.filePath(QStringLiteral("whole.bmp"));
        QVERIFY(ImageTools::SaveImage(Badge(20, 20), path, 9, 0.8));
        const QByteArray before = ReadAll(path);
        QVERIFY(before.size() > 1000);
        bool saved = true;
        {
            FileSizeLimit limit(512);
            if (!limit.Active())
                QSKIP("cannot lower the file size limit here");
            saved = ImageTools::SaveImage(Badge(40, 40), path, 9, 0.8);
        }
        QVERIFY(!saved);
        QCOMPARE(ReadAll(path), before);
        QCOMPARE(QDir(m_folder.path()).entryList({QStringLiteral("whole.bmp*")}, QDir::Files),
                 QStringList{QStringLiteral("whole.bmp")});
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(SaveImageTest)
#include "tst_SaveImage.moc"
