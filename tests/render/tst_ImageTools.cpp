// The renderer: the geometry of every layer, its colours and edges, values no control would
// give. It keeps its last prepared icon and its last outlined background for the next
// rendering; what it hands out must always answer the design as it is now: a kept result that
// outlives a change would draw an earlier design.

#include "design/DesignSettings.h"
#include "design/IconDesign.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "render/ImageTools.h"
#include "render/KeptLayer.h"

#include <QPainter>
#include <QPainterPath>
#include <QtTest>
#include <algorithm>

using TestDesigns::Change;
using TestDesigns::Plain;
using TestImages::ColorsClose;
using TestImages::Count;
using TestImages::Filled;
using TestImages::PixelAt;

namespace {

const auto IsWhite = [](const QColor& c) {
    return c.alpha() > 240 && std::min({c.red(), c.green(), c.blue()}) > 230;
};
const auto IsClear = [](const QColor& c) { return c.alpha() < 8; };
const auto IsOpaque = [](const QColor& c) { return c.alpha() == 255; };
const auto IsYellow = [](const QColor& c) {
    return c.red() > 200 && c.green() > 200 && c.blue() < 60;
};

bool All(bool (*test)(const QColor&), const QImage& image, std::initializer_list<QPoint> points) {
    return std::all_of(points.begin(), points.end(),
                       [&](QPoint p) { return test(PixelAt(image, p.x(), p.y())); });
}

// How many steps from `start` (moving by `step`) until the predicate holds; -1 if never.
template <typename Predicate>
int StepsUntil(const QImage& image, QPoint start, QPoint step, Predicate predicate) {
    int steps = 0;
    for (QPoint p = start; image.rect().contains(p); p += step, ++steps)
        if (predicate(PixelAt(image, p.x(), p.y())))
            return steps;
    return -1;
}

// The alpha-weighted mean position (of pixel centres) of the pixels whose colour the predicate
// selects; NaN when there are none.
QPointF Centroid(const QImage& image, bool (*selects)(const QColor&)) {
    double x = 0.0, y = 0.0, weight = 0.0;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column) {
            const QColor c = PixelAt(image, column, row);
            if (c.alpha() == 0 || !selects(c))
                continue;
            x += (column + 0.5) * c.alpha();
            y += (row + 0.5) * c.alpha();
            weight += c.alpha();
        }
    return weight > 0.0 ? QPointF(x / weight, y / weight) : QPointF(qQNaN(), qQNaN());
}

// Empty when the point lies within `tolerance` of where it is expected on both axes.
QString Misplaced(QPointF actual, QPointF expected, double tolerance) {
    QString text;
    const QPointF off = actual - expected;
    if (std::abs(off.x()) > tolerance || std::abs(off.y()) > tolerance)
        QDebug(&text) << actual << "expected" << expected;
    return text;
}

const Rgba kYellow{1.0, 1.0, 0.0, 1.0};

// Every layer with a shadow, so that both of them are painted into their own pictures; the
// icon tinted, so that a change of tint has a kept tinted icon to differ from.
IconDesign Shadowed() {
    IconDesign design;
    design.canvasWidth = 200;
    design.canvasHeight = 200;
    design.iconImage = TestImages::AsymmetricImage(80, 60);
    design.useImageColors = false;
    design.iconColor = {0.2, 0.6, 0.9, 1.0};
    design.iconShadow = true;
    design.text = QStringLiteral("Ab");
    design.fontSize = 70;
    design.textStroke = true;
    return design;
}

// The design rendered with nothing of it kept: another design is rendered just before.
QImage Fresh(const IconDesign& design, const RenderOptions& options = {}) {
    IconDesign unrelated = design;
    unrelated.text = QStringLiteral("Zz");
    unrelated.iconImage = TestImages::AsymmetricImage(30, 90);
    ImageTools::RenderIcon(unrelated, options);
    return ImageTools::RenderIcon(design, options);
}

} // namespace

class ImageToolsTest : public QObject {
    Q_OBJECT

private slots:
    // The renderer's own defaults are a freshly reset editor's: the same picture, every layer
    // drawn (with a text and its outline, a tinted image and its shadow on, so each layer's
    // defaults show).
    void renderersDefaultsAreTheEditorsDefaults() {
        DesignSettings settings;
        settings.text = QStringLiteral("Ab");
        settings.iconShadow = settings.textStroke = 1;
        settings.useImageColors = 0;
        const QImage image = TestImages::AsymmetricImage(300, 200);
        IconDesign design;
        design.text = settings.text;
        design.iconShadow = design.textStroke = true;
        design.useImageColors = false;
        design.iconImage = image;
        QCOMPARE(
            TestImages::FirstDifference(ImageTools::RenderIcon(design),
                                        ImageTools::RenderIcon(MakeIconDesign(settings, image)), 0),
            QString());
    }

    void defaultGeometryMatchesTheScaledCanvas() {
        // Defaults: 1024 canvas, outline 40, shadow on. The background is 879.91 units wide,
        // 72.04 from each edge, with a 17.19-unit visible outline outside it.
        const QImage picture = ImageTools::RenderIcon(IconDesign{});
        auto isBlue = [](const QColor& c) { return c.alpha() > 240 && c.blue() > c.red() + 60; };
        // Inwards from the left, right, top and bottom edge along the middle row or column.
        const QPoint walks[4][2] = {
            {{0, 512}, {1, 0}}, {{1023, 512}, {-1, 0}}, {{512, 0}, {0, 1}}, {{512, 1023}, {0, -1}}};
        int inside[4];
        for (int i = 0; i < 4; ++i) {
            const int outline = StepsUntil(picture, walks[i][0], walks[i][1], IsWhite);
            inside[i] = StepsUntil(picture, walks[i][0], walks[i][1], isBlue);
            // Pixel x covers [x, x + 1): an edge at 72.04 makes pixel 72 the first inside.
            QVERIFY2(std::abs(inside[i] - 72.04) <= 1.0 &&
                         std::abs((inside[i] - outline) - 17.19) <= 1.0,
                     qPrintable(QStringLiteral("%1 %2").arg(outline).arg(inside[i])));
        }
        QVERIFY(std::abs((1024 - inside[0] - inside[1]) - 879.91) <= 1.5);
        QVERIFY(std::abs((1024 - inside[2] - inside[3]) - 879.91) <= 1.5);
        // The drop shadow falls below (angle 270), so the bottom margin is darker than the top.
        QVERIFY(PixelAt(picture, 512, 1024 - 50).alpha() > PixelAt(picture, 512, 50).alpha());
    }

    void backgroundIsAGradientWithCornersFromTheLongerSide() {
        IconDesign design = Plain(320, 200);
        design.transparentBackground = false;
        design.gradientStartColor = {1.0, 0.0, 0.0, 1.0};
        design.gradientEndColor = {0.0, 0.0, 1.0, 1.0};
        const QImage square = ImageTools::RenderIcon(design);
        QVERIFY(ColorsClose(PixelAt(square, 160, 0), Qt::red, 15));
        QVERIFY(ColorsClose(PixelAt(square, 160, 199), Qt::blue, 15));
        QVERIFY(ColorsClose(PixelAt(square, 160, 100), QColor(128, 0, 128), 10));
        QVERIFY(All(IsOpaque, square, {{0, 0}, {319, 0}, {0, 199}, {319, 199}}));
        // Curvature 0.5: a radius of 320 x 0.5 x 0.5 = 80 units, from the longer side. The
        // points 20 units in from each corner lie outside that corner's arc (they would lie
        // inside a radius of 50), the points 30 units in lie inside it.
        design.cornerCurvature = 0.5f;
        const QImage rounded = ImageTools::RenderIcon(design);
        QVERIFY(All(IsClear, rounded, {{20, 20}, {299, 20}, {20, 179}, {299, 179}}));
        QVERIFY(All(IsOpaque, rounded, {{30, 30}, {289, 30}, {30, 169}, {289, 169}}));
    }

    void transparentBackgroundDropsOutlineAndShadowButKeepsTheClip() {
        IconDesign design; // outline and shadow stay switched on
        design.transparentBackground = true;
        design.canvasWidth = design.canvasHeight = 400;
        design.iconImage = Filled(400, 400, Qt::red);
        design.text = QStringLiteral("W");
        design.fontSize = 2000; // glyphs far larger than the canvas: only the clip limits them
        design.textColor = {0.0, 1.0, 0.0, 1.0};
        const QImage picture = ImageTools::RenderIcon(design);
        // Not enlarged: the icon reaches the canvas edges at the middle of each side, and no
        // white outline or dark shadow appears anywhere along the middle row.
        for (int x = 0; x < 400; ++x) {
            const QColor c = PixelAt(picture, x, 200);
            QVERIFY2(c.alpha() == 255 && !IsWhite(c), qPrintable(QString::number(x)));
        }
        // The rounded corners (radius 80 units) still cut the icon and the text.
        QVERIFY(All(IsClear, picture, {{0, 0}, {399, 399}, {3, 396}}));
        // Without icon and text nothing at all is drawn: no gradient, outline or shadow.
        design.iconImage = QImage();
        design.text.clear();
        QCOMPARE(ImageTools::RenderIcon(design), Filled(400, 400, Qt::transparent));
    }

    void tintMakesASilhouetteWithTheImagesOwnAlpha() {
        QImage icon = Filled(100, 100, Qt::transparent);
        QPainter(&icon).fillRect(0, 0, 50, 100, Qt::red);
        QPainter(&icon).fillRect(50, 0, 25, 100, QColor(0, 0, 255, 128));
        IconDesign design = Plain(100, 100);
        design.iconImage = icon;
        design.useImageColors = false;
        design.iconColor = {0.0, 1.0, 0.0, 1.0};
        QVERIFY(ColorsClose(PixelAt(ImageTools::RenderIcon(design), 62, 50), QColor(0, 255, 0, 128),
                            3));
        // A translucent tint changes the colour, never the alpha: the icon's own stays.
        design.iconColor = {0.0, 1.0, 0.0, 0.5};
        const QImage halfTinted = ImageTools::RenderIcon(design);
        const QColor overRed = PixelAt(halfTinted, 20, 50);
        QCOMPARE(overRed.alpha(), 255);
        QVERIFY(overRed.green() > 100 && overRed.red() > 100);
        QVERIFY(std::abs(PixelAt(halfTinted, 62, 50).alpha() - 128) <= 3);
        QVERIFY(IsClear(PixelAt(halfTinted, 90, 50)));
    }

    void quarterTurnIsSqueezedBackIntoTheImagesBox() {
        // Green marks the top-left corner; a counter-clockwise quarter turn takes it to the
        // bottom-left. A turned image gets the bounding box of the turn.
        const QImage turned = ImageTools::RotateImage(TestImages::AsymmetricImage(200, 100), 90);
        QCOMPARE(turned.size(), QSize(100, 200));
        QVERIFY(ColorsClose(PixelAt(turned, 5, 195), Qt::green, 10));
        QCOMPARE(ImageTools::RotateImage(Filled(100, 100, Qt::red), 45).size(), QSize(141, 141));

        IconDesign design = Plain(400, 400);
        design.iconImage = TestImages::AsymmetricImage(200, 100);
        design.iconRotation = 90;
        const QImage picture = ImageTools::RenderIcon(design);
        // The icon box stays 200 x 100, centred: x 100..300, y 150..250.
        QVERIFY(All(IsOpaque, picture, {{102, 200}, {297, 200}, {200, 152}, {200, 247}}));
        QVERIFY(All(IsClear, picture, {{97, 200}, {302, 200}, {200, 147}, {200, 253}}));
        QVERIFY(ColorsClose(PixelAt(picture, 104, 246), Qt::green, 10));
    }

    void iconShadowDoesNotReachTheText() {
        IconDesign withText = Plain(400, 400, "XX", 120);
        withText.iconImage = Filled(60, 60, Qt::white);
        withText.iconShadow = true;
        withText.iconShadowBlur = 0; // 20 units down and to the right, as by default
        withText.textVerticalOffset = -20;
        IconDesign withoutText = withText;
        withoutText.text.clear();
        const QImage a = ImageTools::RenderIcon(withText);
        const QImage b = ImageTools::RenderIcon(withoutText);
        // The icon casts its shadow: below-right of the 60-unit square centred at 200, 200.
        QVERIFY(ColorsClose(PixelAt(b, 225, 230), Qt::black, 30));
        // Everything the text adds is text colour: no dark pixel of a shadow anywhere.
        const auto added = [&](int x, int y) {
            return a.pixel(x, y) != b.pixel(x, y) && PixelAt(a, x, y).alpha() >= 8;
        };
        const auto dark = [&](int x, int y) {
            const QColor c = PixelAt(a, x, y);
            return added(x, y) && std::min({c.red(), c.green(), c.blue()}) <= 200;
        };
        QVERIFY(Count(a, added) > 500);
        QCOMPARE(Count(a, dark), 0);
    }

    void layersLandWhereOffsetsAndAnglesPutThem_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPointF>("offset"); // of the icon and of the text, y up
        QTest::addColumn<double>("angle");   // of every shadow
        QTest::newRow("wide, up and right") << QSize(360, 240) << QPointF(50, 30) << 30.0;
        QTest::newRow("wide, down and left") << QSize(360, 240) << QPointF(-50, -30) << 210.0;
        QTest::newRow("tall, up and left") << QSize(240, 360) << QPointF(-40, 60) << 150.0;
    }
    void layersLandWhereOffsetsAndAnglesPutThem() {
        QFETCH(QSize, size);
        QFETCH(QPointF, offset);
        QFETCH(double, angle);
        const int width = size.width(), height = size.height();
        const double radians = angle * M_PI / 180.0;
        // A shadow at distance d and angle a lies (d cos a, d sin a) away, y up.
        const auto shadowShift = [&](double distance) {
            return QPointF(distance * std::cos(radians), -distance * std::sin(radians));
        };

        // The icon: centred, moved by its offsets; its shadow, far enough not to touch it.
        IconDesign design = Plain(width, height);
        design.iconImage = TestImages::AsymmetricImage(30, 20);
        design.iconHorizontalOffset = float(offset.x());
        design.iconVerticalOffset = float(offset.y());
        design.iconShadow = true;
        design.iconShadowColor = kYellow;
        design.iconShadowBlur = 0;
        design.iconShadowOffset = 40;
        design.iconShadowAngle = angle;
        const QImage icon = ImageTools::RenderIcon(design);
        const QPointF iconAt = Centroid(icon, [](const QColor& c) { return !IsYellow(c); });
        const QPointF iconExpected(width / 2.0 + offset.x(), height / 2.0 - offset.y());
        QCOMPARE(Misplaced(iconAt, iconExpected, 1.0), QString());
        const QPointF iconShadowAt = Centroid(icon, IsYellow);
        QCOMPARE(Misplaced(iconShadowAt, iconAt + shadowShift(40), 1.5), QString());

        // The text: a symmetric glyph, centred across the canvas and moved by its offsets.
        design = Plain(width, height, QStringLiteral("H"), 40);
        design.fontIndex = 1;
        design.textShadow = true;
        design.textShadowColor = kYellow;
        design.textShadowBlur = 0;
        design.textShadowOffset = 60;
        design.textShadowAngle = angle;
        design.textHorizontalOffset = float(offset.x());
        design.textVerticalOffset = float(-height / 2.0);
        const QPointF unmoved = Centroid(ImageTools::RenderIcon(design), IsWhite);
        design.textVerticalOffset += float(offset.y());
        const QImage text = ImageTools::RenderIcon(design);
        const QPointF textAt = Centroid(text, IsWhite);
        const QPointF textExpected(width / 2.0 + offset.x(), unmoved.y() - offset.y());
        QCOMPARE(Misplaced(textAt, textExpected, 1.5), QString());
        const QPointF textShadowAt = Centroid(text, IsYellow);
        QCOMPARE(Misplaced(textShadowAt, textAt + shadowShift(60), 1.5), QString());

        // The background's shadow: the canvas grows by 12 % for it, and what shows of the
        // background and its shadow together covers both rectangles, and nothing else (the
        // shadow's edge, moved by a fraction of a pixel, may soften over two pixels).
        design = Plain(width, height);
        design.transparentBackground = false;
        design.backgroundShadow = true;
        design.backgroundShadowColor = kYellow;
        design.backgroundShadowBlur = 0;
        design.backgroundShadowOffset = 30;
        design.backgroundShadowAngle = angle;
        const QImage background = ImageTools::RenderIcon(design);
        const QRectF canvas(width * 0.06 / 1.12, height * 0.06 / 1.12, width / 1.12, height / 1.12);
        const QRectF shadow = canvas.translated(shadowShift(30 / 1.12));
        const auto covered = [&](int x, int y, double grow) {
            const QPointF centre(x + 0.5, y + 0.5);
            return canvas.adjusted(-grow, -grow, grow, grow).contains(centre) ||
                   shadow.adjusted(-grow, -grow, grow, grow).contains(centre);
        };
        const int inside = Count(background, [&](int x, int y) {
            return covered(x, y, -2.0) && PixelAt(background, x, y).alpha() < 250;
        });
        const int outside = Count(background, [&](int x, int y) {
            return !covered(x, y, 2.0) && PixelAt(background, x, y).alpha() > 5;
        });
        QCOMPARE(inside, 0);
        QCOMPARE(outside, 0);
    }

    void outlineIsSolidOutsideTheBackgroundAtAnyWidth_data() {
        QTest::addColumn<int>("canvas");
        QTest::addColumn<float>("outline");
        QTest::addColumn<float>("curvature");
        QTest::newRow("circle in an outline three times its size") << 64 << 200.0f << 1.0f;
        QTest::newRow("round corners, wide outline") << 50 << 200.0f << 0.5f;
        QTest::newRow("small corners, wide outline") << 20 << 200.0f << 0.2f;
        QTest::newRow("square corners") << 90 << 30.0f << 0.0f;
        QTest::newRow("round corners, narrow outline") << 120 << 10.0f << 0.3f;
    }
    void outlineIsSolidOutsideTheBackgroundAtAnyWidth() {
        QFETCH(int, canvas);
        QFETCH(float, outline);
        QFETCH(float, curvature);
        IconDesign design = Plain(canvas, canvas);
        design.transparentBackground = false;
        design.backgroundStroke = true;
        design.backgroundStrokeSize = outline;
        design.cornerCurvature = curvature;
        const QImage picture = ImageTools::RenderIcon(design);
        // The background grown by half the outline on every side, its corner radius grown as
        // much, fills the canvas (grown by the outline, then scaled back to the picture).
        const double scale = canvas / (canvas + double(outline));
        const double radius = std::min(canvas * curvature * 0.5, canvas * 0.5);
        const double outerRadius = radius > 0.0 ? (radius + outline * 0.5) * scale : 0.0;
        const auto outer = [&](double grow) {
            QPainterPath shape;
            shape.addRoundedRect(QRectF(-grow, -grow, canvas + 2 * grow, canvas + 2 * grow),
                                 std::max(0.0, outerRadius + grow),
                                 std::max(0.0, outerRadius + grow));
            return shape;
        };
        const QPainterPath solid = outer(-1.0);
        const QPainterPath reach = outer(1.0);
        const int holes = Count(picture, [&](int x, int y) {
            return solid.contains(QPointF(x + 0.5, y + 0.5)) &&
                   PixelAt(picture, x, y).alpha() < 255;
        });
        const int strays = Count(picture, [&](int x, int y) {
            return !reach.contains(QPointF(x + 0.5, y + 0.5)) && PixelAt(picture, x, y).alpha() > 0;
        });
        QCOMPARE(holes, 0);
        QCOMPARE(strays, 0);
        // Halfway between the picture's edge and the background's: the outline colour.
        const int band = int(outline * 0.25 * scale);
        QVERIFY(IsWhite(PixelAt(picture, band, canvas / 2)));
        QVERIFY(IsWhite(PixelAt(picture, canvas / 2, canvas - 1 - band)));
        QVERIFY(!IsWhite(PixelAt(picture, canvas / 2, canvas / 2)));
    }

    void edgesFallBetweenPixelsWhereTheGeometryPutsThem() {
        const auto alphaNear = [](const QImage& picture, std::initializer_list<QPoint> points,
                                  int alpha) {
            for (const QPoint p : points)
                QVERIFY2(std::abs(PixelAt(picture, p.x(), p.y()).alpha() - alpha) <= 8,
                         qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
        };
        // An invisible background shadow still grows the canvas by 12 %: the background spans
        // 500 x 0.06 / 1.12 = 26.79 to 473.21, so the edge pixels are 21 % covered, once.
        IconDesign design = Plain(500, 500);
        design.transparentBackground = false;
        design.gradientStartColor = design.gradientEndColor = {0.0, 0.0, 1.0, 1.0};
        design.backgroundShadow = true;
        design.backgroundShadowColor = {0.0, 0.0, 0.0, 0.0};
        for (const float curvature : {0.0f, 0.2f}) {
            design.cornerCurvature = curvature;
            alphaNear(ImageTools::RenderIcon(design),
                      {{26, 250}, {473, 250}, {250, 26}, {250, 473}}, 55);
        }
        // A 10-unit icon moved half a unit right and up: x 45.5 to 55.5, y 44.5 to 54.5 (Qt).
        design = Plain(100, 100);
        design.iconImage = Filled(10, 10, Qt::red);
        design.iconHorizontalOffset = 0.5f;
        design.iconVerticalOffset = 0.5f;
        const QImage picture = ImageTools::RenderIcon(design);
        alphaNear(picture, {{45, 50}, {55, 50}, {50, 44}, {50, 54}}, 128);
        QVERIFY(ColorsClose(PixelAt(picture, 50, 50), Qt::red, 2));
    }

    // An outline of width zero draws nothing. The sharp joins of M and W, outlined at 20 % of
    // the font size, reach several outline widths beyond the glyphs; a shadow must not cut them.
    void textOutlineOfZeroIsNoneAndShadowsKeepItsMitredTips() {
        IconDesign design = Plain(900, 700, QStringLiteral("MW"), 300);
        design.fontIndex = 1;
        design.textVerticalOffset = -150;
        design.textStrokeColor = {1.0, 0.0, 0.0, 1.0};
        const QImage bare = ImageTools::RenderIcon(design);
        design.textStroke = true;
        design.textStrokeSize = 0;
        QCOMPARE(ImageTools::RenderIcon(design), bare);
        design.textStrokeSize = 20;
        const QImage plain = ImageTools::RenderIcon(design);
        design.textShadow = true;
        const QImage shadowed = ImageTools::RenderIcon(design);
        const int lost = Count(plain, [&](int x, int y) {
            return PixelAt(plain, x, y).alpha() == 255 && PixelAt(shadowed, x, y).alpha() < 250;
        });
        QCOMPARE(lost, 0);
    }

    void pictureHasTheCanvasSizeWhateverTheThreadCount_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("wide") << 700 << 500;
        QTest::newRow("tall and narrow") << 7 << 333;
        QTest::newRow("one unit, fewer rows than threads") << 1 << 1;
    }
    void pictureHasTheCanvasSizeWhateverTheThreadCount() {
        QFETCH(int, width);
        QFETCH(int, height);
        IconDesign design; // outline and shadow on: drawn enlarged, then scaled to the canvas
        design.canvasWidth = float(width);
        design.canvasHeight = float(height);
        design.text = QStringLiteral("Ab");
        design.fontSize = 300;
        design.iconImage = TestImages::AsymmetricImage(180, 120);
        design.iconShadow = true;
        design.iconRotation = 30;
        const QImage one = ImageTools::RenderIcon(design, 1);
        QCOMPARE(one.size(), QSize(width, height));
        QCOMPARE(ImageTools::RenderIcon(design, 2), one);
        QCOMPARE(ImageTools::RenderIcon(design, 7), one);
    }

    void canvasMarginsAreSquareDotsTwelveUnitsApart() {
        const QImage plain = Filled(100, 60, Qt::white);
        const QColor grey(118, 121, 124);
        const QImage framed = ImageTools::DrawCanvasMargins(plain, grey, 4);
        QCOMPARE(framed.size(), plain.size());
        // Along the bottom edge (y-up origin): dots centred at x = 2, 14, 26, ... 4 units wide.
        for (int x : {0, 3, 12, 15, 24, 27})
            QVERIFY2(ColorsClose(PixelAt(framed, x, 58), grey, 2), qPrintable(QString::number(x)));
        for (int x : {6, 9, 18, 21})
            QVERIFY2(IsWhite(PixelAt(framed, x, 58)), qPrintable(QString::number(x)));
        // The inside is untouched, and so is the original image.
        QVERIFY(IsWhite(PixelAt(framed, 50, 30)) && IsWhite(PixelAt(plain, 2, 58)));
    }

    void valuesNoControlWouldGiveStillDraw_data() {
        // A profile is plain text: any number can arrive, and none may crash the renderer or
        // make it allocate without bound.
        QTest::addColumn<double>("value");
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
        QTest::newRow("huge") << 1e30;
        QTest::newRow("negative") << -500.0;
    }
    void valuesNoControlWouldGiveStillDraw() {
        QFETCH(double, value);
        IconDesign design; // every layer and effect on
        design.canvasWidth = 64;
        design.canvasHeight = 48;
        design.text = QStringLiteral("Hi there");
        design.iconShadow = design.textStroke = true;
        design.gradientStartColor = {value, value, value, value};
        design.iconImage = TestImages::AsymmetricImage(20, 10);
        for (float IconDesign::*field :
             {&IconDesign::cornerCurvature, &IconDesign::backgroundStrokeSize,
              &IconDesign::backgroundShadowOffset, &IconDesign::backgroundShadowBlur,
              &IconDesign::iconVerticalOffset, &IconDesign::iconHorizontalOffset,
              &IconDesign::iconRotation, &IconDesign::iconScale, &IconDesign::iconShadowOffset,
              &IconDesign::textVerticalOffset, &IconDesign::textHorizontalOffset,
              &IconDesign::fontSize, &IconDesign::textShadowOffset, &IconDesign::textShadowBlur,
              &IconDesign::textStrokeSize})
            design.*field = float(value);
        for (double IconDesign::*field :
             {&IconDesign::backgroundShadowAngle, &IconDesign::iconShadowAngle,
              &IconDesign::iconShadowBlur, &IconDesign::textShadowAngle})
            design.*field = value;
        QCOMPARE(ImageTools::RenderIcon(design).size(), QSize(64, 48));
        design.canvasWidth = design.canvasHeight = float(value);
        const QImage picture = ImageTools::RenderIcon(design);
        QVERIFY(picture.width() >= 1 && picture.width() <= 10000);
        QVERIFY(!ImageTools::RotateImage(design.iconImage, value).isNull());
    }

    void shadowedLayersFollowEveryChange_data() {
        QTest::addColumn<Change>("change");
        auto row = [](const char* name, Change change) { QTest::newRow(name) << change; };
        row("text", [](IconDesign& d) { d.text = QStringLiteral("Ad"); });
        row("text colour", [](IconDesign& d) { d.textColor = {0.9, 0.1, 0.1, 1.0}; });
        row("outline colour", [](IconDesign& d) { d.textStrokeColor = {0.1, 0.9, 0.1, 1.0}; });
        row("outline width", [](IconDesign& d) { d.textStrokeSize += 4.0f; });
        row("font", [](IconDesign& d) { d.fontIndex = (d.fontIndex + 11) % 20; });
        row("font size", [](IconDesign& d) { d.fontSize += 9.0f; });
        row("text offset", [](IconDesign& d) { d.textHorizontalOffset += 7.5f; });
        row("text shadow blur", [](IconDesign& d) { d.textShadowBlur += 6.0f; });
        row("text shadow offset", [](IconDesign& d) { d.textShadowOffset += 5.3f; });
        row("text shadow colour", [](IconDesign& d) { d.textShadowColor = {0, 0, 1, 0.8}; });
        // The same image painted over: its size kept, its pixels new.
        row("icon pixels", [](IconDesign& d) { d.iconImage.fill(Qt::transparent); });
        row("icon scale", [](IconDesign& d) { d.iconScale *= 0.8f; });
        row("icon offset", [](IconDesign& d) { d.iconVerticalOffset += 3.25f; });
        row("icon rotation", [](IconDesign& d) { d.iconRotation += 30.0f; });
        row("icon's own colours", [](IconDesign& d) { d.useImageColors = true; });
        row("icon tint", [](IconDesign& d) { d.iconColor = {0.9, 0.9, 0.1, 1.0}; });
        row("icon shadow angle", [](IconDesign& d) { d.iconShadowAngle += 90; });
        row("canvas", [](IconDesign& d) { d.canvasWidth += 1.0f; });
        row("background outline", [](IconDesign& d) { d.backgroundStrokeSize += 8.0f; });
        // The same canvas drawn at another scale, with no room left for the shadow.
        row("background shadow", [](IconDesign& d) { d.backgroundShadow = false; });
    }

    void shadowedLayersFollowEveryChange() {
        // Rendered straight after the design it differs from, where the pictures kept of that
        // design are at hand, a design must come out exactly as when nothing useful is kept.
        QFETCH(Change, change);
        const IconDesign before = Shadowed();
        IconDesign after = before;
        change(after);
        const QImage freshAfter = Fresh(after);
        const QImage freshBefore = Fresh(before);
        QVERIFY2(!TestImages::FirstDifference(freshAfter, freshBefore, 0).isEmpty(),
                 "the change shows in the picture");
        // Each straight after the other, both ways.
        const QImage followedAfter = ImageTools::RenderIcon(after);
        const QImage followedBefore = ImageTools::RenderIcon(before);
        for (const auto& [followed, fresh] :
             {std::pair{followedAfter, freshAfter}, std::pair{followedBefore, freshBefore}}) {
            QCOMPARE(TestImages::FirstDifference(followed, fresh, 0), QString());
        }
    }

    // While moved layers are allowed, the text moved by whole pixels comes from the picture
    // kept of it where it was, as painted there, and a move by half a pixel takes the next
    // whole one. Once they are not, a rendering right after is exactly a fresh one.
    void movedLayersStandInOnlyWhileAllowed() {
        IconDesign design = Shadowed();
        design.backgroundStroke = false;
        design.backgroundShadow = false;
        RenderOptions half; // the picture is the canvas: two units a pixel
        half.outputSize = QSize(100, 100);
        const auto movedBy = [&](float right, float up) {
            IconDesign moved = design;
            moved.textHorizontalOffset += right;
            moved.textVerticalOffset += up;
            return moved;
        };
        const IconDesign moved = movedBy(8, -6); // four pixels right, three down
        const QImage exactMoved = Fresh(moved, half);
        const QImage exactHalfPixel = Fresh(movedBy(1, 0), half);
        const QImage exactPixel = Fresh(movedBy(2, 0), half);
        QVERIFY(!TestImages::FirstDifference(exactHalfPixel, exactPixel, 8).isEmpty());
        QImage standIn;
        QImage halfPixel;
        {
            const MovedLayersAllowed allowed;
            Fresh(design, half);
            standIn = ImageTools::RenderIcon(moved, half);
            halfPixel = ImageTools::RenderIcon(movedBy(1, 0), half);
        }
        QCOMPARE(TestImages::FirstDifference(standIn, exactMoved, 2), QString());
        QCOMPARE(TestImages::FirstDifference(halfPixel, exactPixel, 2), QString());
        QCOMPARE(TestImages::FirstDifference(ImageTools::RenderIcon(movedBy(1, 0), half),
                                             exactHalfPixel, 0),
                 QString());
        const QImage full = ImageTools::RenderIcon(moved);
        QCOMPARE(TestImages::FirstDifference(full, Fresh(moved), 0), QString());
    }
};

QTEST_MAIN(ImageToolsTest)
#include "tst_ImageTools.moc"
