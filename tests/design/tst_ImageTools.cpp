#include "design/DesignSettings.h"
#include "design/FontFamilies.h"
#include "design/IconDesign.h"
#include "design/ImageTools.h"
#include "support/TestImages.h"

#include <QFontDatabase>
#include <QPainter>
#include <QSet>
#include <QtTest>

using TestImages::PixelAt;

namespace {

bool IsWhite(const QColor& c) {
    return c.alpha() > 240 && c.red() > 230 && c.green() > 230 && c.blue() > 230;
}

bool IsClear(const QColor& c) {
    return c.alpha() < 8;
}

// A design with nothing but what a test switches on: transparent, no outline, no shadows.
IconDesign PlainDesign(int width, int height) {
    IconDesign design;
    design.canvasWidth = float(width);
    design.canvasHeight = float(height);
    design.transparentBackground = true;
    design.backgroundStroke = false;
    design.backgroundShadow = false;
    design.textShadow = false;
    design.cornerCurvature = 0.0f;
    return design;
}

QImage Filled(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
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

int CountDifferences(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

class ImageToolsTest : public QObject {
    Q_OBJECT

private slots:
    void defaultGeometryMatchesTheScaledCanvas();
    void gradientRunsFromStartAtTopToEndAtBottom();
    void resultHasExactlyTheCanvasSize_data();
    void resultHasExactlyTheCanvasSize();
    void curvatureZeroGivesSquareCorners();
    void transparentBackgroundDropsOutlineAndShadowButKeepsTheClip();
    void tintMakesASilhouetteWithTheImagesOwnAlpha();
    void rotateImageTurnsCounterClockwise();
    void quarterTurnIsSqueezedBackIntoTheImagesBox();
    void iconShadowDoesNotReachTheText();
    void shadowAngle270FallsStraightDown();
    void textStrokeOfZeroDrawsNoOutline();
    void pictureDoesNotDependOnTheThreadCount();
    void fontIndexOutsideTheListUsesTheFirstInstalledFamily();
    void fontChoicesGiveDistinctFaces();
    void canvasMarginsAreSquareDotsTwelveUnitsApart();
    void canvasSizeComesFromTheFieldTextWithinLimits();
    void valuesNoControlWouldGiveStillDraw_data();
    void valuesNoControlWouldGiveStillDraw();
};

void ImageToolsTest::defaultGeometryMatchesTheScaledCanvas() {
    // Defaults: 1024 canvas, outline 40, shadow on. The background is 879.91 units wide,
    // 72.04 from each edge, with a 17.19-unit visible outline outside it.
    const QImage picture = ImageTools::RenderIcon(IconDesign{});
    QCOMPARE(picture.size(), QSize(1024, 1024));
    const int middle = 512;
    auto isBlue = [](const QColor& c) { return c.alpha() > 240 && c.blue() > c.red() + 60; };

    // Distances from each edge, along the middle row and column.
    const QPoint left(0, middle), right(1023, middle), top(middle, 0), bottom(middle, 1023);
    const int outlineLeft = StepsUntil(picture, left, {1, 0}, IsWhite);
    const int backgroundLeft = StepsUntil(picture, left, {1, 0}, isBlue);
    const int outlineRight = StepsUntil(picture, right, {-1, 0}, IsWhite);
    const int backgroundRight = StepsUntil(picture, right, {-1, 0}, isBlue);
    const int outlineTop = StepsUntil(picture, top, {0, 1}, IsWhite);
    const int backgroundTop = StepsUntil(picture, top, {0, 1}, isBlue);
    const int outlineBottom = StepsUntil(picture, bottom, {0, -1}, IsWhite);
    const int backgroundBottom = StepsUntil(picture, bottom, {0, -1}, isBlue);

    // Pixel x covers [x, x + 1): an edge at 72.04 makes pixel 72 the first inside.
    for (int inside : {backgroundLeft, backgroundRight, backgroundTop, backgroundBottom})
        QVERIFY2(std::abs(inside - 72.04) <= 1.0, qPrintable(QString::number(inside)));
    QVERIFY(std::abs((1024 - backgroundRight - backgroundLeft) - 879.91) <= 1.5);
    QVERIFY(std::abs((1024 - backgroundBottom - backgroundTop) - 879.91) <= 1.5);
    const int outlines[4][2] = {{outlineLeft, backgroundLeft},
                                {outlineRight, backgroundRight},
                                {outlineTop, backgroundTop},
                                {outlineBottom, backgroundBottom}};
    for (const auto& [outline, inside] : outlines)
        QVERIFY2(std::abs((inside - outline) - 17.19) <= 1.0,
                 qPrintable(QStringLiteral("%1 %2").arg(outline).arg(inside)));

    // The drop shadow falls below (angle 270), so the bottom margin is darker than the top.
    QVERIFY(PixelAt(picture, middle, 1024 - 50).alpha() > PixelAt(picture, middle, 50).alpha());
}

void ImageToolsTest::gradientRunsFromStartAtTopToEndAtBottom() {
    IconDesign design = PlainDesign(200, 200);
    design.transparentBackground = false;
    design.gradientStartColor = {1.0, 0.0, 0.0, 1.0};
    design.gradientEndColor = {0.0, 0.0, 1.0, 1.0};
    const QImage picture = ImageTools::RenderIcon(design);
    const QColor top = PixelAt(picture, 100, 0);
    const QColor bottom = PixelAt(picture, 100, 199);
    QVERIFY(top.red() > 240 && top.blue() < 15);
    QVERIFY(bottom.blue() > 240 && bottom.red() < 15);
    const QColor middle = PixelAt(picture, 100, 100);
    QVERIFY(std::abs(middle.red() - middle.blue()) < 10);
}

void ImageToolsTest::resultHasExactlyTheCanvasSize_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("outlineAndShadow");
    QTest::newRow("one unit") << 1 << 1 << true;
    QTest::newRow("wide, plain") << 300 << 200 << false;
    QTest::newRow("tall, enlarged") << 7 << 333 << true;
}

void ImageToolsTest::resultHasExactlyTheCanvasSize() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, outlineAndShadow);
    IconDesign design;
    design.canvasWidth = float(width);
    design.canvasHeight = float(height);
    design.backgroundStroke = outlineAndShadow;
    design.backgroundShadow = outlineAndShadow;
    design.text = QStringLiteral("Hi");
    design.iconImage = TestImages::AsymmetricImage(64, 48);
    QCOMPARE(ImageTools::RenderIcon(design).size(), QSize(width, height));
}

void ImageToolsTest::curvatureZeroGivesSquareCorners() {
    IconDesign design = PlainDesign(256, 256);
    design.transparentBackground = false;
    const QImage square = ImageTools::RenderIcon(design);
    for (const QPoint corner : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 255), QPoint(255, 255)})
        QVERIFY(PixelAt(square, corner.x(), corner.y()).alpha() == 255);

    // The outline of a square canvas keeps sharp corners.
    design.backgroundStroke = true;
    design.backgroundStrokeSize = 40;
    const QImage outlined = ImageTools::RenderIcon(design);
    QVERIFY(IsWhite(PixelAt(outlined, 1, 1)));
    QVERIFY(IsWhite(PixelAt(outlined, 254, 254)));
    design.backgroundStroke = false;

    design.cornerCurvature = 0.2f; // radius 25.6 units
    const QImage rounded = ImageTools::RenderIcon(design);
    QVERIFY(IsClear(PixelAt(rounded, 0, 0)));
    QVERIFY(IsClear(PixelAt(rounded, 255, 255)));
    QCOMPARE(PixelAt(rounded, 30, 0).alpha(), 255);
    // Curvature 1 on a square canvas gives a circle: the diagonal at 45 degrees just inside.
    design.cornerCurvature = 1.0f;
    const QImage circle = ImageTools::RenderIcon(design);
    QVERIFY(IsClear(PixelAt(circle, 35, 35)));
    QCOMPARE(PixelAt(circle, 45, 45).alpha(), 255);
}

void ImageToolsTest::transparentBackgroundDropsOutlineAndShadowButKeepsTheClip() {
    IconDesign design;
    design.canvasWidth = 400;
    design.canvasHeight = 400;
    design.transparentBackground = true; // outline and shadow stay switched on
    design.iconImage = Filled(400, 400, Qt::red);
    design.text = QStringLiteral("W");
    design.fontSize = 2000; // glyphs far larger than the canvas: only the clip limits them
    design.textColor = {0.0, 1.0, 0.0, 1.0};
    design.textShadow = false;
    const QImage picture = ImageTools::RenderIcon(design);

    // Not enlarged: the icon reaches the canvas edges at the middle of each side, and no
    // white outline or dark shadow appears anywhere along the middle row.
    for (int x = 0; x < 400; ++x) {
        const QColor c = PixelAt(picture, x, 200);
        QVERIFY2(c.alpha() == 255 && !IsWhite(c), qPrintable(QString::number(x)));
    }
    // The rounded corners (radius 80 units) still cut the icon and the text.
    QVERIFY(IsClear(PixelAt(picture, 0, 0)));
    QVERIFY(IsClear(PixelAt(picture, 399, 399)));
    QVERIFY(IsClear(PixelAt(picture, 3, 396)));
}

void ImageToolsTest::tintMakesASilhouetteWithTheImagesOwnAlpha() {
    QImage icon(100, 100, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        painter.fillRect(0, 0, 50, 100, Qt::red);
        painter.fillRect(50, 0, 25, 100, QColor(0, 0, 255, 128));
    }
    IconDesign design = PlainDesign(100, 100);
    design.iconImage = icon;
    design.useImageColors = false;
    design.iconColor = {0.0, 1.0, 0.0, 1.0};
    const QImage picture = ImageTools::RenderIcon(design);
    QVERIFY(TestImages::ColorsClose(PixelAt(picture, 20, 50), QColor(0, 255, 0, 255), 2));
    QVERIFY(TestImages::ColorsClose(PixelAt(picture, 62, 50), QColor(0, 255, 0, 128), 3));
    QVERIFY(IsClear(PixelAt(picture, 90, 50)));

    design.useImageColors = true;
    const QImage own = ImageTools::RenderIcon(design);
    QVERIFY(TestImages::ColorsClose(PixelAt(own, 20, 50), QColor(255, 0, 0, 255), 2));
}

void ImageToolsTest::rotateImageTurnsCounterClockwise() {
    // Green marks the top-left corner; a counter-clockwise quarter turn takes it to the
    // bottom-left, and the 200 x 100 image becomes 100 x 200.
    const QImage rotated = ImageTools::RotateImage(TestImages::AsymmetricImage(200, 100), 90);
    QCOMPARE(rotated.size(), QSize(100, 200));
    QVERIFY(TestImages::ColorsClose(PixelAt(rotated, 5, 195), Qt::green, 10));
    QVERIFY(TestImages::ColorsClose(PixelAt(rotated, 50, 150), Qt::red, 10)); // left half
    QVERIFY(TestImages::ColorsClose(PixelAt(rotated, 50, 50), Qt::blue, 10));

    const QImage diagonal = ImageTools::RotateImage(Filled(100, 100, Qt::red), 45);
    QCOMPARE(diagonal.size(), QSize(141, 141));
    QVERIFY(IsClear(PixelAt(diagonal, 2, 2)));
    QCOMPARE(PixelAt(diagonal, 70, 70).alpha(), 255);
}

void ImageToolsTest::quarterTurnIsSqueezedBackIntoTheImagesBox() {
    IconDesign design = PlainDesign(400, 400);
    design.iconImage = TestImages::AsymmetricImage(200, 100);
    design.iconRotation = 90;
    const QImage picture = ImageTools::RenderIcon(design);
    // The icon box stays 200 x 100, centred: x 100..300, y 150..250.
    QCOMPARE(PixelAt(picture, 102, 200).alpha(), 255);
    QVERIFY(IsClear(PixelAt(picture, 97, 200)));
    QCOMPARE(PixelAt(picture, 297, 200).alpha(), 255);
    QVERIFY(IsClear(PixelAt(picture, 302, 200)));
    QCOMPARE(PixelAt(picture, 200, 152).alpha(), 255);
    QVERIFY(IsClear(PixelAt(picture, 200, 147)));
    QVERIFY(IsClear(PixelAt(picture, 200, 253)));
    // The turned picture's green corner ends bottom-left of the box.
    QVERIFY(TestImages::ColorsClose(PixelAt(picture, 104, 246), Qt::green, 10));
}

void ImageToolsTest::iconShadowDoesNotReachTheText() {
    IconDesign withText = PlainDesign(400, 400);
    withText.iconImage = Filled(60, 60, Qt::white);
    withText.iconShadow = true;
    withText.iconShadowBlur = 0;
    withText.iconShadowOffset = 20;
    withText.iconShadowAngle = 315; // down and to the right
    withText.text = QStringLiteral("XX");
    withText.fontSize = 120;
    withText.textVerticalOffset = -20;
    withText.textShadow = false;
    IconDesign withoutText = withText;
    withoutText.text.clear();

    const QImage a = ImageTools::RenderIcon(withText);
    const QImage b = ImageTools::RenderIcon(withoutText);
    // The icon casts its shadow: below-right of the 60-unit square centred at 200, 200.
    const QColor shadow = PixelAt(b, 225, 225 + 5);
    QVERIFY2(shadow.alpha() > 200 && shadow.red() < 30, qPrintable(shadow.name(QColor::HexArgb)));
    // Everything the text adds is text colour: no dark pixel of a shadow anywhere.
    int textPixels = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            const QColor c = PixelAt(a, x, y);
            if (c.alpha() < 8)
                continue;
            ++textPixels;
            QVERIFY2(
                c.red() > 200 && c.green() > 200 && c.blue() > 200,
                qPrintable(QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(c.name(QColor::HexArgb))));
        }
    }
    QVERIFY(textPixels > 500);

    // And the text's own shadow, once on, is dark.
    withText.textShadow = true;
    withText.textShadowBlur = 0;
    const QImage c = ImageTools::RenderIcon(withText);
    QVERIFY(CountDifferences(a, c) > 200);
}

void ImageToolsTest::shadowAngle270FallsStraightDown() {
    IconDesign design = PlainDesign(400, 400);
    design.transparentBackground = false;
    design.backgroundShadow = true;
    design.backgroundShadowBlur = 0;
    design.backgroundShadowOffset = 40;
    design.backgroundShadowAngle = 270;
    const QImage picture = ImageTools::RenderIcon(design);
    // The canvas grows by 12 %: the background spans 400 / 1.12 units, 21.4 from each edge,
    // and its shadow is moved 40 units (35.7 pixels) down.
    const QColor below = PixelAt(picture, 200, 400 - 10);
    const QColor above = PixelAt(picture, 200, 10);
    const QColor left = PixelAt(picture, 10, 200);
    const QColor right = PixelAt(picture, 390, 200);
    QVERIFY2(below.alpha() > 240 && below.red() < 10 && below.blue() < 10,
             qPrintable(below.name(QColor::HexArgb)));
    QVERIFY(IsClear(above));
    QVERIFY(IsClear(left));
    QVERIFY(IsClear(right));
}

void ImageToolsTest::textStrokeOfZeroDrawsNoOutline() {
    IconDesign design = PlainDesign(300, 300);
    design.text = QStringLiteral("O");
    design.fontSize = 200;
    design.textColor = {1.0, 1.0, 1.0, 1.0};
    design.textStrokeColor = {1.0, 0.0, 0.0, 1.0};
    const QImage plain = ImageTools::RenderIcon(design);

    design.textStroke = true;
    design.textStrokeSize = 0;
    QCOMPARE(ImageTools::RenderIcon(design), plain);

    design.textStrokeSize = 4; // 8 units on a 200-unit font
    const QImage outlined = ImageTools::RenderIcon(design);
    int red = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const QColor c = PixelAt(outlined, x, y);
            red += c.alpha() > 240 && c.red() > 240 && c.green() < 20;
        }
    QVERIFY(red > 300);
}

void ImageToolsTest::pictureDoesNotDependOnTheThreadCount() {
    IconDesign design;
    design.canvasWidth = 700;
    design.canvasHeight = 500;
    design.text = QStringLiteral("Ab");
    design.fontSize = 300;
    design.iconImage = TestImages::AsymmetricImage(180, 120);
    design.iconShadow = true;
    design.iconRotation = 30;
    const QImage one = ImageTools::RenderIcon(design, 1);
    const QImage two = ImageTools::RenderIcon(design, 2);
    const QImage seven = ImageTools::RenderIcon(design, 7);
    QCOMPARE(two, one);
    QCOMPARE(seven, one);
}

void ImageToolsTest::fontIndexOutsideTheListUsesTheFirstInstalledFamily() {
    const QStringList installed = QFontDatabase::families();
    QVERIFY(!installed.isEmpty());
    QCOMPARE(FontFamilyName(-1), installed.first());
    QCOMPARE(FontFamilyName(20), installed.first());
    QCOMPARE(FontFamilyList().size(), 20);
    QCOMPARE(FontFamilyList().at(12), QStringLiteral("Marker Felt"));

    IconDesign design = PlainDesign(300, 300);
    design.text = QStringLiteral("Ag");
    design.fontSize = 150;
    design.fontIndex = -1;
    const QImage fallback = ImageTools::RenderIcon(design);
    design.fontIndex = 99;
    QCOMPARE(ImageTools::RenderIcon(design), fallback);
}

void ImageToolsTest::fontChoicesGiveDistinctFaces() {
    // Each family in the list, or its installed look-alike, should draw its own face.
    QList<QImage> faces;
    QSet<QString> families;
    for (int index = 0; index < 20; ++index) {
        const QString family = FontFamilyName(index);
        QVERIFY(QFontDatabase::families().contains(family));
        families.insert(family);
        IconDesign design = PlainDesign(240, 160);
        design.text = QStringLiteral("Rag");
        design.fontSize = 90;
        design.fontIndex = index;
        faces.append(ImageTools::RenderIcon(design));
    }
    int distinct = 0;
    for (int i = 0; i < faces.size(); ++i) {
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j)
            seen = CountDifferences(faces[i], faces[j]) < 200;
        distinct += !seen;
    }
    QVERIFY2(distinct >= 15, qPrintable(QStringLiteral("%1 distinct faces").arg(distinct)));
    QVERIFY(families.size() >= 15);
}

void ImageToolsTest::canvasMarginsAreSquareDotsTwelveUnitsApart() {
    const QImage plain = Filled(100, 60, Qt::white);
    const QColor grey(118, 121, 124);
    const QImage framed = ImageTools::DrawCanvasMargins(plain, grey, 4);
    QCOMPARE(framed.size(), plain.size());
    // Along the bottom edge (y-up origin): dots centred at x = 2, 14, 26, ... 4 units wide.
    for (int x : {0, 3, 12, 15, 24, 27})
        QVERIFY2(TestImages::ColorsClose(PixelAt(framed, x, 58), grey, 2),
                 qPrintable(QString::number(x)));
    for (int x : {6, 9, 18, 21})
        QVERIFY2(IsWhite(PixelAt(framed, x, 58)), qPrintable(QString::number(x)));
    // The inside is untouched, and so is the original image.
    QVERIFY(IsWhite(PixelAt(framed, 50, 30)));
    QVERIFY(IsWhite(PixelAt(plain, 2, 58)));
}

void ImageToolsTest::canvasSizeComesFromTheFieldTextWithinLimits() {
    DesignSettings settings;
    settings.canvasWidthText = QStringLiteral("640");
    settings.canvasHeightText = QStringLiteral("480");
    IconDesign design = MakeIconDesign(settings, QImage());
    QCOMPARE(design.canvasWidth, 640.0f);
    QCOMPARE(design.canvasHeight, 480.0f);
    // Hand-edited profiles cannot ask for an empty or oversized canvas.
    settings.canvasWidthText = QStringLiteral("0");
    settings.canvasHeightText = QStringLiteral("99999");
    design = MakeIconDesign(settings, QImage());
    QCOMPARE(design.canvasWidth, 1.0f);
    QCOMPARE(design.canvasHeight, 10000.0f);
    settings.canvasWidthText = QStringLiteral("abc");
    QCOMPARE(MakeIconDesign(settings, QImage()).canvasWidth, 1.0f);
    // Flags count as on in any state but off, mixed included.
    settings.textShadow = -1;
    settings.backgroundStroke = 0;
    design = MakeIconDesign(settings, QImage());
    QVERIFY(design.textShadow);
    QVERIFY(!design.backgroundStroke);
}

void ImageToolsTest::valuesNoControlWouldGiveStillDraw_data() {
    // A profile is plain text: any number can arrive, and none may crash the renderer or
    // make it allocate without bound.
    QTest::addColumn<double>("value");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e30;
    QTest::newRow("negative") << -500.0;
}

void ImageToolsTest::valuesNoControlWouldGiveStillDraw() {
    QFETCH(double, value);
    const float f = float(value);
    IconDesign design;
    design.canvasWidth = 64;
    design.canvasHeight = 48;
    design.cornerCurvature = f;
    design.backgroundStrokeSize = f;
    design.backgroundShadowOffset = f;
    design.backgroundShadowAngle = value;
    design.backgroundShadowBlur = f;
    design.gradientStartColor = {value, value, value, value};
    design.iconImage = TestImages::AsymmetricImage(20, 10);
    design.iconVerticalOffset = f;
    design.iconRotation = f;
    design.iconScale = f;
    design.iconShadow = true;
    design.iconShadowOffset = f;
    design.iconShadowAngle = value;
    design.iconShadowBlur = value;
    design.text = QStringLiteral("Hi there");
    design.textHorizontalOffset = f;
    design.fontSize = f;
    design.textStroke = true;
    design.textStrokeSize = f;
    design.textShadowOffset = f;
    design.textShadowBlur = f;
    QCOMPARE(ImageTools::RenderIcon(design).size(), QSize(64, 48));

    design.canvasWidth = f;
    design.canvasHeight = f;
    const QImage picture = ImageTools::RenderIcon(design);
    QVERIFY(picture.width() >= 1 && picture.width() <= 10000);
    QCOMPARE(ImageTools::RotateImage(design.iconImage, value).isNull(), false);
}

QTEST_MAIN(ImageToolsTest)
#include "tst_ImageTools.moc"
