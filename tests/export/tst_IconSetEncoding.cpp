// An icon set is encoded on all cores, largest file first: every file must still come out as
// encoding its size on its own would give, and in the place of its size in the list.

#include "export/IconSetEncoding.h"
#include "export/OutputFormat.h"
#include "export/SaveImage.h"
#include "helpers/TestImages.h"
#include "imageio/Jpeg2000Decoder.h"
#include "render/StretchImage.h"

#include <QtTest>

namespace {

QImage Decoded(const QByteArray& file) {
    if (Jpeg2000Decoder::Recognises(file))
        return Jpeg2000Decoder::Decode(file, {10000, 10000 * 10000, qint64(1) << 32, 4096});
    return QImage::fromData(file);
}

} // namespace

class IconSetEncodingTest : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(IconSetEncodingTest)
#include "tst_IconSetEncoding.moc"
