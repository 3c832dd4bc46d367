#include "design/IconDesign.h"
#include "helpers/TestImages.h"
#include "render/ImageTools.h"
#include "render/LegibleGlyphs.h"
#include "render/StretchImage.h"

#include <QtTest>

using TestImages::Filled;
using TestImages::PixelAt;

namespace {

using Layers = RenderOptions::Layers;
using Treatment = RenderOptions::Treatment;

// The default look with everything that can differ between variants switched on: a white
// outline, background shadow, a shadowed asymmetric icon and shadowed text.
IconDesign RichDesign(int size) {
    IconDesign design;
    design.canvasWidth = float(size);
    design.canvasHeight = float(size);
    design.backgroundStrokeSize = float(size) / 25.0f;
    design.iconImage = TestImages::AsymmetricImage(size / 4, size / 5);
    design.iconShadow = true;
    design.iconHorizontalOffset = float(size) / 8.0f;
    design.text = QStringLiteral("Ab");
    design.fontSize = float(size) / 4.0f;
    design.textVerticalOffset = -float(size) / 4.0f;
    return design;
}

RenderOptions Options(Layers layers, bool fullBleed = false, double inset = 1.0,
                      Treatment treatment = Treatment::None) {
    RenderOptions options;
    options.layers = layers;
    options.fullBleed = fullBleed;
    options.insetFraction = inset;
    options.treatment = treatment;
    return options;
}

} // namespace

class RenderVariantsTest : public QObject {
    Q_OBJECT

private slots:
    // How the platform files compose the layers is checked on the files themselves; here, what
    // each layer holds.
    void layersHoldOnlyTheirOwnPart() {
        const IconDesign design = RichDesign(240);
        const QImage background = ImageTools::RenderIcon(design, Options(Layers::Background));
        const QImage glyphs = ImageTools::RenderIcon(design, Options(Layers::Glyphs));
        // The background has no glyph in it, the glyph layer is clear where only the background
        // shows and opaque where the icon is.
        IconDesign bare = design;
        bare.iconImage = {};
        bare.text.clear();
        QCOMPARE(background, ImageTools::RenderIcon(bare, Options(Layers::All, true)));
        QCOMPARE(PixelAt(glyphs, 2, 2).alpha(), 0);
        QCOMPARE(PixelAt(glyphs, 237, 2).alpha(), 0);
        QCOMPARE(PixelAt(glyphs, 120 + 30, 120).alpha(), 255); // the icon, moved right
        // A transparent design, full bleed, stands on white to the very edge.
        bare.transparentBackground = true;
        const QImage onWhite = ImageTools::RenderIcon(bare, Options(Layers::All, true));
        QCOMPARE(TestImages::FirstDifference(onWhite, Filled(240, 240, Qt::white), 0), QString());
    }

    void treatmentsChangeColourAndKeepAlpha_data() {
        QTest::addColumn<int>("treatment");
        QTest::newRow("grayscale") << int(Treatment::Grayscale);
        QTest::newRow("silhouette") << int(Treatment::Silhouette);
    }
    void treatmentsChangeColourAndKeepAlpha() {
        QFETCH(int, treatment);
        const IconDesign design = RichDesign(160);
        const QImage plain = ImageTools::RenderIcon(design, Options(Layers::Glyphs));
        const QImage treated = ImageTools::RenderIcon(
            design, Options(Layers::Glyphs, false, 1.0, Treatment(treatment)));
        int coloured = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 160; ++x) {
                const QRgb p = plain.pixel(x, y);
                const QRgb t = treated.pixel(x, y);
                QCOMPARE(qAlpha(t), qAlpha(p));
                QVERIFY(qRed(t) == qGreen(t) && qGreen(t) == qBlue(t));
                if (Treatment(treatment) == Treatment::Silhouette)
                    QCOMPARE(qRed(t), qAlpha(t)); // white at the pixel's own coverage
                coloured += qAlpha(p) == 255 && (qRed(p) != qBlue(p)) ? 1 : 0;
            }
        QVERIFY(coloured > 100); // the icon really was coloured before
        if (Treatment(treatment) == Treatment::Grayscale) {
            // Red, green and blue keep their order of lightness: green is the lightest.
            IconDesign solid = design;
            solid.text.clear();
            solid.iconShadow = false;
            solid.iconHorizontalOffset = 0.0f;
            for (QColor colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
                solid.iconImage = Filled(40, 40, colour);
                const QImage gray = ImageTools::RenderIcon(
                    solid, Options(Layers::Glyphs, false, 1.0, Treatment::Grayscale));
                const int level = qRed(gray.pixel(80, 80));
                const double expected = 255.0 * (0.2126 * colour.redF() + 0.7152 * colour.greenF() +
                                                 0.0722 * colour.blueF());
                QVERIFY2(std::abs(level - expected) <= 2.0, qPrintable(colour.name()));
            }
        }
    }

    // A smaller output or an inset draws the whole design, scaled, where scaling the
    // full-size picture would put it; the corners around an inset stay clear.
    // Among tens of thousands of colours at every opacity, each pixel takes LegibleOn of its
    // own straight colour and keeps its alpha.
    void legibleGlyphsMoveEachColourAsTheRuleDoes() {
        const QImage picture = TestImages::DetailedImage(300, 200, 5);
        const QColor dark = ColorContrast::DarkHomeScreen();
        const QImage legible = LegibleGlyphs::On(dark, picture);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb straight = qUnpremultiply(picture.pixel(x, y));
                const QRgb moved = ColorContrast::LegibleOn(QColor::fromRgb(straight | 0xff000000u),
                                                            dark, ColorContrast::LegibleRatio)
                                       .rgb();
                const QRgb expected =
                    qAlpha(straight) == 0
                        ? 0u
                        : qPremultiply((moved & 0x00ffffffu) | (straight & 0xff000000u));
                QCOMPARE(legible.pixel(x, y), expected);
            }
    }

    void smallerPicturesAreTheWholeDesignScaled_data() {
        QTest::addColumn<QSize>("output");
        QTest::addColumn<double>("inset");
        QTest::newRow("a quarter") << QSize(100, 100) << 1.0;
        QTest::newRow("odd size") << QSize(77, 77) << 1.0;
        QTest::newRow("inset by half") << QSize(400, 400) << 0.5;
        QTest::newRow("smaller and inset") << QSize(160, 160) << 0.75;
    }
    void smallerPicturesAreTheWholeDesignScaled() {
        QFETCH(QSize, output);
        QFETCH(double, inset);
        const IconDesign design = RichDesign(400);
        RenderOptions options = Options(Layers::All, false, inset);
        options.outputSize = output;
        const QImage picture = ImageTools::RenderIcon(design, options);
        QCOMPARE(picture.size(), output);
        const int side = qRound(output.width() * inset);
        const int margin = (output.width() - side) / 2;
        const QPoint corner(output.width() - 3, output.height() - 3);
        QVERIFY(inset == 1.0 || (!qAlpha(picture.pixel(2, 2)) && !qAlpha(picture.pixel(corner))));
        const QImage reference = StretchImage(ImageTools::RenderIcon(design), side, side);
        const double difference =
            TestImages::MeanAbsoluteDifference(picture.copy(margin, margin, side, side), reference);
        QVERIFY2(difference < 4.0, qPrintable(QString::number(difference)));
    }
};

QTEST_MAIN(RenderVariantsTest)
#include "tst_RenderVariants.moc"
