// The renderings the platforms take from a design: its layers apart, grayscale and silhouette
// treatments, glyphs made legible on a dark ground, smaller and inset pictures. Then the
// preview wall's looks built from them: the real sizes, each look's shape and colours, the
// tinted and dark looks, the favicon on its tab bars. Last the badge a build flavour draws
// over them: legible on its own plate in every look, a mark where text cannot be read.

#include "design/ColorContrast.h"
#include "design/IconDesign.h"
#include "helpers/TestImages.h"
#include "render/BadgeArt.h"
#include "render/ImageTools.h"
#include "render/LegibleGlyphs.h"
#include "render/MacIconGrid.h"
#include "render/PlatformLooks.h"
#include "render/StretchImage.h"

#include <QPainter>
#include <QtTest>

using TestImages::ColorsClose;
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

const QColor kGreen(0, 160, 0);
const QColor kWhite(255, 255, 255);

// A flat green square with a small white glyph right of the centre: its centre at three quarters of
// the width, half way down. No outline and no shadows, so every colour is known.
IconDesign GlyphRightOfCentre(int side) {
    IconDesign design;
    design.canvasWidth = float(side);
    design.canvasHeight = float(side);
    design.gradientStartColor = {0.0, 160.0 / 255.0, 0.0, 1.0};
    design.gradientEndColor = design.gradientStartColor;
    design.backgroundStroke = false;
    design.backgroundShadow = false;
    design.iconImage = TestImages::Filled(side / 8, side / 8, Qt::white);
    design.iconHorizontalOffset = float(side) / 4.0f;
    return design;
}

QList<PreviewTile> WallOf(const IconDesign& design) {
    return PlatformLooks::WallTiles(design, ImageTools::RenderIcon(design), 1);
}

PreviewTile TileCaptioned(const QList<PreviewTile>& tiles, const QString& caption) {
    for (const PreviewTile& tile : tiles)
        if (tile.caption == caption)
            return tile;
    return {};
}

// The pixel at a fraction of the icon area's width and height.
QColor IconPixel(const PreviewTile& tile, double fx, double fy) {
    const QRect& area = tile.iconArea;
    return PixelAt(tile.image, area.x() + int(fx * area.width()),
                   area.y() + int(fy * area.height()));
}

int HueDistance(int a, int b) {
    const int d = std::abs(a - b) % 360;
    return std::min(d, 360 - d);
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

    void treatmentsChangeColorAndKeepAlpha_data() {
        QTest::addColumn<int>("treatment");
        QTest::newRow("grayscale") << int(Treatment::Grayscale);
        QTest::newRow("silhouette") << int(Treatment::Silhouette);
    }
    void treatmentsChangeColorAndKeepAlpha() {
        QFETCH(int, treatment);
        const IconDesign design = RichDesign(160);
        const QImage plain = ImageTools::RenderIcon(design, Options(Layers::Glyphs));
        const QImage treated = ImageTools::RenderIcon(
            design, Options(Layers::Glyphs, false, 1.0, Treatment(treatment)));
        int colored = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 160; ++x) {
                const QRgb p = plain.pixel(x, y);
                const QRgb t = treated.pixel(x, y);
                QCOMPARE(qAlpha(t), qAlpha(p));
                QVERIFY(qRed(t) == qGreen(t) && qGreen(t) == qBlue(t));
                if (Treatment(treatment) == Treatment::Silhouette)
                    QCOMPARE(qRed(t), qAlpha(t)); // white at the pixel's own coverage
                colored += qAlpha(p) == 255 && (qRed(p) != qBlue(p)) ? 1 : 0;
            }
        QVERIFY(colored > 100); // the icon really was coloured before
        if (Treatment(treatment) == Treatment::Grayscale) {
            // Red, green and blue keep their order of lightness: green is the lightest.
            IconDesign solid = design;
            solid.text.clear();
            solid.iconShadow = false;
            solid.iconHorizontalOffset = 0.0f;
            for (QColor color : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
                solid.iconImage = Filled(40, 40, color);
                const QImage gray = ImageTools::RenderIcon(
                    solid, Options(Layers::Glyphs, false, 1.0, Treatment::Grayscale));
                const int level = qRed(gray.pixel(80, 80));
                const double expected = 255.0 * (0.2126 * color.redF() + 0.7152 * color.greenF() +
                                                 0.0722 * color.blueF());
                QVERIFY2(std::abs(level - expected) <= 2.0, qPrintable(color.name()));
            }
        }
    }

    // Among tens of thousands of colours at every opacity, each pixel takes LegibleOn of its
    // own straight colour and keeps its alpha.
    void legibleGlyphsMoveEachColorAsTheRuleDoes() {
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

    // A smaller output or an inset draws the whole design, scaled, where scaling the
    // full-size picture would put it; the corners around an inset stay clear.
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

    // What the wall shows at 16 to 128 pixels is exactly what the export writes at that size.
    void realSizesAreTheExportsScaling_data() {
        QTest::addColumn<QSize>("renderingSize");
        QTest::newRow("wide, odd") << QSize(301, 157);
        QTest::newRow("smaller than the tiles") << QSize(24, 24);
    }
    void realSizesAreTheExportsScaling() {
        QFETCH(QSize, renderingSize);
        const QImage rendering =
            TestImages::AsymmetricImage(renderingSize.width(), renderingSize.height());
        const QList<PreviewTile> tiles = PlatformLooks::RealSizes(rendering, 1);
        QCOMPARE(tiles.size(), 4);
        for (const PreviewTile& tile : tiles) {
            const int side = tile.image.width();
            QVERIFY2(tile.caption.contains(QString::number(side)), qPrintable(tile.caption));
            QCOMPARE(tile.iconArea, tile.image.rect());
            const QString difference =
                TestImages::FirstDifference(tile.image, StretchImage(rendering, side, side, 2), 0);
            QVERIFY2(difference.isEmpty(), qPrintable(tile.caption + ": " + difference));
        }
        QCOMPARE(tiles.front().image.size(), QSize(16, 16));
        QCOMPARE(tiles.back().image.size(), QSize(128, 128));
    }

    // Every look puts the glyph layer where the design does, in the look's colours, also when
    // the canvas is smaller than the looks and they are scaled up. Each launcher shape cuts the
    // icon where its launcher does: outside it the surroundings show (the backdrop is a
    // vertical gradient, so the pixel at the row's start has the same colour).
    void looksShapeAndColorTheIcon_data() {
        QTest::addColumn<int>("canvas");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("glyph");      // at the glyph's centre
        QTest::addColumn<QColor>("background"); // left of the icon's centre; invalid: not checked
        QTest::addColumn<int>("diagonal");      // is (16, 16) of 128 inside the shape; -1: no shape
        QTest::addColumn<double>("glyphX");     // the glyph's centre, a share of the icon's width
        const QColor tint = PlatformLooks::SampleTint();
        const QColor themeGlyph = PlatformLooks::ThemeForeground();
        const QColor themeBackground = PlatformLooks::ThemeBackground();
        for (const int canvas : {256, 48}) {
            const auto row = [canvas](const char* caption) -> QTestData& {
                return QTest::addRow("%d, %s", canvas, caption)
                       << canvas << QString::fromLatin1(caption);
            };
            row("iOS") << kWhite << kGreen << 1 << 0.75;
            row("iOS dark") << kWhite << QColor() << -1 << 0.75;
            row("iOS tinted") << tint << QColor() << -1 << 0.75;
            row("Android, circle") << kWhite << kGreen << 0 << 0.75;
            row("Android, squircle") << kWhite << kGreen << 1 << 0.75;
            row("Android, rounded square") << kWhite << kGreen << 1 << 0.75;
            row("Android, themed") << themeGlyph << themeBackground << 0 << 0.75;
            // The macOS grid puts the canvas into its body.
            row("macOS") << kWhite << kGreen << -1 << 0.5 + 0.25 * MacIconGrid::BodyFraction;
            row("Windows Start") << kWhite << kGreen << -1 << 0.75;
            // The splash screen shows the canvas at a quarter of its side.
            row("Splash screen") << kWhite << kGreen << -1 << 0.5 + 0.25 / 4;
        }
    }
    void looksShapeAndColorTheIcon() {
        QFETCH(int, canvas);
        QFETCH(QString, caption);
        QFETCH(QColor, glyph);
        QFETCH(QColor, background);
        QFETCH(int, diagonal);
        QFETCH(double, glyphX);
        const PreviewTile tile = TileCaptioned(WallOf(GlyphRightOfCentre(canvas)), caption);
        QVERIFY2(!tile.image.isNull(), qPrintable(caption));
        const QColor atGlyph = IconPixel(tile, glyphX, 0.5);
        QVERIFY2(ColorsClose(atGlyph, glyph, 10), qPrintable(atGlyph.name()));
        if (background.isValid()) {
            const QColor beside = IconPixel(tile, 0.35, 0.5);
            QVERIFY2(ColorsClose(beside, background, 10), qPrintable(beside.name()));
        }
        if (diagonal < 0)
            return;
        QCOMPARE(tile.iconArea.size(), QSize(128, 128));
        // The corner is cut by every shape, the top edge's middle by none.
        for (const auto& [point, inside] :
             {std::pair{QPoint(2, 2), false}, std::pair{QPoint(16, 16), diagonal == 1},
              std::pair{QPoint(64, 3), true}}) {
            const QPoint at = tile.iconArea.topLeft() + point;
            const QColor seen = PixelAt(tile.image, at.x(), at.y());
            QCOMPARE(seen.alpha(), 255);
            const QColor expected = inside ? background : PixelAt(tile.image, 0, at.y());
            QVERIFY2(ColorsClose(seen, expected, inside ? 8 : 3),
                     qPrintable(seen.name() + " at x " + QString::number(point.x())));
        }
    }

    // A coloured glyph in the tinted look has the tint's hue, not its own; the dark look keeps
    // the own colour of a glyph legible on it.
    void tintReplacesTheGlyphsHue() {
        IconDesign design = GlyphRightOfCentre(256);
        design.iconImage = TestImages::Filled(64, 64, QColor(120, 190, 255));
        const QList<PreviewTile> tiles = WallOf(design);
        const QColor tinted =
            IconPixel(TileCaptioned(tiles, QStringLiteral("iOS tinted")), 0.75, 0.5);
        QVERIFY2(tinted.hsvSaturation() > 100, qPrintable(tinted.name()));
        QVERIFY2(HueDistance(tinted.hsvHue(), PlatformLooks::SampleTint().hsvHue()) <= 6,
                 qPrintable(tinted.name()));
        const QColor dark = IconPixel(TileCaptioned(tiles, QStringLiteral("iOS dark")), 0.75, 0.5);
        QVERIFY2(ColorsClose(dark, QColor(120, 190, 255), 6), qPrintable(dark.name()));
    }

    // The favicon is the 16-pixel export on the tab of each tab bar, the tab showing through
    // its transparent corners.
    void faviconSitsOnBothTabBars() {
        const IconDesign design = GlyphRightOfCentre(256);
        const QImage rendering = ImageTools::RenderIcon(design);
        const QImage favicon = StretchImage(rendering, 16, 16, 1);
        const QList<PreviewTile> tiles = PlatformLooks::WallTiles(design, rendering, 1);
        QList<QColor> barColors;
        for (const char* caption : {"Browser tab, light", "Browser tab, dark"}) {
            const PreviewTile tile = TileCaptioned(tiles, QString::fromLatin1(caption));
            QCOMPARE(tile.iconArea.size(), QSize(16, 16));
            const QPoint besideIcon = tile.iconArea.topLeft() - QPoint(4, 0);
            QImage expected = TestImages::Filled(16, 16, tile.image.pixelColor(besideIcon));
            QPainter(&expected).drawImage(0, 0, favicon);
            QCOMPARE(TestImages::FirstDifference(tile.image.copy(tile.iconArea), expected, 1),
                     QString());
            barColors.append(PixelAt(tile.image, 0, 0));
        }
        QVERIFY(barColors[0].lightness() > 160);
        QVERIFY(barColors[1].lightness() < 90);
    }

    // The badge drawn in each look over a picture of another colour, in colours a flavour may
    // choose: its text, where the glyphs cover whole pixels, keeps 4.5:1 against the plate
    // beside it. The dark look's plate is darker than the colour itself, the tinted look's a
    // gray, and the silhouette's text is cut out of an opaque plate.
    void badgeReadsOnItsOwnPlate_data() {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("look");
        const QColor colors[] = {Badge::DefaultColor(), QColor("#ffeb3b"), QColor("#ffffff"),
                                 QColor("#000000"),     QColor("#1a237e"), QColor("#777777")};
        const char* const looks[] = {"colour", "dark", "gray", "silhouette"};
        for (const QColor& color : colors)
            for (int look = 0; look < 4; ++look)
                QTest::addRow("%s %s", qPrintable(color.name()), looks[look]) << color << look;
    }

    void badgeReadsOnItsOwnPlate() {
        QFETCH(QColor, color);
        QFETCH(int, look);
        const BadgeArt badge(Badge{.text = "BETA 2.3.1", .color = color});
        const BadgeArea area{QRectF(0, 0, 256, 256), 0.0};
        QImage picture = TestImages::Filled(256, 256, QColor(40, 160, 90));
        badge.Draw(picture, area, BadgeLook(look));
        const BadgeShapes shapes = badge.Layout(area, BadgeLook(look));
        std::optional<QColor> text;
        std::optional<QColor> plate;
        const QRect around = shapes.plate.boundingRect().toAlignedRect() & picture.rect();
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x) {
                const QRectF pixel(x, y, 1, 1);
                if (!text && shapes.text.contains(pixel))
                    text = picture.pixelColor(x, y);
                if (!plate && shapes.plate.contains(pixel.adjusted(-1, -1, 1, 1)) &&
                    !shapes.text.intersects(pixel.adjusted(-1, -1, 1, 1)))
                    plate = picture.pixelColor(x, y);
            }
        QVERIFY(text && plate);
        if (BadgeLook(look) == BadgeLook::Silhouette) {
            QCOMPARE(text->alpha(), 0);
            QCOMPARE(*plate, QColor(Qt::white));
            return;
        }
        QCOMPARE(text->alpha(), 255);
        QCOMPARE(plate->alpha(), 255);
        const double ratio = ColorContrast::Ratio(*text, *plate);
        QVERIFY2(
            ratio >= ColorContrast::LegibleRatio,
            qPrintable(QStringLiteral("%1 on %2: %3").arg(text->name(), plate->name()).arg(ratio)));
        if (BadgeLook(look) == BadgeLook::Dark)
            QVERIFY2(ColorContrast::RelativeLuminance(*plate) <
                             ColorContrast::RelativeLuminance(color) ||
                         ColorContrast::RelativeLuminance(color) < 0.05,
                     qPrintable(plate->name()));
        if (BadgeLook(look) == BadgeLook::Gray)
            QVERIFY2(plate->red() == plate->green() && plate->green() == plate->blue(),
                     qPrintable(plate->name()));
    }

    // The wall shows the badge the export will draw: on every look but the splash screen's,
    // the Android looks' inside the safe zone every launcher shape keeps.
    void wallShowsTheBadge() {
        const IconDesign design = GlyphRightOfCentre(256);
        const QImage rendering = ImageTools::RenderIcon(design);
        const QList<PreviewTile> plain = PlatformLooks::WallTiles(design, rendering, 1);
        const QList<PreviewTile> badged =
            PlatformLooks::WallTiles(design, rendering, 1, Badge{.text = "BETA"});
        QCOMPARE(badged.size(), plain.size());
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const PreviewTile& tile = badged[i];
            int changed = 0;
            for (int y = 0; y < tile.image.height(); ++y)
                for (int x = 0; x < tile.image.width(); ++x) {
                    if (ColorsClose(PixelAt(tile.image, x, y), PixelAt(plain[i].image, x, y), 24))
                        continue;
                    ++changed;
                    if (!tile.safeZone.isEmpty()) {
                        const QPointF d = QPointF(x + 0.5, y + 0.5) - tile.safeZone.center();
                        QVERIFY2(std::hypot(d.x(), d.y()) <= tile.safeZone.width() / 2 + 0.75,
                                 qPrintable(tile.caption));
                    }
                }
            QVERIFY2((changed == 0) == tile.caption.startsWith("Splash"), qPrintable(tile.caption));
        }
    }

    // Under 32 pixels the badge is a solid mark in a corner of its area, with no text; from 32
    // pixels on it is a plate with its text.
    void badgeBecomesAMarkWhenSmall_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("corner"); // -1 or 1 for each axis
        QTest::newRow("16 bottom") << 16 << int(Badge::Position::Bottom) << QPoint(1, 1);
        QTest::newRow("24 top-left") << 24 << int(Badge::Position::TopLeft) << QPoint(-1, -1);
        QTest::newRow("24 bottom-left") << 24 << int(Badge::Position::BottomLeft) << QPoint(-1, 1);
        QTest::newRow("16 top") << 16 << int(Badge::Position::Top) << QPoint(1, -1);
        QTest::newRow("32 bottom") << 32 << int(Badge::Position::Bottom) << QPoint();
    }

    void badgeBecomesAMarkWhenSmall() {
        QFETCH(int, pixels);
        QFETCH(int, position);
        QFETCH(QPoint, corner);
        const BadgeArt badge(Badge{.text = "DEV", .position = Badge::Position(position)});
        const BadgeShapes shapes =
            badge.Layout({QRectF(0, 0, pixels, pixels), 0.0}, BadgeLook::Color);
        QCOMPARE(shapes.text.isEmpty(), !corner.isNull());
        if (corner.isNull())
            return;
        const QPointF offset = shapes.plate.boundingRect().center() - QPointF(pixels, pixels) / 2;
        QVERIFY(offset.x() * corner.x() > pixels / 5.0);
        QVERIFY(offset.y() * corner.y() > pixels / 5.0);
    }
};

QTEST_MAIN(RenderVariantsTest)
#include "tst_RenderVariants.moc"
