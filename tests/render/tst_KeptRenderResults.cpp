// The renderer keeps its last prepared icon and its last outlined background for the next
// rendering. What it hands out must always answer the design as it is now: a kept result
// that outlives a change would draw an earlier design.

#include "helpers/TestImages.h"
#include "render/ImageTools.h"
#include "render/OutlinedShape.h"
#include "render/PreparedIcon.h"

#include <QtTest>
#include <functional>

using TestImages::ColorsClose;
using TestImages::PixelAt;

namespace {

// Every layer with a shadow, so that both of them are painted into their own pictures.
IconDesign Shadowed() {
    IconDesign design;
    design.canvasWidth = 200;
    design.canvasHeight = 200;
    design.iconImage = TestImages::AsymmetricImage(80, 60);
    design.iconShadow = true;
    design.text = QStringLiteral("Ab");
    design.fontSize = 70;
    design.textStroke = true;
    return design;
}

using Change = std::function<void(IconDesign&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class KeptRenderResultsTest : public QObject {
    Q_OBJECT

private slots:
    void preparedIconFollowsEveryChange() {
        IconDesign design;
        design.iconImage = TestImages::AsymmetricImage(64, 32); // red left, blue right
        // A point in the lower left quarter, clear of the green corner square.
        auto lowerLeft = [&] { return PixelAt(PreparedIcon(design), 8, 24); };
        QVERIFY(ColorsClose(lowerLeft(), Qt::red, 2));

        design.iconRotation = 180.0f; // the right half turns to the left
        QVERIFY(ColorsClose(lowerLeft(), Qt::blue, 2));

        design.useImageColors = false;
        design.iconColor = {0.0, 1.0, 0.0, 1.0};
        QVERIFY(ColorsClose(lowerLeft(), Qt::green, 2));
        design.iconColor = {1.0, 1.0, 0.0, 1.0};
        QVERIFY(ColorsClose(lowerLeft(), Qt::yellow, 2));

        design.useImageColors = true;
        design.iconRotation = 0.0f;
        // The same image object painted over: same size, new pixels.
        design.iconImage.fill(Qt::magenta);
        QVERIFY(ColorsClose(lowerLeft(), Qt::magenta, 2));
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
        row("icon pixels", [](IconDesign& d) { d.iconImage.fill(Qt::darkCyan); });
        row("icon scale", [](IconDesign& d) { d.iconScale *= 0.8f; });
        row("icon offset", [](IconDesign& d) { d.iconVerticalOffset += 3.25f; });
        row("icon rotation", [](IconDesign& d) { d.iconRotation += 30.0f; });
        row("icon tint", [](IconDesign& d) { d.useImageColors = false; });
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
        IconDesign unrelated = before;
        unrelated.text = QStringLiteral("Zz");
        unrelated.iconImage = TestImages::AsymmetricImage(30, 90);

        // Rendering `unrelated` leaves nothing of `before` or `after` kept.
        ImageTools::RenderIcon(unrelated);
        const QImage freshAfter = ImageTools::RenderIcon(after);
        ImageTools::RenderIcon(unrelated);
        const QImage freshBefore = ImageTools::RenderIcon(before);
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

    void outlinedShapeFollowsShapeAndPen() {
        // The area grows by half the pen width on every side; each step changes the shape or
        // the pen of the one before.
        QPainterPath square;
        square.addRoundedRect(QRectF(0, 0, 100, 100), 20, 20);
        QPainterPath wide;
        wide.addRoundedRect(QRectF(0, 0, 200, 100), 20, 20);
        const struct {
            const QPainterPath& shape;
            double penWidth;
            QRect expected;
        } steps[] = {
            {square, 4, QRect(-2, -2, 104, 104)},    {square, 4, QRect(-2, -2, 104, 104)},
            {wide, 4, QRect(-2, -2, 204, 104)},      {wide, 30, QRect(-15, -15, 230, 130)},
            {square, 30, QRect(-15, -15, 130, 130)}, {square, 4, QRect(-2, -2, 104, 104)},
        };
        for (const auto& step : steps) {
            QPen pen(Qt::black, step.penWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            // Rounded to whole units: anything off by half a unit or more shows.
            QCOMPARE(ShapeWithOutline(step.shape, pen).boundingRect().toRect(), step.expected);
        }
    }
};

QTEST_MAIN(KeptRenderResultsTest)
#include "tst_KeptRenderResults.moc"
