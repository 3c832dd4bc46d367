// Writing one exported image in each of the ten formats, an icon set encoded on all cores, and
// the writer behind every exported file: names it refuses, the permissions of what it creates,
// and what a refused or interrupted write leaves behind (what it does about each kind of item
// already at a path is checked through both exports, with OutputOccupants).

#include "export/AtomicFileWrite.h"
#include "export/IconSetEncoding.h"
#include "export/ImageWriterEncoder.h"
#include "export/OutputFormat.h"
#include "export/SaveImage.h"
#include "helpers/FolderListing.h"
#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"
#include "imageio/IconImageFile.h"
#include "imageio/Jpeg2000Decoder.h"
#include "render/StretchImage.h"
#include "support/OwnTemporaryFiles.h"
#include "support/TerminationCleanup.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A rounded badge with a vertical gradient: transparent corners, opaque middle.
QImage RoundedBadge(int width, int height) {
    QImage image = TestImages::Filled(width, height, Qt::transparent);
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

// Lowers the largest file this process may write, so that a write fails even for root.
struct FileSizeLimit {
    rlimit saved{};
    bool active = false;

    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN); // a short write rather than the end of the process
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

// What Qt's writer makes of the picture with nothing but the quality set.
QByteArray PlainlyWritten(const QImage& picture, int quality) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    return writer.write(picture) ? data : QByteArray();
}

QImage Decoded(const QByteArray& file) {
    if (Jpeg2000Decoder::Recognises(file))
        return Jpeg2000Decoder::Decode(file, {10000, 10000 * 10000, qint64(1) << 32, 4096});
    return QImage::fromData(file);
}

const QByteArray NewContent("the new icon");

int g_signal = 0; // what the child process sends itself

} // namespace

class SaveImageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void everyFormat_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("qtFormat"); // "": JPEG 2000, read by our own reader only
        QTest::addColumn<int>("tolerance");    // for the colours inside; -1: no alpha kept
        QTest::addColumn<int>("sameAs");       // the entry with the same encoder, or -1
        QTest::addColumn<QString>("magick");   // what ImageMagick's identify calls it
        QTest::newRow("PNG") << 0 << "png" << 1 << -1 << "PNG";
        QTest::newRow("JPG") << 1 << "jpeg" << -1 << -1 << "JPEG";
        QTest::newRow("JPEG") << 2 << "jpeg" << -1 << 1 << "JPEG";
        QTest::newRow("JPE") << 3 << "jpeg" << -1 << 1 << "JPEG";
        QTest::newRow("JP2") << 4 << "" << 1 << -1 << "JP2"; // lossless at the best quality
        QTest::newRow("JPX") << 5 << "" << 1 << 4 << "JP2";
        QTest::newRow("TIFF") << 6 << "tiff" << 1 << -1 << "TIFF";
        QTest::newRow("TIF") << 7 << "tiff" << 1 << 6 << "TIFF";
        QTest::newRow("GIF") << 8 << "gif" << 12 << -1 << "GIF"; // a transparent palette index
        QTest::newRow("BMP") << 9 << "bmp" << -1 << -1 << "BMP3";
    }

    void everyFormat() {
        QFETCH(int, format);
        QFETCH(QString, qtFormat);
        QFETCH(int, tolerance);
        QFETCH(int, sameAs);
        QFETCH(QString, magick);
        const QImage badge = RoundedBadge(20, 20);
        const QString path = Path("exact", format);
        QVERIFY(ImageTools::SaveImage(badge, path, format, 1.0));
        const QImage written = LoadIconImage(path);
        QCOMPARE(written.size(), QSize(20, 20));
        if (tolerance >= 0) {
            for (const QPoint p : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 19), QPoint(19, 19)})
                QCOMPARE(TestImages::PixelAt(written, p.x(), p.y()).alpha(), 0);
            for (const QPoint p : {QPoint(10, 1), QPoint(10, 10), QPoint(1, 10), QPoint(10, 18)})
                QVERIFY(TestImages::ColorsClose(TestImages::PixelAt(written, p.x(), p.y()),
                                                TestImages::PixelAt(badge, p.x(), p.y()),
                                                tolerance));
        }
        QCOMPARE(QImageReader::imageFormat(path), qtFormat.toLatin1()); // told by the contents
        // Standard tools agree on size and format (ImageMagick is part of the set-up).
        const ProgramRun::Result identify =
            ProgramRun::Run("identify", {"-format", "%m %w %h", path});
        QCOMPARE(identify.out, magick + " 20 20");
        if (format < 1 || format > 3) { // lossless: no flip, swapped channels or wrong stride
            const QImage odd = TestImages::AsymmetricImage(333, 77);
            QVERIFY(ImageTools::SaveImage(odd, path, format, 1.0));
            QCOMPARE(TestImages::FirstDifference(LoadIconImage(path), odd, 0), QString());
        }

        // The quality matters to JPEG and JPEG 2000 alone. Large enough for JPEG 2000 to use
        // its threads, which must not change the bytes.
        const QImage large = RoundedBadge(200, 160);
        const QByteArray low = Saved(large, format, 0.1);
        const QByteArray high = Saved(large, format, 1.0);
        QVERIFY(!low.isEmpty());
        if (format >= 1 && format <= 5)
            QVERIFY2(high.size() > low.size(), qPrintable(QString::number(high.size())));
        else
            QCOMPARE(high, low);
        if (sameAs >= 0)
            QCOMPARE(low, Saved(large, sameAs, 0.1));
    }

    void sizeInUnitsIsTruncated() {
        // 41 pixels at two pixels per unit are 20.5 units: the file has 20 pixels a side.
        QImage image = RoundedBadge(41, 41);
        image.setDevicePixelRatio(2.0);
        const QString path = Path("truncated", 0);
        QVERIFY(ImageTools::SaveImage(image, path, 0, 0.8));
        const QImage written(path);
        QCOMPARE(written.size(), QSize(20, 20));
        QCOMPARE(TestImages::PixelAt(written, 10, 10).alpha(), 255);
    }

    void gifGradientDoesNotBand() {
        // Far more colours than a palette holds. Dithering keeps the average of every 8 x 8
        // block, where a plain reduction shows steps of several levels. The border blocks
        // hold the extremes, which no palette colour goes beyond, so they are left out.
        QImage image(256, 64, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 256; ++x)
                image.setPixel(x, y, qRgb(32 + x * 3 / 4, 32 + y * 3, 160));
        const QString path = Path("gradient", 8);
        QVERIFY(ImageTools::SaveImage(image, path, 8, 0.8));
        const auto blocks = [](const QImage& picture) {
            return picture.scaled(32, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .copy(1, 1, 30, 6);
        };
        QCOMPARE(TestImages::FirstDifference(blocks(QImage(path)), blocks(image), 2), QString());
    }

    void qualityOutsideItsRangeIsTheNearestEnd() {
        // A hand-edited profile can put any number, NaN included, into the quality field.
        const QImage image = RoundedBadge(96, 80);
        for (int format : {1, 4}) {
            const QByteArray lowest = ImageTools::EncodeImage(image, format, 0.0);
            const QByteArray best = ImageTools::EncodeImage(image, format, 1.0);
            QVERIFY(!lowest.isEmpty() && lowest != best);
            QCOMPARE(ImageTools::EncodeImage(image, format, -3.0), lowest);
            QCOMPARE(ImageTools::EncodeImage(image, format, std::nan("")), lowest);
            QCOMPARE(ImageTools::EncodeImage(image, format, 1e30), best);
            QCOMPARE(ImageTools::EncodeImage(image, format, qInf()), best);
        }
    }

    void nothingToEncodeWritesNothing_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("format");
        QTest::newRow("no format") << RoundedBadge(20, 20) << -1;
        QTest::newRow("beyond the list") << RoundedBadge(20, 20) << 10;
        QTest::newRow("empty image") << QImage() << 0;
    }

    void nothingToEncodeWritesNothing() {
        QFETCH(QImage, image);
        QFETCH(int, format);
        const QString path = m_folder.filePath(QStringLiteral("nothing"));
        QVERIFY(!ImageTools::SaveImage(image, path, format, 0.8));
        QVERIFY(!QFileInfo::exists(path));
    }

    void failedWriteKeepsTheExistingFile() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("whole.bmp"));
        QVERIFY(ImageTools::SaveImage(RoundedBadge(20, 20), path, 9, 0.8));
        const QByteArray before = TestImages::ReadFile(path);
        QVERIFY(before.size() > 1000);
        {
            // The write itself fails after the encoding succeeded; root is not exempt.
            FileSizeLimit limit(512);
            if (!limit.active)
                QSKIP("cannot lower the file size limit here");
            QVERIFY(!ImageTools::SaveImage(RoundedBadge(40, 40), path, 9, 0.8));
        }
        QCOMPARE(TestImages::ReadFile(path), before);
        // No temporary file is left behind either, hidden or not.
        QCOMPARE(FolderListing::EntriesIn(folder.path()), QStringList{"whole.bmp"});
    }

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

    void everyFileAsOnItsOwnInListOrder_data() {
        QTest::addColumn<int>("formatIndex");
        for (int index = 0; index < OutputFormat::Count; ++index)
            QTest::newRow(qPrintable(OutputFormat::List()[index].title)) << index;
    }

    void everyFileAsOnItsOwnInListOrder() {
        QFETCH(int, formatIndex);
        const QImage rendering = TestImages::DetailedImage(300, 200);
        // Sizes in no order of area: the rendering's own, enlarged, fractions (cut off, not
        // rounded), the largest and two unusable.
        const QList<OutputSize> sizes = {
            {16, 16, "16"},        {300, 200, "own"},       {0.5, 10, "too small"},
            {520, 130, "wide"},    {64, 48, "64"},          {12.5, 7.9, "fraction"},
            {10000, 1, "largest"}, {20000, 5, "too large"}, {qQNaN(), 16, "not a number"}};
        const std::vector<QByteArray> files = EncodeIconSet(rendering, sizes, formatIndex, 0.8);
        QCOMPARE(qsizetype(files.size()), sizes.size());
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            const OutputSize& size = sizes[i];
            const QByteArray& file = files[std::size_t(i)];
            if (!(size.width >= 1.0 && size.width <= 10000.0)) {
                QVERIFY2(file.isEmpty(), qPrintable(size.nameText));
                continue;
            }
            const QImage alone = StretchImage(rendering, int(size.width), int(size.height), 1);
            QVERIFY2(file == ImageTools::EncodeImage(alone, formatIndex, 0.8),
                     qPrintable(size.nameText));
            QCOMPARE(Decoded(file).size(), QSize(int(size.width), int(size.height)));
        }
    }

    void nulEndsNoPath() {
        // The part before a NUL names an existing file, which must be neither found nor written.
        TestImages::ScratchFolder folder;
        const QString prefix = folder.filePath("Icon");
        QVERIFY(TestImages::WriteFile(prefix, "old"));
        const QString path = prefix + QChar(0) + "16.png";
        QVERIFY(!ItemExistsAt(path));
        const WriteResult result = WriteFileAtomically(path, NewContent);
        QVERIFY(!result);
        QVERIFY2(result.failure.contains("NUL"), qPrintable(result.failure));
        QCOMPARE(TestImages::ReadFile(prefix), QByteArray("old"));
        QCOMPARE(FolderListing::EntriesIn(folder.filePath(".")), QStringList{"Icon"});
    }

    void newFilesFollowTheUmask_data() {
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("mode");
        QTest::newRow("022") << 022 << 0644;
        QTest::newRow("077") << 077 << 0600;
        QTest::newRow("002") << 002 << 0664;
    }

    void newFilesFollowTheUmask() {
        QFETCH(int, umask);
        QFETCH(int, mode);
        TestImages::ScratchFolder folder;
        const QString path = folder.filePath("icon.png");
        const mode_t previous = ::umask(mode_t(umask));
        const WriteResult result = WriteFileAtomically(path, NewContent);
        ::umask(previous);
        QVERIFY(result);
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
    }

    // A child process sends itself the signal the moment its temporary file exists, before a
    // byte is written; it must end with 128 + the signal and leave nothing in the folder.
    void terminationRemovesTheOpenTemporary_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void terminationRemovesTheOpenTemporary() {
        QFETCH(int, signal);
        TestImages::ScratchFolder folder;
        const QString path = folder.filePath("icon.png");
        g_signal = signal;
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            RemoveTemporariesOnTermination();
            OwnTemporaryFiles::SetCreatedHookForTesting([] {
                ::kill(::getpid(), g_signal);
                for (;;)
                    ::pause();
            });
            [[maybe_unused]] const WriteResult written = WriteFileAtomically(path, NewContent);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 128 + signal);
        QCOMPARE(FolderListing::EntriesIn(folder.filePath(".")), QStringList());
    }

private:
    QString Path(const QString& name, int format) const {
        return m_folder.filePath(name + u'.' + GetFileExtension(format));
    }

    // The file's bytes as written by SaveImage; empty when it failed.
    QByteArray Saved(const QImage& image, int format, double quality) const {
        const QString path = Path(QStringLiteral("saved"), format);
        return ImageTools::SaveImage(image, path, format, quality) ? TestImages::ReadFile(path)
                                                                   : QByteArray();
    }

    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(SaveImageTest)
#include "tst_SaveImage.moc"
