// The export's pixel loops run as baseline x86-64 code or as AVX2 code, chosen by the
// processor; both must give the same bytes, or a file would depend on the machine.

#include "export/PngEncoder.h"
#include "helpers/TestImages.h"
#include "render/StretchImage.h"
#include "support/PixelKernels.h"

#include <QtTest>

namespace {

using PixelKernels::InstructionSet;

// The scaled picture and its PNG files with and without alpha, made with one instruction set.
struct Results {
    QImage scaled;
    QByteArray png;
    QByteArray pngWithoutAlpha;
};

Results MadeWith(InstructionSet set, const QImage& picture, QSize size) {
    PixelKernels::Use(set);
    return {StretchImage(picture, size.width(), size.height(), 1), PngEncoder::Encode(picture, 2),
            PngEncoder::Encode(picture, 2, PngEncoder::Channels::Rgb)};
}

} // namespace

class PixelKernelsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        PixelKernels::Use(PixelKernels::Supported(InstructionSet::Avx2) ? InstructionSet::Avx2
                                                                        : InstructionSet::Baseline);
    }

    void startsWithTheBestSupportedSet() {
        QCOMPARE(PixelKernels::Current(), PixelKernels::Supported(InstructionSet::Avx2)
                                              ? InstructionSet::Avx2
                                              : InstructionSet::Baseline);
        QVERIFY(PixelKernels::Supported(InstructionSet::Baseline));
    }

    void instructionSetsGiveTheSameBytes_data() {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QSize>("size");
        // Odd widths leave a tail after the last full vector.
        QTest::newRow("shrunk") << TestImages::DetailedImage(1037, 771) << QSize(87, 61);
        QTest::newRow("enlarged") << TestImages::DetailedImage(61, 37, 2) << QSize(333, 211);
        QTest::newRow("large, streamed")
            << TestImages::DetailedImage(3001, 2803, 4) << QSize(1024, 1024);
    }

    void instructionSetsGiveTheSameBytes() {
        if (!PixelKernels::Supported(InstructionSet::Avx2))
            QSKIP("this processor has no AVX2");
        QFETCH(QImage, picture);
        QFETCH(QSize, size);
        const Results baseline = MadeWith(InstructionSet::Baseline, picture, size);
        const Results avx2 = MadeWith(InstructionSet::Avx2, picture, size);
        QCOMPARE(PixelKernels::Current(), InstructionSet::Avx2);
        QVERIFY(!baseline.png.isEmpty());
        QVERIFY(baseline.png == avx2.png);
        QVERIFY(baseline.pngWithoutAlpha == avx2.pngWithoutAlpha);
        QCOMPARE(TestImages::FirstDifference(avx2.scaled, baseline.scaled, 0), QString());
    }
};

QTEST_GUILESS_MAIN(PixelKernelsTest)
#include "tst_PixelKernels.moc"
