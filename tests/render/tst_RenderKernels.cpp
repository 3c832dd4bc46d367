// The renderer's pixel loops run as baseline x86-64 code or as AVX2 code, chosen by the
// processor. Both must give the same pixels, and both must do what the compositing means:
// they are checked against the same operations in floating point.

#include "design/IconDesign.h"
#include "helpers/TestImages.h"
#include "render/ImageTools.h"
#include "render/RenderKernels.h"
#include "render/StretchImage.h"
#include "render/TileComposition.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <vector>

namespace {

// A random premultiplied pixel; a quarter of them clear and a quarter opaque, where the
// loops have their corner cases.
std::uint32_t RandomPixel(QRandomGenerator& random) {
    const std::uint32_t kind = random.bounded(4u);
    const std::uint32_t alpha = kind == 0 ? 0u : kind == 1 ? 255u : random.bounded(256u);
    auto channel = [&] { return random.bounded(alpha + 1); };
    return (alpha << 24) | (channel() << 16) | (channel() << 8) | channel();
}

// A random coverage, often none or full.
std::uint8_t RandomCoverage(QRandomGenerator& random) {
    const std::uint32_t kind = random.bounded(4u);
    return std::uint8_t(kind == 0 ? 0u : kind == 1 ? 255u : random.bounded(256u));
}

struct Rows {
    std::vector<std::uint32_t> target;
    std::vector<std::uint32_t> layer;
    std::vector<std::uint8_t> coverage;
    std::vector<std::uint8_t> clip;
};

// Odd lengths leave a tail after the last full vector. The rows come in stretches of up to
// 150 pixels, some with nothing to draw and some outside the clip, which the loops may pass
// over as a whole, and some with a layer but no shadow, which they must not.
Rows RandomRows(int count, quint32 seed) {
    QRandomGenerator random(seed);
    Rows rows;
    while (int(rows.target.size()) < count) {
        const int stretch =
            std::min(count - int(rows.target.size()), 1 + int(random.bounded(150u)));
        // Mixed, nothing drawn, outside the clip, no shadow.
        const std::uint32_t kind = random.bounded(4u);
        for (int i = 0; i < stretch; ++i) {
            rows.target.push_back(RandomPixel(random));
            rows.layer.push_back(kind == 1 ? 0u : RandomPixel(random));
            rows.coverage.push_back(kind == 1 || kind == 3 ? 0u : RandomCoverage(random));
            rows.clip.push_back(kind == 2 ? 0u : RandomCoverage(random));
        }
    }
    return rows;
}

double Channel(std::uint32_t pixel, int shift) {
    return double((pixel >> shift) & 0xffu);
}

const ShadeColor kShade = {200, 30, 90, 150}; // a translucent premultiplied colour

// Each channel (shift 24, 16, 8, 0) of `pixel` within `tolerance` of `expected(shift)`.
template <typename Expected>
QString Mismatch(std::uint32_t pixel, int tolerance, const Expected& expected) {
    for (int shift = 0; shift < 32; shift += 8) {
        const double want = expected(shift);
        if (std::abs(Channel(pixel, shift) - want) > tolerance)
            return QString::asprintf("channel at bit %d is %g, expected %g", shift,
                                     Channel(pixel, shift), want);
    }
    return {};
}

double ShadeChannel(int shift) {
    return Channel((kShade.alpha << 24) | (kShade.red << 16) | (kShade.green << 8) | kShade.blue,
                   shift);
}

// Every layer with its shadow; `textShift` moves the text sideways by that part of the canvas.
IconDesign EverythingShadowed(int size, double textShift) {
    IconDesign design;
    design.canvasWidth = float(size);
    design.canvasHeight = float(size);
    design.iconImage = TestImages::AsymmetricImage(size / 3, size / 4);
    design.iconShadow = true;
    design.iconRotation = 20;
    design.text = QStringLiteral("Ab");
    design.fontSize = float(size) / 3.0f;
    design.textHorizontalOffset = float(size * textShift);
    design.textStroke = true;
    design.textStrokeSize = 6;
    design.backgroundShadowBlur = 25;
    return design;
}

} // namespace

class RenderKernelsTest : public QObject {
    Q_OBJECT

private:
    QList<InstructionSet> m_sets;

private slots:
    void initTestCase() {
        m_sets = {InstructionSet::Baseline};
        if (InstructionSetSupported(InstructionSet::Avx2))
            m_sets.append(InstructionSet::Avx2);
    }

    void cleanup() { RenderKernels::Use(m_sets.last()); }

    void startsWithTheBestSupportedSet() { QCOMPARE(RenderKernels::Current(), m_sets.last()); }

    // Each set against the compositing in floating point, where every rounded stage is off by
    // at most half a step. A shadow beneath the target shows only through its transparent part:
    // two stages (visible part, shadow colour), one step. A layer over its shadow, cut by the
    // clip, over the target: three stages (visible shadow, clip, what the target keeps), two.
    void loopsComposeAsInFloatingPoint_data() {
        QTest::addColumn<bool>("beneath");
        QTest::addColumn<bool>("withLayer");
        QTest::newRow("shadow beneath the target") << true << false;
        QTest::newRow("layer over its shadow") << false << true;
        QTest::newRow("shadow only, beside the layer") << false << false;
    }
    void loopsComposeAsInFloatingPoint() {
        QFETCH(bool, beneath);
        QFETCH(bool, withLayer);
        const Rows rows = RandomRows(beneath ? 1001 : 997, beneath ? 7 : 11);
        for (const InstructionSet set : m_sets) {
            RenderKernels::Use(set);
            std::vector<std::uint32_t> pixels = rows.target;
            const int count = int(pixels.size());
            if (beneath)
                RenderKernels::Loops().shadeBeneath(pixels.data(), rows.coverage.data(), kShade,
                                                    count);
            else
                RenderKernels::Loops().composeOver(
                    pixels.data(), withLayer ? rows.layer.data() : nullptr, rows.coverage.data(),
                    rows.clip.data(), kShade, count);
            for (int i = 0; i < count; ++i) {
                const std::uint32_t target = rows.target[i];
                const std::uint32_t top = withLayer ? rows.layer[i] : 0u;
                const double through =
                    rows.coverage[i] / 255.0 * (1.0 - Channel(beneath ? target : top, 24) / 255.0);
                const double cut = beneath ? 1.0 : rows.clip[i] / 255.0;
                auto source = [&](int shift) {
                    return (Channel(top, shift) + ShadeChannel(shift) * through) * cut;
                };
                const double keep = beneath ? 1.0 : 1.0 - source(24) / 255.0;
                const QString mismatch = Mismatch(pixels[i], beneath ? 1 : 2, [&](int shift) {
                    return source(shift) + Channel(target, shift) * keep;
                });
                QVERIFY2(mismatch.isEmpty(),
                         qPrintable(QStringLiteral("pixel %1: ").arg(i) + mismatch));
                // Where nothing shows, the target keeps every bit: beneath an opaque pixel or
                // without shadow; outside the clip, or with nothing to draw.
                if (beneath ? target >> 24 == 255 || rows.coverage[i] == 0
                            : rows.clip[i] == 0 || (top == 0 && rows.coverage[i] == 0))
                    QCOMPARE(pixels[i], target);
            }
        }
    }

    // The composed platform pictures' glyphs laid over their ground, a row at a time.
    void overRowComposesAsInFloatingPoint() {
        const Rows rows = RandomRows(999, 5);
        std::vector<std::uint32_t> pixels = rows.target;
        TileComposition::OverRow(pixels.data(), rows.layer.data(), int(pixels.size()));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const double keep = 1.0 - Channel(rows.layer[i], 24) / 255.0;
            const QString mismatch = Mismatch(pixels[i], 1, [&](int shift) {
                return Channel(rows.layer[i], shift) + Channel(rows.target[i], shift) * keep;
            });
            QVERIFY2(mismatch.isEmpty(),
                     qPrintable(QStringLiteral("pixel %1: ").arg(i) + mismatch));
        }
    }

    void instructionSetsGiveTheSamePixels_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("textShift");
        QTest::newRow("small, odd") << 157 << 0.0;
        QTest::newRow("reduced shadows") << 700 << 0.0;
        // The text's layer reaches past the canvas, its shadow back into it.
        QTest::newRow("text running off the side") << 301 << 0.45;
    }
    void instructionSetsGiveTheSamePixels() {
        if (m_sets.size() < 2)
            QSKIP("this processor has no AVX2");
        QFETCH(int, size);
        QFETCH(double, textShift);
        const IconDesign design = EverythingShadowed(size, textShift);
        // The rendering, and the scaler's enlarging and shrinking of it.
        auto pictures = [&](InstructionSet set) {
            RenderKernels::Use(set);
            const QImage rendering = ImageTools::RenderIcon(design, 2);
            return QList<QImage>{rendering, StretchImage(rendering, size * 3 / 2, size + 7, 2),
                                 StretchImage(rendering, size / 3, size / 4, 2)};
        };
        const QList<QImage> baseline = pictures(InstructionSet::Baseline);
        const QList<QImage> avx2 = pictures(InstructionSet::Avx2);
        QCOMPARE(RenderKernels::Current(), InstructionSet::Avx2);
        for (int i = 0; i < baseline.size(); ++i)
            QCOMPARE(TestImages::FirstDifference(avx2[i], baseline[i], 0), QString());
    }
};

QTEST_MAIN(RenderKernelsTest)
#include "tst_RenderKernels.moc"
